#include "display/TraceNavigator.h"

#include <algorithm>
#include <cmath>

#include "display/DisplayRules.h"
#include "display/VTracePlotter.h"

namespace {

constexpr double kTraceZoomStep = 1.1;
constexpr double kTimeZoomStep = 1.05;
constexpr double kGainStep = 1.1;
constexpr float kClipStep = 10.0f;
constexpr float kMinClip = 5.0f;
constexpr float kMaxClip = 1000.0f;

int ClampToInt(int64_t v) {
  return static_cast<int>(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX));
}

}  // namespace

DisplayParams& TraceNavigator::P() {
  return m_plotter.Params();
}

TraceNavigator::Snapshot TraceNavigator::Take() const {
  const DisplayParams& p = m_plotter.Params();
  return {p.m_firstTrace, m_plotter.Highlighted(), p.m_startTime, p.m_pixPerTrace, p.m_pixPerSec};
}

bool TraceNavigator::Same(const Snapshot& s) const {
  const DisplayParams& p = m_plotter.Params();
  return s.firstTrace == p.m_firstTrace && s.highlighted == m_plotter.Highlighted() &&
         s.startTime == p.m_startTime && s.pixPerTrace == p.m_pixPerTrace && s.pixPerSec == p.m_pixPerSec;
}

uint32_t TraceNavigator::Finish(const Snapshot& before) {
  m_plotter.Layout(true);
  const DisplayParams& p = m_plotter.Params();
  uint32_t flags = kChangeRedrawn;
  if (before.firstTrace != p.m_firstTrace) flags |= kChangeFirstTrace;
  if (before.highlighted != m_plotter.Highlighted()) flags |= kChangeHighlight;
  if (before.startTime != p.m_startTime) flags |= kChangeStartTime;
  if (before.pixPerTrace != p.m_pixPerTrace || before.pixPerSec != p.m_pixPerSec) flags |= kChangeScales;
  return flags;
}

void TraceNavigator::Reset() {
  for (ZoomHistory& h : m_history) h.Clear();
  m_ensembles.clear();
  m_currentEnsemble = -1;
  m_dragMode = kDragNone;
  m_toggleTarget = -1;
  m_cursorTrace = -1;
  m_plotter.SetRubberBand(PixelRect{});
}

// ---- keys -----------------------------------------------------------------

uint32_t TraceNavigator::Key(ViewKey key, KeyModifiers mods) {
  const bool ensembleView = m_plotter.Params().m_ensembleView != 0;
  switch (key) {
    case ViewKey::kLeft:
    case ViewKey::kRight: {
      const bool right = key == ViewKey::kRight;
      if (mods.ctrl) return ZoomTraces(right ? kTraceZoomStep : 1.0 / kTraceZoomStep);
      const int n = TraceStep(mods.shift);
      return ScrollTraces(right ? n : -n);
    }
    case ViewKey::kUp:
    case ViewKey::kDown: {
      const bool down = key == ViewKey::kDown;
      if (mods.ctrl) return ZoomTime(down ? kTimeZoomStep : 1.0 / kTimeZoomStep);
      const int n = TimeStep(mods.shift);
      return ScrollTime(down ? n : -n);
    }
    case ViewKey::kPageUp:
    case ViewKey::kPageDown: {
      const int dir = key == ViewKey::kPageDown ? 1 : -1;
      if (mods.ctrl) return ScrollTimeSpan(dir);
      if (ensembleView) return EnsembleStep(dir > 0 ? 1 : 2, 0.0);
      return ScrollTracePage(dir);
    }
    case ViewKey::kHome:
    case ViewKey::kEnd: {
      const bool end = key == ViewKey::kEnd;
      if (mods.ctrl) return ScrollTimeEnd(end);
      if (ensembleView) return GoToEnsemble(end ? static_cast<int>(m_ensembles.size()) - 1 : 0);
      return ScrollTraceEnd(end);
    }
    case ViewKey::kEscape:
      return UndoZoom();
    case ViewKey::kF5:
      return kRequestSnapshot;
    case ViewKey::kF9:
      return kRequestParameters;
  }
  return kChangeNone;
}

uint32_t TraceNavigator::Character(char32_t ch) {
  DisplayParams& p = P();
  const bool color = p.m_displayMode != kDisplayWiggle;
  double& gain = color ? p.m_colorGain : p.m_wiggleGain;
  uint32_t flags = kChangeRedrawn | kChangeGains;
  switch (ch) {
    case U'*':
      gain *= kGainStep;
      break;
    case U'/':
      gain *= 1.0 / kGainStep;
      break;
    case U'=':
      gain = 1.0;
      break;
    case U'+':
    case U'-':
      if (color) {
        p.m_overlayGain *= ch == U'+' ? kGainStep : 1.0 / kGainStep;
      } else {
        p.m_wiggleClip =
            std::clamp(p.m_wiggleClip + (ch == U'+' ? kClipStep : -kClipStep), kMinClip, kMaxClip);
      }
      break;
    case U'%':
      (color ? p.m_overlayClip : p.m_wiggleClip) = kMaxClip;
      break;
    case U'i':
      p.m_inversePolarity = p.m_inversePolarity != 0 ? 0 : 1;
      flags = kChangeRedrawn | kChangeControls;
      break;
    default:
      return kChangeNone;
  }
  m_plotter.Redraw();
  return flags;
}

// ---- scrolling traces -----------------------------------------------------

// The first trace of the last page.
int32_t TraceNavigator::LastFirstTrace() const {
  return std::max(m_plotter.TraceCount() - m_plotter.TracesPerPage(), 0);
}

uint32_t TraceNavigator::ScrollTraces(int n) {
  const int count = m_plotter.TraceCount();
  if (n == 0 || count <= 0) return kChangeNone;
  DisplayParams& p = P();
  const Snapshot before = Take();
  int64_t first = p.m_firstTrace, h = m_plotter.Highlighted();
  if (n < 0) {
    if (first <= 0) return kChangeNone;
    first = std::max<int64_t>(first + n, 0);
    if (h >= 0) h = std::max<int64_t>(h + n, 0);
  } else {
    if (first + m_plotter.TracesPerPage() >= count) return kChangeNone;
    first = std::min<int64_t>(first + n, LastFirstTrace());
    if (h >= 0) h = std::min<int64_t>(h + n, count - 1);
  }
  p.m_firstTrace = static_cast<int32_t>(first);
  m_plotter.SetHighlighted(static_cast<int>(h));
  return Same(before) ? kChangeNone : Finish(before);
}

uint32_t TraceNavigator::ScrollTracePage(int direction) {
  const int count = m_plotter.TraceCount();
  if (direction == 0 || count <= 0) return kChangeNone;
  DisplayParams& p = P();
  const Snapshot before = Take();
  const int64_t page = m_plotter.TracesPerPage();
  const int64_t first = p.m_firstTrace;
  int64_t target = direction < 0
                       ? std::max<int64_t>(first - page, 0)
                       : std::max<int64_t>(std::min<int64_t>(first + page, LastFirstTrace()), first);
  const int64_t moved = target - first;
  if (moved == 0) return kChangeNone;
  p.m_firstTrace = static_cast<int32_t>(target);
  int64_t h = m_plotter.Highlighted();
  if (h >= 0) m_plotter.SetHighlighted(static_cast<int>(std::clamp<int64_t>(h + moved, 0, count - 1)));
  return Finish(before);
}

uint32_t TraceNavigator::ScrollTraceEnd(bool last) {
  const int count = m_plotter.TraceCount();
  if (count <= 0) return kChangeNone;
  const Snapshot before = Take();
  P().m_firstTrace = last ? LastFirstTrace() : 0;
  if (m_plotter.Highlighted() >= 0) m_plotter.SetHighlighted(last ? count - 1 : 0);
  return Same(before) ? kChangeNone : Finish(before);
}

uint32_t TraceNavigator::SetFirstTraceFromThumb(int position) {
  if (m_plotter.TraceCount() <= 0) return kChangeNone;
  const Snapshot before = Take();
  P().m_firstTrace = std::clamp(position, 0, LastFirstTrace());
  return Same(before) ? kChangeNone : Finish(before);
}

// ---- scrolling time -------------------------------------------------------

// The start time that shows the section's end at the bottom of the plot.
double TraceNavigator::LastStartTime() const {
  return std::max(m_plotter.SectionEnd() - m_plotter.VisibleSpan(), m_plotter.SectionStart());
}

uint32_t TraceNavigator::SetStartTime(double startTime) {
  if (m_plotter.TraceCount() <= 0) return kChangeNone;
  const Snapshot before = Take();
  P().m_startTime = std::max(startTime, m_plotter.SectionStart());
  return Same(before) ? kChangeNone : Finish(before);
}

uint32_t TraceNavigator::ScrollTimeBy(double seconds) {
  const double start = m_plotter.Params().m_startTime;
  if (seconds < 0.0) {
    if (start <= m_plotter.SectionStart()) return kChangeNone;
    return SetStartTime(start + seconds);
  }
  if (seconds > 0.0) {
    if (start + m_plotter.VisibleSpan() >= m_plotter.SectionEnd()) return kChangeNone;
    return SetStartTime(std::min(start + seconds, LastStartTime()));
  }
  return kChangeNone;
}

uint32_t TraceNavigator::ScrollTime(int pixels) {
  return ScrollTimeBy(pixels / m_plotter.Params().m_pixPerSec);
}

uint32_t TraceNavigator::ScrollTimeSpan(int direction) {
  if (direction == 0) return kChangeNone;
  return ScrollTimeBy(direction < 0 ? -m_plotter.VisibleSpan() : m_plotter.VisibleSpan());
}

uint32_t TraceNavigator::ScrollTimeEnd(bool bottom) {
  return SetStartTime(bottom ? LastStartTime() : m_plotter.SectionStart());
}

uint32_t TraceNavigator::SetStartTimeFromThumb(int position) {
  double t = position / m_plotter.Params().m_pixPerSec + m_plotter.SectionStart();
  return SetStartTime(std::min(t, LastStartTime()));
}

uint32_t TraceNavigator::Wheel(int steps, KeyModifiers mods) {
  // Turning toward the user (negative steps) scrolls right, or down.
  if (mods.ctrl) return ScrollTime(-steps * TimeStep(mods.shift));
  return ScrollTraces(-steps * TraceStep(mods.shift));
}

uint32_t TraceNavigator::ScrollBarAction(bool vertical, BarAction action, bool fast, int position) {
  const int line = vertical ? TimeStep(fast) : TraceStep(fast);
  switch (action) {
    case BarAction::kLineAdd:
      return vertical ? ScrollTime(line) : ScrollTraces(line);
    case BarAction::kLineSub:
      return vertical ? ScrollTime(-line) : ScrollTraces(-line);
    case BarAction::kPageAdd:
      return vertical ? ScrollTimeSpan(1) : ScrollTracePage(1);
    case BarAction::kPageSub:
      return vertical ? ScrollTimeSpan(-1) : ScrollTracePage(-1);
    case BarAction::kToMinimum:
      return vertical ? ScrollTimeEnd(false) : ScrollTraceEnd(false);
    case BarAction::kToMaximum:
      return vertical ? ScrollTimeEnd(true) : ScrollTraceEnd(true);
    case BarAction::kThumb:
      return vertical ? SetStartTimeFromThumb(position) : SetFirstTraceFromThumb(position);
  }
  return kChangeNone;
}

ScrollBarState TraceNavigator::HorizontalBar() const {
  ScrollBarState bar;
  bar.max = std::max(m_plotter.TraceCount() - 1, 0);
  bar.page = std::max(m_plotter.TracesPerPage(), 1);
  bar.position = m_plotter.Params().m_firstTrace;
  return bar;
}

ScrollBarState TraceNavigator::VerticalBar() const {
  const DisplayParams& p = m_plotter.Params();
  const double span = std::max(m_plotter.SectionEnd() - m_plotter.SectionStart(), 0.0);
  ScrollBarState bar;
  bar.max = ClampToInt(static_cast<int64_t>(std::ceil(span * p.m_pixPerSec + 1.0)));
  bar.page = std::max(m_plotter.Geometry().plotHeight, 1);
  const double pos = (p.m_startTime - m_plotter.SectionStart()) * p.m_pixPerSec + 0.499;
  bar.position = ClampToInt(static_cast<int64_t>(std::max(pos, 0.0)));
  return bar;
}

// ---- zoom -----------------------------------------------------------------

const ZoomHistory& TraceNavigator::History() const {
  return m_history[HistoryIndex()];
}

void TraceNavigator::RecordZoom(int kind) {
  m_history[HistoryIndex()].Record(m_plotter.Params(), kind);
}

void TraceNavigator::ScaleAboutToChange(int which) {
  RecordZoom(which == 1 ? kZoomTime : kZoomTraces);
}

uint32_t TraceNavigator::ZoomTraces(double factor) {
  if (m_plotter.TraceCount() <= 0) return kChangeNone;
  const Snapshot before = Take();
  RecordZoom(kZoomTraces);
  P().m_pixPerTrace = LimitPixPerTrace(P().m_pixPerTrace * factor);
  return Finish(before) | kChangeScales;
}

uint32_t TraceNavigator::ZoomTime(double factor) {
  if (m_plotter.TraceCount() <= 0) return kChangeNone;
  const Snapshot before = Take();
  RecordZoom(kZoomTime);
  P().m_pixPerSec *= factor;
  return Finish(before) | kChangeScales;
}

uint32_t TraceNavigator::UndoZoom() {
  const Snapshot before = Take();
  if (!m_history[HistoryIndex()].Undo(&P())) return kChangeNone;
  return Finish(before) | kChangeScales;
}

uint32_t TraceNavigator::FitTime() {
  if (m_plotter.TraceCount() <= 0) return kChangeNone;
  const Snapshot before = Take();
  RecordZoom(kZoomFitTime);
  m_plotter.Layout(false);  // the plot height the fit uses
  P().m_pixPerSec = FitPixPerSec(m_plotter.Geometry().plotHeight, m_plotter.SectionStart(),
                                 m_plotter.SectionEnd(), m_plotter.MaxSamples());
  P().m_startTime = m_plotter.SectionStart();
  return Finish(before) | kChangeScales;
}

uint32_t TraceNavigator::FitTraces() {
  const Snapshot before = Take();
  RecordZoom(kZoomFitTraces);
  P().m_pixPerTrace = FitPixPerTrace(m_plotter.Geometry().plotWidth, m_plotter.TraceCount());
  P().m_firstTrace = 0;
  return Finish(before) | kChangeScales;
}

int TraceNavigator::TraceUnder(int x) const {
  const DisplayParams& p = m_plotter.Params();
  double n = std::trunc((x - m_plotter.Geometry().plotLeft) / p.m_pixPerTrace) + p.m_firstTrace;
  return static_cast<int>(std::clamp(n, 0.0, std::max(m_plotter.TraceCount() - 1, 0) * 1.0));
}

double TraceNavigator::TimeUnder(int y) const {
  return std::clamp(m_plotter.TimeAtRow(y), m_plotter.SectionStart(),
                    std::max(m_plotter.SectionEnd(), m_plotter.SectionStart()));
}

uint32_t TraceNavigator::ZoomToRectangle(const PixelRect& r) {
  if (std::abs(r.right - r.left) < 3 || std::abs(r.bottom - r.top) < 3) return kChangeNone;
  if (m_plotter.TraceCount() <= 0) return kChangeNone;
  const int t1 = TraceUnder(r.left), t2 = TraceUnder(r.right);
  const double time1 = TimeUnder(r.top), time2 = TimeUnder(r.bottom);
  if (t1 == t2 || time1 == time2) return kChangeNone;
  const Snapshot before = Take();
  RecordZoom(kZoomRectangleKind);
  DisplayParams& p = P();
  const AxisLayout::Result& g = m_plotter.Geometry();
  p.m_firstTrace = std::min(t1, t2);
  p.m_pixPerTrace = g.plotWidth / (std::abs(t2 - t1) + 1.0);
  p.m_startTime = std::max(std::min(time1, time2), m_plotter.SectionStart());
  p.m_pixPerSec =
      (g.plotHeight - 1) / (std::min(m_plotter.SectionEnd(), std::max(time1, time2)) - p.m_startTime);
  return Finish(before) | kChangeScales;
}
