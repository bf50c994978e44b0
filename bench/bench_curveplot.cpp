// Drawing the spectrum window's plot: five curves of 1024 points (a band and
// four spectra) with axes, labels and grid into the plotter's raster, at the
// window's first size and at a large one. Text through the block renderer.
#include <benchmark/benchmark.h>

#include <cmath>
#include <random>
#include <vector>

#include "display/BlockTextRenderer.h"
#include "display/XGrapher.h"

namespace {

void BM_SpectrumPlotRedraw(benchmark::State& state) {
  BlockTextRenderer text;
  XGrapher g;
  g.SetMargins(32, 30, 45, 35);
  g.SetXAxis(kAxisBottom | kAxisLabels | kAxisGrid, 0, 10, 1.0, "Hz");
  g.SetYAxis(0, kAxisBottom | kAxisLabels | kAxisGrid, kGraduationOutward, 5, 1.0, "");
  g.Create(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)), &text);
  std::mt19937 rng(7);
  std::uniform_real_distribution<float> u(0.0f, 1.0f);
  const CurvePoint band[2] = {{50.0f, 1.0f}, {200.0f, 1.0f}};
  g.PushCurve(0, 0, band)->style = kCurveFillBand;
  for (int slot = 1; slot <= 4; ++slot) {
    std::vector<CurvePoint> pts(1024);
    for (int i = 0; i < 1024; ++i) pts[i] = {i * 500.0f / 1024.0f, u(rng) * std::exp(-i / 300.0f)};
    g.PushCurve(0, slot, pts)->lineColor = static_cast<uint8_t>(7 + slot);
  }
  g.SetXRange(0.0, 500.0);
  g.SetYRange(0, 0.0, 1.0);
  for (auto _ : state) {
    g.Redraw();
    benchmark::DoNotOptimize(g.Store().Pixels());
  }
}
BENCHMARK(BM_SpectrumPlotRedraw)->Args({550, 300})->Args({1600, 1000})->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
