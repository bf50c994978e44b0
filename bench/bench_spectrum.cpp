// Whole-section amplitude spectrum of a 10,000 x 2,000 float section (N =
// 2048): every trace scaled by its peak, transformed, magnitudes summed.
// bench/compare_peers.py runs this next to numpy.fft.rfft plus a magnitude sum
// and prints the ratio.
#include <benchmark/benchmark.h>

#include <random>

#include "processing/AmpSpectrum.h"
#include "processing/FFTSG.h"
#include "processing/IIRFilter.h"
#include "section/SeismicSection.h"
#include "section/TraceRecord.h"

namespace {
constexpr int kTraces = 10000;
constexpr int kSamples = 2000;

SeismicSection& Data() {
  static SeismicSection* s = [] {
    auto* sec = new SeismicSection();
    std::mt19937 rng(42);
    std::normal_distribution<float> g(0.0f, 1.0f);
    for (int t = 0; t < kTraces; ++t) {
      TraceRecord* r = TraceRecord::Allocate(kSamples);
      r->DT = 0.001;
      for (int i = 0; i < kSamples; ++i) r->Samples()[i] = g(rng);
      r->UpdatePeak();
      sec->AppendTrace(r, 1, 0);
    }
    sec->Scan();
    return sec;
  }();
  return *s;
}

void BM_WholeSectionSpectrum(benchmark::State& state) {
  SeismicSection& s = Data();
  IIRFilter f = IIRFilterInit();
  AmpSpectrum sp;
  int threads = static_cast<int>(state.range(0));
  for (auto _ : state) {
    sp.Reset();
    sp.Initialize(s, f);
    sp.ComputeWholeSpectrum(s, threads);
    benchmark::DoNotOptimize(sp.WholeSpectrum().data());
  }
  state.counters["traces_per_s"] = benchmark::Counter(kTraces, benchmark::Counter::kIsIterationInvariantRate);
}

// The transform alone, one 2048-point real FFT.
void BM_FFT2048(benchmark::State& state) {
  FFTSG fft;
  fft.Initialize(2048);
  std::vector<double> a(2048), src(2048);
  std::mt19937 rng(1);
  std::normal_distribution<double> g;
  for (double& v : src) v = g(rng);
  for (auto _ : state) {
    a = src;
    fft.Forward(a.data());
    benchmark::DoNotOptimize(a.data());
  }
}
}  // namespace

BENCHMARK(BM_WholeSectionSpectrum)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_FFT2048);
BENCHMARK_MAIN();
