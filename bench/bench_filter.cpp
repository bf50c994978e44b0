// Zero-phase filtering of a 10,000 x 2,000 float section with an 8-pole
// Butterworth band pass (8 low-pass and 8 high-pass poles: 4 + 4 sections,
// each run forward and backward). bench/compare_peers.py runs this next to
// scipy.signal.sosfiltfilt with the same sections and prints the ratio.
#include <benchmark/benchmark.h>
#include <omp.h>

#include <random>
#include <vector>

#include "processing/IIRFilter.h"

namespace {
constexpr int kTraces = 10000;
constexpr int kSamples = 2000;

struct Section {
  std::vector<float> in, out;
  std::vector<const float*> ip;
  std::vector<float*> op;
  Section() : in(static_cast<std::size_t>(kTraces) * kSamples), out(in.size()) {
    std::mt19937 rng(42);
    std::normal_distribution<float> g(0.0f, 1.0f);
    for (float& v : in) v = g(rng);
    for (int t = 0; t < kTraces; ++t) {
      ip.push_back(in.data() + static_cast<std::size_t>(t) * kSamples);
      op.push_back(out.data() + static_cast<std::size_t>(t) * kSamples);
    }
  }
};

Section& Data() {
  static Section s;
  return s;
}

IIRFilter BandPass() {
  IIRFilter f = IIRFilterInit();
  f.passType = kBandPass;
  f.family = kButterworth;
  f.NumPole = 8;
  f.bandPassLow = 0.02;
  f.bandPassHigh = 0.4;
  DesignFilter(f);
  return f;
}

// The vector runner: eight traces per pass through the vector unit.
void BM_BandPassSectionBatch(benchmark::State& state) {
  Section& s = Data();
  IIRFilter f = BandPass();
  int threads = static_cast<int>(state.range(0));
  for (auto _ : state) {
    const int chunk = 64;
#pragma omp parallel for num_threads(threads) schedule(dynamic, 1)
    for (int t = 0; t < kTraces; t += chunk) {
      int count = t + chunk <= kTraces ? chunk : kTraces - t;
      RunFilterBatch(f, s.ip.data() + t, s.op.data() + t, kSamples, count, nullptr);
    }
    benchmark::DoNotOptimize(s.out.data());
  }
  state.counters["traces_per_s"] = benchmark::Counter(kTraces, benchmark::Counter::kIsIterationInvariantRate);
}

// One trace at a time, as the trace view calls it while drawing.
void BM_BandPassSectionPerTrace(benchmark::State& state) {
  Section& s = Data();
  IIRFilter f = BandPass();
  int threads = static_cast<int>(state.range(0));
  for (auto _ : state) {
#pragma omp parallel for num_threads(threads) schedule(static)
    for (int t = 0; t < kTraces; ++t) RunFilter(f, s.ip[t], s.op[t], kSamples);
    benchmark::DoNotOptimize(s.out.data());
  }
  state.counters["traces_per_s"] = benchmark::Counter(kTraces, benchmark::Counter::kIsIterationInvariantRate);
}
}  // namespace

BENCHMARK(BM_BandPassSectionBatch)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_BandPassSectionPerTrace)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_MAIN();
