#include "display/HeaderPlot.h"

#include <algorithm>
#include <cmath>
#include <new>
#include <string_view>

#include "display/ColorScheme.h"
#include "display/Graduation.h"
#include "display/LabelLane.h"
#include "log/Log.h"
#include "section/HeaderLabelTable.h"
#include "section/TraceFields.h"

namespace {

constexpr std::string_view kPlottable[] = {
    "FLDR", "ESP",   "CHAN",  "CABLE", "NVS",  "NHS",  "OFF",   "CDP",   "CDPT", "ILINE", "XLINE", "RX",
    "RY",   "RZ",    "RDEP",  "RWDEP", "CDPX", "CDPY", "SX",    "SY",    "SZ",   "SDEP",  "SWDEP", "LAGA",
    "LAGB", "SSTAT", "RSTAT", "TSTAT", "SUHT", "RUHT", "SMUTE", "EMUTE", "WVEL", "SWVEL", "IGC",   "IGI"};

const uint8_t kCurveEntry[HeaderPlot::kCurves] = {kSchemeSelection, kSchemeCurve2, kSchemeCurve3};

// A bound on scale ticks, whatever the range.
constexpr int kMaxTicks = 10000;

}  // namespace

bool HeaderPlot::CurveValue(int word, const TraceRecord* trace, double* value) {
  const HeaderLabelRow* row = FindHeaderLabel(word);
  if (row == nullptr || trace == nullptr) return false;
  std::string_view name = row->shortLabel;
  if (std::find(std::begin(kPlottable), std::end(kPlottable), name) == std::end(kPlottable)) return false;
  const TraceField* field = FindTraceField(name);
  if (field == nullptr) return false;
  double v = GetFieldValue(trace, field->type, field->offset);
  if (!std::isfinite(v)) return false;
  *value = name == "OFF" ? std::fabs(v) : v;
  return true;
}

int HeaderPlot::CurveRow(int top, int h, int margin, double min, double max, double value) {
  return top + h - margin - PixelTrunc((h - 2 * margin - 1) / (max - min) * (value - min) + 0.499) - 1;
}

void HeaderPlot::SetSettings(const HeaderPlotSettings& settings, TraceRecord* const* traces, int count) {
  HeaderPlotSettings old = m_settings;
  m_settings = settings;
  for (int c = 0; c < kCurves; ++c) {
    if (settings.m_curveWord[c] != old.m_curveWord[c]) ChooseCurve(c, settings.m_curveWord[c], traces, count);
  }
}

void HeaderPlot::ChooseCurve(int curve, int word, TraceRecord* const* traces, int count) {
  if (curve < 0 || curve >= kCurves) return;
  Curve& c = m_curves[curve];
  c = Curve{};
  m_settings.m_curveWord[curve] = word;
  if (word < 0) return;
  c.word = word;
  c.visible = true;
  ComputeRange(&c, traces, count);
}

void HeaderPlot::ComputeRanges(TraceRecord* const* traces, int count) {
  for (Curve& c : m_curves) {
    if (c.word >= 0) ComputeRange(&c, traces, count);
  }
}

// Over all traces, missing ones ignored; the offset from 0; a constant word
// gets a range of two around its value so its curve sits mid-band.
void HeaderPlot::ComputeRange(Curve* curve, TraceRecord* const* traces, int count) {
  double lo = 0.0, hi = 0.0;
  bool any = false;
  for (int i = 0; i < count; ++i) {
    double v = 0.0;
    if (traces == nullptr || !CurveValue(curve->word, traces[i], &v)) continue;
    lo = any ? std::min(lo, v) : v;
    hi = any ? std::max(hi, v) : v;
    any = true;
  }
  const HeaderLabelRow* row = FindHeaderLabel(curve->word);
  if (row != nullptr && std::string_view(row->shortLabel) == "OFF") {
    hi = std::max(std::fabs(lo), std::fabs(hi));
    lo = 0.0;
  }
  if (lo == hi) {
    lo -= 1.0;
    hi += 1.0;
  }
  curve->min = lo;
  curve->max = hi;
}

void HeaderPlot::SetScaleCurve(int curve) {
  if (curve >= 0 && curve < kCurves) m_scaleCurve = curve;
}

void HeaderPlot::ToggleVisible(int curve) {
  if (curve >= 0 && curve < kCurves && m_curves[curve].word >= 0)
    m_curves[curve].visible = !m_curves[curve].visible;
}

void HeaderPlot::DrawScale(RasterPainter& painter, const TraceRendererInput& in, const AxisLayout::Metrics& m,
                           int top, std::vector<PlacedText>* placed) {
  const Curve& c = m_curves[m_scaleCurve];
  const int h = m_settings.m_windowHeight, margin = m_settings.m_verticalMargin, left = in.plotLeft;
  const bool black = m_settings.m_blackBackground != 0;
  painter.SetLineIndex(kSchemeAxes);
  painter.Line(left - 1, top, left - 1, top + h);
  if (c.word < 0 || c.max == c.min) return;
  Graduation g;
  g.flags = 2;
  g.step = NiceNumber(std::fabs(c.max - c.min) / std::max(m_settings.m_majorTicks, 1));
  g.decimals = StepDecimals(g.step);
  g.ComputeTicks(c.min, c.max);
  if (!(g.step > 0.0)) return;
  // The values at the band's edges slide into it rather than over its border.
  LabelLane values(PixelRect{0, top, in.clientWidth, top + h});
  for (int i = 0; i < kMaxTicks; ++i) {
    double v = g.firstTick - g.step + i * g.step;
    if (v > g.lastTick + g.step * 1.5) break;
    int y = PixelTrunc(top + h - margin - 1 - (v - c.min) * (h - 2 * margin - 1) / (c.max - c.min) + 0.5);
    if (y > top + h) continue;
    if (y < top) break;
    painter.SetLineIndex(kSchemeAxes);
    painter.Line(left - m.gap - 1, y, left - 1, y);
    if (m_settings.m_tickLines && y != top && y != top + h - 1) {
      painter.SetLineIndex(black ? kSchemeAxes : kSchemeLabelBackA);
      painter.Line(left, y, left + in.plotWidth, y);
    }
    std::string label = StrPrintf("%.*f ", g.decimals, v + 0.0);
    TextExtent e = painter.MeasureText(label, m.light);
    PixelRect box{left - m.gap - e.width, y - e.height / 2 - 1, left - m.gap,
                  y - e.height / 2 - 1 + e.height};
    if (!values.Place(&box)) continue;
    painter.DrawText(box.left, box.top, label, m.light, kCurveEntry[m_scaleCurve]);
    if (placed) placed->push_back({std::move(label), box});
  }
}

// Names of the chosen curves down the left margin, evenly spaced, the scale
// curve's framed.
void HeaderPlot::DrawLegend(RasterPainter& painter, const AxisLayout::Metrics& m, int top,
                            std::vector<PlacedText>* placed) {
  int chosen = 0;
  for (const Curve& c : m_curves) chosen += c.word >= 0 ? 1 : 0;
  for (PixelRect& r : m_legend) r = PixelRect{};
  if (chosen == 0) return;
  const int h = m_settings.m_windowHeight, x = 2, width = m.textHeight + 2;
  painter.FillRect(PixelRect{x - 1, top, x + width, top + h}, kSchemeLabelBackB);
  int slot = 0;
  for (int i = 0; i < kCurves; ++i) {
    const Curve& c = m_curves[i];
    if (c.word < 0) continue;
    const char* name = FindHeaderLabel(c.word)->shortLabel;
    int length = painter.MeasureText(name, m.rotated).width;
    int centre = top + h * (2 * slot + 1) / (2 * chosen);
    ++slot;
    PixelRect r{x - 1, centre - length / 2 - 2, x + width, centre + length / 2 + 2};
    if (LabelLane(PixelRect{x - 1, top, x + width, top + h}).Place(&r)) centre = (r.top + r.bottom) / 2;
    m_legend[i] = r;
    painter.DrawText(x + 1, centre + length / 2, name, m.rotated,
                     c.visible ? kCurveEntry[i] : static_cast<uint8_t>(kSchemeLabelBackA));
    if (placed)
      placed->push_back(
          {name, PixelRect{x + 1, centre - length / 2, x + 1 + m.textHeight, centre + length / 2}});
    if (i == m_scaleCurve) {
      painter.SetLineColor(0x000000);
      painter.FrameRect(m_legend[i]);
    }
  }
}

void HeaderPlot::DrawCurves(RasterPainter& painter, const TraceRendererInput& in, int top) {
  const int h = m_settings.m_windowHeight, margin = m_settings.m_verticalMargin;
  const int first = in.params->m_firstTrace;
  const int start = std::max(first - 1, 0);
  const int end =
      static_cast<int>(std::min<int64_t>(static_cast<int64_t>(start) + in.tracesPerPage + 2, in.count - 1));
  try {
    m_points.resize(static_cast<std::size_t>(std::max(end - start + 1, 0)));
  } catch (const std::bad_alloc&) {
    return;  // no curves this time; the rest of the view is drawn
  }
  painter.SetClip(PixelRect{in.plotLeft, top, in.plotLeft + in.plotWidth, top + h + 1});
  painter.SetPenWidth(m_settings.m_penThickness);
  for (int ci = 0; ci < kCurves; ++ci) {
    const Curve& c = m_curves[ci];
    if (c.word < 0 || !c.visible) continue;
    int n = 0, lastX = INT32_MIN;
    for (int i = start; i <= end; ++i) {
      double v = 0.0;
      int x = in.TraceCentre(i);
      if (x == lastX || !CurveValue(c.word, in.traces[i], &v)) continue;
      lastX = x;
      m_points[static_cast<std::size_t>(n++)] = PixelPoint{x, CurveRow(top, h, margin, c.min, c.max, v)};
    }
    painter.SetLineIndex(kCurveEntry[ci]);
    painter.Polyline(m_points.data(), n);
  }
  painter.SetPenWidth(1);
  painter.RemoveClip();
}

void HeaderPlot::Draw(BackingStore& store, const TraceRendererInput& in, const AxisLayout::Metrics& m,
                      TextRenderer* text, int bandTop, std::vector<PlacedText>* placed) {
  for (PixelRect& r : m_legend) r = PixelRect{};
  RasterPainter painter(store);
  painter.SetTextRenderer(text);
  const int h = m_settings.m_windowHeight;
  uint8_t back = m_settings.m_blackBackground
                     ? static_cast<uint8_t>(store.GetPalette().NearestIndex(0x000000))
                     : static_cast<uint8_t>(kSchemeLabelBackB);
  painter.FillRect(PixelRect{in.plotLeft, bandTop, in.plotLeft + in.plotWidth, bandTop + h}, back);
  if (in.count <= 0) return;
  bool chosen = false;
  for (const Curve& c : m_curves) chosen = chosen || c.word >= 0;
  if (!chosen) return;
  if (m_settings.m_majorTicks > 0) DrawScale(painter, in, m, bandTop, placed);
  DrawLegend(painter, m, bandTop, placed);
  DrawCurves(painter, in, bandTop);
}
