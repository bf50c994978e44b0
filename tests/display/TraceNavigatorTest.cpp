// Navigation of the trace view without a window: scrolling limits and the
// highlight, zoom history, rubber bands, hand scroll, the ensemble view and
// the cursor readout, driven on a view over small synthetic sections.
#include <gtest/gtest.h>

#include <memory>

#include "RenderTestUtil.h"
#include "display/TraceNavigator.h"
#include "section/HeaderLabelTable.h"

namespace {

using kxrender::MakeSection;

constexpr int kWidth = 600;
constexpr int kHeight = 400;

// Sample value that names its trace and index.
float Tagged(int n, int i) {
  return static_cast<float>(n * 1000 + i);
}

struct Nav {
  std::unique_ptr<SeismicSection> section;
  VTracePlotter view;
  TraceNavigator nav{view};

  explicit Nav(int traces, int ns = 500, double dt = 0.001, double delay = 0.0) {
    section = MakeSection(traces, ns, dt, Tagged, delay);
    view.Create(kWidth, kHeight, nullptr);
    view.AttachTraces(section->Traces(), section->Summary());
    view.Params().m_pixPerTrace = 10.0;
    view.Params().m_pixPerSec = 1000.0;
    view.Layout(false);
    nav.Reset();
  }
  DisplayParams& P() { return view.Params(); }
  const AxisLayout::Result& G() const { return view.Geometry(); }
  int PerPage() const { return view.TracesPerPage(); }
  // A column inside trace n (shown index) and a row at time t.
  int X(int n) const {
    const DisplayParams& p = view.Params();
    return G().plotLeft + static_cast<int>((n - p.m_firstTrace + 0.5) * p.m_pixPerTrace);
  }
  int Y(double t) const {
    return G().plotTop + static_cast<int>((t - view.Params().m_startTime) * view.Params().m_pixPerSec + 0.5);
  }
};

TEST(TraceNavigator, ScrollingTracesMovesTheHighlightAndStopsAtTheEnds) {
  Nav v(100);
  const int page = v.PerPage();
  ASSERT_GT(page, 20);
  ASSERT_LT(page, 100);
  v.view.SetHighlighted(5);

  EXPECT_EQ(v.nav.Key(ViewKey::kRight, {}), kChangeRedrawn | kChangeFirstTrace | kChangeHighlight);
  EXPECT_EQ(v.P().m_firstTrace, 1);
  EXPECT_EQ(v.view.Highlighted(), 6);

  v.nav.Key(ViewKey::kRight, {.shift = true});
  EXPECT_EQ(v.P().m_firstTrace, 11);
  EXPECT_EQ(v.view.Highlighted(), 16);

  // Left by the fast step from 11 reaches 1; the highlight follows by 10.
  v.nav.Key(ViewKey::kLeft, {.shift = true});
  EXPECT_EQ(v.P().m_firstTrace, 1);
  EXPECT_EQ(v.view.Highlighted(), 6);
  // Left by 10 from 1 stops at 0, the highlight moves the full step.
  v.nav.ScrollTraces(-10);
  EXPECT_EQ(v.P().m_firstTrace, 0);
  EXPECT_EQ(v.view.Highlighted(), 0);
  EXPECT_EQ(v.nav.Key(ViewKey::kLeft, {}), kChangeNone);

  // The last page: further scrolling right changes nothing at all.
  v.view.SetHighlighted(0);
  EXPECT_EQ(v.nav.SetFirstTraceFromThumb(5000) & kChangeFirstTrace, kChangeFirstTrace);
  EXPECT_EQ(v.P().m_firstTrace, 100 - page);
  v.view.SetHighlighted(100 - page + 2);
  EXPECT_EQ(v.nav.Key(ViewKey::kRight, {}), kChangeNone);
  EXPECT_EQ(v.nav.Wheel(-3, {}), kChangeNone);
  EXPECT_EQ(v.nav.ScrollTracePage(1), kChangeNone);
  EXPECT_EQ(v.P().m_firstTrace, 100 - page);
  EXPECT_EQ(v.view.Highlighted(), 100 - page + 2);

  ScrollBarState bar = v.nav.HorizontalBar();
  EXPECT_EQ(bar.max, 99);
  EXPECT_EQ(bar.page, page);
  EXPECT_EQ(bar.position, 100 - page);
}

TEST(TraceNavigator, PageMovesTheHighlightByTheDistanceScrolled) {
  Nav v(200);
  const int page = v.PerPage();
  v.view.SetHighlighted(2);
  v.nav.Key(ViewKey::kPageDown, {});
  EXPECT_EQ(v.P().m_firstTrace, page);
  EXPECT_EQ(v.view.Highlighted(), 2 + page);

  // Three traces short of the last page: the page moves three, so does the highlight.
  v.nav.SetFirstTraceFromThumb(200 - page - 3);
  v.view.SetHighlighted(200 - page);
  v.nav.Key(ViewKey::kPageDown, {});
  EXPECT_EQ(v.P().m_firstTrace, 200 - page);
  EXPECT_EQ(v.view.Highlighted(), 200 - page + 3);

  v.nav.SetFirstTraceFromThumb(2);
  v.view.SetHighlighted(4);
  v.nav.Key(ViewKey::kPageUp, {});
  EXPECT_EQ(v.P().m_firstTrace, 0);
  EXPECT_EQ(v.view.Highlighted(), 2);

  v.nav.Key(ViewKey::kEnd, {});
  EXPECT_EQ(v.P().m_firstTrace, 200 - page);
  EXPECT_EQ(v.view.Highlighted(), 199);
  v.nav.Key(ViewKey::kHome, {});
  EXPECT_EQ(v.P().m_firstTrace, 0);
  EXPECT_EQ(v.view.Highlighted(), 0);
}

TEST(TraceNavigator, TimeScrollingAndTheVerticalBarOfALateSection) {
  Nav v(10, 2001, 0.001, 2.0);  // 2 s … 4 s
  ASSERT_DOUBLE_EQ(v.view.SectionStart(), 2.0);
  ASSERT_DOUBLE_EQ(v.P().m_startTime, 2.0);
  ScrollBarState bar = v.nav.VerticalBar();
  EXPECT_EQ(bar.position, 0);
  EXPECT_EQ(bar.max, 2001);  // ceil(2 s × 1000 + 1)
  EXPECT_EQ(bar.page, v.G().plotHeight);

  EXPECT_EQ(v.nav.Key(ViewKey::kUp, {}), kChangeNone);
  EXPECT_EQ(v.nav.Key(ViewKey::kDown, {.shift = true}), kChangeRedrawn | kChangeStartTime);
  EXPECT_DOUBLE_EQ(v.P().m_startTime, 2.010);
  EXPECT_EQ(v.nav.VerticalBar().position, 10);
  v.nav.Wheel(-1, {.ctrl = true});
  EXPECT_DOUBLE_EQ(v.P().m_startTime, 2.011);

  v.nav.Key(ViewKey::kPageDown, {.ctrl = true});
  EXPECT_NEAR(v.P().m_startTime, 2.011 + v.view.VisibleSpan(), 1e-12);

  v.nav.Key(ViewKey::kEnd, {.ctrl = true});
  EXPECT_DOUBLE_EQ(v.P().m_startTime, 4.0 - v.view.VisibleSpan());
  EXPECT_EQ(v.nav.Key(ViewKey::kDown, {}), kChangeNone);
  EXPECT_EQ(v.nav.SetStartTimeFromThumb(1000000) & kChangeStartTime, 0u);

  v.nav.SetStartTimeFromThumb(500);
  EXPECT_DOUBLE_EQ(v.P().m_startTime, 2.5);
  v.nav.Key(ViewKey::kHome, {.ctrl = true});
  EXPECT_DOUBLE_EQ(v.P().m_startTime, 2.0);
  EXPECT_EQ(v.nav.VerticalBar().position, 0);
}

TEST(TraceNavigator, KeyZoomsOfOneKindUndoInOneStep) {
  Nav v(100);
  v.nav.SetFirstTraceFromThumb(7);
  const double ppt = v.P().m_pixPerTrace, pps = v.P().m_pixPerSec;
  for (int i = 0; i < 3; ++i) {
    EXPECT_TRUE(v.nav.Key(ViewKey::kRight, {.ctrl = true}) & kChangeScales);
  }
  EXPECT_DOUBLE_EQ(v.P().m_pixPerTrace, ppt * 1.1 * 1.1 * 1.1);
  EXPECT_EQ(v.nav.History().Size(), 1);
  v.nav.Key(ViewKey::kDown, {.ctrl = true});
  v.nav.Key(ViewKey::kDown, {.ctrl = true});
  EXPECT_DOUBLE_EQ(v.P().m_pixPerSec, pps * 1.05 * 1.05);
  EXPECT_EQ(v.nav.History().Size(), 2);

  EXPECT_TRUE(v.nav.Key(ViewKey::kEscape, {}) & kChangeScales);
  EXPECT_DOUBLE_EQ(v.P().m_pixPerSec, pps);
  EXPECT_DOUBLE_EQ(v.P().m_pixPerTrace, ppt * 1.1 * 1.1 * 1.1);
  v.nav.Key(ViewKey::kEscape, {});
  EXPECT_EQ(v.P().m_pixPerTrace, ppt);
  EXPECT_EQ(v.P().m_firstTrace, 7);
  EXPECT_EQ(v.nav.Key(ViewKey::kEscape, {}), kChangeNone);

  // Rectangle zooms record one entry each.
  const int x0 = v.X(10), y0 = v.Y(0.05);
  v.nav.ZoomToRectangle({x0, y0, x0 + 100, y0 + 100});
  v.nav.ZoomToRectangle({v.X(1), v.Y(0.01), v.X(4), v.Y(0.03)});
  EXPECT_EQ(v.nav.History().Size(), 2);
}

TEST(TraceNavigator, RectangleZoomScales) {
  Nav v(100);
  v.nav.SetFirstTraceFromThumb(10);
  v.nav.ScrollTime(100);
  const AxisLayout::Result g = v.G();
  const int right = v.X(14), left = v.X(20);  // corners in any order
  const int top = g.plotTop + 50, bottom = g.plotTop + 250;
  EXPECT_TRUE(v.nav.ZoomToRectangle({left, bottom, right, top}) & kChangeScales);
  EXPECT_EQ(v.P().m_firstTrace, 14);
  EXPECT_DOUBLE_EQ(v.P().m_pixPerTrace, g.plotWidth / 7.0);
  EXPECT_DOUBLE_EQ(v.P().m_startTime, 0.150);
  EXPECT_NEAR(v.P().m_pixPerSec, (g.plotHeight - 1) / 0.200, 1e-9);
  EXPECT_EQ(v.nav.History().Top().kind, kZoomRectangleKind);

  // One trace wide: nothing.
  const double ppt = v.P().m_pixPerTrace;
  EXPECT_EQ(v.nav.ZoomToRectangle({v.X(15) - 3, v.G().plotTop, v.X(15) + 3, v.G().plotTop + 90}),
            kChangeNone);
  EXPECT_EQ(v.P().m_pixPerTrace, ppt);
}

TEST(TraceNavigator, SmallRubberBandsNeitherZoomNorSelect) {
  Nav v(100);
  const int x = v.X(5), y = v.Y(0.1);
  v.P().m_zoomTool = kZoomRectangle;
  EXPECT_EQ(v.nav.LeftButtonDown(x, y, {}), kChangeDragMode);
  EXPECT_EQ(v.nav.CurrentDragMode(), TraceNavigator::kDragZoom);
  v.nav.MouseMove(x + 40, y + 2);
  EXPECT_EQ(v.nav.DragRectangle(), (PixelRect{x, y, x + 40, y + 2}));
  EXPECT_EQ(v.nav.ButtonUp(x + 40, y + 2), kChangeDragMode);
  EXPECT_EQ(v.nav.History().Size(), 0);
  EXPECT_EQ(v.nav.CurrentDragMode(), TraceNavigator::kDragNone);

  v.P().m_zoomTool = kZoomSelect;
  v.nav.LeftButtonDown(x, y, {});
  v.nav.MouseMove(x + 2, y + 80);
  EXPECT_FALSE(v.view.RubberBand().Empty());
  uint32_t up = v.nav.ButtonUp(x + 2, y + 80);
  EXPECT_EQ(up & kChangeSelection, 0u);
  EXPECT_FALSE(v.view.GetSelection().valid);
  EXPECT_TRUE(v.view.RubberBand().Empty());

  // Three pixels high is 3 ms at 1000 px/s: a selection of traces 5..9.
  v.nav.LeftButtonDown(v.X(9), y + 3, {});
  EXPECT_TRUE(v.nav.ButtonUp(x, y) & kChangeSelection);
  const VTracePlotter::Selection& s = v.view.GetSelection();
  EXPECT_TRUE(s.valid);
  EXPECT_EQ(s.firstTrace, 5);
  EXPECT_EQ(s.lastTrace, 9);
  EXPECT_NEAR(s.lastTime - s.firstTime, 0.003, 1e-12);

  // The same band at 10 px per ms spans under 1 ms: no selection; the old one is dropped.
  v.P().m_pixPerSec = 10000.0;
  v.view.Layout(false);
  v.nav.LeftButtonDown(x, y, {});
  EXPECT_EQ(v.nav.ButtonUp(v.X(9), y + 3) & kChangeSelection, 0u);
  EXPECT_FALSE(v.view.GetSelection().valid);
}

TEST(TraceNavigator, HandScrollRounding) {
  Nav v(200, 2000);
  v.nav.SetFirstTraceFromThumb(50);
  v.P().m_startTime = 0.0123;
  v.view.Layout(false);
  const int x = v.X(60), y = v.Y(0.1);
  ASSERT_EQ(v.nav.LeftButtonDown(x, y, {}), kChangeDragMode);
  ASSERT_EQ(v.nav.CurrentDragMode(), TraceNavigator::kDragHand);

  // 0.4 trace: nothing yet, and the reference column stays.
  EXPECT_EQ(v.nav.MouseMove(x - 4, y), kChangeNone);
  EXPECT_EQ(v.P().m_firstTrace, 50);
  // 0.8 trace from the reference: one trace.
  EXPECT_EQ(v.nav.MouseMove(x - 8, y), kChangeRedrawn | kChangeFirstTrace);
  EXPECT_EQ(v.P().m_firstTrace, 51);
  // Half a trace back rounds away from zero.
  v.nav.MouseMove(x - 3, y);
  EXPECT_EQ(v.P().m_firstTrace, 50);

  // Vertical: from the start time's pixel row (12.3 + 0.499 → 12), three rows up the section.
  EXPECT_TRUE(v.nav.MouseMove(x - 3, y - 3) & kChangeStartTime);
  EXPECT_DOUBLE_EQ(v.P().m_startTime, 0.015);
  v.nav.MouseMove(x - 3, y + 100);  // above the section start: limited
  EXPECT_DOUBLE_EQ(v.P().m_startTime, 0.0);
  EXPECT_EQ(v.nav.ButtonUp(x, y), kChangeDragMode);
  EXPECT_EQ(v.nav.MouseMove(x + 100, y), kChangeNone);
}

TEST(TraceNavigator, EnsembleViewSwapsScalesAndKeepsItsOwnHistory) {
  Nav v(200);
  v.nav.SetEnsembles({{0, 10, 100.0}, {10, 20, 200.0}, {30, 10, 300.0}});
  v.nav.ScrollTraces(5);
  v.view.SetHighlighted(8);
  v.P().m_otherView = SavedViewState{500.0, 0.0, 20.0, 0};

  uint32_t f = v.nav.SetEnsembleView(true);
  EXPECT_TRUE(f & kChangeScales);
  EXPECT_TRUE(f & kChangeHighlight);
  EXPECT_EQ(v.P().m_ensembleView, 1);
  EXPECT_EQ(v.view.TraceCount(), 10);
  EXPECT_EQ(v.view.Highlighted(), -1);
  EXPECT_DOUBLE_EQ(v.P().m_pixPerTrace, 20.0);
  EXPECT_DOUBLE_EQ(v.P().m_otherView.pixPerTrace, 10.0);
  EXPECT_EQ(v.P().m_otherView.firstTrace, 5);

  v.nav.Key(ViewKey::kLeft, {.ctrl = true});
  EXPECT_EQ(v.nav.History().Size(), 1);

  // Next ensemble: the highlight keeps its place, the owner sees its absolute index.
  v.view.SetHighlighted(3);
  f = v.nav.Key(ViewKey::kPageDown, {});
  EXPECT_TRUE(f & kChangeEnsemble);
  EXPECT_TRUE(f & kChangeHighlight);
  EXPECT_DOUBLE_EQ(v.P().m_ensembleKey, 200.0);
  EXPECT_EQ(v.view.TraceCount(), 20);
  EXPECT_EQ(v.nav.AbsoluteTrace(v.view.Highlighted()), 13);
  v.P().m_zoomTool = kZoomNone;
  v.nav.LeftButtonDown(v.X(2), v.Y(0.1), {.shift = true});
  EXPECT_EQ(v.nav.AbsoluteTrace(v.view.Highlighted()), 10 + v.P().m_firstTrace + 2);

  v.nav.EnsembleStep(3, 290.0);
  EXPECT_EQ(v.nav.CurrentEnsemble(), 2);
  v.nav.EnsembleStep(3, 250.0);  // as near to 200 as to 300: the first
  EXPECT_EQ(v.nav.CurrentEnsemble(), 1);
  EXPECT_EQ(v.nav.Key(ViewKey::kEnd, {}) & kChangeEnsemble, kChangeEnsemble);
  EXPECT_EQ(v.nav.EnsembleStep(1, 0.0), kChangeNone);

  v.nav.SetEnsembleView(false);
  EXPECT_EQ(v.P().m_ensembleView, 0);
  EXPECT_EQ(v.view.TraceCount(), 200);
  EXPECT_DOUBLE_EQ(v.P().m_pixPerTrace, 10.0);
  EXPECT_EQ(v.P().m_firstTrace, 5);
  EXPECT_EQ(v.nav.History().Size(), 0);
  EXPECT_EQ(v.nav.Key(ViewKey::kEscape, {}), kChangeNone);
}

TEST(TraceNavigator, SelectionHighlightAndToggleTargetsInAbsoluteNumbers) {
  Nav v(40);
  v.nav.SetEnsembles({{0, 20, 1.0}, {20, 20, 2.0}});
  v.nav.EnsembleStep(1, 0.0);
  v.nav.SetEnsembleView(true);
  v.P().m_pixPerTrace = 10.0;
  v.P().m_firstTrace = 0;
  v.view.Layout(false);
  v.P().m_zoomTool = kZoomSelect;
  v.nav.LeftButtonDown(v.X(2), v.Y(0.1), {});
  ASSERT_TRUE(v.nav.ButtonUp(v.X(6), v.Y(0.2)) & kChangeSelection);
  EXPECT_EQ(v.view.GetSelection().firstTrace, 2);
  EXPECT_EQ(v.nav.OwnerSelection().firstTrace, 22);
  EXPECT_EQ(v.nav.OwnerSelection().lastTrace, 26);

  // A tool highlights by absolute number; a trace of another ensemble is not shown.
  EXPECT_EQ(v.nav.HighlightAbsolute(27), kChangeRedrawn | kChangeHighlight);
  EXPECT_EQ(v.view.Highlighted(), 7);
  EXPECT_EQ(v.nav.HighlightAbsolute(27), kChangeNone);
  EXPECT_EQ(v.nav.HighlightAbsolute(5), kChangeRedrawn | kChangeHighlight);
  EXPECT_EQ(v.view.Highlighted(), -1);
  EXPECT_EQ(v.nav.HighlightAbsolute(40), kChangeNone);

  v.view.SetViewRole(2);
  EXPECT_EQ(v.nav.LeftButtonDown(v.X(4), v.Y(0.1), {.shift = true}), kRequestToggleTrace);
  EXPECT_EQ(v.nav.ToggleTarget(), 24);
  EXPECT_EQ(v.nav.LeftButtonDown(v.X(5), v.Y(0.1), {.ctrl = true}), kRequestToggleGroup);
  EXPECT_EQ(v.nav.ToggleTarget(), 25);
  v.P().m_zoomTool = kZoomNone;
  EXPECT_TRUE(v.nav.RightButtonOffersPopup());
  EXPECT_EQ(v.nav.RightButtonDrag(v.X(4), v.Y(0.1), {}), kChangeNone);
}

TEST(TraceNavigator, CursorReadout) {
  Nav v(10, 500, 0.001);
  v.section->Trace(3)->NS = 100;  // ends at 99 ms
  const int top = v.G().plotTop;

  CursorReport above = v.nav.CursorAt(v.X(3), top - 1);
  EXPECT_FALSE(above.HasTime());
  EXPECT_EQ(above.trace, 3);
  EXPECT_EQ(CursorReadoutText(above, v.view), "tr=4");

  CursorReport r = v.nav.CursorAt(v.X(3), top + 105);
  EXPECT_EQ(v.nav.CursorTrace(), 3);
  EXPECT_EQ(CursorReadoutText(r, v.view), "tr=4   smp=0    TIME = 105 ms    value=0");

  r = v.nav.CursorAt(v.X(2), top + 42);
  EXPECT_EQ(CursorReadoutText(r, v.view), "tr=3   smp=43    TIME = 42 ms    value=2042");

  CursorReport t{CursorReport::kNoTrace, 0.0105};
  EXPECT_EQ(CursorReadoutText(t, v.view), "TIME = 10.5 ms");
  EXPECT_EQ(CursorReadoutText(CursorReport{}, v.view), "");

  // Off the traces: the highlighted trace, else none.
  r = v.nav.CursorAt(v.G().plotLeft - 5, top + 10);
  EXPECT_EQ(r.trace, CursorReport::kNoTrace);
  v.view.SetHighlighted(6);
  EXPECT_EQ(v.nav.CursorAt(v.G().plotLeft - 5, top + 10).trace, 6);
  // Below the section the time is limited to its end.
  EXPECT_DOUBLE_EQ(v.nav.CursorAt(v.X(1), kHeight + 500).time, 0.499);
}

// Each mode's keys reach its own gain and clip; the wiggle clip stays in 5 … 1000.
TEST(TraceNavigator, CharactersChangeTheGainsOfTheMode) {
  Nav v(10);
  v.P().m_displayMode = kDisplayWiggle;
  EXPECT_EQ(v.nav.Character(U'*'), kChangeRedrawn | kChangeGains);
  v.nav.Character(U'+');
  for (int i = 0; i < 150; ++i) v.nav.Character(U'-');
  EXPECT_EQ(v.P().m_wiggleClip, 5.0f);
  v.P().m_displayMode = kDisplayColor;
  v.nav.Character(U'/');
  v.nav.Character(U'+');
  v.nav.Character(U'%');
  EXPECT_DOUBLE_EQ(v.P().m_wiggleGain, 1.1);
  EXPECT_DOUBLE_EQ(v.P().m_colorGain, 1.0 / 1.1);
  EXPECT_DOUBLE_EQ(v.P().m_overlayGain, 1.1);
  EXPECT_EQ(v.P().m_wiggleClip, 5.0f);
  EXPECT_EQ(v.nav.Character(U'i'), kChangeRedrawn | kChangeControls);
  EXPECT_EQ(v.nav.Character(U'x'), kChangeNone);
}

TEST(TraceNavigator, FitsRecordTheirKinds) {
  Nav v(100, 1001, 0.001);
  v.nav.ScrollTraces(5);
  EXPECT_TRUE(v.nav.FitTraces() & kChangeScales);
  EXPECT_DOUBLE_EQ(v.P().m_pixPerTrace, (v.G().plotWidth - 1) / 100.0);
  EXPECT_EQ(v.P().m_firstTrace, 0);
  EXPECT_EQ(v.nav.History().Top().kind, kZoomFitTraces);
  v.nav.FitTime();
  EXPECT_DOUBLE_EQ(v.P().m_pixPerSec, (v.G().plotHeight - 1) / 1.0);
  EXPECT_EQ(v.nav.History().Top().kind, kZoomFitTime);
  v.nav.ScaleAboutToChange(2);
  EXPECT_EQ(v.nav.History().Size(), 3);
  v.nav.UndoZoom();
  v.nav.UndoZoom();
  v.nav.UndoZoom();
  EXPECT_EQ(v.P().m_firstTrace, 5);
  EXPECT_DOUBLE_EQ(v.P().m_pixPerTrace, 10.0);
}

int Row(const char* shortLabel) {
  for (const HeaderLabelRow& r : HeaderLabelRows())
    if (std::string(r.shortLabel) == shortLabel) return r.id;
  return -1;
}

TEST(TraceNavigator, LegendClicksAndTheHeaderWordPopup) {
  auto s = MakeSection(60, 100, 0.001, Tagged);
  kxrender::TestView v(500, 500);
  v.Show(*s);
  HeaderPlotSettings hp;
  hp.m_showPlot = 1;
  hp.m_curveWord[0] = Row("CHAN");
  hp.m_curveWord[1] = Row("FLDR");
  v.view.SetHeaderPlot(hp);
  v.view.SetLabelWords({Row("CHAN"), Row("FLDR")});
  v.view.Params().m_pixPerTrace = 10.0;
  v.Draw();
  TraceNavigator nav(v.view);
  const HeaderPlot& plot = v.view.GetHeaderPlot();
  const PixelRect r = plot.LegendRect(1);
  ASSERT_FALSE(r.Empty());
  ASSERT_LT(r.left, v.G().plotLeft / 2);
  EXPECT_EQ(nav.LeftButtonDown(r.left + 1, r.top + 1, {}), kChangeRedrawn);
  EXPECT_EQ(plot.ScaleCurve(), 1);
  EXPECT_EQ(nav.LeftButtonDown(r.left + 1, r.top + 1, {.shift = true}), kChangeRedrawn);
  EXPECT_FALSE(plot.GetCurve(1).visible);
  EXPECT_EQ(nav.CurrentDragMode(), TraceNavigator::kDragNone);

  HeaderWordPopup popup;
  nav.CursorAt(v.G().plotLeft + 35, v.G().plotTop + 5);
  EXPECT_FALSE(nav.HeaderPopup(&popup));  // "Trace Header Words" off
  v.view.Params().m_headerWordLabels = 1;
  ASSERT_TRUE(nav.HeaderPopup(&popup));
  EXPECT_EQ(popup.lines, (std::vector<std::string>{"4", "1000"}));
  EXPECT_EQ(popup.box.right - popup.box.left, v.view.Labels().LabelWidth() + 20);
  EXPECT_EQ((popup.box.left + popup.box.right) / 2, v.G().plotLeft + 35);
  EXPECT_EQ(popup.box.bottom, v.G().plotTop - 2 * v.view.Metrics().gap - 1);
  // Near the right edge the box stays inside the client area.
  nav.CursorAt(499, v.G().plotTop + 5);
  ASSERT_TRUE(nav.HeaderPopup(&popup));
  EXPECT_EQ(popup.box.right, 500);
}

// A larger view at the end of the section moves the page back so it stays
// full, in traces and in time; shrinking again returns to the old place, but
// a scroll in between makes the new place the one kept.
TEST(TraceNavigator, ResizeKeepsPagesFullAndReturnsToThePlaceAfterwards) {
  Nav v(200);
  v.view.Resize(kWidth, kHeight);
  v.nav.Key(ViewKey::kEnd, {});
  v.nav.Key(ViewKey::kEnd, {.ctrl = true});
  const int atEnd = v.P().m_firstTrace;
  const double bottom = v.P().m_startTime;
  ASSERT_EQ(atEnd + v.PerPage(), 200);
  ASSERT_GT(bottom, 0.0);

  v.view.Resize(kWidth + 333, kHeight + 77);
  EXPECT_EQ(v.P().m_firstTrace + v.PerPage(), 200);  // no blank columns past the last trace
  EXPECT_LT(v.P().m_firstTrace, atEnd);
  EXPECT_NEAR(v.P().m_startTime + v.view.VisibleSpan(), v.view.SectionEnd(), 1e-12);
  EXPECT_LT(v.P().m_startTime, bottom);
  v.view.Resize(kWidth + 100, kHeight + 20);  // smaller, still larger than at first
  EXPECT_EQ(v.P().m_firstTrace + v.PerPage(), 200);
  v.view.Resize(kWidth, kHeight);
  EXPECT_EQ(v.P().m_firstTrace, atEnd);
  EXPECT_EQ(v.P().m_startTime, bottom);

  v.view.Resize(kWidth + 333, kHeight);
  v.nav.Key(ViewKey::kLeft, {});
  const int scrolled = v.P().m_firstTrace;
  v.view.Resize(kWidth, kHeight);
  EXPECT_EQ(v.P().m_firstTrace, scrolled);

  v.nav.Key(ViewKey::kHome, {});  // from the middle a resize never moves the page
  v.nav.ScrollTraces(30);
  for (int width : {kWidth - 200, kWidth + 200, kWidth}) {
    v.view.Resize(width, kHeight);
    EXPECT_EQ(v.P().m_firstTrace, 30) << width;
  }
}

TEST(ZoomHistory, SkipsRepeatedKindsAndKeepsTheLatestSixteen) {
  ZoomHistory h;
  DisplayParams p;
  h.Record(p, kZoomTraces);
  h.Record(p, kZoomTraces);
  EXPECT_EQ(h.Size(), 1);
  h.Record(p, kZoomTime);
  h.Record(p, kZoomTraces);
  EXPECT_EQ(h.Size(), 3);
  h.Clear();
  for (int i = 0; i < 20; ++i) {
    p.m_firstTrace = i;
    h.Record(p, kZoomRectangleKind);
  }
  EXPECT_EQ(h.Size(), ZoomHistory::kDepth);
  DisplayParams out;
  for (int i = 19; i >= 4; --i) {
    ASSERT_TRUE(h.Undo(&out));
    EXPECT_EQ(out.m_firstTrace, i);
  }
  EXPECT_FALSE(h.Undo(&out));
}

TEST(TraceNavigator, ScrollsAVeryLongSectionToItsEnd) {
  Nav v(100000, 4);
  for (int i = 0; i < 5; ++i) v.nav.ScrollTraces(1);
  EXPECT_EQ(v.P().m_firstTrace, 5);
  v.nav.Key(ViewKey::kEnd, {});
  EXPECT_EQ(v.P().m_firstTrace, 100000 - v.PerPage());
  EXPECT_EQ(v.nav.Key(ViewKey::kRight, {}), kChangeNone);
}

}  // namespace
