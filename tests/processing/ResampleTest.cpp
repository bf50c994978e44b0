// Resampling: the interpolation table, the Toeplitz solver, the sample counts
// and filter rule of 1 ms <-> 2 ms runs, accuracy against the analytic
// signal and scipy, and 1-thread vs 2-thread identity.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <fstream>
#include <numbers>
#include <random>
#include <vector>

#include "PythonOracle.h"
#include "processing/Resample.h"
#include "processing/SincTable.h"
#include "processing/SolveToeplitz.h"
#include "support/PeerCheck.h"
#include "support/TempDir.h"

namespace {
TraceRecord* AddTrace(SeismicSection& s, int32_t ns, double dt, const std::vector<float>& samples = {}) {
  TraceRecord* t = TraceRecord::Allocate(ns);
  t->DT = dt;
  t->DELAY = 0.1;
  t->FLDR = 7;
  t->TRID = 1;
  for (int32_t i = 0; i < ns && i < static_cast<int32_t>(samples.size()); ++i) t->Samples()[i] = samples[i];
  t->UpdatePeak();
  EXPECT_EQ(s.AppendTrace(t, 1, 0), 0);
  return t;
}

// Sum of sines at the given frequencies (Hz) and times.
double Signal(double t, const std::vector<double>& hz) {
  double v = 0.0;
  for (std::size_t k = 0; k < hz.size(); ++k)
    v += std::sin(2.0 * std::numbers::pi * hz[k] * t + 0.7 * k + 0.3);
  return v;
}

std::vector<float> Sampled(int32_t n, double dt, const std::vector<double>& hz) {
  std::vector<float> x(n);
  for (int32_t i = 0; i < n; ++i) x[i] = static_cast<float>(Signal(i * dt, hz));
  return x;
}

// RMS of (y[i] - signal(i * dt)) over the interior, skipping `edge` samples at both ends.
double RmsError(const float* y, int32_t n, double dt, const std::vector<double>& hz, int32_t edge) {
  double sum = 0.0;
  int32_t count = 0;
  for (int32_t i = edge; i < n - edge; ++i, ++count) {
    double d = y[i] - Signal(i * dt, hz);
    sum += d * d;
  }
  return std::sqrt(sum / count);
}

double Peak(const TraceRecord* t, int32_t edge) {
  double p = 0.0;
  for (int32_t i = edge; i < t->NS - edge; ++i)
    p = std::max(p, std::fabs(static_cast<double>(t->Samples()[i])));
  return p;
}
}  // namespace

TEST(SolveToeplitz, SolvesSymmetricSystemsSmallAndLarge) {
  for (int n : {1, 8, 40}) {
    std::vector<double> r(n), b(n), x(n, 0.0);
    std::mt19937 rng(n);
    std::uniform_real_distribution<double> u(-1.0, 1.0);
    for (int i = 0; i < n; ++i) r[i] = std::exp(-0.3 * i) * std::cos(0.5 * i), b[i] = u(rng);
    r[0] += 0.5;  // diagonally dominant enough to be well posed
    ASSERT_EQ(SolveToeplitz(r.data(), b.data(), x.data(), n), 0);
    for (int i = 0; i < n; ++i) {
      double lhs = 0.0;
      for (int j = 0; j < n; ++j) lhs += r[std::abs(i - j)] * x[j];
      EXPECT_NEAR(lhs, b[i], 1e-10) << "n=" << n << " row " << i;
    }
  }
  double r0[3] = {0.0, 1.0, 0.5}, b0[3] = {1, 2, 3}, x0[3] = {9, 9, 9};
  EXPECT_EQ(SolveToeplitz(r0, b0, x0, 3), -1);
  EXPECT_EQ(x0[0], 9.0);
}

TEST(SincTable, EndRowsPickSamplesAndRowsMirror) {
  const SincRow* t = SincTable();
  for (int j = 0; j < kSincTaps; ++j) {
    EXPECT_EQ(t[0][j], j == 3 ? 1.0f : 0.0f);
    EXPECT_EQ(t[512][j], j == 4 ? 1.0f : 0.0f);
  }
  // Fraction x on tap j is fraction 1 - x on tap 7 - j; the half-way row is symmetric.
  for (int r = 1; r < 512; ++r)
    for (int j = 0; j < kSincTaps; ++j) EXPECT_NEAR(t[r][j], t[512 - r][7 - j], 1e-6) << r << "," << j;
  // A near-unit DC gain and a dominant nearest tap.
  for (int r = 1; r < 512; ++r) {
    float sum = 0.0f;
    for (int j = 0; j < kSincTaps; ++j) sum += t[r][j];
    EXPECT_NEAR(sum, 1.0f, 0.02f) << r;
    EXPECT_GT(t[r][r < 256 ? 3 : 4], 0.45f);
  }
}

TEST(Interpolate8, OutsideTapsTakeTheEdgeValues) {
  // Zeros inside, distinct outside values: any output that reaches past an
  // end is the outside value times that row's outer taps.
  std::vector<float> in(20, 0.0f);
  const double dt = 0.004;
  std::vector<float> t = {0.0f, 0.5f * 0.004f, 19 * 0.004f, 19.5f * 0.004f, 200 * 0.004f}, out(5);
  Interpolate8(in.data(), 20, dt, 3.0f, 5.0f, 5, t.data(), out.data());
  const SincRow* tab = SincTable();
  EXPECT_EQ(out[0], 0.0f);  // row 0: the sample itself
  EXPECT_FLOAT_EQ(out[1], 3.0f * (tab[256][0] + tab[256][1] + tab[256][2]));
  EXPECT_EQ(out[2], 0.0f);
  EXPECT_FLOAT_EQ(out[3], 5.0f * (tab[256][4] + tab[256][5] + tab[256][6] + tab[256][7]));
  EXPECT_FLOAT_EQ(out[4], 5.0f);  // far past the end: every tap outside, row 0
}

TEST(Resample, CountsAndFilterRule) {
  EXPECT_EQ(ResampledCount(1000, 0.001, 0.002), 500);
  EXPECT_EQ(ResampledCount(1000, 0.002, 0.001), 1999);
  EXPECT_EQ(ResampledCount(1000, 0.002, 0.002), 1000);
  EXPECT_EQ(ResampledCount(1000, 0.001, 1e-12), -1);  // would not fit a record
  EXPECT_TRUE(NeedsAntiAlias(0.001, 0.002));
  EXPECT_FALSE(NeedsAntiAlias(0.002, 0.001));
  EXPECT_FALSE(NeedsAntiAlias(100 * 1e-6, 0.1 / 1000.0));  // same rate typed in ms
  IIRFilter f = DesignAntiAliasFilter(0.001, 0.002);
  EXPECT_EQ(f.family, kElliptic);
  EXPECT_EQ(f.NumPole, 8);
  EXPECT_DOUBLE_EQ(f.lowPassCutoff, 0.45);
  EXPECT_DOUBLE_EQ(f.Nyquist, 500.0);
  EXPECT_LT(FilterMagnitude(f, 0.3), 1.01);
  EXPECT_GT(FilterMagnitude(f, 0.3), 0.99);
  EXPECT_LT(FilterMagnitude(f, 0.6), 1e-6);
}

TEST(Resample, DownsamplingFiltersAndKeepsHeaders) {
  // 400 Hz at 1 ms lies above the new Nyquist (250 Hz): filtered it vanishes,
  // unfiltered it aliases at full strength.
  for (int32_t lowPass : {1, 0}) {
    SeismicSection s;
    AddTrace(s, 1000, 0.001, Sampled(1000, 0.001, {400.0}));
    ASSERT_EQ(ResampleSection(s, 0.002, lowPass, 1), 0);
    const TraceRecord* t = s.Trace(0);
    EXPECT_EQ(t->NS, 500);
    EXPECT_EQ(t->DIM, 500);
    EXPECT_DOUBLE_EQ(t->DT, 0.002);
    EXPECT_DOUBLE_EQ(t->DELAY, 0.1);
    EXPECT_EQ(t->FLDR, 7);
    if (lowPass) {
      EXPECT_LT(Peak(t, 60), 1e-3);
    } else {
      EXPECT_GT(Peak(t, 60), 0.5);
    }
    float amax = 0.0f;
    int32_t idx = 0;
    FindPeak(t->Samples(), t->NS, &amax, &idx);
    EXPECT_EQ(t->AMAX, amax);  // the peak follows the new samples
    EXPECT_DOUBLE_EQ(s.Summary().minInterval, 0.002);
  }
}

TEST(Resample, UpsamplingAndSameIntervalKeepTheInputSamples) {
  std::vector<float> x = Sampled(1000, 0.002, {11.0, 37.0, 71.0});
  SeismicSection up;
  AddTrace(up, 1000, 0.002, x);
  ASSERT_EQ(ResampleSection(up, 0.001, 1, 1), 0);
  ASSERT_EQ(up.Trace(0)->NS, 1999);
  for (int32_t i = 0; i < 1000; ++i) ASSERT_EQ(up.Trace(0)->Samples()[2 * i], x[i]) << i;

  SeismicSection same;
  AddTrace(same, 1000, 0.002, x);
  ASSERT_EQ(ResampleSection(same, 0.002, 1, 1), 0);
  ASSERT_EQ(same.Trace(0)->NS, 1000);
  EXPECT_EQ(std::memcmp(same.Trace(0)->Samples(), x.data(), 1000 * sizeof(float)), 0);
}

TEST(Resample, InvalidIntervalChangesNothing) {
  SeismicSection s;
  TraceRecord* t = AddTrace(s, 10, 0.001);
  for (double bad : {0.0, -0.002, std::nan(""), double(INFINITY)})
    EXPECT_EQ(ResampleSection(s, bad, 1, 1), -1);
  EXPECT_EQ(s.Trace(0), t);
  double sec = 0.0;
  EXPECT_FALSE(ReadResampleInterval("0", 1000.0, &sec));
  EXPECT_FALSE(ReadResampleInterval("-2", 1000.0, &sec));
  EXPECT_FALSE(ReadResampleInterval("abc", 1000.0, &sec));
  EXPECT_FALSE(ReadResampleInterval("2ms", 1000.0, &sec));
  EXPECT_FALSE(ReadResampleInterval("", 1000.0, &sec));
  EXPECT_TRUE(ReadResampleInterval(" 2.5 ", 1000.0, &sec));
  EXPECT_DOUBLE_EQ(sec, 0.0025);
}

TEST(Resample, MixedIntervalsAndEmptyTracesDoNotCrash) {
  SeismicSection s;
  AddTrace(s, 1000, 0.001, Sampled(1000, 0.001, {400.0}));
  AddTrace(s, 500, 0.002, Sampled(500, 0.002, {200.0}));  // above 125 Hz: must be filtered too
  AddTrace(s, 0, 0.002);
  TraceRecord* zeroDt = AddTrace(s, 10, 0.0);
  ResampleReport report;
  ASSERT_EQ(ResampleSection(s, 0.004, 1, 2, {}, &report), 0);
  EXPECT_EQ(report.resampled, 2);
  EXPECT_EQ(report.skipped, 2);
  EXPECT_EQ(s.Trace(0)->NS, 250);
  EXPECT_EQ(s.Trace(1)->NS, 250);
  EXPECT_LT(Peak(s.Trace(0), 40), 1e-3);
  EXPECT_LT(Peak(s.Trace(1), 40), 1e-3);
  EXPECT_EQ(s.Trace(3), zeroDt);
  EXPECT_EQ(s.FixedLength(), 0);
}

TEST(Resample, SameResultWithOneAndTwoThreads) {
  std::vector<std::vector<float>> out[2];
  int32_t lastDone[2] = {0, 0};
  for (int threads : {1, 2}) {
    SeismicSection s;
    std::mt19937 rng(5);
    std::normal_distribution<float> g;
    for (int i = 0; i < 40; ++i) {
      int32_t n = 300 + 37 * i + (i % 2) * 60000;
      std::vector<float> x(n);
      for (float& v : x) v = g(rng);
      AddTrace(s, n, i % 3 ? 0.001 : 0.0005, x);
    }
    auto progress = [&](int32_t done, int32_t total) {
      EXPECT_EQ(total, 40);
      lastDone[threads - 1] = done;
    };
    ASSERT_EQ(ResampleSection(s, 0.0015, 1, threads, progress), 0);
    for (int i = 0; i < s.Count(); ++i)
      out[threads - 1].emplace_back(s.Trace(i)->Samples(), s.Trace(i)->Samples() + s.Trace(i)->NS);
  }
  EXPECT_EQ(out[0], out[1]);
  // The anti-alias filter runs in blocks (over 1M samples here, so several),
  // and equals filtering each trace alone before interpolating.
  std::mt19937 rng(5);
  std::normal_distribution<float> g;
  for (int i = 0; i < 40; ++i) {
    int32_t n = 300 + 37 * i + (i % 2) * 60000;
    double dt = i % 3 ? 0.001 : 0.0005;
    std::vector<float> x(n), filtered(n);
    for (float& v : x) v = g(rng);
    RunFilter(DesignAntiAliasFilter(dt, 0.0015), x.data(), filtered.data(), n);
    int32_t nNew = static_cast<int32_t>(ResampledCount(n, dt, 0.0015));
    std::vector<float> t(nNew), ref(nNew);
    FillOutputTimes(t.data(), nNew, 0.0015);
    Interpolate8(filtered.data(), n, dt, filtered[0], filtered[n - 1], nNew, t.data(), ref.data());
    EXPECT_EQ(out[0][i], ref) << "trace " << i;
  }
  // The end is reported whichever thread ran the last traces.
  EXPECT_EQ(lastDone[0], 40);
  EXPECT_EQ(lastDone[1], 40);
}

TEST(Resample, AccuracyAgainstAnalyticSignalAndScipy) {
  // Sines below 0.4 of the lower Nyquist (250 Hz at 2 ms) in both directions.
  const std::vector<double> hz = {13.0, 47.0, 88.0};
  struct Case {
    double dtIn, dtOut;
    int up, down;
  };
  for (Case c : {Case{0.001, 0.002, 1, 2}, Case{0.002, 0.001, 2, 1}}) {
    const int32_t n = 2000;
    std::vector<float> x = Sampled(n, c.dtIn, hz);
    SeismicSection s;
    AddTrace(s, n, c.dtIn, x);
    ASSERT_EQ(ResampleSection(s, c.dtOut, 1, 1), 0);
    const TraceRecord* t = s.Trace(0);
    const int32_t edge = 100;
    double ours = RmsError(t->Samples(), t->NS, c.dtOut, hz, edge);
    std::printf("[ resample %g->%g ms ] rms error vs analytic: kestrix %.3g", c.dtIn * 1e3, c.dtOut * 1e3,
                ours);
    EXPECT_LT(ours, 5e-3);
    if (!kxtest::PythonHas("numpy, scipy.signal")) {
      if (kxtest::PeersRequired()) ADD_FAILURE() << "/usr/bin/python3 lacks numpy, scipy.signal";
      std::printf(" (no scipy peer)\n");
      continue;
    }
    kxtest::TempDir dir;
    ASSERT_TRUE(dir.Ok());
    {
      std::ofstream f(dir.File("in.txt"));
      f.precision(9);
      for (float v : x) f << v << "\n";
    }
    ASSERT_TRUE(oracle::RunScript("resample_reference.py", dir.File("in.txt") + " " + std::to_string(c.up) +
                                                               " " + std::to_string(c.down) + " " +
                                                               dir.File("out.txt")));
    std::vector<float> peer;
    for (const auto& row : oracle::ReadRows(dir.File("out.txt")))
      if (!row.empty()) peer.push_back(static_cast<float>(row[0]));
    ASSERT_GE(static_cast<int32_t>(peer.size()), t->NS);
    double scipy = RmsError(peer.data(), t->NS, c.dtOut, hz, edge);
    double diff = 0.0;
    for (int32_t i = edge; i < t->NS - edge; ++i)
      diff = std::max(diff, std::fabs(double(t->Samples()[i]) - peer[i]));
    std::printf(", scipy %.3g, max |kestrix - scipy| %.3g\n", scipy, diff);
    EXPECT_LT(diff, 1e-2);
  }
}

TEST(Resample, TraceThatCannotBeRebuiltStaysAsItWas) {
  SeismicSection s;
  AddTrace(s, 100, 0.001, Sampled(100, 0.001, {20.0}));
  TraceRecord* huge = AddTrace(s, 3, 1.0e6);  // would need billions of samples at 1 ms
  ResampleReport report;
  ASSERT_EQ(ResampleSection(s, 0.001 / 2, 1, 2, {}, &report), 0);
  EXPECT_EQ(report.failed, 1);
  EXPECT_EQ(report.resampled, 1);
  EXPECT_EQ(s.Trace(1), huge);
  EXPECT_EQ(s.Trace(1)->DT, 1.0e6);
  EXPECT_EQ(s.Trace(0)->NS, 199);
}
