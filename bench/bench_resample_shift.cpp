// Resampling and time shift of a 10,000 x 2,000 section with 1 and 2 threads.
// Throughput is reported as input samples per second (items_per_second) and
// traces per second (traces/s); the speed-up is the ratio of the two rows.
#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>
#include <random>

#include "processing/Resample.h"
#include "processing/TimeShift.h"
#include "section/SeismicSection.h"

namespace {
constexpr int32_t kTraces = 10000;
constexpr int32_t kSamples = 2000;

std::unique_ptr<SeismicSection> MakeSection(double dt) {
  auto s = std::make_unique<SeismicSection>();
  std::mt19937 rng(1);
  std::normal_distribution<float> g;
  for (int32_t i = 0; i < kTraces; ++i) {
    TraceRecord* t = TraceRecord::Allocate(kSamples);
    t->DT = dt;
    for (int32_t k = 0; k < kSamples; ++k) t->Samples()[k] = g(rng);
    t->UpdatePeak();
    s->AppendTrace(t, 1, 0);
  }
  s->Scan();
  return s;
}

// Copies of the template's traces, so every run starts from the same data.
std::unique_ptr<SeismicSection> CopyOf(const SeismicSection& from) {
  auto s = std::make_unique<SeismicSection>();
  for (int32_t i = 0; i < from.Count(); ++i) s->AppendTrace(TraceRecord::Clone(from.Trace(i)), 1, 0);
  return s;
}

void Throughput(benchmark::State& state) {
  state.SetItemsProcessed(state.iterations() * int64_t{kTraces} * kSamples);
  state.counters["traces/s"] =
      benchmark::Counter(static_cast<double>(state.iterations()) * kTraces, benchmark::Counter::kIsRate);
}

void Resample(benchmark::State& state, double dtIn, double dtOut) {
  static auto source1 = MakeSection(0.001);
  static auto source2 = MakeSection(0.002);
  const SeismicSection& source = dtIn == 0.001 ? *source1 : *source2;
  const int threads = static_cast<int>(state.range(0));
  for (auto _ : state) {
    state.PauseTiming();
    auto s = CopyOf(source);
    state.ResumeTiming();
    ResampleSection(*s, dtOut, 1, threads);
    state.PauseTiming();
    s.reset();
    state.ResumeTiming();
  }
  Throughput(state);
}

void BM_ResampleDown1to2ms(benchmark::State& state) {
  Resample(state, 0.001, 0.002);
}
void BM_ResampleUp2to1ms(benchmark::State& state) {
  Resample(state, 0.002, 0.001);
}

void BM_Shift(benchmark::State& state) {
  static auto section = MakeSection(0.002);
  ShiftSettings st;
  st.shiftTime = 0.0105;
  st.taper = 8;
  st.keepLength = 1;
  const int threads = static_cast<int>(state.range(0));
  for (auto _ : state) OMPShiftTraces(*section, st, threads);
  Throughput(state);
}
}  // namespace

BENCHMARK(BM_ResampleDown1to2ms)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCHMARK(BM_ResampleUp2to1ms)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCHMARK(BM_Shift)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(10);

BENCHMARK_MAIN();
