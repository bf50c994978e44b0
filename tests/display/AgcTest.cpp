#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

#include "display/Agc.h"

namespace {

// The gain of each sample from its whole (shortened) window, summed afresh.
std::vector<float> Reference(const std::vector<float>& x, int l, bool rms) {
  const int n = static_cast<int>(x.size());
  std::vector<float> y(x.size());
  for (int i = 0; i < n; ++i) {
    double s = 0.0, cnt = 0.0;
    for (int j = std::max(i - l, 0); j <= std::min(i + l, n - 1); ++j) {
      s += rms ? static_cast<double>(x[j]) * x[j] : std::fabs(x[j]);
      cnt += 1.0;
    }
    y[i] = s > 1e-20 ? (rms ? std::sqrt(static_cast<float>(cnt / s)) : static_cast<float>(cnt / s)) * x[i]
                     : 0.0f;
  }
  return y;
}

TEST(Agc, WindowRules) {
  EXPECT_EQ(AgcHalfWindow(0.25, 0.002), 62);  // 0.25 / 0.002 / 2
  EXPECT_EQ(AgcHalfWindow(0.004, 0.002), 1);
  EXPECT_EQ(AgcHalfWindow(0.1, 0.0), 0);
  EXPECT_FALSE(AgcApplies(1, 100));  // a half window of one sample is no AGC
  EXPECT_TRUE(AgcApplies(2, 6));
  EXPECT_FALSE(AgcApplies(2, 5));  // the window must be shorter than the trace
}

TEST(Agc, MatchesTheWindowSumsOverRandomTraces) {
  std::mt19937 rng(7);
  std::normal_distribution<float> noise(0.0f, 1.0f);
  for (int trial = 0; trial < 40; ++trial) {
    int n = 20 + static_cast<int>(rng() % 400);
    int l = 2 + static_cast<int>(rng() % ((n - 1) / 2 - 1));
    std::vector<float> x(static_cast<std::size_t>(n)), y(x.size());
    float scale = std::pow(10.0f, static_cast<float>(rng() % 9) - 4.0f);
    for (float& v : x) v = noise(rng) * scale;
    for (bool rms : {false, true}) {
      float peak = rms ? AgcRms(x.data(), y.data(), n, l) : AgcMean(x.data(), y.data(), n, l);
      std::vector<float> ref = Reference(x, l, rms);
      float refPeak = 0.0f;
      for (int i = 0; i < n; ++i) {
        ASSERT_NEAR(y[i], ref[i], 1e-4f * (1.0f + std::fabs(ref[i]))) << trial << " " << i;
        refPeak = std::max(refPeak, std::fabs(ref[i]));
      }
      EXPECT_NEAR(peak, refPeak, 1e-4f * refPeak);
    }
  }
}

// A silent stretch gives zeros and the running sum starts over after it.
TEST(Agc, SilenceGivesZeros) {
  std::vector<float> x(200, 0.0f), y(200, 9.0f);
  for (int i = 150; i < 200; ++i) x[i] = (i % 2 ? 1.0f : -1.0f) * 3.0f;
  float peak = AgcMean(x.data(), y.data(), 200, 5);
  for (int i = 0; i < 140; ++i) EXPECT_EQ(y[i], 0.0f) << i;
  EXPECT_FLOAT_EQ(y[199], 1.0f);  // a window of nothing but ±3
  // Largest where the window first reaches the signal: 6 of 11 samples of 3.
  EXPECT_FLOAT_EQ(peak, 11.0f / 6.0f);
  EXPECT_FLOAT_EQ(std::fabs(y[150]), 11.0f / 6.0f);
}

}  // namespace
