// The synthetic survey: geometry and numbering a user can rely on, events
// where the moveout puts them, and the same survey on every run.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "app/SynthSurvey.h"
#include "log/Log.h"
#include "section/SeismicSection.h"

namespace {
double Energy(const TraceRecord& r, double t0, double t1) {
  double e = 0;
  for (int k = static_cast<int>(t0 / r.DT); k <= static_cast<int>(t1 / r.DT) && k < r.NS; ++k)
    e += r.Samples()[k] * r.Samples()[k];
  return e;
}

TEST(SynthSurvey, GeometryAndNumbering) {
  SeismicSection s;
  SynthParams p;
  p.shots = 3, p.channels = 8, p.samples = 500, p.dtMs = 1.0;
  LogSetThreshold(0);
  ASSERT_EQ(MakeSynthSurvey(s, p), 24);
  LogSetThreshold(kLogDefaultThreshold);
  for (int i = 0; i < 24; ++i) {
    const TraceRecord& r = *s.Trace(i);
    EXPECT_EQ(r.FLDR, 1001 + i / 8);
    EXPECT_EQ(r.CHAN, i % 8 + 1);
    EXPECT_EQ(r.NS, 500);
    EXPECT_DOUBLE_EQ(r.DT, 0.001);
    EXPECT_NEAR(r.OFF, p.nearOffset + (i % 8) * p.receiverSpacing, 1e-4);
    double d = std::hypot(r.RX - r.SX, r.RY - r.SY);
    EXPECT_NEAR(d, r.OFF, 1e-4);
    EXPECT_NEAR(r.CDPX, 0.5 * (r.SX + r.RX), 1e-6);
    EXPECT_EQ(r.TRID, 1);
    EXPECT_GT(r.AMAX, 0.0f);
  }
  // Traces of different shots with the same midpoint share their CDP number.
  EXPECT_EQ(s.Trace(4)->CDP, s.Trace(8)->CDP);
  EXPECT_NE(s.Trace(2)->CDP, s.Trace(3)->CDP);
  EXPECT_EQ(s.Summary().ranges.FLDR[1], 1003);
  EXPECT_EQ(s.m_binaryHeader[kBfhFileTypePos], kFileSegy);
}

TEST(SynthSurvey, ReflectionsStandAboveTheNoise) {
  SeismicSection s;
  SynthParams p;
  p.shots = 1, p.channels = 24, p.samples = 750, p.dtMs = 2.0;
  LogSetThreshold(0);
  ASSERT_EQ(MakeSynthSurvey(s, p), 24);
  LogSetThreshold(kLogDefaultThreshold);
  for (int c : {0, 23}) {
    const TraceRecord& r = *s.Trace(c);
    double x = r.OFF;
    double t = std::sqrt(0.52 * 0.52 + x * x / (2150.0 * 2150.0));  // second reflector
    EXPECT_GT(Energy(r, t - 0.02, t + 0.02), 20.0 * Energy(r, 0.40 - 0.02, 0.40 + 0.02)) << c;
  }
}

TEST(SynthSurvey, SameParametersSameSurveyAndBadParametersRefused) {
  SeismicSection a, b, c;
  SynthParams p;
  p.shots = 2, p.channels = 4, p.samples = 100;
  LogSetThreshold(0);
  ASSERT_EQ(MakeSynthSurvey(a, p), 8);
  ASSERT_EQ(MakeSynthSurvey(b, p), 8);
  for (int i = 0; i < 8; ++i)
    EXPECT_EQ(std::memcmp(a.Trace(i), b.Trace(i), TraceRecord::AllocationSize(100)), 0);
  p.dtMs = 0.0;
  EXPECT_EQ(MakeSynthSurvey(c, p), -4);
  p.dtMs = 1.0, p.channels = 0;
  EXPECT_EQ(MakeSynthSurvey(c, p), -4);
  EXPECT_EQ(c.Count(), 0);
  LogSetThreshold(kLogDefaultThreshold);
}
}  // namespace
