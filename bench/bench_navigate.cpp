// Scrolling the trace view one trace right and back, on sections of 1,000
// and 100,000 traces: each step redraws one page, so the figures should not
// grow with the trace count.
#include <benchmark/benchmark.h>

#include <map>
#include <memory>

#include "display/TraceNavigator.h"
#include "display/VTracePlotter.h"
#include "section/SeismicSection.h"

namespace {

std::unique_ptr<SeismicSection> MakeSection(int traces) {
  auto s = std::make_unique<SeismicSection>();
  for (int n = 0; n < traces; ++n) {
    TraceRecord* t = TraceRecord::Allocate(500);
    t->DT = 0.002;
    t->TRID = 1;
    for (int i = 0; i < 500; ++i) t->Samples()[i] = static_cast<float>((i * 7 + n * 3) % 17 - 8);
    t->UpdatePeak();
    if (s->AppendTrace(t, 1, 0) != 0) return nullptr;
  }
  s->Scan();
  return s;
}

const SeismicSection& Section(int traces) {
  static std::map<int, std::unique_ptr<SeismicSection>> cache;
  auto& s = cache[traces];
  if (!s) s = MakeSection(traces);
  return *s;
}

void BM_ScrollOneTrace(benchmark::State& state, int mode) {
  VTracePlotter view;
  view.Create(1280, 800, nullptr);
  const SeismicSection& section = Section(static_cast<int>(state.range(0)));
  view.AttachTraces(section.Traces(), section.Summary());
  view.Params().m_displayMode = mode;
  view.Params().m_pixPerTrace = 4.0;
  view.DisplayChanged(1);
  TraceNavigator nav(view);
  nav.SetFirstTraceFromThumb(static_cast<int>(state.range(0)) / 2);
  for (auto _ : state) {
    benchmark::DoNotOptimize(nav.ScrollTraces(1));
    benchmark::DoNotOptimize(nav.ScrollTraces(-1));
  }
}

}  // namespace

BENCHMARK_CAPTURE(BM_ScrollOneTrace, density, kDisplayColor)
    ->Arg(1000)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_ScrollOneTrace, wiggle, kDisplayWiggle)
    ->Arg(1000)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
