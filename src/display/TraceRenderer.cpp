#include "display/TraceRenderer.h"

#include <algorithm>

#include "display/DensityRenderer.h"
#include "display/TimeAxis.h"
#include "display/WiggleRenderer.h"

int TraceRenderer::DrawTraces(BackingStore& store, const TraceRendererInput& in) {
  const DisplayParams& p = *in.params;
  if (in.count <= 0 || !store.HasRaster()) return 0;
  if (p.m_displayMode == kDisplayWiggle) {
    WiggleRenderer wiggles(store, in);
    bool filled = p.m_fillMode == kFillPositive || p.m_fillMode == kFillNegative;
    if (!filled && p.m_timeLinesWiggle) TimeAxis::DrawTimeLines(store, in);
    int status = wiggles.DrawWiggleSection();
    if (status != 0) return status;
    if (filled && p.m_timeLinesWiggle) TimeAxis::DrawTimeLines(store, in);
    return 0;
  }
  DensityRenderer density(store, in);
  int status = density.DrawDensitySection();
  if (status != 0) return status;
  if (in.highlighted >= 0) WiggleRenderer(store, in).DrawHighlightedTrace();
  if (p.m_timeLinesColor) TimeAxis::DrawTimeLines(store, in);
  return 0;
}

std::vector<int> TraceRenderer::TracesDrawn(BackingStore& store, const TraceRendererInput& in) {
  std::vector<int> traces;
  if (in.count <= 0 || !store.HasRaster()) return traces;
  if (in.params->m_displayMode == kDisplayWiggle) {
    WiggleRenderer(store, in).CollectTraces(&traces);
    return traces;
  }
  DensityRenderer(store, in).CollectTraces(&traces);
  if (in.highlighted >= 0) traces.push_back(std::min(in.highlighted, in.count - 1));
  return traces;
}
