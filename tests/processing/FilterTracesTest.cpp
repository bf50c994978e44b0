// The block runner against the per-trace runner: every output bit-identical.
#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "processing/FilterTraces.h"
#include "processing/IIRFilter.h"

namespace {

IIRFilter Designed(int passType, int family, int poles) {
  IIRFilter f = IIRFilterInit();
  f.passType = passType;
  f.family = family;
  f.NumPole = poles;
  f.lowPassCutoff = f.highPassCutoff = 0.2;
  f.bandPassLow = 0.05;
  f.bandPassHigh = 0.4;
  f.notchCentre = 0.25;
  f.notchBandwidth = 0.03;
  EXPECT_EQ(DesignFilter(f), 0);
  return f;
}

// Lengths mixing runs of equal traces (batched) with lone ones, and traces
// shorter than a section's two samples of memory.
std::vector<int64_t> MixedLengths() {
  std::vector<int64_t> n;
  for (int i = 0; i < 45; ++i) n.push_back(300);
  for (int64_t lone : {0, 1, 2, 3, 5, 299, 301}) n.push_back(lone);
  for (int i = 0; i < 9; ++i) n.push_back(i % 2 ? 2 : 1);
  for (int i = 0; i < 20; ++i) n.push_back(64 + i % 3);
  for (int i = 0; i < 8; ++i) n.push_back(7);  // a whole lane group shorter than one tile
  return n;
}

struct Traces {
  std::vector<std::vector<float>> in, out, ref;
  std::vector<float> peaks, refPeaks;
  std::vector<FilterJob> jobs;
};

Traces MakeTraces(const IIRFilter& f, const std::vector<int64_t>& lengths, unsigned seed) {
  std::mt19937 rng(seed);
  std::normal_distribution<float> g(0.0f, 50.0f);
  Traces t;
  for (int64_t n : lengths) {
    std::vector<float> x(static_cast<std::size_t>(n) + 1);  // one guard sample
    for (float& v : x) v = g(rng);
    t.in.push_back(x);
    t.ref.push_back(x);
    t.out.push_back(std::vector<float>(x.size(), -7.0f));
    t.refPeaks.push_back(RunFilter(f, x.data(), t.ref.back().data(), n));
  }
  for (std::size_t i = 0; i < lengths.size(); ++i)
    t.jobs.push_back({t.in[i].data(), t.out[i].data(), lengths[i]});
  t.peaks.assign(lengths.size(), -1.0f);
  return t;
}

void ExpectSame(const Traces& t, const std::vector<int64_t>& lengths) {
  for (std::size_t i = 0; i < lengths.size(); ++i) {
    std::size_t n = static_cast<std::size_t>(lengths[i]);
    EXPECT_EQ(std::memcmp(t.out[i].data(), t.ref[i].data(), n * sizeof(float)), 0) << "trace " << i;
    EXPECT_EQ(t.out[i][n], -7.0f) << "wrote past trace " << i;
    EXPECT_EQ(t.peaks[i], t.refPeaks[i]) << "trace " << i;
  }
}

}  // namespace

TEST(FilterTraces, EveryFamilyPassAndPoleCountMatchesRunFilterOnOneAndTwoThreads) {
  const std::vector<int64_t> lengths = MixedLengths();
  unsigned seed = 1;
  for (int family : {kButterworth, kChebyshev, kElliptic}) {
    for (int pass : {kLowPass, kHighPass, kBandPass, kNotch}) {
      for (int poles : {1, 2, 7, 8}) {
        SCOPED_TRACE("family " + std::to_string(family) + " pass " + std::to_string(pass) + " poles " +
                     std::to_string(poles));
        IIRFilter f = Designed(pass, family, poles);
        for (int threads : {1, 2}) {
          Traces t = MakeTraces(f, lengths, ++seed);
          ASSERT_EQ(RunFilterTraces(f, t.jobs, threads, t.peaks.data()), 0);
          ExpectSame(t, lengths);
        }
      }
    }
  }
}

TEST(FilterTraces, RunsInPlaceWithoutPeaksAndCopiesForAnUnknownPassType) {
  IIRFilter f = Designed(kBandPass, kButterworth, 8);
  const std::vector<int64_t> lengths = MixedLengths();
  Traces t = MakeTraces(f, lengths, 99);
  for (std::size_t i = 0; i < lengths.size(); ++i) t.jobs[i].out = t.in[i].data();
  ASSERT_EQ(RunFilterTraces(f, t.jobs, 2), 0);
  for (std::size_t i = 0; i < lengths.size(); ++i)
    EXPECT_EQ(std::memcmp(t.in[i].data(), t.ref[i].data(), static_cast<std::size_t>(lengths[i]) * 4), 0) << i;

  f.passType = 0;
  Traces c = MakeTraces(f, lengths, 5);
  ASSERT_EQ(RunFilterTraces(f, c.jobs, 2, c.peaks.data()), 0);
  ExpectSame(c, lengths);
  EXPECT_EQ(RunFilterTraces(f, {}, 2), 0);
}
