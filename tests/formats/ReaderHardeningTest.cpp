// Readers against impossible values and big files: peaks that skip non-finite
// samples, BCD digits that are no digits, trace windows that pass over traces
// without reading them (one seek for equal lengths, a header walk otherwise),
// and the one warning per file for non-finite samples.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "formats/LoadFileList.h"
#include "formats/SampleConvert.h"
#include "formats/SegdReader.h"
#include "formats/SegyReader.h"
#include "log/Log.h"
#include "section/SeismicSection.h"
#include "support/ByteWriter.h"
#include "support/LogCapture.h"
#include "support/TempDir.h"

namespace {
constexpr float kInf = INFINITY;
const std::string kSmall = std::string(KX_TEST_DATA_DIR) + "/segy/segyio/small.sgy";

// Little-endian SU traces of the given lengths; sample k of trace t is 100 t + k.
std::vector<uint8_t> SuFile(const std::vector<int>& lengths) {
  kxtest::ByteWriter b(false);
  for (std::size_t t = 0; t < lengths.size(); ++t) {
    std::size_t h = b.size();
    b.Zeros(240);
    b.PutAt(h + 13, static_cast<int32_t>(t + 1));  // TRACF
    b.PutAt(h + 115, static_cast<uint16_t>(lengths[t]));
    b.PutAt(h + 117, static_cast<uint16_t>(1000));
    for (int k = 0; k < lengths[t]; ++k) b.F32(static_cast<float>(100 * t + k));
  }
  return b.Bytes();
}

// A big-endian SEG-Y file of IEEE samples (format 5), one trace per sample list.
std::vector<uint8_t> IeeeSegy(const std::vector<std::vector<float>>& traces) {
  kxtest::ByteWriter b(true);
  b.Text(std::string(3200, ' ')).Zeros(400);
  b.PutAt(3217, static_cast<int16_t>(1000));
  b.PutAt(3221, static_cast<int16_t>(traces[0].size()));
  b.PutAt(3225, static_cast<int16_t>(5));
  for (const auto& samples : traces) {
    std::size_t h = b.size();
    b.Zeros(240);
    b.PutAt(h + 115, static_cast<uint16_t>(samples.size()));
    b.PutAt(h + 117, static_cast<uint16_t>(1000));
    for (float v : samples) b.F32(v);
  }
  return b.Bytes();
}

struct Window {
  int64_t from, to;
};

// Loads path whole and through the window; the windowed traces must be the
// whole load's from..to, and the skipped count must say where they start.
void ExpectWindowMatches(const std::string& path, Window w, int64_t expectSkipped) {
  SeismicSection whole, part;
  LoadParams all;
  ASSERT_EQ(LoadFileList(whole, {path}, all), 0);
  LoadParams params;
  params.keepFrom = w.from;
  params.keepTo = w.to;
  ASSERT_EQ(LoadFileList(part, {path}, params), 0);
  EXPECT_EQ(params.skipped, expectSkipped) << w.from << "-" << w.to;
  int64_t last = std::min<int64_t>(w.to, whole.Count() - 1);
  ASSERT_EQ(part.Count(), std::max<int64_t>(0, last - w.from + 1)) << w.from << "-" << w.to;
  for (int i = 0; i < part.Count(); ++i) {
    const TraceRecord* a = whole.Trace(static_cast<int>(w.from) + i);
    const TraceRecord* b = part.Trace(i);
    ASSERT_EQ(a->NS, b->NS);
    EXPECT_EQ(a->TRACF, b->TRACF);
    EXPECT_EQ(std::vector<float>(a->Samples(), a->Samples() + a->NS),
              std::vector<float>(b->Samples(), b->Samples() + b->NS));
  }
}
}  // namespace

TEST(ReaderHardening, PeaksSkipNonFiniteSamples) {
  struct Case {
    std::vector<float> s;
    float amax;
    int32_t index;
  } cases[] = {
      {{NAN, 1.0f, -kInf, -2.0f, kInf}, 2.0f, 3},
      {{1.0f, 2.0f, kInf, 3.0f, -5.0f, 0.0f, 0.0f, 0.0f, 4.0f}, 5.0f, 4},  // the vector path
      {{kInf, -kInf, NAN, NAN, kInf, 7.0f, -1.0f, 0.5f}, 7.0f, 5},
      {{NAN, kInf, -kInf, NAN, NAN}, 0.0f, 0},
      {{-1.0f, 4.0f, -4.0f, 2.0f}, 4.0f, 1},  // no non-finite sample: unchanged rules
  };
  for (const Case& c : cases) {
    const int32_t n = static_cast<int32_t>(c.s.size());
    float amax = -1.0f;
    int32_t index = -1;
    FindPeak(c.s.data(), n, &amax, &index);
    EXPECT_EQ(amax, c.amax);
    EXPECT_EQ(index, c.index);
    SamplePeak(c.s.data(), n, &amax, &index);
    EXPECT_EQ(amax, c.amax);
    EXPECT_EQ(index, c.index);
  }
}

TEST(ReaderHardening, BcdDigitsAboveNineAreInvalid) {
  EXPECT_EQ(DecodeBcdByte(0x42), 42);
  EXPECT_EQ(DecodeBcdByte(0xFF), 0);  // not recorded
  for (uint8_t b : {0x4A, 0xA4, 0xF5, 0x5F, 0xEE, 0x9B})
    EXPECT_EQ(DecodeBcdByte(b), kBcdInvalid) << static_cast<int>(b);
  EXPECT_EQ(DecodeBcdHundreds(0x3), 300);
  EXPECT_EQ(DecodeBcdHundreds(0xF), 0);
  EXPECT_EQ(DecodeBcdHundreds(0xA), kBcdInvalid);

  std::vector<uint8_t> b(32, 0);
  b[0] = 0x12, b[1] = 0x3C;    // file number
  b[10] = 0xA5;                // year: not 2000 + 105 - 1
  b[11] = 0x0D, b[12] = 0x10;  // day hundreds D
  b[25] = 0x00, b[26] = 0xB0;  // record length
  b[13] = 0x12;
  SegdGeneralHeader h;
  kxtest::LogCapture log(LogError);
  DecodeSegdHeader1(b.data(), &h);
  EXPECT_EQ(h.fileNumber, kBcdInvalid);
  EXPECT_EQ(h.year, kBcdInvalid);
  EXPECT_EQ(h.day, kBcdInvalid);
  EXPECT_LT(h.recordLength, 0.0);
  EXPECT_EQ(h.hour, 12);
  EXPECT_TRUE(
      log.Contains("ERROR: invalid BCD digits in SEG-D General Header #1, file number (bytes 1-2: 12 3C)"));
  EXPECT_TRUE(log.Contains("year (bytes 11-11: A5)"));
  EXPECT_TRUE(log.Contains("day (bytes 12-13: 0D 10)"));
  EXPECT_TRUE(log.Contains("record length (bytes 26-27: 00 B0)"));
  EXPECT_FALSE(log.Contains("hour"));
}

TEST(ReaderHardening, TraceWindowsSeekOverEqualAndWalkOverVaryingLengths) {
  kxtest::TempDir dir("kx_window");
  const std::string varying = dir / "varying.su";
  kxtest::WriteFileBytes(varying, SuFile({3, 5, 7, 9, 11, 2, 4}));
  {
    kxtest::LogCapture quiet(LogError);
    // Equal lengths (the small file): one seek; varying lengths: a walk.
    for (const std::string& path : {kSmall, varying}) {
      const int64_t count = path == kSmall ? 25 : 7;
      for (Window w : {Window{0, 0}, Window{2, 3}, Window{count - 1, count + 10}, Window{1, count - 2}})
        ExpectWindowMatches(path, w, w.from);
      ExpectWindowMatches(path, {count + 3, count + 9}, count);  // past the end: all passed over
    }
    EXPECT_FALSE(quiet.Contains("ERROR")) << quiet.Text();
  }
  // A file cut inside trace 5 of the walk: a window before the cut loads
  // cleanly, one after it reports the cut.
  auto cut = SuFile({3, 5, 7, 9, 11, 2, 4});
  cut.resize(cut.size() - (240 + 4 * 4) - (240 + 2 * 4) - 20);
  kxtest::WriteFileBytes(varying, cut);
  for (Window w : {Window{1, 2}, Window{5, 6}}) {
    kxtest::LogCapture log(LogError);
    SeismicSection s;
    LoadParams params;
    params.keepFrom = w.from;
    params.keepTo = w.to;
    EXPECT_EQ(LoadFileList(s, {varying}, params), 0);
    EXPECT_EQ(s.Count(), w.from == 1 ? 2 : 0);
    EXPECT_EQ(log.Contains("ERROR: Failed to read trace data, trace #5"), w.from == 5) << log.Text();
  }
}

TEST(ReaderHardening, NonFiniteSamplesAreCountedOncePerFile) {
  kxtest::TempDir dir("kx_nonfinite");
  const std::string bad = dir / "bad.sgy", good = dir / "good.sgy";
  kxtest::WriteFileBytes(bad, IeeeSegy({{1.0f, NAN, -3.0f, kInf}, {-kInf, 2.0f, 0.5f, NAN}}));
  kxtest::WriteFileBytes(good, IeeeSegy({{1.0f, 2.0f, 3.0f, 4.0f}}));
  kxtest::LogCapture log(LogWarning);
  SeismicSection s;
  LoadParams params;
  ASSERT_EQ(LoadFileList(s, {bad, good, bad}, params), 0);
  ASSERT_EQ(s.Count(), 5);
  EXPECT_EQ(s.Trace(0)->AMAX, 3.0f);
  EXPECT_EQ(s.Trace(1)->AMAX, 2.0f);
  std::vector<std::string> warnings;
  for (const std::string& line : log.TextLines())
    if (line.rfind("WARNING:", 0) == 0) warnings.push_back(line);
  const std::string expected = "WARNING: 4 non-finite samples (NaN or infinity) in '" + bad + "'";
  EXPECT_EQ(warnings, (std::vector<std::string>{expected, expected}));
}

// A text file named like a seismic file says so in one line, before the header dump.
TEST(ReaderHardening, TextFileNamedSegyIsCalledText) {
  kxtest::TempDir dir("kx_text");
  const std::string path = dir / "notes.sgy";
  std::string text;
  for (int i = 1; i <= 200; ++i) text += "this is not a seismic file, line " + std::to_string(i) + "\n";
  kxtest::WriteFileBytes(path, std::vector<uint8_t>(text.begin(), text.end()));
  kxtest::LogCapture log;
  SeismicSection s;
  LoadParams params;
  LoadFileList(s, {path}, params);
  EXPECT_EQ(s.Count(), 0);
  const std::string all = log.Text();
  const std::size_t said = all.find("this is not a seismic file: its binary file header is plain text");
  ASSERT_NE(said, std::string::npos);
  EXPECT_LT(said, all.find("SEG-Y Binary File Header"));
}
