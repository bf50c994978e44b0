#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "section/InfoFormat.h"
#include "section/SectionInfo.h"
#include "section/SeismicSection.h"
#include "section/Utf8Text.h"
#include "support/ByteWriter.h"
#include "support/SectionBuilder.h"

using kxtest::AddTrace;

namespace {
// Binary header words in native order, as the readers leave them.
void PutI16(SeismicSection& s, int pos, int16_t v) {
  kxtest::StoreBytes(s.m_binaryHeader + pos, v, kxtest::kHostBigEndian);
}
void PutI32(SeismicSection& s, int pos, int32_t v) {
  kxtest::StoreBytes(s.m_binaryHeader + pos, v, kxtest::kHostBigEndian);
}
// Binary header positions (0-based) the text reads.
constexpr int kFormat = 24, kSorting = 28, kSweepChan = 40, kCorrelated = 48, kGainRcv = 50;
constexpr int kAmpRcv = 52, kMeasurement = 54, kDataTraces = 60, kAuxTraces = 64, kFold = 92;

void SetFileType(SeismicSection& s, int type, int order, int major = 0, int minor = 0) {
  s.m_binaryHeader[kBfhFileTypePos] = static_cast<uint8_t>(type);
  s.m_binaryHeader[kBfhByteOrderPos] = static_cast<uint8_t>(order);
  s.m_binaryHeader[300] = static_cast<uint8_t>(major);
  s.m_binaryHeader[301] = static_cast<uint8_t>(minor);
}

struct Geometry {
  int64_t fldr;
  int32_t chan, cdp, esp;
  double ssta;
  float off;
  double sx, rx;
  float rz;
  double cdpx;
};

// Three traces of a shot as a SEG-Y rev 1 big-endian file would give them.
void FillSegyShot(SeismicSection& s) {
  SetFileType(s, kFileSegy, kBigEndian, 1, 0);
  PutI16(s, kFormat, 1);
  PutI16(s, kMeasurement, 1);
  PutI16(s, kSorting, 1);
  PutI32(s, kFold, 1);
  PutI32(s, kDataTraces, 48);
  PutI32(s, kAuxTraces, 2);
  PutI16(s, kCorrelated, 2);
  PutI16(s, kGainRcv, 1);
  PutI16(s, kAmpRcv, 2);
  const Geometry g[] = {{1001, 1, 10, 5, 100.4, -50.0f, 500000.0, 500025.0, 12.0f, 500012.5},
                        {1001, 2, 11, 5, 150.0, 0.0f, 500000.0, 500050.0, 11.0f, 500025.0},
                        {1002, 3, 12, 6, 200.5, 50.0f, 500100.0, 500075.0, 13.0f, 500087.5}};
  for (const Geometry& v : g) {
    TraceRecord* t = AddTrace(s, 1001, 0.002);
    t->CUNIT = 1;
    t->FLDR = v.fldr;
    t->CHAN = v.chan;
    t->CDP = v.cdp;
    t->ESP = v.esp;
    t->SSTA = v.ssta;
    t->OFF = v.off;
    t->SX = v.sx;
    t->SY = 6000000.0;
    t->SZ = 10.5f;
    t->RX = v.rx;
    t->RY = 6000000.0;
    t->RZ = v.rz;
    t->CDPX = v.cdpx;
    t->CDPY = 6000000.0;
  }
}
}  // namespace

TEST(SectionInfo, SegyShotWholeText) {
  SeismicSection s;
  FillSegyShot(s);
  s.Scan();
  const std::string expected =
      "\n\n"
      " SEG-Y file rev 1.0"
      "\n\n Byte Order   : Big Endian"
      "\n Data Format  : IBM float (32-bit)"
      "\n Meas System  : meters"
      "\n\n num traces   : 3"
      "\n fixed len tr : YES"
      "\n max samples  : 1001"
      "\n min dt       : 2 ms"
      "\n time min     : 0 ms"
      "\n time max     : 2000 ms"
      "\n\n Trace Sort   : as recorded"
      "\n CDP fold     : 1"
      "\n num data tr  : 48"
      "\n num aux  tr  : 2"
      "\n correlated   : YES"
      "\n sweep chan   :"
      "\n bin gain rcv : YES"
      "\n amp rcv meth : spherical div"
      "\n\n                  MIN  -      MAX"
      "\n fldr      :      1001 -      1002"
      "\n fchan     :         1 -         3"
      "\n nvs       :         1 -         1"
      "\n nhs       :         1 -         1"
      "\n cdp       :        10 -        12"
      "\n ESP       :         5 -         6"
      "\n Src Point :       100 -       201"
      "\n Rcv Point :         0 -         0"
      "\n in-line   :         0 -         0"
      "\n cross-line:         0 -         0"
      "\n offset    :     -50.0 -      50.0"
      "\n\n src X     :  500000.0 -  500100.0"
      "\n src Y     : 6000000.0 - 6000000.0"
      "\n src Z     :      10.5 -      10.5"
      "\n rcv X     :  500025.0 -  500075.0"
      "\n rcv Y     : 6000000.0 - 6000000.0"
      "\n rcv Z     :      11.0 -      13.0"
      "\n cdp X     :  500012.5 -  500087.5"
      "\n cdp Y     : 6000000.0 - 6000000.0";
  EXPECT_EQ(s.m_sectionInfo, expected);
}

TEST(SectionInfo, SuFileWholeTextWithDegrees) {
  SeismicSection s;
  SetFileType(s, kFileSu, kLittleEndian);
  PutI16(s, kFormat, 5);
  TraceRecord* a = AddTrace(s, 400, 0.00025);
  a->CUNIT = 3;  // decimal degrees on the first trace: five decimals
  a->SX = 7.12345;
  a->SY = 45.0;
  TraceRecord* b = AddTrace(s, 800, 0.00025);
  b->SX = 7.5;
  b->SY = 45.0;
  s.Scan();
  const std::string expected =
      "\n\n"
      " SU file"
      "\n\n Byte Order   : Little Endian"
      "\n Data Format  : IEEE float (32-bit)"
      "\n Meas System  : unknown (0)"
      "\n\n num traces   : 2"
      "\n fixed len tr : NO"
      "\n max samples  : 800"
      "\n min dt       : 0.25 ms"
      "\n time min     : 0 ms"
      "\n time max     : 199.75 ms"
      "\n\n Trace Sort   : unknown (0)"
      "\n CDP fold     : 0"
      "\n num data tr  : 0"
      "\n num aux  tr  : 0"
      "\n correlated   : "
      "\n sweep chan   :"
      "\n bin gain rcv :"
      "\n amp rcv meth : "
      "\n\n                  MIN  -      MAX"
      "\n fldr      :         0 -         0"
      "\n fchan     :         0 -         0"
      "\n nvs       :         1 -         1"
      "\n nhs       :         1 -         1"
      "\n cdp       :         0 -         0"
      "\n ESP       :         0 -         0"
      "\n Src Point :         0 -         0"
      "\n Rcv Point :         0 -         0"
      "\n in-line   :         0 -         0"
      "\n cross-line:         0 -         0"
      "\n offset    :       0.0 -       0.0"
      "\n\n src X     :   7.12345 -   7.50000"
      "\n src Y     :  45.00000 -  45.00000"
      "\n src Z     :       0.0 -       0.0"
      "\n rcv X     :   0.00000 -   0.00000"
      "\n rcv Y     :   0.00000 -   0.00000"
      "\n rcv Z     :       0.0 -       0.0"
      "\n cdp X     :   0.00000 -   0.00000"
      "\n cdp Y     :   0.00000 -   0.00000";
  EXPECT_EQ(s.m_sectionInfo, expected);
}

TEST(SectionInfo, TimeLinesFollowTheUnits) {
  SeismicSection longRecord;
  AddTrace(longRecord, 12001, 0.001);
  longRecord.Scan();
  const std::string& a = longRecord.m_sectionInfo;
  EXPECT_NE(a.find("\n min dt       : 1 ms\n time min     : 0 sec\n time max     : 12 sec"),
            std::string::npos)
      << a;

  SeismicSection fine;
  AddTrace(fine, 100, 20e-6, 0.001);
  fine.Scan();
  EXPECT_NE(fine.m_sectionInfo.find("\n min dt       : 20 \xce\xbcs\n time min     : 1000 \xce\xbcs"),
            std::string::npos)
      << fine.m_sectionInfo;

  SeismicSection none;
  AddTrace(none, 0, 0.0);
  none.Scan();
  EXPECT_NE(none.m_sectionInfo.find("\n max samples  : 0\n sampling dt  : unknown\n time min     : "
                                    "unknown\n time max     : unknown\n\n Trace Sort"),
            std::string::npos)
      << none.m_sectionInfo;
  EXPECT_EQ(none.m_sectionInfo.find("min dt"), std::string::npos);
}

TEST(SectionInfo, FileLinesAndHeaderCodes) {
  struct Case {
    int type, major, minor;
    const char* line;
  };
  const Case cases[] = {{kFileSeg2, 1, 0, "\n\n SEG-2 file rev 1\n\n"},
                        {kFileSegd, 3, 1, "\n\n SEG-D file rev 3.1\n\n"},
                        {kFileQlmVms, 3, 0, "\n\n QLM VMS file ver 3\n\n"},
                        {kFileKxf, 0, 0, "\n\n\n\n Byte Order"}};
  for (const Case& c : cases) {
    SeismicSection s;
    AddTrace(s, 4, 0.001);
    SetFileType(s, c.type, kLittleEndian, c.major, c.minor);
    s.Scan();
    EXPECT_EQ(s.m_sectionInfo.rfind(c.line, 0), 0u) << s.m_sectionInfo;
  }

  SeismicSection s;
  AddTrace(s, 4, 0.001);
  SetFileType(s, kFileSegy, 7, 2, 0);  // any order code but 2 reads as little-endian
  PutI16(s, kFormat, 4);               // no text for format 4
  PutI16(s, kMeasurement, 7);
  PutI16(s, kSorting, 12);
  PutI16(s, kCorrelated, 1);
  PutI16(s, kSweepChan, 3);
  PutI16(s, kGainRcv, 2);
  PutI16(s, kAmpRcv, 7);
  s.Scan();
  const std::string& t = s.m_sectionInfo;
  for (const char* piece :
       {" SEG-Y file rev 2.0", "\n Byte Order   : Little Endian", "\n Data Format  : \n Meas System  : 7\n",
        "\n Trace Sort   : code 12",
        "\n correlated   : NO\n sweep chan   : 3\n bin gain rcv : NO\n amp rcv meth : 7\n"})
    EXPECT_NE(t.find(piece), std::string::npos) << piece << "\n---\n" << t;
}

TEST(SectionInfo, LongPiecesAreCutAt44Characters) {
  SeismicSection s;
  AddTrace(s, 4, 0.001)->FLDR = INT64_MIN;
  AddTrace(s, 4, 0.001)->FLDR = INT64_MAX;
  s.Scan();
  // "\n fldr      : -9223372036854775808 - 9223372036854775807" is 56 characters.
  EXPECT_NE(s.m_sectionInfo.find("\n fldr      : -9223372036854775808 - 9223372\n fchan"), std::string::npos)
      << s.m_sectionInfo;
  EXPECT_LE(Utf8Length(s.m_sectionInfo), kSectionInfoMaxChars);
}

TEST(SectionInfo, StationsTruncateMinimumAndRoundMaximum) {
  SeismicSection s;
  AddTrace(s, 4, 0.001)->RSTA = 100.4;
  AddTrace(s, 4, 0.001)->RSTA = 200.5;
  AddTrace(s, 4, 0.001)->RSTA = 150.0;
  s.Scan();
  EXPECT_NE(s.m_sectionInfo.find("\n Rcv Point :       100 -       201\n"), std::string::npos);
}

TEST(Utf8Text, BoundsCountCharactersAndKeepSequencesWhole) {
  const std::string mu = "\xce\xbc";
  EXPECT_EQ(Utf8Length("a" + mu + "s"), 3u);
  EXPECT_EQ(Utf8Prefix("ab" + mu + "cd", 3), "ab" + mu);
  EXPECT_EQ(Utf8Prefix("ab" + mu + "cd", 2), "ab");
  EXPECT_EQ(Utf8Prefix("abc", 10), "abc");

  std::string out = "xxxx";
  EXPECT_EQ(Utf8AppendBounded(out, mu + mu + mu, 10, 6), 2u);  // total bound
  EXPECT_EQ(out, "xxxx" + mu + mu);
  EXPECT_EQ(Utf8AppendBounded(out, "more", 10, 6), 0u);
  out.clear();
  EXPECT_EQ(Utf8AppendBounded(out, "12" + mu + "456", 3, 100), 3u);  // piece bound
  EXPECT_EQ(out, "12" + mu);
}

TEST(InfoFormat, TrimmingAndCodeTexts) {
  EXPECT_EQ(TrimTrailingZeros("4.000"), "4");
  EXPECT_EQ(TrimTrailingZeros("2.50"), "2.5");
  EXPECT_EQ(TrimTrailingZeros("100"), "100");
  EXPECT_EQ(TrimTrailingZeros("100.000"), "100");
  EXPECT_EQ(TrimTrailingZeros("-0.250"), "-0.25");
  EXPECT_EQ(ShortTime(0.002, 1000.0), "2");
  EXPECT_EQ(ShortTime(0.00025, 1000.0), "0.25");
  EXPECT_EQ(ShortTime(12.0, 1.0), "12");

  EXPECT_EQ(TraceIdText(-1), "other");
  EXPECT_EQ(TraceIdText(0), "unknown");
  EXPECT_EQ(TraceIdText(17), "rot radial");
  EXPECT_EQ(TraceIdText(26), "gravity");
  EXPECT_EQ(TraceIdText(30), "30");
  EXPECT_EQ(TraceIdText(-5), "unknown (-5)");
  EXPECT_EQ(TraceSortingText(-1), "other (-1)");
  EXPECT_EQ(TraceSortingText(9), "common conv point");
  EXPECT_EQ(TraceSortingText(-2), "code -2");
  EXPECT_EQ(SampleFormatText(8), "1-byte integer");
  EXPECT_EQ(SampleFormatText(7), "");
  EXPECT_EQ(MeasurementSystemText(4), "inches");
  EXPECT_EQ(AmplitudeRecoveryText(0), "");
  EXPECT_EQ(AmplitudeRecoveryText(4), "other");
  EXPECT_EQ(TimeBasisText(5), "GPS");
  EXPECT_EQ(TimeBasisText(6), "6");
  EXPECT_EQ(SweepTypeText(3), "exponential");
  EXPECT_EQ(TaperTypeText(2), "cos squared");
  EXPECT_EQ(TaperTypeText(4), "4");
  EXPECT_EQ(GainTypeText(-1), "-1");
  EXPECT_EQ(SourceTypeText(9), "Dist IMP in-line");
  EXPECT_EQ(SourceTypeText(10), "Unknown (10)");
  EXPECT_EQ(SourceTypeText(-3), "Other (-3)");
  EXPECT_EQ(CoordUnitText(1, 0), "length");
  EXPECT_EQ(CoordUnitText(1, 2), "length ft");
  EXPECT_EQ(CoordUnitText(1, 3), "1");
  EXPECT_EQ(CoordUnitText(2, 1), "decimal degrees");
  EXPECT_EQ(CoordUnitText(4, 1), "decimal degrees");
  EXPECT_EQ(CoordUnitText(0, 1), "");
  EXPECT_EQ(CoordUnitText(5, 1), "5");
}
