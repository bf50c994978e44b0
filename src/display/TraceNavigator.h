// What the trace view does with keys, the wheel, scroll bars and the mouse,
// without a window: scrolling, zooming with its history, the ensemble view,
// rubber-band zoom and selection, hand scroll, and the cursor readout. It
// drives one VTracePlotter; the desktop widget translates toolkit events
// into these calls and acts on the returned change flags (present the
// raster, move the scroll bars, notify its owner, refresh the panel).
//
// Every call runs on the view's thread. Coordinates are client pixels.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "display/PixelRect.h"
#include "display/VTracePlotter.h"
#include "display/ZoomHistory.h"

// Keys the view handles, whatever toolkit delivers them.
enum class ViewKey { kLeft, kRight, kUp, kDown, kPageUp, kPageDown, kHome, kEnd, kEscape, kF5, kF9 };

struct KeyModifiers {
  bool shift = false;
  bool ctrl = false;
};

// What an input changed or asks for. The owner redraws nothing itself: the
// navigator has already redrawn the raster when kRedrawn is set.
enum ViewChange : uint32_t {
  kChangeNone = 0,
  kChangeRedrawn = 1u << 0,        // the raster changed: present it
  kChangeFirstTrace = 1u << 1,     // notify the owner; move the horizontal thumb
  kChangeHighlight = 1u << 2,      // notify the owner (absolute index)
  kChangeStartTime = 1u << 3,      // move the vertical thumb
  kChangeScales = 1u << 4,         // panel: refresh the scale fields; scroll ranges change
  kChangeGains = 1u << 5,          // panel: refresh the gain and clip fields
  kChangeControls = 1u << 6,       // panel: refresh every control (e.g. polarity)
  kChangeSelection = 1u << 7,      // a selection was made: send it to the owner
  kChangeEnsemble = 1u << 8,       // panel: new ensemble key; owner: highlight + selection
  kRequestSnapshot = 1u << 9,      // F5
  kRequestParameters = 1u << 10,   // F9
  kRequestToggleTrace = 1u << 11,  // view role 2, Shift-click: ToggleTarget()
  kRequestToggleGroup = 1u << 12,  // view role 2, Ctrl-click: ToggleTarget()
  kRequestSaveStacks = 1u << 13,   // view role 2 popup "Save Stacks "
  kChangeDragMode = 1u << 14,      // the pointer shape follows DragMode()
};

// One ensemble as the view shows it.
struct ViewEnsemble {
  int32_t firstTrace = 0;
  int32_t count = 0;
  double key = 0.0;
};

// Trace and time under the cursor as sent to the owner.
struct CursorReport {
  static constexpr int kNoTrace = INT32_MIN;  // neither a trace nor a highlight
  int trace = kNoTrace;                       // absolute index
  double time = 2.2250738585072014e-308;      // DBLE_UNDEF: above the plot or no data
  bool HasTime() const { return time != 2.2250738585072014e-308; }
};

// The header-word popup over the label rows: its box (filled with
// VTracePlotter::kPopupColor) and one label per chosen word, a row each.
struct HeaderWordPopup {
  PixelRect box;
  int rowHeight = 0;
  std::vector<std::string> lines;
};

// Scroll bar state: range min..max, page size, position.
struct ScrollBarState {
  int min = 0;
  int max = 0;
  int page = 1;
  int position = 0;
};

class TraceNavigator {
 public:
  enum DragMode : int { kDragNone = 0, kDragHand = 1, kDragZoom = 2, kDragSelect = 4 };

  // Application settings the navigation reads (the owner copies them in).
  struct Steps {
    int traceFast = 10;  // traces; the slow step is 1
    int timeSlow = 1;    // pixels
    int timeFast = 10;   // pixels
  };

  explicit TraceNavigator(VTracePlotter& plotter) : m_plotter(plotter) {}
  void SetSteps(const Steps& steps) { m_steps = steps; }

  // The section changed (attach or detach): histories, ensembles, drag state go.
  void Reset();

  // Keys and characters ("*", "/", "=", "+", "-", "%", "i"); others: kChangeNone.
  uint32_t Key(ViewKey key, KeyModifiers mods);
  uint32_t Character(char32_t ch);

  // Scrolling (keyboard, wheel and scroll bars).
  uint32_t ScrollTraces(int n);             // n < 0 left, > 0 right
  uint32_t ScrollTracePage(int direction);  // -1 left, +1 right
  uint32_t ScrollTraceEnd(bool last);
  uint32_t SetFirstTraceFromThumb(int position);
  uint32_t ScrollTime(int pixels);  // < 0 up, > 0 down
  uint32_t ScrollTimeSpan(int direction);
  uint32_t ScrollTimeEnd(bool bottom);
  uint32_t SetStartTimeFromThumb(int position);
  // Wheel: steps > 0 away from the user; Ctrl scrolls time, Shift the fast step.
  uint32_t Wheel(int steps, KeyModifiers mods);
  // A scroll-bar action on the trace (horizontal) or time (vertical) bar:
  // line moves use the slow step, or the fast one with fast; kThumb goes to
  // position.
  enum class BarAction { kLineAdd, kLineSub, kPageAdd, kPageSub, kToMinimum, kToMaximum, kThumb };
  uint32_t ScrollBarAction(bool vertical, BarAction action, bool fast, int position);
  ScrollBarState HorizontalBar() const;
  ScrollBarState VerticalBar() const;

  // Zoom and its history (kinds in ZoomHistory.h).
  void RecordZoom(int kind);
  // The panel is about to change a scale (1 time, 2 traces): remember it.
  void ScaleAboutToChange(int which);
  uint32_t UndoZoom();
  uint32_t FitTime();
  uint32_t FitTraces();
  uint32_t ZoomToRectangle(const PixelRect& r);  // corners in any order
  const ZoomHistory& History() const;            // of the current view kind

  // Ensembles and the ensemble view ("Full").
  void SetEnsembles(const std::vector<ViewEnsemble>& ensembles);
  bool HasEnsembles() const { return !m_ensembles.empty(); }
  int CurrentEnsemble() const { return m_currentEnsemble; }
  uint32_t SetEnsembleView(bool on);
  uint32_t EnsembleStep(int step, double key);  // 1 next, 2 previous, 3 go to key

  // Mouse. Buttons report the change; drags run from Begin to End.
  uint32_t LeftButtonDown(int x, int y, KeyModifiers mods);
  // The right button once the press was held or moved (the owner times it).
  uint32_t RightButtonDrag(int x, int y, KeyModifiers mods);
  uint32_t RightButtonDown(KeyModifiers mods);  // Shift: clear the highlight
  // A role-2 view with no zoom tool offers the "Save Stacks " popup on the
  // right button instead of a drag; choosing its item gives kRequestSaveStacks.
  bool RightButtonOffersPopup() const;
  uint32_t SaveStacksChosen() const;
  uint32_t MouseMove(int x, int y);  // during a drag
  uint32_t ButtonUp(int x, int y);
  DragMode CurrentDragMode() const { return m_dragMode; }
  // The rectangle being dragged as its two corners, left <= right and top <=
  // bottom, both corner pixels included (the owner inverts a zoom rectangle
  // on the window); empty without a drag.
  PixelRect DragRectangle() const;
  // The last selection with absolute trace numbers (for the owner).
  VTracePlotter::Selection OwnerSelection() const;
  // The trace a role-2 toggle request names (absolute index).
  int ToggleTarget() const { return m_toggleTarget; }

  // Cursor over the client without a drag: the report for the owner; the
  // trace under the cursor is kept for the header-word popup.
  CursorReport CursorAt(int x, int y);
  int CursorTrace() const { return m_cursorTrace; }
  void CursorLeft() { m_cursorTrace = -1; }
  // The popup for the trace under the cursor, else the highlighted one; false
  // when "Trace Header Words" is off, the labels are hidden or no trace fits.
  bool HeaderPopup(HeaderWordPopup* popup) const;

  // Absolute index of a shown trace (differs in ensemble view).
  int AbsoluteTrace(int shown) const;
  // Highlights the trace with that absolute index, without scrolling; -1 or
  // a trace not shown highlights none.
  uint32_t HighlightAbsolute(int absoluteTrace);

 private:
  // View state compared before and after an action to report what changed.
  struct Snapshot {
    int32_t firstTrace;
    int highlighted;
    double startTime;
    double pixPerTrace;
    double pixPerSec;
  };
  DisplayParams& P();
  Snapshot Take() const;
  bool Same(const Snapshot& s) const;
  // Lays out, redraws and reports the differences from before.
  uint32_t Finish(const Snapshot& before);
  uint32_t ZoomTraces(double factor);
  uint32_t ZoomTime(double factor);
  uint32_t ScrollTimeBy(double seconds);
  uint32_t SetStartTime(double startTime);
  double LastStartTime() const;
  int32_t LastFirstTrace() const;
  int TraceUnder(int x) const;  // limited to the traces shown
  int TraceStep(bool fast) const { return fast ? m_steps.traceFast : 1; }
  int TimeStep(bool fast) const { return fast ? m_steps.timeFast : m_steps.timeSlow; }
  double TimeUnder(int y) const;  // limited to the section
  uint32_t GoToEnsemble(int index);
  void StartDrag(DragMode mode, int x, int y);
  uint32_t DropSelection();
  uint32_t HandScroll(int x, int y);
  uint32_t Select(const PixelRect& r);
  uint32_t LegendClick(int x, int y, KeyModifiers mods, bool* handled);

  VTracePlotter& m_plotter;
  Steps m_steps;
  std::vector<ViewEnsemble> m_ensembles;
  int m_currentEnsemble = -1;
  DragMode m_dragMode = kDragNone;
  int m_toggleTarget = -1;
  int m_cursorTrace = -1;
  ZoomHistory m_history[2];  // whole section, ensemble view
  int HistoryIndex() const { return m_plotter.Params().m_ensembleView != 0 ? 1 : 0; }
  int m_dragX0 = 0, m_dragY0 = 0, m_dragX = 0, m_dragY = 0;
  int m_prevX = 0, m_prevY = 0;
  int32_t m_dragFirstTrace = 0;
  double m_dragStartTime = 0.0;
};

// The status-strip text for a cursor report: "TIME = %s %s",
// "tr=%d   smp=%d    TIME = %s %s    value=%G" or "tr=%d"; empty for an
// empty report. Sample lookup uses the trace's DELAY and DT.
std::string CursorReadoutText(const CursorReport& report, const VTracePlotter& plotter);
