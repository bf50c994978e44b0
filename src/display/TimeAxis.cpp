#include "display/TimeAxis.h"

#include "display/ColorScheme.h"
#include "display/LabelLane.h"
#include "display/RasterPainter.h"
#include "log/Log.h"

namespace {
// A bound on drawn ticks, whatever the graduation says.
constexpr int kMaxTicks = 100000;
constexpr int kUnitLeft = 10;
}  // namespace

double TimeAxis::DisplayFactor(double baseFactor, double sectionStart, double sectionEnd) {
  return (sectionEnd - sectionStart) * baseFactor > 10000.0 ? baseFactor * 0.001 : baseFactor;
}

const char* TimeAxis::UnitName(double displayFactor) {
  if (displayFactor == 1e9) return "ns";
  if (displayFactor == 1e6) return "μs";
  if (displayFactor == 1e3) return "ms";
  return "sec";
}

std::string TimeAxis::UnitLabel(double displayFactor) {
  return StrPrintf("[%s]", UnitName(displayFactor));
}

void TimeAxis::DrawTimeLines(BackingStore& store, const TraceRendererInput& in) {
  const Graduation& g = in.timeGraduation;
  if (!(g.step > 0.0)) return;
  RasterPainter painter(store);
  painter.SetLineIndex(kSchemeTimeLines);
  const DisplayParams& p = *in.params;
  const int bottom = in.plotTop + in.plotHeight;
  for (int i = 0; i < kMaxTicks; ++i) {
    double v = g.firstTick + i * g.step;
    int y = in.plotTop + PixelTrunc((v / in.displayTimeFactor - p.m_startTime) * p.m_pixPerSec + 0.5);
    if (y >= bottom) break;
    painter.Line(in.plotLeft - 1, y, in.plotLeft + in.plotWidth, y);
  }
}

PixelRect TimeAxis::UnitLabelBox(const TraceRendererInput& in, const AxisLayout::Metrics& m,
                                 TextExtent extent) {
  // Where it would sit under a value at the plot top, whatever the start time.
  const int top = in.plotTop - m.textHeight / 2 - 1 + m.textHeight;
  return {kUnitLeft, top, kUnitLeft + extent.width, top + extent.height};
}

void TimeAxis::DrawTimeAxis(BackingStore& store, const TraceRendererInput& in, const AxisLayout::Metrics& m,
                            TextRenderer* text, double visibleSpan, std::vector<PlacedText>* placed) {
  Graduation g = in.timeGraduation;
  if (!(g.step > 0.0)) return;
  const DisplayParams& p = *in.params;
  const double f = in.displayTimeFactor;
  g.ComputeTicks(f * p.m_startTime, f * (p.m_startTime + visibleSpan));
  RasterPainter painter(store);
  painter.SetTextRenderer(text);
  painter.SetLineIndex(kSchemeAxes);
  const PixelRect client{0, 0, in.clientWidth, in.clientHeight};
  const std::string unit = UnitLabel(f);
  PixelRect unitBox = UnitLabelBox(in, m, painter.MeasureText(unit, m.bold));
  if (LabelLane(client).Place(&unitBox)) {
    painter.DrawText(unitBox.left, unitBox.top, unit, m.bold, kSchemeAxes);
    if (placed) placed->push_back({unit, unitBox});
  } else {
    unitBox = PixelRect{};
  }
  LabelLane values(client);
  const int end = in.plotTop + in.plotHeight;
  for (int i = 0; i < kMaxTicks; ++i) {
    double v = g.firstTick + i * g.step;
    int y = in.plotTop + PixelTrunc((v / f - p.m_startTime) * p.m_pixPerSec + 0.5);
    if (y >= end) break;
    std::string label = StrPrintf("%.*lf ", g.decimals, v + 0.0);  // + 0.0: never "-0"
    TextExtent e = painter.MeasureText(label, m.light);
    const int left = in.plotLeft - m.gap - e.width, top = y - e.height / 2 - 1;
    PixelRect box{left, top, left + e.width, top + e.height};
    if (box.Intersect(unitBox).Empty() && values.Place(&box)) {
      painter.DrawText(box.left, box.top, label, m.light, kSchemeAxes);
      if (placed) placed->push_back({std::move(label), box});
    }
    painter.Line(in.plotLeft - m.gap - 1, y, in.plotLeft, y);
  }
}
