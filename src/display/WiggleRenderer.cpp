#include "display/WiggleRenderer.h"

#include <algorithm>
#include <cmath>
#include <new>

#include "display/Agc.h"
#include "display/ColorScheme.h"
#include "log/Log.h"
#include "log/Status.h"

namespace {

// Offset of one wiggle point from its zero line, rounded half away from zero
// and held within ±limit. Non-numbers lie on the zero line.
int WiggleOffset(float d, bool nonNegative, int limit) {
  if (d != d) return 0;
  if (nonNegative) return d + 0.5f >= static_cast<float>(limit) ? limit : static_cast<int>(d + 0.5f);
  return d - 0.5f <= -static_cast<float>(limit) ? -limit : static_cast<int>(d - 0.5f);
}

}  // namespace

WiggleRenderer::WiggleRenderer(BackingStore& store, const TraceRendererInput& in)
    : m_in(in), m_params(*in.params), m_painter(store) {}

int WiggleRenderer::ExcursionLimit(float wiggleClip, double pixPerTrace) {
  double b = static_cast<double>(wiggleClip) * 0.005 * pixPerTrace;
  if (!(b >= 1.0)) return 1;
  return b >= 1000.0 ? 1000 : static_cast<int>(b);
}

int WiggleRenderer::WiggleSpacing(double pixPerTrace, int minSpacing) {
  return std::max(PixelTrunc(pixPerTrace + 0.5), minSpacing);
}

int WiggleRenderer::AllocatePoints() {
  std::size_t n = static_cast<std::size_t>(std::max(m_in.maxSamples, 0)) + 5;
  try {
    if (m_points.size() < n) m_points.resize(n);
  } catch (const std::bad_alloc&) {
    LogPrint(LogError, "\nERROR: malloc failure for %.0lf-KiB POINT[%u]\n", n * 8.0 / 1024.0,
             static_cast<unsigned>(n));
    ConsoleRaise();
    return kStatusNoMemory;
  }
  return 0;
}

int WiggleRenderer::DrawWiggleSection() {
  if (AllocatePoints() != 0) return kStatusNoMemory;
  if (m_params.m_pixPerTrace >= m_in.evenSpacingBelow) {
    const float a = static_cast<float>(m_params.m_pixPerTrace * m_params.m_wiggleGain);
    VisitNormalSpacing([&](int n, int x) { DrawTraceWithColors(n, x, a); });
  } else {
    const int d = WiggleSpacing(m_params.m_pixPerTrace, m_in.wiggleMinIntertrace);
    const float a = static_cast<float>(d * m_params.m_wiggleGain);
    VisitEvenSpacing([&](int n, int x) { DrawTraceWithColors(n, x, a); });
  }
  DrawHighlightedTrace();
  return 0;
}

// Colours by the trace's exclusion, samples by the display filter.
void WiggleRenderer::DrawTraceWithColors(int n, int x, float amplitude) {
  TraceRecord* trace = m_in.traces[n];
  if (trace == nullptr) return;
  TraceStyle style;
  style.amplitude = amplitude;
  bool muted = m_in.viewRole == 2 && trace->TSKIP != 0;
  style.line = muted ? kSchemeTimeLines : kSchemeWiggle;
  style.fill = muted ? kSchemeTimeLines : kSchemeFill;
  style.fillMode = m_params.m_fillMode;
  style.zeroLine = m_params.m_zeroLines != 0;
  style.clip = m_params.m_wiggleClip;
  const float* samples = m_in.PrepareSamples(trace, &m_filterBuffer);
  if (samples != nullptr) DrawWiggleTrace(n, x, style, samples);
}

// Right to left for "Area +" so each fill lies over its right neighbour; left
// to right for "Area -".
void WiggleRenderer::VisitNormalSpacing(const std::function<void(int, int)>& visit) {
  int first = m_params.m_firstTrace;
  auto drawable = [&](int n) {
    const TraceRecord* t = m_in.traces[n];
    return t != nullptr && t->NS >= 2 && n != m_in.highlighted;
  };
  if (m_params.m_fillMode != kFillNegative) {
    int64_t last = std::min<int64_t>(static_cast<int64_t>(first) + m_in.tracesPerPage + 1, m_in.count - 1);
    for (int64_t n = last; n >= first && n >= 0; --n) {
      if (drawable(static_cast<int>(n))) visit(static_cast<int>(n), m_in.TraceCentre(n));
    }
    return;
  }
  for (int n = std::max(first, 0); n < m_in.count; ++n) {
    int x = m_in.TraceCentre(n);
    if (drawable(n)) visit(n, x);
    if (x >= m_in.plotLeft + m_in.plotWidth) break;
  }
}

// Wiggles on a grid of the integer spacing; each grid column shows the trace
// under it, so closely packed sections are decimated.
void WiggleRenderer::VisitEvenSpacing(const std::function<void(int, int)>& visit) {
  const double ppt = m_params.m_pixPerTrace;
  const int d = WiggleSpacing(ppt, m_in.wiggleMinIntertrace);
  const int x0 = m_in.plotLeft + PixelTrunc(ppt * 0.5 + 0.0001);
  const int64_t first = m_params.m_firstTrace;
  if (m_params.m_fillMode != kFillNegative) {
    int64_t h = d + m_in.plotWidth - (m_in.plotWidth % d);
    for (int64_t x = x0 + h; x >= x0; h -= d, x -= d) {
      int64_t n = static_cast<int64_t>(h / ppt) + first;
      if (n < 0) break;
      if (n < m_in.count) visit(static_cast<int>(n), static_cast<int>(x));
    }
    return;
  }
  for (int64_t x = x0; x <= static_cast<int64_t>(m_in.plotWidth) + d + m_in.plotLeft; x += d) {
    int64_t n = x == x0 ? first : static_cast<int64_t>((x - m_in.plotLeft) / ppt) + first;
    if (n >= 0 && n < m_in.count) visit(static_cast<int>(n), static_cast<int>(x));
  }
}

void WiggleRenderer::CollectTraces(std::vector<int>* traces) {
  auto add = [traces](int n, int) { traces->push_back(n); };
  if (m_params.m_pixPerTrace >= m_in.evenSpacingBelow)
    VisitNormalSpacing(add);
  else
    VisitEvenSpacing(add);
  if (m_in.highlighted >= 0 && m_in.count > 0) traces->push_back(std::min(m_in.highlighted, m_in.count - 1));
}

// The normaliser of the gain mode; with AGC *samples moves to the gained copy.
float WiggleRenderer::Normaliser(const TraceRecord* trace, const float** samples) {
  switch (m_params.m_gainControl) {
    case kGainNone:
      return m_params.m_ensembleView ? trace->EAMAX : static_cast<float>(m_in.normaliser);
    case kGainAgc: {
      int l = AgcHalfWindow(m_params.m_agcWindow, trace->DT);
      if (!AgcApplies(l, trace->NS)) return trace->AMAX;
      try {
        m_agcBuffer.resize(static_cast<std::size_t>(trace->NS));
      } catch (const std::bad_alloc&) {
        LogPrint(LogError, "\nERROR: malloc failure for float[%d]\n", trace->NS);
        *samples = nullptr;
        return 0.0f;
      }
      float peak = m_params.m_agcType == kAgcMean ? AgcMean(*samples, m_agcBuffer.data(), trace->NS, l)
                                                  : AgcRms(*samples, m_agcBuffer.data(), trace->NS, l);
      *samples = m_agcBuffer.data();
      const_cast<TraceRecord*>(trace)->DNORM = peak;
      return peak;
    }
    default:
      return trace->AMAX;
  }
}

// Points of the wiggle from sample `first` into m_points[1..]; returns how
// many. Stops once a second sample lies below the plot.
int WiggleRenderer::CollectPoints(const TraceRecord* trace, int first, int x, float k, int limit,
                                  const float* samples) {
  const bool inverse = m_params.m_inversePolarity != 0;
  const int bottom = m_in.plotTop + m_in.plotHeight;
  double t = first * trace->DT + trace->DELAY;
  int kept = 0, below = 0;
  for (int i = first; i < trace->NS; ++i, t += trace->DT) {
    int row = m_in.TimeToRow(t);
    if (row > bottom && ++below > 1) break;
    float u = inverse ? -samples[i] : samples[i];
    m_points[1 + kept] = PixelPoint{x + WiggleOffset(u * k, u >= 0.0f, limit), row};
    ++kept;
  }
  return kept;
}

void WiggleRenderer::DrawWiggleTrace(int n, int x, const TraceStyle& style, const float* samples) {
  const TraceRecord* trace = m_in.traces[n];
  if (trace == nullptr || !(trace->DT > 0.0) || samples == nullptr) return;
  // Clipped to the plot: at high gain the first traces would swing over the time axis labels.
  const int left = m_in.plotLeft, right = left + m_in.plotWidth, top = m_in.plotTop,
            bottom = top + m_in.plotHeight;
  m_painter.SetClip(PixelRect{left, top, right, bottom});
  int first = std::max(0, PixelTrunc((m_params.m_startTime - trace->DELAY) / trace->DT));
  if (first >= trace->NS) return m_painter.RemoveClip();
  if (style.zeroLine) {
    int end = std::min(m_in.plotHeight,
                       PixelTrunc((m_in.sectionEnd - m_params.m_startTime) * m_params.m_pixPerSec + 1.5));
    m_painter.SetLineIndex(kSchemeTimeLines);
    m_painter.Line(x, top, x, top + end);
  }
  float v = Normaliser(trace, &samples);
  if (samples == nullptr) return m_painter.RemoveClip();
  float k = v > 0.0f ? style.amplitude / v : 0.0f;
  int limit = ExcursionLimit(style.clip, m_params.m_pixPerTrace);
  int edge = style.fillMode == kFillPositive ? x - 1 : (style.fillMode == kFillNegative ? x + 1 : x);
  m_points[0] = PixelPoint{edge, m_in.TimeToRow(first * trace->DT + trace->DELAY)};
  int kept = CollectPoints(trace, first, x, k, limit, samples);
  m_painter.SetLineIndex(style.line);
  const bool filled = style.fillMode == kFillPositive || style.fillMode == kFillNegative;
  const PixelRect lobes = style.fillMode == kFillPositive ? PixelRect{x, top, right, bottom}
                                                          : PixelRect{left, top, x + 1, bottom};
  m_points[kept + 1] = PixelPoint{edge, m_points[kept].y};
  if (filled && lobes.left >= left && lobes.right <= right) {
    // The same pixels as the wiggle, then the lobes with their outline, in
    // one pass over the wiggle: lines never change pixels under a smaller
    // clip, so the outline's wiggle part inside the lobes' side is the wiggle
    // itself and only the closing sides remain to draw after the fill.
    m_painter.SetClip(lobes);
    m_painter.SetFillIndex(style.fill);
    m_painter.Polygon(m_points.data(), kept + 2, false);
    m_painter.SetClip(PixelRect{left, top, right, bottom});
    m_painter.Polyline(m_points.data() + 1, kept);
    m_painter.SetClip(lobes);
    m_painter.Polyline(m_points.data(), 2);
    m_painter.Polyline(m_points.data() + kept, 2);
    m_painter.Line(m_points[kept + 1].x, m_points[kept + 1].y, m_points[0].x, m_points[0].y);
    return m_painter.RemoveClip();
  }
  m_painter.Polyline(m_points.data() + 1, kept);
  if (filled) {
    m_painter.SetClip(lobes);
    m_painter.SetFillIndex(style.fill);
    m_painter.Polygon(m_points.data(), kept + 2);
  }
  m_painter.RemoveClip();
}

void WiggleRenderer::DrawHighlightedTrace() {
  int h = m_in.highlighted;
  if (h < 0 || m_in.count <= 0) return;
  h = std::min(h, m_in.count - 1);
  TraceRecord* trace = m_in.traces[h];
  int x = m_in.TraceCentre(h);
  if (trace == nullptr || trace->NS < 2 || x < m_in.plotLeft || x > m_in.plotLeft + m_in.plotWidth - 1)
    return;
  if (m_points.empty() && AllocatePoints() != 0) return;
  const float* samples = m_in.PrepareSamples(trace, &m_filterBuffer);
  if (samples == nullptr) {
    samples = trace->Samples();
    trace->DNORM = trace->AMAX;
  }
  TraceStyle style;
  style.line = kSchemeHighlightLine;
  if (m_params.m_displayMode == kDisplayWiggle) {
    style.amplitude = static_cast<float>(m_params.m_wiggleGain * m_params.m_pixPerTrace);
    style.fill = kSchemeHighlightFill;
    style.fillMode = m_params.m_fillMode;
    style.zeroLine = m_params.m_zeroLines != 0;
    style.clip = m_params.m_wiggleClip;
  } else {
    style.amplitude = static_cast<float>(m_params.m_overlayGain * 9.0);
    style.clip = m_params.m_overlayClip;
  }
  DrawWiggleTrace(h, x, style, samples);
}
