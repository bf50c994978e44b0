// Header byte maps: the parser's refusals, map files, and crafted SEG-Y and SU
// files in both byte orders read with words moved to other bytes.
#include <gtest/gtest.h>

#include <functional>

#include "SegyTestUtil.h"
#include "formats/HeaderByteMap.h"
#include "formats/SaveOptions.h"
#include "formats/SegyReader.h"
#include "formats/SegyWriter.h"
#include "section/SegyBytePositions.h"
#include "section/SeismicSection.h"
#include "support/LogCapture.h"
#include "support/SectionCompare.h"

using segytest::SegyBuilder;
using segytest::WriteTemp;

namespace {
struct ParseCase {
  const char* text;
  int status;
  const char* inMessage;  // a piece of the message; for accepted text the entry's own text
};

TEST(HeaderByteMap, ParsesOrRefusesWithAReason) {
  const ParseCase cases[] = {
      {"CDP=189:i32", 0, "CDP=189:i32"},
      {" cdpx = 181 : I32 ", 0, "CDPX=181:i32"},
      {"NS=239:u16", 0, "NS=239:u16"},  // the last two bytes
      {"SX=237:ibm", 0, "SX=237:ibm"},  // the last four bytes
      {"CDPX=239:i32", kMapOutside, "bytes 239-242 are outside the 240-byte trace header"},
      {"CDP=0:i16", kMapOutside, "bytes 0-1 are outside"},
      {"CDP=241:i16", kMapOutside, "bytes 241-242"},
      {"FOO=189:i32", kMapUnknownWord, "no trace header word named \"FOO\""},
      {"idx=1:i32", kMapUnknownWord, "no trace header word"},  // the table's index row is no word
      {"SEGA=1:i32", kMapUnknownWord, "SEGA has no numeric value"},
      {"CDP=189:i64", kMapUnknownType, "unknown type \"i64\""},
      {"CDP=189", kMapMalformed, "is not WORD=BYTE:TYPE"},
      {"CDP189:i32", kMapMalformed, "is not WORD=BYTE:TYPE"},
      {"CDP=-4:i32", kMapMalformed, "the byte \"-4\" is not a whole number"},
      {"CDP=1x:i32", kMapMalformed, "not a whole number"},
  };
  for (const ParseCase& c : cases) {
    HeaderMapEntry e;
    std::string message;
    int rc = ParseHeaderMapEntry(c.text, &e, &message);
    EXPECT_EQ(rc, c.status) << c.text;
    if (rc == 0)
      EXPECT_EQ(HeaderMapEntryText(e), c.inMessage);
    else
      EXPECT_NE(message.find(c.inMessage), std::string::npos) << c.text << ": " << message;
  }
}

TEST(HeaderByteMap, MapFileSkipsCommentsAndNamesTheBadLineAllOrNothing) {
  HeaderByteMap map;
  std::string message;
  ASSERT_EQ(map.AddText("# shots from the old crew\n\nCDP=189:i32   # ensemble\r\n  SX=181:i32\n", "m.txt",
                        &message),
            0)
      << message;
  EXPECT_EQ(map.Text(), "CDP=189:i32, SX=181:i32");

  HeaderByteMap other = map;
  EXPECT_EQ(other.AddText("GX=193:i32\n# fine\nGY=199:i32 junk\n", "bad.txt", &message), kMapUnknownType);
  EXPECT_EQ(message.rfind("bad.txt line 3: ", 0), 0u) << message;
  EXPECT_EQ(other.Text(), map.Text()) << "a refused file adds nothing";

  EXPECT_EQ(other.AddText("cdp=21:i32\n", "again.txt", &message), kMapTwice);
  EXPECT_NE(message.find("CDP is mapped already (CDP=189:i32)"), std::string::npos) << message;

  kxtest::TempDir dir("kx_map");
  EXPECT_EQ(other.AddFile(dir.File("missing.txt"), &message), kMapUnreadable);
  EXPECT_NE(message.find("missing.txt"), std::string::npos);
}

// One mapped word: where its value is written, how, and what the record shows.
struct ReadCase {
  const char* name;
  const char* map;
  std::function<void(SegyBuilder&)> write;  // into trace 0
  std::function<double(const TraceRecord&)> field;
  double expected;
};

void PutF32(SegyBuilder& b, int pos, float v) {
  b.Tr32(0, pos, std::bit_cast<int32_t>(v));
}

std::vector<ReadCase> ReadCases() {
  return {
      {"CdpInInlineBytes", "CDP=189:i32",
       [](SegyBuilder& b) {
         b.Tr32(0, kTrCdp, 7);
         b.Tr32(0, 189, 4321);
       },
       [](const TraceRecord& r) { return r.CDP; }, 4321},
      {"CoordinatesScaledBySCALCO", "SX=181:i32\nSY=185:i32",
       [](SegyBuilder& b) {
         b.Tr16(0, kTrScalco, -100);
         b.Tr32(0, 181, 51234567);
         b.Tr32(0, 185, -670000);
       },
       [](const TraceRecord& r) { return r.SX * 1000.0 + r.SY; }, 512345.67 * 1000.0 - 6700.0},
      {"IbmElevationRoundedThenScaledBySCALEL", "GELEV=201:ibm",
       [](SegyBuilder& b) {
         b.Tr16(0, kTrScalel, -10);
         b.Tr32(0, 201, static_cast<int32_t>(kxtest::IbmBits(1234.5f)));
       },
       [](const TraceRecord& r) { return r.RZ; }, 123.5},
      {"IeeeFloatRoundedHalfAwayFromZero", "OFFSET=209:f32", [](SegyBuilder& b) { PutF32(b, 209, -20.5f); },
       [](const TraceRecord& r) { return r.OFF; }, -21.0},
      {"UnsignedShortKeepsItsRange", "CDPT=231:u16",
       [](SegyBuilder& b) { b.Tr16(0, 231, static_cast<int16_t>(40000)); },
       [](const TraceRecord& r) { return r.CDPT; }, 40000},
      {"ShortIntoAShortWord", "NVS=233:i16", [](SegyBuilder& b) { b.Tr16(0, 233, 12); },
       [](const TraceRecord& r) { return r.NVS; }, 12},
      {"TooLargeSaturates", "CDP=225:u32",
       [](SegyBuilder& b) { b.Tr32(0, 225, static_cast<int32_t>(3000000000u)); },
       [](const TraceRecord& r) { return r.CDP; }, 2147483647.0},
  };
}

enum class Kind { kSegyBig, kSuLittle, kSuBig };

std::unique_ptr<SeismicSection> ReadWithMap(Kind kind, const ReadCase& c, const std::string& name) {
  SegyBuilder b(kind != Kind::kSuLittle);
  b.Bin16(17, 2000);
  b.Bin16(21, 4);
  b.AddTrace(4, 2000, {1.0f, 2.0f, 3.0f, 4.0f});
  b.AddTrace(4, 2000, {1.0f, 2.0f, 3.0f, 4.0f});
  c.write(b);
  bool su = kind != Kind::kSegyBig;
  std::string path = WriteTemp(name + (su ? ".su" : ".sgy"), su ? b.Su() : b.Segy());
  auto map = std::make_shared<HeaderByteMap>();
  std::string message;
  EXPECT_EQ(map->AddText(c.map, "case", &message), 0) << message;
  auto section = std::make_unique<SeismicSection>(1);
  LoadParams p;
  p.flags = kLoadKeepHeaders;
  p.headerMap = map;
  int n = su ? ReadSuFile(*section, path, p) : ReadSegyFile(*section, path, p);
  EXPECT_EQ(n, 2) << name;
  return section;
}

class HeaderByteMapRead : public ::testing::TestWithParam<Kind> {};

// The SEG-Y file is revision 0, where bytes 181-240 are undefined and read as
// zero: a map still takes them as the file holds them.
TEST_P(HeaderByteMapRead, EachMappedWordReachesTheRecord) {
  kxtest::LogCapture log(LogWarning);
  for (const ReadCase& c : ReadCases()) {
    auto s = ReadWithMap(GetParam(), c, c.name);
    ASSERT_EQ(s->Count(), 2) << c.name;
    EXPECT_NEAR(c.field(*s->Trace(0)), c.expected, 1e-6) << c.name;
    EXPECT_FALSE(s->m_headerMapping.empty()) << c.name;
  }
  EXPECT_NE(log.Text().find("WARNING: header mapping: values beyond their word's range: 1 "),
            std::string::npos)
      << "only the saturated CDP of the last case";
}

INSTANTIATE_TEST_SUITE_P(ByteOrders, HeaderByteMapRead,
                         ::testing::Values(Kind::kSegyBig, Kind::kSuLittle, Kind::kSuBig),
                         [](const auto& info) {
                           return std::string(info.param == Kind::kSegyBig    ? "SegyBigEndian"
                                              : info.param == Kind::kSuLittle ? "SuLittleEndian"
                                                                              : "SuBigEndian");
                         });

// Load with a map, save, load the copy without one: the values sit at the standard bytes.
TEST(HeaderByteMap, WritersKeepTheStandardPositions) {
  for (uint8_t revision : {1, 0}) {
    ReadCase cdp = ReadCases()[0];
    ReadCase coords = ReadCases()[1];
    ReadCase both{"both", "CDP=189:i32\nSX=181:i32\nSY=185:i32",
                  [&](SegyBuilder& b) {
                    cdp.write(b);
                    coords.write(b);
                  },
                  nullptr, 0};
    auto mapped = ReadWithMap(Kind::kSegyBig, both, "save");
    mapped->Scan();
    kxtest::TempDir dir("kx_map_save");
    std::string out = dir.File(revision == 1 ? "copy.sgy" : "copy.su");
    SaveOptions options;
    options.revision = revision;
    ASSERT_EQ(revision == 1 ? SaveAsSegyRev1(*mapped, out, options) : SaveAsSu(*mapped, out, options), 0);
    auto copy = kxtest::LoadCopy(out);
    ASSERT_TRUE(copy);
    EXPECT_EQ(copy->Trace(0)->CDP, 4321);
    EXPECT_NEAR(copy->Trace(0)->SX, 512345.67, 1e-6);
    EXPECT_NEAR(copy->Trace(0)->SY, -6700.0, 1e-6);
    EXPECT_TRUE(copy->m_headerMapping.empty());
  }
}
}  // namespace
