// Full redraws of the trace view at 1920 x 1080: colour density over a large
// survey and a small one, and filled wiggles. Each iteration is one Redraw
// (clear, traces, labels, time axis) into the view's raster; text uses the
// font-free renderer so the figures measure the drawing itself.
#include <benchmark/benchmark.h>

#include <memory>

#include "display/BlockTextRenderer.h"
#include "display/VTracePlotter.h"
#include "log/Log.h"
#include "section/SeismicSection.h"

namespace {

std::unique_ptr<SeismicSection> MakeSurvey(int traces, int samples) {
  auto s = std::make_unique<SeismicSection>();
  for (int n = 0; n < traces; ++n) {
    TraceRecord* t = TraceRecord::Allocate(samples);
    t->DT = 0.001;
    t->TRID = 1;
    t->CHAN = 1 + n % 240;
    float* x = t->Samples();
    // Two dipping events and a little texture, from arithmetic only.
    float e1 = 100.0f + 0.01f * static_cast<float>(n % 5000),
          e2 = 900.0f + 0.3f * static_cast<float>(n % 240);
    for (int i = 0; i < samples; ++i) {
      float a = (static_cast<float>(i) - e1) * 0.1f, b = (static_cast<float>(i) - e2) * 0.05f;
      x[i] = 1.0f / (1.0f + a * a) - 0.7f / (1.0f + b * b) +
             0.01f * static_cast<float>((i * 31 + n * 17) % 13 - 6);
    }
    t->UpdatePeak();
    s->AppendTrace(t, 1, 0);
  }
  s->Scan();
  return s;
}

SeismicSection& Survey(int traces) {
  static std::unique_ptr<SeismicSection> large, small, wiggles;
  std::unique_ptr<SeismicSection>& s = traces == 100000 ? large : traces == 1000 ? small : wiggles;
  if (!s) s = MakeSurvey(traces, 2000);
  return *s;
}

// state.range(0): traces; range(1): display threads; range(2): 1 to fit the
// whole section across the plot; range(3): display mode.
void Redraw(benchmark::State& state) {
  LogSetThreshold(0);
  SeismicSection& s = Survey(static_cast<int>(state.range(0)));
  BlockTextRenderer text;
  VTracePlotter view(1);
  view.SetRenderSettings({2, 5, static_cast<int>(state.range(1))});
  view.Create(1920, 1080, &text);
  view.AttachTraces(s.Traces(), s.Summary());
  view.ApplyLoadPosition();
  DisplayParams& p = view.Params();
  p.m_displayMode = static_cast<int>(state.range(3));
  if (state.range(2)) p.m_pixPerTrace = (view.Geometry().plotWidth - 1.0) / s.Count();
  view.DisplayChanged(1);
  for (auto _ : state) {
    view.Redraw();
    benchmark::DoNotOptimize(view.Store().Pixels()[1000]);
  }
  state.counters["px_per_trace"] = p.m_pixPerTrace;
  state.counters["columns"] = view.Geometry().plotWidth;
  state.counters["rows"] = view.Geometry().plotHeight;
}

}  // namespace

// Density: 100,000 traces at the load position (5 px/trace) and fitted; 1,000 traces.
BENCHMARK(Redraw)
    ->ArgNames({"traces", "threads", "fit", "mode"})
    ->Args({100000, 1, 0, kDisplayColor})
    ->Args({100000, 2, 0, kDisplayColor})
    ->Args({100000, 2, 1, kDisplayColor})
    ->Args({1000, 1, 0, kDisplayColor})
    ->Args({1000, 2, 0, kDisplayColor})
    ->Args({1000, 2, 1, kDisplayColor})
    ->Args({500, 2, 0, kDisplayWiggle})
    ->Args({500, 2, 1, kDisplayWiggle})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

BENCHMARK_MAIN();
