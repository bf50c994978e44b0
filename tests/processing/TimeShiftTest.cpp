// Time shift: sample moves and tapers of typical shifts, the DELRT modes, the
// peak update, the dialog's reading rules and 1-thread vs 2-thread identity.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <random>
#include <vector>

#include "processing/TimeShift.h"
#include "support/SectionBuilder.h"

namespace {
// A section of one trace whose sample i holds i + 1 (never 0, so moved
// samples and zeros are told apart).
TraceRecord* RampTrace(SeismicSection& s, int32_t n, double dt, double delay = 0.0) {
  TraceRecord* t = kxtest::AddTrace(s, n, dt, delay, [](int, int i) { return static_cast<float>(i + 1); });
  EXPECT_NE(t, nullptr);
  return t;
}

float W(int32_t i, int32_t taper) {
  float s = static_cast<float>(std::sin(i * std::numbers::pi / (2.0 * taper + 1.0)));
  return s * s;
}

ShiftSettings Shift(double seconds, int32_t keep, int32_t taper = 8, int32_t mode = kDelrtLeftAs) {
  ShiftSettings st;
  st.shiftTime = seconds;
  st.keepLength = keep;
  st.taper = taper;
  st.delrtMode = mode;
  return st;
}
}  // namespace

TEST(TimeShift, SampleRounding) {
  EXPECT_EQ(ShiftInSamples(0.0105, 0.002), 5);
  EXPECT_EQ(ShiftInSamples(-0.004, 0.002), -2);
  EXPECT_EQ(ShiftInSamples(0.006, 0.002), 3);  // 2.9999999... + 0.001
  EXPECT_EQ(ShiftInSamples(-0.006, 0.002), -3);
  EXPECT_EQ(ShiftInSamples(0.0019, 0.002), 0);
  EXPECT_EQ(ShiftInSamples(1e6, 1e-9), int64_t{1} << 31);
}

TEST(TimeShift, PositiveShiftKeepLengthTapersBothEnds) {
  SeismicSection s;
  RampTrace(s, 1000, 0.002);
  ASSERT_EQ(ShiftSection(s, Shift(0.0105, 1), 1), 0);
  const TraceRecord* t = s.Trace(0);
  ASSERT_EQ(t->NS, 1000);
  const float* y = t->Samples();
  for (int i = 0; i < 5; ++i) EXPECT_EQ(y[i], 0.0f) << i;
  for (int i = 0; i < 8; ++i) EXPECT_EQ(y[5 + i], static_cast<float>(i + 1) * W(i, 8)) << i;
  for (int i = 13; i < 992; ++i) ASSERT_EQ(y[i], static_cast<float>(i - 5 + 1)) << i;
  for (int i = 0; i < 8; ++i) EXPECT_EQ(y[999 - i], static_cast<float>(999 - i - 5 + 1) * W(i, 8)) << i;
  EXPECT_EQ(y[999], 0.0f);  // the first weight is 0
  // Largest value: old sample 986 (987) at index 991, the last before the taper.
  EXPECT_EQ(t->AMAX, 987.0f);
  EXPECT_FLOAT_EQ(t->TAMAX, 991 * 0.002f);
}

TEST(TimeShift, PositiveShiftGrowingTaperOnlyAtTheOnset) {
  SeismicSection s;
  RampTrace(s, 1000, 0.002);
  ASSERT_EQ(ShiftSection(s, Shift(0.0105, 0), 1), 0);
  const TraceRecord* t = s.Trace(0);
  ASSERT_EQ(t->NS, 1005);
  EXPECT_EQ(t->Samples()[5], 0.0f);
  EXPECT_EQ(t->Samples()[12], 8.0f * W(7, 8));
  EXPECT_EQ(t->Samples()[13], 9.0f);
  EXPECT_EQ(t->Samples()[1004], 1000.0f);  // last sample untapered
}

TEST(TimeShift, NegativeShiftKeepLength) {
  SeismicSection s;
  RampTrace(s, 1000, 0.002);
  ASSERT_EQ(ShiftSection(s, Shift(-0.004, 1), 1), 0);
  const float* y = s.Trace(0)->Samples();
  ASSERT_EQ(s.Trace(0)->NS, 1000);
  for (int i = 0; i < 8; ++i) EXPECT_EQ(y[i], static_cast<float>(i + 3) * W(i, 8)) << i;
  for (int i = 8; i < 998; ++i) ASSERT_EQ(y[i], static_cast<float>(i + 3)) << i;
  EXPECT_EQ(y[998], 0.0f);
  EXPECT_EQ(y[999], 0.0f);
}

TEST(TimeShift, ShiftBeyondTheTraceLeavesNoData) {
  SeismicSection grow;
  RampTrace(grow, 1001, 0.002, 0.05);  // 2 s trace
  ASSERT_EQ(ShiftSection(grow, Shift(-3.0, 0), 1), 0);
  EXPECT_EQ(grow.Trace(0)->NS, 0);
  EXPECT_EQ(grow.Trace(0)->DIM, 2);
  EXPECT_EQ(grow.Trace(0)->AMAX, 0.0f);
  EXPECT_EQ(grow.Trace(0)->TAMAX, 0.0f);

  SeismicSection keep;
  RampTrace(keep, 100, 0.002, 0.05);
  ASSERT_EQ(ShiftSection(keep, Shift(3.0, 1), 1), 0);
  ASSERT_EQ(keep.Trace(0)->NS, 100);
  for (int i = 0; i < 100; ++i) ASSERT_EQ(keep.Trace(0)->Samples()[i], 0.0f);
  EXPECT_EQ(keep.Trace(0)->AMAX, 0.0f);
  EXPECT_EQ(keep.Trace(0)->TAMAX, 0.0f);
}

TEST(TimeShift, TaperNotBelowHalfTheLengthIsNotApplied) {
  SeismicSection s;
  RampTrace(s, 16, 0.001);
  ASSERT_EQ(ShiftSection(s, Shift(0.001, 1, 8), 1), 0);  // 8 is not below 16/2
  EXPECT_EQ(s.Trace(0)->Samples()[1], 1.0f);
  EXPECT_EQ(s.Trace(0)->Samples()[15], 15.0f);
  SeismicSection t;
  RampTrace(t, 17, 0.001);
  ASSERT_EQ(ShiftSection(t, Shift(0.001, 1, 7), 1), 0);  // 7 < 17/2
  EXPECT_EQ(t.Trace(0)->Samples()[1], 0.0f);
}

TEST(TimeShift, DelrtModesAndShiftZero) {
  const double delay = 0.100;
  for (int32_t mode : {kDelrtResetToZero, kDelrtLeftAs, kDelrtFollowsShift}) {
    SeismicSection s;
    RampTrace(s, 200, 0.002, delay);
    ASSERT_EQ(ShiftSection(s, Shift(0.010, 1, 0, mode), 1), 0);
    double want = mode == kDelrtResetToZero ? 0.0 : (mode == kDelrtLeftAs ? delay : 0.090);
    EXPECT_NEAR(s.Trace(0)->DELAY, want, 1e-12) << mode;
    const TraceRecord* t = s.Trace(0);
    EXPECT_FLOAT_EQ(t->TAMAX, static_cast<float>(199 * 0.002 + t->DELAY));
  }
  SeismicSection z;
  TraceRecord* orig = RampTrace(z, 50, 0.002, delay);
  EXPECT_EQ(ShiftSection(z, Shift(0.0, 1, 8, kDelrtLeftAs), 1), -1);
  EXPECT_EQ(z.Trace(0)->DELAY, delay);
  ASSERT_EQ(ShiftSection(z, Shift(0.0, 1, 8, kDelrtResetToZero), 1), 0);
  EXPECT_EQ(z.Trace(0), orig);  // only the start time changed
  EXPECT_EQ(z.Trace(0)->DELAY, 0.0);
  EXPECT_EQ(z.Trace(0)->Samples()[0], 1.0f);
}

TEST(TimeShift, SubSampleShiftKeepsTheSamples) {
  SeismicSection s;
  RampTrace(s, 40, 0.002);
  ASSERT_EQ(ShiftSection(s, Shift(0.001, 1), 1), 0);
  for (int i = 0; i < 40; ++i) ASSERT_EQ(s.Trace(0)->Samples()[i], static_cast<float>(i + 1));
}

TEST(TimeShift, DialogReadingRules) {
  ShiftSettings st;
  std::string shown;
  ShiftDialogFields f;
  f.unitFactor = 1000.0;
  f.shiftText = "abc";
  f.delrtMode = kDelrtFollowsShift;
  f.keepLength = 0;
  EXPECT_FALSE(ReadShiftDialog(f, &st, &shown));
  EXPECT_EQ(st.delrtMode, kDelrtFollowsShift);  // taken before the shift is read
  EXPECT_EQ(st.keepLength, 0);
  f.shiftText = "0";
  EXPECT_FALSE(ReadShiftDialog(f, &st, &shown));
  f.delrtMode = kDelrtResetToZero;
  f.taperText = "2";
  EXPECT_TRUE(ReadShiftDialog(f, &st, &shown));
  EXPECT_EQ(st.shiftTime, 0.0);
  EXPECT_EQ(st.taper, 4);
  EXPECT_EQ(shown, "4");
  f.shiftText = "-10.5";
  f.taperText = "-3";
  EXPECT_TRUE(ReadShiftDialog(f, &st, &shown));
  EXPECT_DOUBLE_EQ(st.shiftTime, -0.0105);
  EXPECT_EQ(st.taper, 4);  // invalid keeps the previous
  EXPECT_EQ(ReadTaper("", 8), 0);
  EXPECT_EQ(ReadTaper("x1", 8), 8);
  EXPECT_EQ(ReadTaper("12", 8), 12);
}

TEST(TimeShift, SameResultWithOneAndTwoThreads) {
  std::vector<std::vector<float>> out[2];
  for (int threads : {1, 2}) {
    SeismicSection s;
    std::mt19937 rng(9);
    std::normal_distribution<float> g;
    for (int i = 0; i < 60; ++i) {
      TraceRecord* t = RampTrace(s, 100 + 13 * i, i % 2 ? 0.001 : 0.004);
      for (int32_t k = 0; k < t->NS; ++k) t->Samples()[k] = g(rng);
    }
    ASSERT_EQ(ShiftSection(s, Shift(-0.0123, 0, 5, kDelrtFollowsShift), threads), 0);
    for (int i = 0; i < s.Count(); ++i) {
      const TraceRecord* t = s.Trace(i);
      out[threads - 1].emplace_back(t->Samples(), t->Samples() + t->NS);
      out[threads - 1].push_back({t->AMAX, t->TAMAX, static_cast<float>(t->DELAY)});
    }
  }
  EXPECT_EQ(out[0], out[1]);
}

TEST(TimeShift, TraceThatCannotBeRebuiltStaysAsItWas) {
  SeismicSection s;
  TraceRecord* a = RampTrace(s, 10, 0.001);
  RampTrace(s, 10, 0.001);
  // Growing by 2^31 samples cannot fit a record: both traces stay, reported.
  EXPECT_EQ(ShiftSection(s, Shift(3.0e6, 0), 2), -999);
  EXPECT_EQ(s.Trace(0), a);
  EXPECT_EQ(s.Trace(0)->NS, 10);
}
