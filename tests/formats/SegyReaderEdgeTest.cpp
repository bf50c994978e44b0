// SEG-Y and SU reader behaviour on hand-built files: text code detection,
// revision and byte-order fixes, refusals, extended headers, sample counts,
// header scalars and truncation.
#include <gtest/gtest.h>

#include <cmath>

#include "SegyTestUtil.h"
#include "formats/SampleConvert.h"
#include "formats/SegyReader.h"
#include "formats/TraceHeaderDecode.h"
#include "section/SeismicSection.h"
#include "support/LogCapture.h"

using kxtest::LogCapture;
using segytest::SegyBuilder;
using segytest::WriteTemp;

namespace {
struct Loaded {
  int rc;
  std::unique_ptr<SeismicSection> section;
};

Loaded Load(const std::string& name, const std::vector<uint8_t>& bytes, bool su = false,
            int32_t flags = 0x1000) {
  std::string path = WriteTemp(name, bytes);
  Loaded r{0, std::make_unique<SeismicSection>(1)};
  LoadParams p;
  p.flags = flags;
  p.fileCount = 3;
  p.loadTag = 77;
  r.rc = su ? ReadSuFile(*r.section, path, p) : ReadSegyFile(*r.section, path, p);
  return r;
}

SegyBuilder TwoTraceFile(bool big) {
  SegyBuilder b(big);
  b.Bin16(17, 1000);
  b.Bin16(21, 3);
  b.AddTrace(3, 1000, {1.5f, -2.0f, 0.25f});
  b.AddTrace(3, 1000, {4.0f, 5.0f, -6.0f});
  return b;
}
}  // namespace

TEST(SegyText, EbcdicNeedsThreeQuartersOfTheBytes) {
  for (int marked : {2399, 2400}) {
    SegyBuilder b = TwoTraceFile(true);
    auto& t = b.Text();
    std::fill(t.begin(), t.end(), 0xC1);  // EBCDIC 'A', plain bytes below 0x80 elsewhere
    for (int i = marked; i < 3200; ++i) t[i] = 'x';
    const uint8_t endEbcdic[10] = {0xC5, 0xD5, 0xC4, 0x40, 0xC5, 0xC2, 0xC3, 0xC4, 0xC9, 0xC3};
    std::memcpy(t.data() + 100, endEbcdic, 10);
    Loaded r = Load("ebcdic.sgy", b.Segy());
    ASSERT_EQ(r.rc, 2);
    const char* text = r.section->m_textualHeader;
    if (marked == 2400) {
      EXPECT_EQ(text[0], 'A');
      EXPECT_EQ(std::string(text + 100, 18), "END TEXTUAL HEADER") << "END EBCDIC is replaced";
      EXPECT_EQ(text[3199], ' ') << "'x' (0x78) has no 7-bit code page 037 character";
    } else {
      EXPECT_EQ(static_cast<uint8_t>(text[0]), 0xC1);
      EXPECT_EQ(static_cast<uint8_t>(text[100]), 0xC5);
    }
  }
}

TEST(SegyBinary, RevisionWordsAndByteOrder) {
  {  // major 0, minor 1: exchanged, then a revision 1 file
    SegyBuilder b = TwoTraceFile(true);
    b.Revision(0, 1);
    LogCapture log;
    Loaded r = Load("rev01.sgy", b.Segy());
    EXPECT_EQ(r.rc, 2);
    EXPECT_EQ(r.section->m_binaryHeader[300], 1);
    EXPECT_TRUE(log.Contains("WARNING: exchanged SEG-Y major(0)<->minor(1) rev numbers"));
  }
  {  // revision 1 big-endian with format 1: 0x0100 read little-endian is outside 1..16
    SegyBuilder b = TwoTraceFile(true);
    b.Revision(1, 0);
    b.Bin16(25, 1);
    Loaded r = Load("rev1big.sgy", b.Segy());
    EXPECT_EQ(r.rc, 2);
    EXPECT_EQ(r.section->ByteOrder(), kBigEndian);
  }
  {  // revision 2 tags decide over the format-code guess
    for (bool big : {true, false}) {
      SegyBuilder b = TwoTraceFile(big);
      b.Revision(2, 0);
      b.Bin32(97, 0x01020304);  // written in the file's order: bytes 01 02 03 04 when big
      Loaded r = Load("rev2tag.sgy", b.Segy());
      EXPECT_EQ(r.rc, 2) << big;
      EXPECT_EQ(r.section->ByteOrder(), big ? kBigEndian : kLittleEndian);
      EXPECT_FLOAT_EQ(r.section->Trace(1)->Samples()[2], -6.0f);
    }
    SegyBuilder b = TwoTraceFile(true);
    b.Revision(2, 0);
    b.Binary()[96] = 0x02, b.Binary()[97] = 0x01, b.Binary()[98] = 0x04, b.Binary()[99] = 0x03;
    LogCapture log;
    EXPECT_EQ(Load("pairwise.sgy", b.Segy()).rc, -4);
    EXPECT_TRUE(log.Contains("pairwise bytes swapping NOT IMPLEMENTED"));
  }
}

TEST(SegyBinary, UnsupportedFormatsAreRefused) {
  struct Case {
    int code;
    const char* message;
  } cases[] = {{4, "SEG-Y sample format code 4 NOT IMPLEMENTED"},
               {13, "SEG-Y sample format code 13 IS UNKNOWN"},
               {0, "SEG-Y sample format code 0 IS UNKNOWN"},
               {7, "SEG-Y sample format code 7 NOT IMPLEMENTED"}};
  for (const Case& c : cases) {
    SegyBuilder b = TwoTraceFile(true);
    b.Bin16(25, c.code);
    LogCapture log;
    Loaded r = Load("fmt.sgy", b.Segy());
    EXPECT_EQ(r.rc, -4) << c.code;
    EXPECT_EQ(r.section->Count(), 0);
    EXPECT_TRUE(log.Contains(c.message)) << c.code;
    EXPECT_TRUE(log.Contains(" SEG-Y Binary File Header")) << "a refused header is dumped";
  }
}

TEST(SegyBinary, Rev2FirstTraceOffsetMustFollowExtendedHeaders) {
  for (int k : {1, 2}) {
    SegyBuilder b = TwoTraceFile(true);
    b.Revision(2, 0);
    b.Bin32(97, 0x01020304);
    b.Bin16(305, k);
    for (int i = 0; i < k; ++i) b.AddExtText("C01 extended " + std::to_string(i));
    b.Bin64(321, 3600 + 3200LL * k);
    Loaded r = Load("rev2off.sgy", b.Segy());
    EXPECT_EQ(r.rc, 2) << k;
    EXPECT_EQ(r.section->m_extTextCount, k);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(r.section->m_extTextHeader) + 3200 * (k - 1), 14),
              "C01 extended " + std::to_string(k - 1));
  }
  SegyBuilder b = TwoTraceFile(true);
  b.Revision(2, 0);
  b.Bin32(97, 0x01020304);
  b.Bin16(305, 1);
  b.AddExtText("C01 one block");
  b.Bin64(321, 3600);
  LogCapture log;
  EXPECT_EQ(Load("rev2bad.sgy", b.Segy()).rc, -4);
  EXPECT_TRUE(log.Contains("is specified before end of 1-block ETFH"));
  b.Bin64(321, 1200);
  EXPECT_EQ(Load("rev2bad2.sgy", b.Segy()).rc, -4);
  EXPECT_TRUE(log.Contains("found INVALID values in SEGY rev 2.0 part of Binary File Header"));
}

TEST(SegyBinary, VariableExtendedHeadersEndAtTheStanza) {
  SegyBuilder b = TwoTraceFile(true);
  b.Revision(1, 0);
  b.Bin16(305, -1);
  b.AddExtText("C01 first block");
  b.AddExtText("  (( seg: endtext ))");
  Loaded r = Load("stanza.sgy", b.Segy());
  EXPECT_EQ(r.rc, 2);
  EXPECT_EQ(r.section->m_extTextCount, 2);
  SegyBuilder c = TwoTraceFile(true);
  c.Revision(1, 0);
  c.Bin16(305, -1);
  c.AddExtText("C01 no end here");
  LogCapture log;
  EXPECT_EQ(Load("nostanza.sgy", c.Segy()).rc, -4);
  EXPECT_TRUE(log.Contains("Cannot find '((SEG: EndText))'"));
}

TEST(SegyTraces, ZeroSampleCountFallsBackToTheBinaryHeader) {
  SegyBuilder b(true);
  b.Bin16(17, 1000);
  b.Bin16(21, 2);
  b.AddTrace(0, 0, {1.0f, 2.0f});
  b.AddTrace(2, 500, {3.0f, 4.0f});
  Loaded r = Load("ns0.sgy", b.Segy());
  ASSERT_EQ(r.rc, 2);
  EXPECT_EQ(r.section->Trace(0)->NS, 2);
  EXPECT_DOUBLE_EQ(r.section->Trace(0)->DT, 0.001);
  EXPECT_DOUBLE_EQ(r.section->Trace(1)->DT, 0.0005);
  EXPECT_EQ(r.section->Trace(1)->TRF, 3);
  EXPECT_EQ(r.section->Trace(1)->LTAG, 77);
  EXPECT_EQ(r.section->Trace(1)->TRNO, 2);

  SegyBuilder c(true);  // no fallback: reading stops, the first trace stays
  c.Bin16(17, 1000);
  c.AddTrace(2, 1000, {1.0f, 2.0f});
  c.AddTrace(0, 1000, {3.0f, 4.0f});
  LogCapture log;
  Loaded s = Load("ns00.sgy", c.Segy());
  EXPECT_EQ(s.rc, 1);
  EXPECT_TRUE(log.Contains("ERROR: BAD number of samples (0) in trace header #2"));
}

TEST(SegyTraces, TruncatedLastTraceKeepsTheOthers) {
  SegyBuilder b = TwoTraceFile(false);
  auto bytes = b.Segy();
  bytes.resize(bytes.size() - 5);
  LogCapture log;
  Loaded r = Load("trunc.sgy", bytes);
  EXPECT_EQ(r.rc, 1);
  EXPECT_EQ(r.section->Count(), 1);
  EXPECT_TRUE(log.Contains("ERROR: Failed to read trace data, trace #2, 3smp @ 1000us"));
}

TEST(SegyTraces, GarbageSampleCountIsAReadErrorNotAnAllocation) {
  // Revision 2 extension 1 claims two billion samples in a file of a few KiB.
  SegyBuilder b(true);
  b.Revision(2, 0);
  b.Bin32(97, 0x01020304);
  b.Bin32(307, 1);
  b.Bin16(17, 1000);
  int t = b.AddTrace(2, 1000, {1.0f, 2.0f});
  kxtest::ByteWriter ext = b.Words(240);
  ext.PutAt<uint32_t>(137, 2000000000u);
  b.TraceExtra(t, ext);
  LogCapture log;
  Loaded r = Load("huge.sgy", b.Segy());
  EXPECT_EQ(r.rc, 0);
  EXPECT_TRUE(log.Contains("ERROR: Failed to read trace data, trace #1, 2000000000smp @ 1000us"));
  EXPECT_FALSE(log.Contains("malloc failure"));

  // The same claim behind 255 further extensions that would end far past the end of the file.
  b.Bin32(307, 256);
  LogCapture past;
  r = Load("past.sgy", b.Segy());
  EXPECT_EQ(r.rc, 0);
  EXPECT_TRUE(past.Contains("ERROR: Failed to skip 255 proprietary THExtended, trace #1"));
  EXPECT_FALSE(past.Contains("malloc failure"));

  // And with an interval no int can hold: the message says so without overflowing.
  SegyBuilder c(true);
  c.Revision(2, 0);
  c.Bin32(97, 0x01020304);
  c.Bin32(307, 1);
  c.Bin16(17, 1000);
  t = c.AddTrace(2, 1000, {1.0f, 2.0f});
  ext = c.Words(240);
  ext.PutAt<uint32_t>(137, 2000000000u);
  ext.PutAt<double>(145, 1e40);
  c.TraceExtra(t, ext);
  LogCapture wide;
  r = Load("wide.sgy", c.Segy());
  EXPECT_EQ(r.rc, 0);
  EXPECT_TRUE(wide.Contains("ERROR: Failed to read trace data, trace #1, 2000000000smp @ 2147483647us"));
}

TEST(SegyTraces, HeaderScalarsDatesAndDms) {
  SegyBuilder b(true);
  b.Bin16(17, 1000);
  b.Bin32(5, 42);  // line number
  b.Bin16(55, 2);  // feet
  int t = b.AddTrace(2, 1000, {0.0f, -3.0f});
  b.Tr16(t, 215, -10);  // TIMSCAL
  b.Tr16(t, 109, 500);  // DELRT
  b.Tr16(t, 89, 4);     // DMS
  b.Tr16(t, 71, 1);
  b.Tr32(t, 73, 453015);
  b.Tr32(t, 77, -1203000);
  b.Tr16(t, 69, -100);  // SCALEL
  b.Tr32(t, 45, 12345);
  b.Tr16(t, 157, 99);
  b.Tr16(t, 159, 60);
  b.Tr16(t, 31, -3);
  int u = b.AddTrace(2, 1000, {0.0f, 1.0f});
  b.Tr16(u, 89, 2);  // arc seconds within range: to degrees
  b.Tr16(u, 71, -10);
  b.Tr32(u, 73, 36000);
  b.Tr16(u, 157, 24);
  b.Tr16(u, 159, 60);
  b.Revision(1, 0);
  b.Tr32(u, 197, 1234);
  b.Tr16(u, 201, -10);
  Loaded r = Load("scal.sgy", b.Segy());
  ASSERT_EQ(r.rc, 2);
  const TraceRecord* a = r.section->Trace(0);
  EXPECT_NEAR(a->DELAY, 0.05, 1e-12);
  EXPECT_EQ(a->CUNIT, 3);
  EXPECT_NEAR(a->SX, 45.0 + 30.0 / 60 + 15.0 / 3600, 1e-12);
  EXPECT_NEAR(a->SY, -(120.0 + 30.0 / 60), 1e-12);
  EXPECT_FLOAT_EQ(a->SZ, 123.45f);
  EXPECT_EQ(a->YEAR, 1999);
  EXPECT_EQ(a->MONTH, 3);
  EXPECT_EQ(a->MDAY, 1);
  EXPECT_EQ(a->NVS, 1);
  EXPECT_EQ(a->MSYS, 2);
  EXPECT_EQ(a->RLINE, 42.0);
  EXPECT_FLOAT_EQ(a->AMAX, 3.0f);
  EXPECT_FLOAT_EQ(a->TAMAX, 0.001f + 0.05f);
  const TraceRecord* c = r.section->Trace(1);
  EXPECT_EQ(c->CUNIT, 3);
  EXPECT_NEAR(c->SX, 1.0, 1e-12);
  EXPECT_EQ(c->YEAR, 2024);
  EXPECT_EQ(c->MONTH, 2) << "2024 is a leap year: day 60 is 29 February";
  EXPECT_EQ(c->MDAY, 29);
  EXPECT_DOUBLE_EQ(c->SSTA, 123.4);
}

TEST(SegySamples, IbmConversionIsExact) {
  EXPECT_EQ(IbmToIeee(0x42640000u), 100.0f);
  EXPECT_EQ(IbmToIeee(0xC276A000u), -118.625f);
  EXPECT_EQ(IbmToIeeeBits(0x80000000u), 0x80000000u) << "signed zero";
  EXPECT_EQ(IbmToIeeeBits(0x7F000000u), 0u) << "zero fraction";
  EXPECT_EQ(IbmToIeeeBits(0x7FFFFFFFu), 0x7F800000u) << "beyond the single range";
  EXPECT_EQ(IbmToIeeeBits(0xFFFFFFFFu), 0xFF800000u);
  // 16^-32 * 0.0625 = 2^-132: subnormal 2^-132 = 2^-149 * 2^17.
  EXPECT_EQ(IbmToIeeeBits(0x20100000u), 1u << 17);
  EXPECT_EQ(IbmToIeeeBits(0x00100000u), 0u) << "far below the subnormals";
  // Unnormalised fraction (leading hex digit 0) still converts exactly.
  EXPECT_EQ(IbmToIeee(0x40F00000u), 0.9375f);
  EXPECT_EQ(IbmToIeee(0x4100F000u), 0.05859375f);
  // Truncation: the 24-bit fraction fits a single exactly, nothing is rounded
  // until the subnormal range, where the bits that drop out are cut.
  EXPECT_EQ(IbmToIeeeBits(0x20FFFFFFu), 0x001FFFFFu) << "0xFFFFFF * 2^-152, cut to 2^-149 steps";
  // The test files' own IBM words agree with the reader both ways.
  EXPECT_EQ(kxtest::IbmBits(100.0f), 0x42640000u);
  EXPECT_EQ(kxtest::IbmBits(-118.625f), 0xC276A000u);
  EXPECT_EQ(kxtest::IbmBits(0.0f), 0u);
  for (int k = -4000; k <= 4000; k += 37)
    EXPECT_EQ(IbmToIeee(kxtest::IbmBits(k * 0.015625f)), k * 0.015625f) << k;

  // The block path agrees with the scalar one on every kind of word, both orders.
  std::vector<uint32_t> words;
  uint32_t x = 12345;
  for (int i = 0; i < 5000; ++i) {
    x = x * 1664525u + 1013904223u;
    words.push_back(x);
  }
  for (bool big : {false, true}) {
    std::vector<float> s(words.size());
    for (std::size_t i = 0; i < words.size(); ++i) {
      kxtest::StoreBytes(reinterpret_cast<uint8_t*>(&s[i]), words[i], big);
    }
    ASSERT_TRUE(ConvertSamplesInPlace(s.data(), static_cast<int32_t>(s.size()), 1, big));
    for (std::size_t i = 0; i < words.size(); ++i) {
      ASSERT_EQ(std::bit_cast<uint32_t>(s[i]), IbmToIeeeBits(words[i])) << std::hex << words[i];
    }
  }
}

TEST(SuReader, ByteOrderFromTheFirstIntervalWord) {
  for (bool big : {true, false}) {
    SegyBuilder b(big);
    b.AddTrace(2, 1000, {7.0f, -8.0f});
    b.AddTrace(2, 1000, {9.0f, 10.0f});
    auto bytes = b.Su();
    if (big) {
      EXPECT_EQ(bytes[116], 0x03);
      EXPECT_EQ(bytes[117], 0xE8);
    }
    Loaded r = Load("order.su", bytes, true);
    ASSERT_EQ(r.rc, 2) << big;
    EXPECT_EQ(r.section->FileType(), kFileSu);
    EXPECT_EQ(r.section->ByteOrder(), big ? kBigEndian : kLittleEndian);
    EXPECT_FLOAT_EQ(r.section->Trace(0)->Samples()[1], -8.0f);
    EXPECT_FLOAT_EQ(r.section->Trace(1)->Samples()[0], 9.0f);
    int16_t fmt;
    std::memcpy(&fmt, r.section->m_binaryHeader + 24, 2);
    EXPECT_EQ(fmt, 5);
    double us;
    std::memcpy(&us, r.section->m_binaryHeader + 72, 8);
    EXPECT_EQ(us, 1000.0);
    EXPECT_EQ(std::string(r.section->m_textualHeader, 3), "C01");
  }
}

TEST(ScalarRules, FactorsAndCalendar) {
  EXPECT_EQ(ScalarFactor(0), 1.0);
  EXPECT_EQ(ScalarFactor(-100), 0.01);
  EXPECT_EQ(ScalarFactor(25), 25.0);
  EXPECT_NEAR(DmsToDegrees(453015250, -1000), 45.0 + 30.0 / 60 + 15.25 / 3600, 1e-12);
  int m = 0, d = 0;
  EXPECT_TRUE(MonthDayFromDayOfYear(2023, 365, &m, &d));
  EXPECT_EQ(m * 100 + d, 1231);
  EXPECT_FALSE(MonthDayFromDayOfYear(2023, 366, &m, &d));
  EXPECT_TRUE(MonthDayFromDayOfYear(2000, 366, &m, &d));
  EXPECT_FALSE(MonthDayFromDayOfYear(2000, 0, &m, &d));
}

TEST(SegySamples, FastPeakAgreesWithTheTraceRecordsWalk) {
  uint32_t x = 99;
  auto next = [&x] { return x = x * 1103515245u + 12345u; };
  const float specials[] = {0.0f, -0.0f, 5.0f, -5.0f, INFINITY, -INFINITY, NAN, 1e-45f};
  for (int round = 0; round < 2000; ++round) {
    int n = static_cast<int>(next() % 23);
    std::vector<float> s(static_cast<std::size_t>(n));
    for (float& v : s) {
      uint32_t r = next();
      v = r % 5 == 0 ? specials[(r >> 8) % (round < 1000 ? 6 : 8)]
                     : static_cast<float>(static_cast<int>(r % 11) - 5);
    }
    float a1 = -1, a2 = -1;
    int32_t i1 = -1, i2 = -1;
    FindPeak(s.data(), n, &a1, &i1);
    SamplePeak(s.data(), n, &a2, &i2);
    ASSERT_EQ(std::bit_cast<uint32_t>(a1), std::bit_cast<uint32_t>(a2)) << round;
    ASSERT_EQ(i1, i2) << round;
  }
}
