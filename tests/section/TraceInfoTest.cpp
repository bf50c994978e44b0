#include <gtest/gtest.h>

#include <string>

#include "section/SeismicSection.h"
#include "section/TraceInfo.h"
#include "support/SectionBuilder.h"

using kxtest::AddTrace;

namespace {
// A land trace in metres with every Trace Info field set.
TraceRecord* AddLandTrace(SeismicSection& s) {
  TraceRecord* t = AddTrace(s, 1001, 0.002, -0.1);
  t->TRNO = 17;
  t->TRID = 1;
  t->DTID = 70000;
  t->FLDR = 5000000000LL;
  t->ESP = 12;
  t->CHAN = 48;
  t->CABLE = 2;
  t->NVS = 4;
  t->OFF = -50.5f;
  t->CDP = 300;
  t->CUNIT = 1;
  t->MSYS = 1;
  t->SSTA = 101.5;
  t->SX = 1234.5;
  t->SZ = 10.5f;
  t->RSTA = 0.0;
  t->SSTAT = 0.0125f;
  t->WVEL = 1500.0f;
  t->DUSE = 1;
  t->CORR = 2;
  t->IGT = 3;
  t->IGC = 12;
  t->IGI = -6;
  t->TBAS = 4;
  t->YEAR = 2024;
  t->MONTH = 3;
  t->MDAY = 5;
  t->DAY = 65;
  t->HOUR = 10;
  t->MINUTE = 5;
  t->SEC = 7;
  t->NANO = 250000000;
  t->STYPOR = 1;
  t->SWFS = 10.0f;
  t->SWLEN = 8.0f;
  t->TAPLS = 0.5f;
  t->SWTYP = 1;
  t->TAPTY = 2;
  t->AAF = 125.0f;
  t->AAS = 18.0f;
  t->HCS = 6.5f;
  return t;
}
}  // namespace

TEST(TraceInfo, LandTraceCells) {
  SeismicSection s;
  AddTrace(s, 1001, 0.002);
  AddTrace(s, 1001, 0.002);
  AddLandTrace(s);
  s.Scan();
  TraceInfoCells c;
  EXPECT_EQ(BuildTraceInfo(s, 2, c), 75);
  const std::pair<int, const char*> expected[] = {
      {0, "tr idx 3"},
      {1, "17"},
      {5, "seismic"},
      {6, "70000"},
      {7, "1001"},
      {8, "2 ms"},
      {9, "-100 ms"},
      {10, "5000000000"},
      {11, "12"},
      {12, "48"},
      {13, "2"},
      {14, "4"},
      {15, "1"},
      {16, "-50.50"},
      {17, "300"},
      {18, "0"},
      {21, "length m"},
      {22, ""},
      {23, "      0.00"},
      {25, "      0.00"},
      {31, "101.50"},
      {32, "   1234.50"},
      {34, "     10.50"},
      {38, "0 ms"},
      {40, "12.5 ms"},
      {47, "1500 m/s"},
      {48, ""},
      {49, "production"},
      {50, "YES"},
      {51, "floating point"},
      {52, "12 dB"},
      {53, "-6 dB"},
      {54, "UTC"},
      {55, "2024-03-05"},
      {56, "65"},
      {57, "10:05:07.250"},
      {58, "VIB vertical"},
      {59, "10"},
      {60, ""},
      {61, "8000 ms"},
      {62, "linear"},
      {63, "500 ms"},
      {64, ""},
      {65, "cos squared"},
      {66, "125"},
      {67, "18.0"},
      {68, ""},
      {69, ""},
      {70, ""},
      {73, "6.5"},
  };
  for (const auto& [row, text] : expected) EXPECT_EQ(c[row], text) << "row " << row;
}

TEST(TraceInfo, DegreesCodesAndEmptyCases) {
  SeismicSection s;
  TraceRecord* t = AddTrace(s, 100, 20e-6, 0.0);
  t->CUNIT = 3;
  t->MSYS = 2;
  t->TRID = 30;
  t->SX = 7.5;
  t->RZ = 10.5f;
  t->SWVEL = 2000.0f;
  t->WVEL = -1.0f;
  t->HOUR = 23;
  t->MINUTE = 59;
  t->SEC = 1;
  t->STYPOR = -3;
  t->LAGB = 0.0001f;
  s.Scan();
  TraceInfoCells c;
  BuildTraceInfo(s, 0, c);
  EXPECT_EQ(c[5], "30");
  EXPECT_EQ(c[8], "20 \xce\xbcs");
  EXPECT_EQ(c[21], "decimal degrees");
  EXPECT_EQ(c[32], "   7.50000000");
  EXPECT_EQ(c[25], "  10.50");
  EXPECT_EQ(c[47], "");
  EXPECT_EQ(c[48], "2000 ft/s");
  EXPECT_EQ(c[55], "");  // year 0
  EXPECT_EQ(c[57], "23:59:01");
  EXPECT_EQ(c[58], "Other (-3)");
  EXPECT_EQ(c[39], "100 \xce\xbcs");
  EXPECT_EQ(c[49], "");
  EXPECT_EQ(c[50], "");
  EXPECT_EQ(c[51], "");

  t->TRID = -5;
  t->STYPOR = 12;
  BuildTraceInfo(s, 0, c);
  EXPECT_EQ(c[5], "unknown (-5)");
  EXPECT_EQ(c[58], "Unknown (12)");
}

TEST(TraceInfo, CellsAreCutAt16Characters) {
  SeismicSection s;
  TraceRecord* t = AddTrace(s, 10, 0.001);
  t->FLDR = 1234567890123456789LL;
  t->CUNIT = 3;
  t->CDPX = 12345678.5;
  s.Scan();
  TraceInfoCells c;
  BuildTraceInfo(s, 0, c);
  EXPECT_EQ(c[10], "1234567890123456");
  EXPECT_EQ(c[29], "12345678.5000000");
}

TEST(TraceInfo, LeavesUnownedRowsAndFillsOnlyRowZeroWithoutTrace) {
  SeismicSection s;
  AddTrace(s, 10, 0.001);
  s.Scan();
  TraceInfoCells c;
  c.fill("keep");
  BuildTraceInfo(s, 0, c);
  for (int row : {2, 3, 4, 74}) EXPECT_EQ(c[row], "keep") << row;
  EXPECT_EQ(c[7], "10");

  c.fill("keep");
  EXPECT_EQ(BuildTraceInfo(s, 5, c), 75);
  EXPECT_EQ(c[0], "tr idx 6");
  for (int row = 1; row < 75; ++row) EXPECT_EQ(c[row], "keep") << row;
  BuildTraceInfo(s, -1, c);
  EXPECT_EQ(c[0], "tr idx 0");
}
