#include "display/AxisLayout.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double kMaxScrollRange = 2147483646.0;
constexpr int kMinSectionPixels = 200;

void PlaceTraces(const AxisLayout::Input& in, AxisLayout::Result* out, DisplayParams* p, int* highlighted) {
  double perPage = out->plotWidth / p->m_pixPerTrace + 1e-6;
  out->tracesPerPage = perPage >= 2147483647.0 ? 2147483647 : std::max(static_cast<int>(perPage), 1);
  if (static_cast<int64_t>(p->m_firstTrace) + out->tracesPerPage > in.traceCount)
    p->m_firstTrace = std::max(in.traceCount - out->tracesPerPage, 0);
  if (p->m_firstTrace < 0) p->m_firstTrace = 0;
  int h = *highlighted;
  if (h >= 0 && (h < p->m_firstTrace ||
                 static_cast<int64_t>(h) >= static_cast<int64_t>(p->m_firstTrace) + out->tracesPerPage))
    *highlighted = -1;
}

// Short sections are stretched to 200 pixels; scales whose scroll range would
// not fit a scroll bar fall back to one pixel per sample.
void PlaceTime(const AxisLayout::Input& in, AxisLayout::Result* out, DisplayParams* p) {
  double span = in.sectionEnd - in.sectionStart;
  if (span > 0.0) {
    if (span * p->m_pixPerSec + 1.0 < kMinSectionPixels) p->m_pixPerSec = kMinSectionPixels / span;
    if (AxisLayout::ScrollPixels(span, p->m_pixPerSec) > kMaxScrollRange) {
      p->m_pixPerSec = std::max(in.maxSamples, 1) / span;
      out->timeScaleChanged = true;
    }
  }
  if (!(p->m_pixPerSec > 0.0)) p->m_pixPerSec = 1.0;
  out->verticalScrollRange =
      static_cast<int64_t>(AxisLayout::ScrollPixels(std::max(span, 0.0), p->m_pixPerSec));
  out->visibleSpan = (out->plotHeight - 1) / p->m_pixPerSec;
  if (p->m_startTime + out->visibleSpan > in.sectionEnd) p->m_startTime = in.sectionEnd - out->visibleSpan;
  if (p->m_startTime < in.sectionStart) p->m_startTime = in.sectionStart;
}

}  // namespace

AxisLayout::Metrics AxisLayout::MeasureMetrics(TextRenderer* text, int dpi) {
  Metrics m;
  m.charHeight = static_cast<int>(static_cast<float>(dpi) * 0.07986111f + 0.5f);
  m.light.pixelHeight = m.bold.pixelHeight = m.rotated.pixelHeight = m.charHeight;
  m.light.weight = 300;
  m.bold.weight = m.rotated.weight = 700;
  m.rotated.angle = 90.0;
  TextExtent e{12 * (m.charHeight / 2), m.charHeight};
  if (text != nullptr) e = text->Measure(" 9999999999 ", m.light);
  m.textHeight = std::max(e.height, 1);
  m.gap = m.textHeight / 3;
  m.labelRowHeight = m.textHeight + 2;
  m.charWidth = std::max(e.width / 11, 1);
  m.timeAxisMargin = e.width + m.gap + 4;
  return m;
}

double AxisLayout::ScrollPixels(double span, double pixPerSec) {
  return std::ceil(span * pixPerSec);
}

AxisLayout::Result AxisLayout::Compute(const Input& in, const Metrics& m, DisplayParams* p,
                                       int* highlighted) {
  Result out;
  out.plotLeft = in.baseLeft + (in.timeAxis ? m.timeAxisMargin : 0);
  int top = in.baseTop + (in.headerLabels ? in.labelRows * m.labelRowHeight + 2 * m.gap : m.gap) + 1;
  if (in.headerPlot) top += in.headerPlotHeight + (in.headerLabels && in.labelRows == 1 ? 0 : m.gap);
  out.plotTop = top;
  out.plotWidth = std::max(in.clientWidth - out.plotLeft, 2);
  out.plotHeight = std::max(in.clientHeight - out.plotTop, 2);
  if (!(p->m_pixPerTrace > 0.0)) p->m_pixPerTrace = 1.0;
  PlaceTraces(in, &out, p, highlighted);
  PlaceTime(in, &out, p);
  static const int kVgrad[5] = {2, 4, 8, 16, 32};
  Graduation& g = out.timeGraduation;
  g.flags = 2;
  g.targetCount = 2.0 * out.plotHeight / (kVgrad[std::clamp(in.vgrad, 0, 4)] * m.textHeight);
  g.Compute(in.displayTimeFactor * p->m_startTime,
            in.displayTimeFactor * (p->m_startTime + out.plotHeight / p->m_pixPerSec));
  return out;
}
