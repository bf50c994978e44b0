// SEG-2 reading: real files from two other programs (checked against their
// reference samples), both byte orders, skipped and refused traces, keyword
// defaults and bad-value counting, plain-text trace strings, the dump.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <sstream>

#include "Seg2TestFile.h"
#include "SegyWriterTestUtil.h"
#include "formats/Seg2Reader.h"
#include "formats/Seg2Strings.h"
#include "log/Log.h"
#include "section/ByteOrder.h"
#include "support/LogCapture.h"

using namespace seg2test;
using namespace writertest;

namespace {
const std::string kData = KX_TEST_DATA_DIR;

int Read(SeismicSection& s, const std::string& path, int32_t flags = kLoadKeepHeaders) {
  LoadParams p;
  p.flags = flags;
  p.fileCount = 1;
  return ReadSeg2File(s, path, p);
}

// Columns of a whitespace-separated text file of numbers.
std::vector<std::vector<double>> Columns(const std::string& path) {
  std::vector<std::vector<double>> cols;
  std::ifstream in(path);
  std::string line;
  while (std::getline(in, line)) {
    std::istringstream row(line);
    double v;
    for (std::size_t c = 0; row >> v; ++c) {
      if (cols.size() <= c) cols.resize(c + 1);
      cols[c].push_back(v);
    }
  }
  return cols;
}

TEST(Seg2Reader, RealFileMatchesTheReferenceSamplesAfterDescaling) {
  SeismicSection s;
  std::string base = kData + "/seg2/obspy/20130107_103041000.CET.3c.cont.0";
  ASSERT_EQ(Read(s, base + ".seg2", kLoadKeepHeaders | kLoadSeg2Descale), 3);
  auto ref = Columns(base + ".DAT.txt");
  ASSERT_EQ(ref.size(), 3u);
  for (int t = 0; t < 3; ++t) {
    const TraceRecord* r = s.Trace(t);
    ASSERT_EQ(r->NS, 2000);
    EXPECT_DOUBLE_EQ(r->DT, 0.001);
    EXPECT_EQ(r->DESCAL, 1.0);
    ASSERT_EQ(ref[t].size(), 2000u);
    for (int i = 0; i < 2000; ++i)
      ASSERT_NEAR(r->Samples()[i] * 1e3, ref[t][i], 1e-6 + 1e-6 * std::fabs(ref[t][i])) << t << " " << i;
  }
  // File headers: the textual header lines and the binary header fields.
  std::string text(s.m_textualHeader, 3200);
  EXPECT_EQ(text.substr(80 + 4, 39), "SEG-Y file generated from SEG-2 file(s)");
  EXPECT_EQ(text.substr(8 * 80 + 4, 10), "INSTRUMENT");
  EXPECT_EQ(text.substr(8 * 80 + 25, 24), "DMT_VIPA_01-0000143912a3");
  EXPECT_EQ(s.m_binaryHeader[kBfhFileTypePos], kFileSeg2);
  EXPECT_EQ(s.m_binaryHeader[kBfhByteOrderPos], kLittleEndian);
  int16_t format = 0;
  uint16_t ns = 0;
  std::memcpy(&format, s.m_binaryHeader + 24, 2);
  std::memcpy(&ns, s.m_binaryHeader + 20, 2);
  EXPECT_EQ(format, 2);
  EXPECT_EQ(ns, 2000);
}

TEST(Seg2Reader, FloatFileAndRefusedTwentyBitFile) {
  SeismicSection s;
  ASSERT_EQ(Read(s, kData + "/seg2/seisunix/329.dat"), 3);
  EXPECT_EQ(s.Trace(0)->NS, 4096);
  EXPECT_NEAR(s.Trace(0)->DT, 0.0000625, 1e-15);
  EXPECT_GT(s.Trace(0)->AMAX, 0.0f);

  SeismicSection empty;
  char before[3200];
  std::memcpy(before, empty.m_textualHeader, sizeof before);
  std::string log = kxtest::CaptureLog(
      LogWarning, [&] { EXPECT_EQ(Read(empty, kData + "/seg2/obspy/20180307_031245000.0.seg2"), 0); });
  EXPECT_NE(log.find("ERROR: UNSUPPORTED SEG-D 20-bit Fixed Point (code 3), trace 1"), std::string::npos);
  EXPECT_EQ(std::memcmp(before, empty.m_textualHeader, sizeof before), 0);
  EXPECT_EQ(empty.m_binaryHeader[kBfhFileTypePos], 0);
}

std::vector<TestTrace> ThreeTraces(uint8_t format) {
  std::vector<TestTrace> t(3);
  for (int i = 0; i < 3; ++i) {
    t[i].format = format;
    t[i].strings = {"CHANNEL_NUMBER " + std::to_string(i + 1), "SAMPLE_INTERVAL 0.0005", "DELAY -0.010"};
    for (int k = 0; k < 20; ++k) t[i].samples.push_back((k - 7) * 100 + i);
  }
  return t;
}

TEST(Seg2Reader, BigEndianFileReadsLikeItsLittleEndianTwin) {
  for (uint8_t format : {1, 2, 4, 5}) {
    TempDir dir;
    WriteFileBytes(dir / "le.sg2", MakeSeg2(false, {"UNITS FEET"}, ThreeTraces(format)));
    WriteFileBytes(dir / "be.sg2", MakeSeg2(true, {"UNITS FEET"}, ThreeTraces(format)));
    SeismicSection le, be;
    ASSERT_EQ(Read(le, dir / "le.sg2"), 3);
    ASSERT_EQ(Read(be, dir / "be.sg2"), 3);
    EXPECT_EQ(be.m_binaryHeader[kBfhByteOrderPos], kBigEndian);
    for (int t = 0; t < 3; ++t) {
      EXPECT_EQ(le.Trace(t)->CHAN, t + 1);
      EXPECT_EQ(be.Trace(t)->CHAN, t + 1);
      EXPECT_DOUBLE_EQ(be.Trace(t)->DT, 0.0005);
      EXPECT_DOUBLE_EQ(be.Trace(t)->DELAY, -0.010);
      EXPECT_EQ(be.Trace(t)->MSYS, 2);
      for (int k = 0; k < 20; ++k) {
        EXPECT_EQ(le.Trace(t)->Samples()[k], (k - 7) * 100 + t);
        EXPECT_EQ(be.Trace(t)->Samples()[k], le.Trace(t)->Samples()[k]);
      }
    }
  }
}

TEST(Seg2Reader, ZeroPointersAreSkippedAndCodeThreeStopsTheLoad) {
  auto traces = ThreeTraces(4);
  traces[1].zeroPointer = true;
  TempDir dir;
  WriteFileBytes(dir / "gap.sg2", MakeSeg2(false, {}, traces));
  SeismicSection s;
  std::string log = kxtest::CaptureLog(LogWarning, [&] { EXPECT_EQ(Read(s, dir / "gap.sg2"), 2); });
  EXPECT_EQ(log, "");
  EXPECT_EQ(s.Trace(1)->CHAN, 3);
  EXPECT_EQ(s.Trace(1)->TRNO, 2);

  traces = ThreeTraces(4);
  traces[2].format = 3;
  WriteFileBytes(dir / "code3.sg2", MakeSeg2(false, {}, traces));
  SeismicSection c;
  log = kxtest::CaptureLog(LogWarning, [&] { EXPECT_EQ(Read(c, dir / "code3.sg2"), 2); });
  EXPECT_NE(log.find("UNSUPPORTED SEG-D 20-bit Fixed Point (code 3), trace 3"), std::string::npos);
}

TEST(Seg2Reader, KeywordsTakeTheirDefaultsOnBadValues) {
  TestTrace t;
  t.samples = {1, 2, 3};
  t.strings = {"DELAY 40",
               "SAMPLE_INTERVAL 0.0005",
               "CDP_NUMBER 1200",
               "*STACK 99999",
               "TRACE_TYPE  DUMMY ",
               "RECEIVER_LOCATION 12.5",
               "SOURCE_LOCATION 1 2 3",
               "LINE_ID x",
               "DESCALING_FACTOR -2",
               "TRACE_STRIKE DOWN",
               "TRACE_SKIP 7",
               "DATUM 55.5"};
  TempDir dir;
  WriteFileBytes(dir / "kw.sg2",
                 MakeSeg2(false, {"ACQUISITION_DATE 07-MAR-2001", "ACQUISITION_TIME 10:05:09.25"}, {t}));
  SeismicSection s;
  std::string log = kxtest::CaptureLog(LogWarning, [&] { ASSERT_EQ(Read(s, dir / "kw.sg2"), 1); });
  EXPECT_NE(log.find("WARNING: 4 bad keyword value(s)"), std::string::npos) << log;
  const TraceRecord* r = s.Trace(0);
  EXPECT_EQ(r->DELAY, 0.0);
  EXPECT_DOUBLE_EQ(r->DT, 0.0005);
  EXPECT_EQ(r->CDP, 1200);
  EXPECT_EQ(r->XLINE, 1200);
  EXPECT_EQ(r->NVS, 0);
  EXPECT_EQ(r->TRID, 3);
  EXPECT_EQ(r->DUSE, 2);
  EXPECT_EQ(r->RX, 12.5);
  EXPECT_EQ(r->SZ, 3.0f);
  EXPECT_EQ(r->ILINE, 0);
  EXPECT_EQ(r->DESCAL, 1.0);
  EXPECT_EQ(r->SDIR, 1);
  EXPECT_EQ(r->TSKIP, 1);
  EXPECT_EQ(r->RZDAT, 55.5f);
  EXPECT_EQ(r->CUNIT, 1);
  // The file's date and time fill a trace that has none.
  EXPECT_EQ(r->YEAR, 2001);
  EXPECT_EQ(r->DAY, 66);
  EXPECT_EQ(r->MONTH, 3);
  EXPECT_EQ(r->MDAY, 7);
  EXPECT_EQ(r->HOUR, 10);
  EXPECT_EQ(r->SEC, 9);
  EXPECT_EQ(r->NANO, 250000000);
}

TEST(Seg2Reader, DatesInBothFormsAndBadDatesGiveZeros) {
  Seg2Date a, b;
  EXPECT_TRUE(ParseSeg2Date("07/MAR/2001", &a));
  EXPECT_TRUE(ParseSeg2Date("07/03/2001", &b));
  EXPECT_EQ(a.year, 2001);
  EXPECT_EQ(a.dayOfYear, 66);
  EXPECT_EQ(a.month, 3);
  EXPECT_EQ(a.day, 7);
  EXPECT_EQ(b.dayOfYear, a.dayOfYear);
  EXPECT_FALSE(ParseSeg2Date("07/XYZ/2001", &b));
  EXPECT_EQ(b.year, 0);
  Seg2Time t;
  EXPECT_FALSE(ParseSeg2Time("noon", &t));
}

TEST(Seg2Reader, PlainTextTraceStringsAreParsed) {
  TestTrace t;
  t.samples = {4, 5, 6, 7};
  t.plainText = true;
  t.strings = {"CHANNEL_NUMBER 17", "  SAMPLE_INTERVAL\t0.002", "X", "RECEIVER_LOCATION 1.5 2.5 3.5"};
  TempDir dir;
  WriteFileBytes(dir / "plain.sg2", MakeSeg2(false, {}, {t}));
  SeismicSection s;
  ASSERT_EQ(Read(s, dir / "plain.sg2"), 1);
  EXPECT_EQ(s.Trace(0)->CHAN, 17);
  EXPECT_DOUBLE_EQ(s.Trace(0)->DT, 0.002);
  EXPECT_EQ(s.Trace(0)->RY, 2.5);
}

TEST(Seg2Reader, DamagedFilesKeepWhatWasReadAndNeverOverAllocate) {
  std::vector<uint8_t> bytes = MakeSeg2(false, {}, ThreeTraces(4));
  TempDir dir;
  WriteFileBytes(dir / "cut.sg2", std::vector<uint8_t>(bytes.begin(), bytes.end() - 8));
  SeismicSection s;
  std::string log = kxtest::CaptureLog(LogWarning, [&] { EXPECT_EQ(Read(s, dir / "cut.sg2"), 2); });
  EXPECT_NE(log.find("Failed to read trace data, trace 3"), std::string::npos);

  // A sample count far beyond the file is refused before room is made for it.
  std::vector<uint8_t> huge = bytes;
  uint32_t ptr = LoadLE<uint32_t>(huge.data() + 32);
  kxtest::StoreBytes(huge.data() + ptr + 4, 2000000000u, false);
  kxtest::StoreBytes(huge.data() + ptr + 8, 500000000u, false);
  WriteFileBytes(dir / "huge.sg2", huge);
  SeismicSection h;
  kxtest::CaptureLog(LogWarning, [&] { EXPECT_EQ(Read(h, dir / "huge.sg2"), 0); });

  std::vector<uint8_t> sig = bytes;
  sig[ptr] = 0x11;
  WriteFileBytes(dir / "sig.sg2", sig);
  SeismicSection g;
  log = kxtest::CaptureLog(LogWarning, [&] { EXPECT_EQ(Read(g, dir / "sig.sg2"), 0); });
  EXPECT_NE(log.find("BAD Trace Descriptor Block signature, trace 1"), std::string::npos);

  std::vector<uint8_t> none = bytes;
  kxtest::StoreBytes<uint16_t>(none.data() + 6, 0, false);
  WriteFileBytes(dir / "none.sg2", none);
  SeismicSection z;
  log = kxtest::CaptureLog(LogWarning, [&] { EXPECT_EQ(Read(z, dir / "none.sg2"), 0); });
  EXPECT_NE(log.find("#traces (0) inconsistent with Trace Pointer subblock size (12 bytes)"),
            std::string::npos);

  WriteFileBytes(dir / "short.sg2", std::vector<uint8_t>(bytes.begin(), bytes.begin() + 20));
  SeismicSection q;
  kxtest::CaptureLog(LogWarning, [&] { EXPECT_EQ(Read(q, dir / "short.sg2"), 0); });
  EXPECT_EQ(Read(q, dir / "missing.sg2"), -101);
}

TEST(Seg2Reader, DumpPrintsEveryBlock) {
  TempDir dir;
  WriteFileBytes(dir / "d.sg2", MakeSeg2(true, {"COMPANY Kestrix Test"}, ThreeTraces(2)));
  SeismicSection s;
  LogSetThreshold(LogError);
  std::string log = kxtest::CaptureLog(LogWarning, [&] { EXPECT_EQ(DumpSeg2File(s, dir / "d.sg2"), 0); });
  EXPECT_NE(log.find("                 block ID  01-02 :  3A,55  (big endian file)"), std::string::npos)
      << log;
  EXPECT_NE(log.find(" number of traces in file  07-08 :  3"), std::string::npos);
  EXPECT_NE(log.find("             COMPANY :  Kestrix Test"), std::string::npos);
  EXPECT_NE(log.find(" SEG-2 trace 3  Trace Descriptor Block"), std::string::npos);
  EXPECT_NE(log.find("            CHANNEL_NUMBER :  3"), std::string::npos);
  EXPECT_EQ(s.Count(), 0);
}
}  // namespace
