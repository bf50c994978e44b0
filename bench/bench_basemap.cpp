// Full redraws of the basemap at 1280 x 800: 100,000 midpoints (CDP circles)
// plus 2,000 sources and receivers and a profile, as the window redraws after
// a zoom, a pan or a symbol size change. Text uses the font-free renderer so
// the figures measure the drawing itself.
#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

#include "display/BasemapGraphs.h"
#include "display/BlockTextRenderer.h"
#include "display/DisplayParams.h"
#include "log/Log.h"

namespace {

// Midpoints scattered around a bent line, from arithmetic only.
BasemapGraphs MakeGraphs(int midpoints, int symbolSize) {
  BasemapGraphs g = MakeBasemapGraphs(symbolSize);
  auto& cdps = g[kMapCdps].points;
  cdps.reserve(static_cast<std::size_t>(midpoints));
  for (int i = 0; i < midpoints; ++i) {
    const double a = i * 0.05;
    const double bend = a < 2500.0 ? 0.0 : (a - 2500.0) * 0.6;
    cdps.push_back({512000.0 + a, 6715000.0 + bend + 40.0 * std::sin(i * 0.37), i});
  }
  for (int i = 0; i < 2000; ++i) {
    const double a = i * 2.5;
    const double bend = a < 2500.0 ? 0.0 : (a - 2500.0) * 0.6;
    g[kMapSources].points.push_back({512000.0 + a, 6715000.0 + bend + 60.0, i});
    g[kMapReceivers].points.push_back({512000.0 + a + 1.0, 6715000.0 + bend - 60.0, i});
  }
  g[kMapProfileGraph].points = {
      {512000.0, 6715000.0, -1}, {514500.0, 6715000.0, -1}, {517000.0, 6716500.0, -1}};
  return g;
}

void BM_BasemapRedraw(benchmark::State& state) {
  LogSetThreshold(0);
  const int midpoints = static_cast<int>(state.range(0));
  BasemapGraphs graphs = MakeGraphs(midpoints, static_cast<int>(state.range(1)));
  const std::vector<const XYGraph*> all{&graphs[0], &graphs[1], &graphs[2], &graphs[3]};
  BackingStore store;
  store.CreateBackingStore(96, DisplayParams{});
  store.ResizeBackingStore(1280, 800);
  BuildMapPalette(store.GetPalette());
  XYMapper mapper;
  mapper.SetClientSize(1280, 800);
  MapRange extent;
  GraphsExtent(all, &extent);
  mapper.FitMap(extent);
  BlockTextRenderer text;
  for (auto _ : state) {
    mapper.Draw(store, {all, "x: 512000.00   y: 6715000.00", &text});
    benchmark::DoNotOptimize(store.Pixels());
  }
  state.SetItemsProcessed(state.iterations() * midpoints);
}
BENCHMARK(BM_BasemapRedraw)->Args({100000, 5})->Args({100000, 13})->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
