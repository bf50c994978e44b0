// Redraws of the trace view at 1920 x 1080 with the display filter on, over
// 100,000 traces of 2000 samples: scrolling by one page onto traces never
// filtered (cold), scrolling back and forth over pages already filtered
// (warm), the same scrolling with the filter off, and redraws while the
// filter is redesigned each time. The counter filtered_per_redraw says how
// many traces each redraw filtered.
#include <benchmark/benchmark.h>

#include <memory>

#include "display/BlockTextRenderer.h"
#include "display/VTracePlotter.h"
#include "log/Log.h"
#include "processing/IIRFilter.h"
#include "section/SeismicSection.h"

namespace {
constexpr int kTraces = 100000;
constexpr int kSamples = 2000;

SeismicSection& Survey() {
  static std::unique_ptr<SeismicSection> s = [] {
    auto section = std::make_unique<SeismicSection>();
    for (int n = 0; n < kTraces; ++n) {
      TraceRecord* t = TraceRecord::Allocate(kSamples);
      t->DT = 0.001;
      t->TRID = 1;
      float* x = t->Samples();
      float e1 = 100.0f + 0.01f * static_cast<float>(n % 5000),
            e2 = 900.0f + 0.3f * static_cast<float>(n % 240);
      for (int i = 0; i < kSamples; ++i) {
        float a = (static_cast<float>(i) - e1) * 0.1f, b = (static_cast<float>(i) - e2) * 0.05f;
        x[i] = 1.0f / (1.0f + a * a) - 0.7f / (1.0f + b * b) +
               0.01f * static_cast<float>((i * 31 + n * 17) % 13 - 6);
      }
      t->UpdatePeak();
      section->AppendTrace(t, 1, 0);
    }
    section->Scan();
    return section;
  }();
  return *s;
}

IIRFilter BandPass(double low, double high) {
  IIRFilter f = IIRFilterInit();
  f.Nyquist = 500.0;
  f.passType = kBandPass;
  f.bandPassLow = low;
  f.bandPassHigh = high;
  DesignFilter(f);
  return f;
}

struct View {
  BlockTextRenderer text;
  VTracePlotter plotter{1};
  IIRFilter filter = BandPass(0.02, 0.2);

  View(int mode, int threads, bool filtered) {
    LogSetThreshold(0);
    SeismicSection& s = Survey();
    plotter.SetRenderSettings({2, 5, threads});
    plotter.SetFilter(&filter);
    plotter.Create(1920, 1080, &text);
    plotter.AttachTraces(s.Traces(), s.Summary());
    plotter.ApplyLoadPosition();
    DisplayParams& p = plotter.Params();
    p.m_displayMode = mode;
    p.m_fillMode = kFillPositive;
    p.m_useFreqFilter = filtered ? 1 : 0;
    plotter.DisplayChanged(1);
  }
  // The next page, back to the first after the last.
  void PageOn(int firstPage, int pages) {
    DisplayParams& p = plotter.Params();
    int page = plotter.TracesPerPage();
    p.m_firstTrace += page;
    if (p.m_firstTrace >= (firstPage + pages) * page || p.m_firstTrace + page > kTraces)
      p.m_firstTrace = firstPage * page;
  }
};

void Report(benchmark::State& state, View& v, int64_t filteredBefore) {
  double redraws = static_cast<double>(state.iterations());
  state.counters["filtered_per_redraw"] =
      static_cast<double>(v.plotter.Filtered().FilteredTraces() - filteredBefore) / redraws;
  state.counters["traces_per_page"] = v.plotter.TracesPerPage();
  state.counters["cache_MiB"] = static_cast<double>(v.plotter.Filtered().Bytes()) / (1 << 20);
}

// range(0): mode; range(1): threads; range(2): 0 filter off, 1 cold pages,
// 2 warm pages (ten pages filtered before the timing, then cycled).
void ScrollByPage(benchmark::State& state) {
  const int mode = static_cast<int>(state.range(0)), threads = static_cast<int>(state.range(1));
  const int kind = static_cast<int>(state.range(2));
  View v(mode, threads, kind != 0);
  const int pages = kind == 2 ? 10 : 1 << 20;
  v.plotter.Params().m_firstTrace = 0;
  if (kind == 2)
    for (int i = 0; i < pages; ++i) {
      v.plotter.Redraw();
      v.PageOn(0, pages);
    }
  const int64_t before = v.plotter.Filtered().FilteredTraces();
  for (auto _ : state) {
    v.PageOn(0, pages);
    v.plotter.Redraw();
    benchmark::DoNotOptimize(v.plotter.Store().Pixels()[1000]);
  }
  Report(state, v, before);
}

// The same page redrawn while the filter is redesigned before each redraw
// (the design itself included), as when the user sets new corners.
void FilterChanging(benchmark::State& state) {
  View v(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)), true);
  v.plotter.Redraw();
  const int64_t before = v.plotter.Filtered().FilteredTraces();
  int k = 0;
  for (auto _ : state) {
    v.filter = BandPass(0.02 + 0.001 * (k++ % 50), 0.2);
    v.plotter.Redraw();
    benchmark::DoNotOptimize(v.plotter.Store().Pixels()[1000]);
  }
  Report(state, v, before);
}
}  // namespace

BENCHMARK(ScrollByPage)
    ->ArgNames({"mode", "threads", "kind"})
    ->Args({kDisplayWiggle, 2, 0})
    ->Args({kDisplayWiggle, 1, 1})
    ->Args({kDisplayWiggle, 2, 1})
    ->Args({kDisplayWiggle, 2, 2})
    ->Args({kDisplayColor, 2, 0})
    ->Args({kDisplayColor, 1, 1})
    ->Args({kDisplayColor, 2, 1})
    ->Args({kDisplayColor, 2, 2})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(FilterChanging)
    ->ArgNames({"mode", "threads"})
    ->Args({kDisplayWiggle, 2})
    ->Args({kDisplayColor, 2})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

BENCHMARK_MAIN();
