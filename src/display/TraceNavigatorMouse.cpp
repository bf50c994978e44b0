// Mouse input of TraceNavigator: clicks, the three drags (hand scroll, zoom
// rectangle, selection rectangle) and the cursor report.
#include <algorithm>
#include <cmath>
#include <utility>

#include "display/TraceNavigator.h"

namespace {

// Corners of a rectangle as drawn: both corner pixels inside.
PixelRect Covering(const PixelRect& corners) {
  return {corners.left, corners.top, corners.right + 1, corners.bottom + 1};
}

}  // namespace

PixelRect TraceNavigator::DragRectangle() const {
  if (m_dragMode == kDragNone) return PixelRect{};
  return {std::min(m_dragX0, m_dragX), std::min(m_dragY0, m_dragY), std::max(m_dragX0, m_dragX),
          std::max(m_dragY0, m_dragY)};
}

VTracePlotter::Selection TraceNavigator::OwnerSelection() const {
  VTracePlotter::Selection s = m_plotter.GetSelection();
  s.firstTrace = AbsoluteTrace(s.firstTrace);
  s.lastTrace = AbsoluteTrace(s.lastTrace);
  return s;
}

void TraceNavigator::StartDrag(DragMode mode, int x, int y) {
  m_dragMode = mode;
  m_dragX0 = m_dragX = m_prevX = x;
  m_dragY0 = m_dragY = m_prevY = y;
  m_dragFirstTrace = m_plotter.Params().m_firstTrace;
  m_dragStartTime = m_plotter.Params().m_startTime;
}

uint32_t TraceNavigator::DropSelection() {
  if (!m_plotter.GetSelection().valid) return kChangeNone;
  m_plotter.SetSelection(VTracePlotter::Selection{});
  m_plotter.Redraw();
  return kChangeRedrawn;
}

// A click left of half the plot's left edge, in the header plot band, is
// meant for the legend; *handled tells whether it was.
uint32_t TraceNavigator::LegendClick(int x, int y, KeyModifiers mods, bool* handled) {
  *handled = false;
  HeaderPlot& plot = m_plotter.GetHeaderPlot();
  if (!plot.Shown()) return kChangeNone;
  const int top = m_plotter.BaseTop();
  if (y < top || y >= top + plot.Settings().m_windowHeight || x >= m_plotter.Geometry().plotLeft / 2)
    return kChangeNone;
  *handled = true;
  for (int c = 0; c < HeaderPlot::kCurves; ++c) {
    if (!plot.LegendRect(c).Contains(x, y)) continue;
    if (mods.shift) {
      plot.ToggleVisible(c);
    } else {
      plot.SetScaleCurve(c);
    }
    m_plotter.Redraw();
    return kChangeRedrawn;
  }
  return kChangeNone;
}

uint32_t TraceNavigator::LeftButtonDown(int x, int y, KeyModifiers mods) {
  const int count = m_plotter.TraceCount();
  if (count <= 0) return kChangeNone;
  bool handled = false;
  uint32_t flags = LegendClick(x, y, mods, &handled);
  if (handled) return flags;
  const DisplayParams& p = m_plotter.Params();
  int clicked = std::max(TraceUnder(x), std::min(p.m_firstTrace, count - 1));
  const bool role2 = m_plotter.ViewRole() == 2;
  if (mods.shift) {
    if (role2) {
      m_toggleTarget = AbsoluteTrace(clicked);
      return kRequestToggleTrace;
    }
    if (clicked == m_plotter.Highlighted()) return kChangeNone;
    m_plotter.SetHighlighted(clicked);
    m_plotter.Redraw();
    return kChangeRedrawn | kChangeHighlight;
  }
  if (mods.ctrl) {
    if (!role2) return kChangeNone;
    m_toggleTarget = AbsoluteTrace(clicked);
    return kRequestToggleGroup;
  }
  switch (p.m_zoomTool) {
    case kZoomRectangle:
      StartDrag(kDragZoom, x, y);
      return kChangeDragMode;
    case kZoomSelect:
      StartDrag(kDragSelect, x, y);
      return kChangeDragMode | DropSelection();
    default:
      StartDrag(kDragHand, x, y);
      return kChangeDragMode;
  }
}

uint32_t TraceNavigator::RightButtonDown(KeyModifiers mods) {
  if (m_plotter.TraceCount() <= 0 || !mods.shift || m_plotter.Highlighted() < 0) return kChangeNone;
  m_plotter.SetHighlighted(-1);
  m_plotter.Redraw();
  return kChangeRedrawn | kChangeHighlight;
}

bool TraceNavigator::RightButtonOffersPopup() const {
  return m_plotter.TraceCount() > 0 && m_plotter.ViewRole() == 2 &&
         m_plotter.Params().m_zoomTool == kZoomNone;
}

uint32_t TraceNavigator::SaveStacksChosen() const {
  return m_plotter.ViewRole() == 2 ? kRequestSaveStacks : kChangeNone;
}

uint32_t TraceNavigator::RightButtonDrag(int x, int y, KeyModifiers mods) {
  if (m_plotter.TraceCount() <= 0 || m_plotter.ViewRole() == 2 || m_dragMode != kDragNone ||
      m_plotter.Params().m_zoomTool != kZoomNone)
    return kChangeNone;
  if (!mods.ctrl) {
    StartDrag(kDragZoom, x, y);
    return kChangeDragMode;
  }
  StartDrag(kDragSelect, x, y);
  return kChangeDragMode | DropSelection();
}

// The image follows the mouse. Vertical moves count from the start time's
// pixel row so that slow drags do not drift; horizontal moves wait until
// they amount to half a trace.
uint32_t TraceNavigator::HandScroll(int x, int y) {
  DisplayParams& p = P();
  const Snapshot before = Take();
  const double s = m_plotter.SectionStart();
  if (y != m_prevY) {
    double row = std::floor((p.m_startTime - s) * p.m_pixPerSec + 0.499);
    double t = s + (row + m_prevY - y) / p.m_pixPerSec;
    p.m_startTime = std::clamp(t, s, LastStartTime());
    m_prevY = y;
  }
  const double traces = std::round((m_prevX - x) / p.m_pixPerTrace);
  if (traces != 0.0) {
    double first = std::clamp(p.m_firstTrace + traces, 0.0, static_cast<double>(LastFirstTrace()));
    p.m_firstTrace = static_cast<int32_t>(first);
    m_prevX = x;
  }
  return Same(before) ? kChangeNone : Finish(before);
}

uint32_t TraceNavigator::MouseMove(int x, int y) {
  switch (m_dragMode) {
    case kDragHand:
      return HandScroll(x, y);
    case kDragZoom:
      m_dragX = x;
      m_dragY = y;
      return kChangeDragMode;
    case kDragSelect:
      m_dragX = x;
      m_dragY = y;
      m_plotter.SetRubberBand(Covering(DragRectangle()));
      m_plotter.Redraw();
      return kChangeRedrawn;
    default:
      return kChangeNone;
  }
}

uint32_t TraceNavigator::ButtonUp(int x, int y) {
  const DragMode mode = m_dragMode;
  if (mode == kDragNone) return kChangeNone;
  m_dragX = x;
  m_dragY = y;
  const PixelRect r = DragRectangle();
  m_dragMode = kDragNone;
  if (mode == kDragZoom) return kChangeDragMode | ZoomToRectangle(r);
  if (mode == kDragSelect) {
    m_plotter.SetRubberBand(PixelRect{});
    return kChangeDragMode | Select(r);
  }
  return kChangeDragMode;
}

uint32_t TraceNavigator::Select(const PixelRect& r) {
  VTracePlotter::Selection s;
  if (r.right - r.left >= 3 && r.bottom - r.top >= 3 && m_plotter.TraceCount() > 0) {
    s.firstTrace = TraceUnder(r.left);
    s.lastTrace = TraceUnder(r.right);
    s.firstTime = TimeUnder(r.top);
    s.lastTime = TimeUnder(r.bottom);
    // One unit of the section's time unit at least.
    s.valid = s.lastTime - s.firstTime >= 1.0 / m_plotter.BaseTimeFactor();
  }
  m_plotter.SetSelection(s.valid ? s : VTracePlotter::Selection{});
  m_plotter.Redraw();
  return kChangeRedrawn | (s.valid ? kChangeSelection : kChangeNone);
}

CursorReport TraceNavigator::CursorAt(int x, int y) {
  CursorReport report;
  m_cursorTrace = -1;
  if (m_plotter.TraceCount() <= 0) return report;
  m_cursorTrace = m_plotter.TraceAtColumn(x);
  if (y >= m_plotter.Geometry().plotTop) report.time = TimeUnder(y);
  const int shown = m_cursorTrace >= 0 ? m_cursorTrace : m_plotter.Highlighted();
  if (shown >= 0) report.trace = AbsoluteTrace(shown);
  return report;
}

bool TraceNavigator::HeaderPopup(HeaderWordPopup* popup) const {
  const DisplayParams& p = m_plotter.Params();
  const int shown = m_cursorTrace >= 0 ? m_cursorTrace : m_plotter.Highlighted();
  const TraceRecord* trace = m_plotter.ShownTrace(shown);
  if (p.m_headerWordLabels == 0 || !m_plotter.HeaderLabelsShown() || trace == nullptr) return false;
  const HeaderLabels& labels = std::as_const(m_plotter).Labels();
  const AxisLayout::Metrics& m = m_plotter.Metrics();
  const AxisLayout::Result& g = m_plotter.Geometry();
  const int rows = static_cast<int>(labels.Words().size());
  if (rows == 0) return false;
  popup->rowHeight = m.labelRowHeight;
  popup->lines.clear();
  for (int word : labels.Words())
    popup->lines.push_back(HeaderLabels::LabelText(word, shown, trace, m_plotter.BaseTimeFactor()));
  // Centred on the trace's column, kept inside the client area.
  const int width = labels.LabelWidth() + 20;
  const int centre = g.plotLeft + PixelTrunc((shown - p.m_firstTrace + 0.5) * p.m_pixPerTrace + 0.0001);
  const int left = std::max(std::min(centre - width / 2, m_plotter.ClientWidth() - width), 0);
  const int top = g.plotTop - 2 * m.gap - rows * m.labelRowHeight - 1;
  popup->box = PixelRect{left, top, left + width, top + rows * m.labelRowHeight};
  return true;
}
