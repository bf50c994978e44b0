// Save Dataset: which traces the crop modes keep (with signed remainders and
// missing values), the time window defaults, the format limits, and saves that
// stop before writing and leave no file.
#include <gtest/gtest.h>

#include <climits>
#include <filesystem>

#include "app/SaveDataset.h"
#include "app/SavePrep.h"
#include "log/Log.h"
#include "section/SeismicSection.h"
#include "support/TempDir.h"

namespace {
namespace fs = std::filesystem;

std::unique_ptr<SeismicSection> Section(int count, int32_t ns = 10, double dt = 0.001) {
  auto s = std::make_unique<SeismicSection>();
  for (int k = 0; k < count; ++k) {
    TraceRecord* r = TraceRecord::Allocate(ns);
    r->DT = dt;
    r->TRID = 1;
    s->AppendTrace(r, 1, -1);
  }
  return s;
}

std::vector<int> Kept(const SeismicSection& s, std::function<int(const TraceRecord&)> value) {
  std::vector<int> v;
  for (int i = 0; i < s.Count(); ++i)
    if (!s.Trace(i)->OMIT) v.push_back(value(*s.Trace(i)));
  return v;
}

TEST(SavePrep, CrosslineRangeWithStepAndMissingFrom) {
  auto s = Section(41);
  for (int i = 0; i < 41; ++i) s->Trace(i)->XLINE = i - 10;  // -10 .. 30
  s->Scan();
  SaveParams p;
  ResetSaveParamsFromSection(p, *s);
  p.traceCropOn = 1;
  p.cropMode = kCropLines;
  p.crossline = {10, 20, 5};
  auto xl = [](const TraceRecord& r) { return r.XLINE; };
  EXPECT_EQ(PrepareSaveSet(*s, p), 3);
  EXPECT_EQ(Kept(*s, xl), (std::vector<int>{10, 15, 20}));
  p.crossline = {kNotGiven, kNotGiven, 5};
  EXPECT_EQ(PrepareSaveSet(*s, p), 7);
  EXPECT_EQ(Kept(*s, xl), (std::vector<int>{0, 5, 10, 15, 20, 25, 30}));
  // Remainders keep their sign: -3 and 1 are not congruent modulo 2.
  p.crossline = {-3, 30, 2};
  PrepareSaveSet(*s, p);
  EXPECT_EQ(Kept(*s, xl), (std::vector<int>{-3, -1}));
  // The second range leaves traces out on its own.
  p.crossline = {kNotGiven, kNotGiven, 1};
  p.inline_ = {1, 1, 1};
  s->Trace(40)->ILINE = 1;
  EXPECT_EQ(PrepareSaveSet(*s, p), 1);
  EXPECT_EQ(Kept(*s, xl), std::vector<int>{30});
}

TEST(SavePrep, CdpCoordinatesFfidChannelAndTraceIndex) {
  auto s = Section(6);
  for (int i = 0; i < 6; ++i) {
    TraceRecord* r = s->Trace(i);
    r->CDPX = 100.0 * i, r->CDPY = 50.0;
    r->FLDR = i < 5 ? 1000 + i : (int64_t{1} << 32) + 1000;
    r->CHAN = i + 1;
    r->OFF = static_cast<float>(-30 + 12 * i);
  }
  s->Scan();
  SaveParams p;
  ResetSaveParamsFromSection(p, *s);
  EXPECT_EQ(p.traceIndex.from, 1);
  EXPECT_EQ(p.traceIndex.to, 6);
  EXPECT_EQ(p.offsetLimit, 30.0f);
  p.traceCropOn = 1;
  p.cropMode = kCropCdpCoord;
  p.cdpXFrom = 150.0, p.cdpXTo = 0.0;  // 0: up to the section's maximum
  p.cdpYFrom = 0.0, p.cdpYTo = 0.0;
  auto chan = [](const TraceRecord& r) { return r.CHAN; };
  PrepareSaveSet(*s, p);
  EXPECT_EQ(Kept(*s, chan), (std::vector<int>{3, 4, 5, 6}));
  p.cropMode = kCropFfidChan;
  p.ffid = {kNotGiven, kNotGiven, 1};  // a 64-bit FFID beyond INT_MAX is outside
  p.channel = {2, kNotGiven, 2};
  PrepareSaveSet(*s, p);
  EXPECT_EQ(Kept(*s, chan), (std::vector<int>{2, 4}));
  p.cropMode = kCropTraceIndex;
  p.traceIndex = {kNotGiven, 3, 1};  // a missing from is the first trace
  PrepareSaveSet(*s, p);
  EXPECT_EQ(Kept(*s, chan), (std::vector<int>{1, 2, 3}));
  // Offset limit alone; the crop flags of the last run are cleared first.
  p.traceCropOn = 0;
  p.offsetLimitOn = 1;
  p.offsetLimit = 20.0f;
  EXPECT_EQ(PrepareSaveSet(*s, p), 4);
  EXPECT_EQ(Kept(*s, chan), (std::vector<int>{2, 3, 4, 5}));
}

TEST(SavePrep, ResetKeepsStepsAboveZero) {
  auto s = Section(3);
  s->Scan();
  SaveParams p;
  p.cdp.step = 4;
  p.ffid.step = -2;
  p.channel.step = 0;
  ResetSaveParamsFromSection(p, *s);
  EXPECT_EQ(p.cdp.step, 4);
  EXPECT_EQ(p.ffid.step, 1);
  EXPECT_EQ(p.channel.step, 1);
}

TEST(SavePrep, WindowStartOfZeroMeansTheFirstSample) {
  auto s = Section(2, 100, 0.002);
  s->Trace(0)->DELAY = -0.1;
  s->Scan();
  SaveParams p;
  p.timeCropOn = 1;
  p.timeStart = 0.0;
  p.timeEnd = 50.0;
  SaveOptions o = BuildSaveOptions(p, *s, nullptr);
  EXPECT_EQ(o.timeCrop, 1);
  EXPECT_DOUBLE_EQ(o.t0, -0.1);
  EXPECT_DOUBLE_EQ(o.t1, 0.05);
  p.timeEnd = 0.0;
  EXPECT_DOUBLE_EQ(BuildSaveOptions(p, *s, nullptr).t1, s->Summary().maxTime);
}

TEST(SavePrep, FormatLimits) {
  std::string msg;
  auto s = Section(1, 70000, 0.001);
  s->Scan();
  SaveOptions o;
  EXPECT_EQ(CheckSegyLimits(o, *s, &msg), -1);
  EXPECT_EQ(msg, "TOO MANY SAMPLES, max is 65'535 with SU/SEG-Y <= rev 1 format");
  o.timeCrop = 1, o.t0 = 0.0, o.t1 = 65.534;
  EXPECT_EQ(CheckSegyLimits(o, *s, &msg), 0);

  auto third = Section(1, 2000, 1.0 / 3000.0);
  third->Scan();
  o.t1 = 400.0 / 3000.0;
  EXPECT_EQ(CheckSegyLimits(o, *third, &msg), 0);
  o.t1 = 600.0 / 3000.0;
  EXPECT_EQ(CheckSegyLimits(o, *third, &msg), -1);
  EXPECT_EQ(
      msg,
      "SU/SEG-Y <= rev 1 format\nSampling interval cannot be converted\nto integer us with enough accuracy");
  auto quarter = Section(1, 65535, 0.00025);
  quarter->Scan();
  o.timeCrop = 0;
  EXPECT_EQ(CheckSegyLimits(o, *quarter, &msg), 0);

  EXPECT_EQ(CheckSeg2Limits(16383, &msg), 0);
  EXPECT_EQ(CheckSeg2Limits(16384, &msg), -1);
  EXPECT_EQ(msg, "TOO MANY TRACES, max is 16'383 with SEG-2 format");
}

TEST(SavePrep, DialogFieldParsing) {
  int32_t v = 0;
  std::string prefix;
  EXPECT_TRUE(ParseIntField("  42 ", 15, &v, &prefix));
  EXPECT_EQ(v, 42);
  EXPECT_TRUE(ParseIntField("   ", 15, &v, &prefix));
  EXPECT_EQ(v, kNotGiven);
  EXPECT_FALSE(ParseIntField("12a4", 15, &v, &prefix));
  EXPECT_EQ(prefix, "12");
  EXPECT_FALSE(ParseIntField("99999999999", 15, &v, &prefix));
  EXPECT_TRUE(ParseIntField("1234567890123456789", 4, &v, &prefix));  // only 4 characters are read
  EXPECT_EQ(v, 1234);
  double d = 0;
  EXPECT_TRUE(ParseRealField("-12.5e1", 47, &d, &prefix));
  EXPECT_EQ(d, -125.0);
  EXPECT_TRUE(ParseRealField("", 47, &d, &prefix));
  EXPECT_EQ(d, 0.0);
  EXPECT_FALSE(ParseRealField("3.5ms", 47, &d, &prefix));
  EXPECT_EQ(prefix, "3.5");
}

class SaveDatasetTest : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(m_dir.Ok());
    LogSetThreshold(0);
  }
  void TearDown() override { LogSetThreshold(kLogDefaultThreshold); }
  std::string Path(const std::string& name) const { return m_dir.File(name); }
  bool Empty() const { return m_dir.Files().empty(); }
  kxtest::TempDir m_dir{"kx_save"};
};

TEST_F(SaveDatasetTest, EmptySavesetStopsWithTheMessageAndNoFile) {
  auto s = Section(4);
  s->Scan();
  SaveParams p;
  ResetSaveParamsFromSection(p, *s);
  p.traceCropOn = 1;
  p.cropMode = kCropTraceIndex;
  p.traceIndex = {10, 20, 1};
  SaveResult r = SaveDataset(*s, p, Path("x.segy"), nullptr);
  EXPECT_EQ(r.code, -1);
  EXPECT_EQ(r.message, "Empty saveset after applying defined crop");
  EXPECT_EQ(r.caption, " Save Dataset Error");
  EXPECT_TRUE(Empty());
  EXPECT_FALSE(SaveInProgress());
}

TEST_F(SaveDatasetTest, LongWindowRefusesSegyAndSuButNotSeg2) {
  auto s = Section(1, 70000, 0.001);
  s->Scan();
  SaveParams p;
  ResetSaveParamsFromSection(p, *s);
  p.format = kSaveSegy;
  EXPECT_EQ(SaveDataset(*s, p, Path("x.segy"), nullptr).code, -1);
  p.format = kSaveSuFormat;
  EXPECT_EQ(SaveDataset(*s, p, Path("x.su"), nullptr).message,
            "TOO MANY SAMPLES, max is 65'535 with SU/SEG-Y <= rev 1 format");
  EXPECT_TRUE(Empty());
  p.format = kSaveSeg2;
  EXPECT_EQ(SaveDataset(*s, p, Path("x.seg2"), nullptr).code, 0);
  EXPECT_TRUE(fs::exists(Path("x.seg2")));
  // With a time crop the same section fits SEG-Y.
  p.format = kSaveSegy;
  p.timeCropOn = 1;
  p.timeStart = 1000.0, p.timeEnd = 2000.0;
  EXPECT_EQ(SaveDataset(*s, p, Path("x.segy"), nullptr).code, 0);
}

TEST_F(SaveDatasetTest, TooManyTracesForSeg2) {
  auto s = Section(16384, 2);
  s->Scan();
  SaveParams p;
  ResetSaveParamsFromSection(p, *s);
  p.format = kSaveSeg2;
  SaveResult r = SaveDataset(*s, p, Path("x.seg2"), nullptr);
  EXPECT_EQ(r.message, "TOO MANY TRACES, max is 16'383 with SEG-2 format");
  EXPECT_TRUE(Empty());
  p.traceCropOn = 1;
  p.cropMode = kCropTraceIndex;
  p.traceIndex = {2, kNotGiven, 1};
  EXPECT_EQ(SaveDataset(*s, p, Path("x.seg2"), nullptr).code, 0);
}
}  // namespace
