// The interactive trace view driven through real Qt events on the offscreen
// platform: keys, the wheel, scroll bars, mouse drags, the signals to the
// owner, the status strip and the settings panel binding.
#include <gtest/gtest.h>

#include <QApplication>
#include <QBackingStore>
#include <QMenu>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <cmath>
#include <memory>

#include "app/AppSettings.h"
#include "app/SynthSurvey.h"
#include "display/ColorScheme.h"
#include "gui/traceview/CursorStatusStrip.h"
#include "gui/traceview/TraceViewOverlay.h"
#include "gui/traceview/TraceViewWidget.h"
#include "processing/TraceSort.h"
#include "section/SeismicSection.h"

namespace {

// Records what the view asks of the settings panel.
class FakePanel : public PanelLink {
 public:
  void AttachView(DisplayTarget* view) override {
    bound = view;
    ++attaches;
  }
  void DetachView(DisplayTarget* view) override {
    if (bound == view) bound = nullptr;
    ++detaches;
  }
  void RefreshScaleFields() override { ++scales; }
  void RefreshGainFields() override { ++gains; }
  void RefreshAllControls() override { ++all; }
  void SetEnsembleKey(double key) override { lastKey = key; }
  void NoEnsembles() override {}

  DisplayTarget* bound = nullptr;
  int attaches = 0, detaches = 0, scales = 0, gains = 0, all = 0;
  double lastKey = 0.0;
};

class TraceViewWidgetTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Settings().traceScrollFast = 10;
    Settings().timeScrollSlow = 1;
    Settings().timeScrollFast = 10;
    Settings().crossCursorThickness = 1;
    SynthParams p;
    p.shots = 4;
    p.channels = 50;
    p.samples = 501;  // 1 s at 2 ms
    ASSERT_EQ(MakeSynthSurvey(m_section, p), 200);
  }

  std::unique_ptr<TraceViewWidget> MakeView(const TraceViewOptions& o = TraceViewOptions::MainView()) {
    auto view = std::make_unique<TraceViewWidget>(nullptr, o);
    view->resize(800, 600);
    view->show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(view.get()));
    view->ShowTraces(m_section.Traces(), m_section.Summary(), m_section.Ensembles());
    view->RefreshDisplay();
    return view;
  }

  // Mouse events with a button held, as QTest::mouseMove sends none.
  static void Move(QWidget* w, QPoint pos, Qt::MouseButtons buttons, Qt::KeyboardModifiers mods = {}) {
    QMouseEvent e(QEvent::MouseMove, QPointF(pos), w->mapToGlobal(QPointF(pos)), Qt::NoButton, buttons, mods);
    QApplication::sendEvent(w, &e);
  }
  static void Drag(QWidget* w, Qt::MouseButton b, QPoint from, QPoint to, Qt::KeyboardModifiers mods = {}) {
    QTest::mousePress(w, b, mods, from);
    Move(w, (from + to) / 2, b, mods);
    Move(w, to, b, mods);
    QTest::mouseRelease(w, b, mods, to);
  }
  static QRgb Pixel(TraceViewWidget& v, int x, int y) { return v.grab().toImage().pixel(x, y); }
  static QRgb RasterColor(TraceViewWidget& v, int x, int y) {
    const BackingStore& s = v.Plotter().Store();
    return TraceViewOverlay::FromColorref(s.GetPalette().Colorref(s.Row(y)[x])).rgb();
  }

  SeismicSection m_section;
};

}  // namespace

TEST_F(TraceViewWidgetTest, KeysScrollAndRunsOfKeyZoomsUndoInOneStep) {
  auto v = MakeView();
  DisplayParams& p = v->Params();
  QSignalSpy first(v.get(), &TraceViewWidget::FirstTraceChanged);
  QTest::keyClick(v.get(), Qt::Key_Right);
  QTest::keyClick(v.get(), Qt::Key_Right, Qt::ShiftModifier);
  EXPECT_EQ(p.m_firstTrace, 11);
  EXPECT_EQ(v->HorizontalBar()->value(), 11);
  ASSERT_EQ(first.count(), 2);
  EXPECT_EQ(first.at(1).at(0).toInt(), 1);
  EXPECT_EQ(first.at(1).at(1).toInt(), 11);

  const double ppt = p.m_pixPerTrace, pps = p.m_pixPerSec;
  for (int i = 0; i < 3; ++i) QTest::keyClick(v.get(), Qt::Key_Right, Qt::ControlModifier);
  EXPECT_NEAR(p.m_pixPerTrace, ppt * 1.1 * 1.1 * 1.1, 1e-9);
  QTest::keyClick(v.get(), Qt::Key_Down, Qt::ControlModifier);
  EXPECT_NEAR(p.m_pixPerSec, pps * 1.05, 1e-9);
  QTest::keyClick(v.get(), Qt::Key_Escape);  // the time zoom
  EXPECT_EQ(p.m_pixPerSec, pps);
  EXPECT_NE(p.m_pixPerTrace, ppt);
  QTest::keyClick(v.get(), Qt::Key_Escape);  // the three trace zooms at once
  EXPECT_EQ(p.m_pixPerTrace, ppt);
  EXPECT_EQ(v->HorizontalBar()->pageStep(), v->Plotter().TracesPerPage());
}

TEST_F(TraceViewWidgetTest, LastPageAndTimeKeysMoveTheBarsAndStopAtTheEnds) {
  auto v = MakeView();
  QSignalSpy first(v.get(), &TraceViewWidget::FirstTraceChanged);
  QTest::keyClick(v.get(), Qt::Key_End);
  const int last = 200 - v->Plotter().TracesPerPage();
  EXPECT_EQ(v->Params().m_firstTrace, last);
  EXPECT_EQ(v->HorizontalBar()->value(), last);
  EXPECT_EQ(v->HorizontalBar()->maximum(), last);
  QTest::keyClick(v.get(), Qt::Key_Right);
  EXPECT_EQ(first.count(), 1);  // nothing more at the last page

  QTest::keyClick(v.get(), Qt::Key_Down, Qt::ShiftModifier);
  EXPECT_EQ(v->VerticalBar()->value(), 10);
  QTest::keyClick(v.get(), Qt::Key_End, Qt::ControlModifier);
  const double bottom = v->Plotter().SectionEnd() - v->Plotter().VisibleSpan();
  EXPECT_DOUBLE_EQ(v->Params().m_startTime, bottom);
  EXPECT_EQ(v->VerticalBar()->value(), static_cast<int>(bottom * v->Params().m_pixPerSec + 0.499));
  QTest::keyClick(v.get(), Qt::Key_Home, Qt::ControlModifier);
  EXPECT_EQ(v->VerticalBar()->value(), 0);
}

TEST_F(TraceViewWidgetTest, VerticalThumbCountsFromTheSectionStart) {
  for (int i = 0; i < m_section.Count(); ++i) m_section.Trace(i)->DELAY = 2.0;
  ASSERT_GT(m_section.Scan(), 0);
  auto v = MakeView();
  EXPECT_DOUBLE_EQ(v->Params().m_startTime, 2.0);
  EXPECT_EQ(v->VerticalBar()->value(), 0);
  QTest::keyClick(v.get(), Qt::Key_Down);
  EXPECT_EQ(v->VerticalBar()->value(), 1);
}

TEST_F(TraceViewWidgetTest, ScrollBarClicksAndThumbDragsScrollTheView) {
  auto v = MakeView();
  QScrollBar* h = v->HorizontalBar();
  h->triggerAction(QAbstractSlider::SliderSingleStepAdd);
  EXPECT_EQ(v->Params().m_firstTrace, 1);
  h->triggerAction(QAbstractSlider::SliderPageStepAdd);
  const int page = v->Plotter().TracesPerPage();
  EXPECT_EQ(v->Params().m_firstTrace, std::min(1 + page, 200 - page));
  h->setSliderPosition(37);  // a thumb drag
  EXPECT_EQ(v->Params().m_firstTrace, 37);
  EXPECT_EQ(h->value(), 37);
  QScrollBar* t = v->VerticalBar();
  t->triggerAction(QAbstractSlider::SliderPageStepAdd);
  const double span = v->Plotter().VisibleSpan();
  const double start = std::min(span, v->Plotter().SectionEnd() - span);  // at most the last span
  EXPECT_NEAR(v->Params().m_startTime, start, 1e-12);
  EXPECT_EQ(t->value(), static_cast<int>(start * v->Params().m_pixPerSec + 0.499));
  t->triggerAction(QAbstractSlider::SliderToMinimum);
  EXPECT_EQ(v->Params().m_startTime, 0.0);
  EXPECT_EQ(t->value(), 0);
}

TEST_F(TraceViewWidgetTest, WheelScrollsTracesOrWithCtrlTime) {
  auto v = MakeView();
  auto wheel = [&](int dy, Qt::KeyboardModifiers mods) {
    QPointF at(300, 300);
    QWheelEvent e(at, v->mapToGlobal(at), QPoint(), QPoint(0, dy), Qt::NoButton, mods, Qt::NoScrollPhase,
                  false);
    QApplication::sendEvent(v.get(), &e);
  };
  wheel(-120, {});
  EXPECT_EQ(v->Params().m_firstTrace, 1);
  wheel(-60, Qt::ShiftModifier);  // half a notch waits for the other half
  EXPECT_EQ(v->Params().m_firstTrace, 1);
  wheel(-60, Qt::ShiftModifier);
  EXPECT_EQ(v->Params().m_firstTrace, 11);
  wheel(-120, Qt::ControlModifier);
  EXPECT_EQ(v->VerticalBar()->value(), 1);
}

TEST_F(TraceViewWidgetTest, ZoomRectangleIsInvertedWhileDraggedThenZooms) {
  auto v = MakeView();
  v->Params().m_zoomTool = kZoomRectangle;
  v->ZoomToolChanged();
  EXPECT_EQ(v->PointerShape(), ViewCursors::kZoom);
  const AxisLayout::Result g = v->Plotter().Geometry();
  const QPoint a(g.plotLeft + 52, g.plotTop + 40), b(g.plotLeft + 252, g.plotTop + 240);
  const int t1 = v->Plotter().TraceAtColumn(a.x()), t2 = v->Plotter().TraceAtColumn(b.x());
  QTest::mousePress(v.get(), Qt::LeftButton, {}, a);
  Move(v.get(), b, Qt::LeftButton);
  // A frame pixel shows the raster's colour inverted; the raster is untouched.
  const QRgb under = RasterColor(*v, a.x() + 100, a.y());
  EXPECT_EQ(Pixel(*v, a.x() + 100, a.y()) & 0xFFFFFF, ~under & 0xFFFFFF);
  EXPECT_EQ(Pixel(*v, a.x() + 100, a.y() + 100) & 0xFFFFFF,
            RasterColor(*v, a.x() + 100, a.y() + 100) & 0xFFFFFF);
  QTest::mouseRelease(v.get(), Qt::LeftButton, {}, b);
  EXPECT_EQ(v->Params().m_firstTrace, t1);
  EXPECT_NEAR(v->Params().m_pixPerTrace, static_cast<double>(g.plotWidth) / (t2 - t1 + 1), 1e-9);
  EXPECT_EQ(v->Navigator().CurrentDragMode(), TraceNavigator::kDragNone);
  EXPECT_EQ(Pixel(*v, a.x() + 100, a.y()) & 0xFFFFFF, RasterColor(*v, a.x() + 100, a.y()) & 0xFFFFFF);
  // Undo restores the scales from before the rectangle.
  QTest::keyClick(v.get(), Qt::Key_Escape);
  EXPECT_EQ(v->Params().m_pixPerTrace, 5.0);
  // A rectangle under 3 pixels wide does nothing.
  Drag(v.get(), Qt::LeftButton, a, a + QPoint(2, 100));
  EXPECT_EQ(v->Params().m_pixPerTrace, 5.0);
}

TEST_F(TraceViewWidgetTest, ASortedSectionBringsItsEnsembles) {
  auto v = MakeView();
  EXPECT_FALSE(v->HasEnsembles());
  SortParams sort;
  sort.keys[0] = FindSortKeyByName("FLDR");
  sort.keyCount = 1;
  ASSERT_EQ(SortSection(m_section, sort), 0);
  ASSERT_EQ(m_section.m_ensembleCount, 4);
  v->ShowTraces(m_section.Traces(), m_section.Summary(), m_section.Ensembles());
  v->RefreshDisplay();
  ASSERT_TRUE(v->HasEnsembles());
  v->EnsembleStep(3, m_section.m_ensembles[2].key);
  v->SetEnsembleView(true);
  EXPECT_EQ(v->Plotter().ShownFirst(), m_section.m_ensembles[2].first);
  EXPECT_EQ(v->Plotter().TraceCount(), 50);
}

TEST_F(TraceViewWidgetTest, SelectionIsSentInAbsoluteTraces) {
  auto v = MakeView();
  std::vector<ViewEnsemble> ens = {{0, 50, 101.0}, {50, 50, 102.0}, {100, 50, 103.0}, {150, 50, 104.0}};
  v->SetEnsembles(ens);
  v->EnsembleStep(1, 0.0);  // the second ensemble
  v->SetEnsembleView(true);
  ASSERT_EQ(v->Plotter().ShownFirst(), 50);
  v->Params().m_zoomTool = kZoomSelect;
  QSignalSpy sel(v.get(), &TraceViewWidget::SelectionMade);
  const AxisLayout::Result g = v->Plotter().Geometry();
  const QPoint a(g.plotLeft + 30, g.plotTop + 20), b(g.plotLeft + 130, g.plotTop + 220);
  const int s1 = v->Plotter().TraceAtColumn(a.x()), s2 = v->Plotter().TraceAtColumn(b.x());
  QTest::mousePress(v.get(), Qt::LeftButton, {}, a);
  Move(v.get(), b, Qt::LeftButton);
  EXPECT_FALSE(v->Plotter().RubberBand().Empty());
  QTest::mouseRelease(v.get(), Qt::LeftButton, {}, b);
  ASSERT_EQ(sel.count(), 1);
  EXPECT_EQ(sel.at(0).at(0).toInt(), 1);
  auto s = sel.at(0).at(1).value<VTracePlotter::Selection>();
  EXPECT_EQ(s.firstTrace, 50 + s1);
  EXPECT_EQ(s.lastTrace, 50 + s2);
  EXPECT_TRUE(v->Plotter().RubberBand().Empty());

  // Shift-click highlights; the owner hears the absolute index.
  QSignalSpy high(v.get(), &TraceViewWidget::HighlightChanged);
  QTest::mouseClick(v.get(), Qt::LeftButton, Qt::ShiftModifier, a);
  ASSERT_EQ(high.count(), 1);
  EXPECT_EQ(high.at(0).at(0).toInt(), 50 + s1);

  // Page Down steps to the next ensemble: the panel shows its key and the
  // owner hears the highlight's new absolute index.
  FakePanel panel;
  v->SetPanel(&panel);
  QFocusEvent in(QEvent::FocusIn, Qt::OtherFocusReason);
  QApplication::sendEvent(v.get(), &in);
  QTest::keyClick(v.get(), Qt::Key_PageDown);
  EXPECT_EQ(v->Plotter().ShownFirst(), 100);
  EXPECT_EQ(panel.lastKey, 103.0);
  ASSERT_EQ(high.count(), 2);
  EXPECT_EQ(high.at(1).at(0).toInt(), 100 + s1);
  v->SetPanel(nullptr);
}

TEST_F(TraceViewWidgetTest, RightClickDoesNothingWhileHoldingOrMovingStartsARubberBand) {
  auto v = MakeView();
  const AxisLayout::Result g = v->Plotter().Geometry();
  const QPoint a(g.plotLeft + 50, g.plotTop + 50), b(g.plotLeft + 250, g.plotTop + 250);
  QTest::mousePress(v.get(), Qt::RightButton, {}, a);
  QTest::qWait(50);
  QTest::mouseRelease(v.get(), Qt::RightButton, {}, a);
  QTest::qWait(RightButtonHold::kHoldMs + 100);
  EXPECT_EQ(v->Navigator().CurrentDragMode(), TraceNavigator::kDragNone);
  EXPECT_EQ(v->Params().m_pixPerTrace, 5.0);

  // Held: a zoom rectangle once the wait is over.
  QTest::mousePress(v.get(), Qt::RightButton, {}, a);
  EXPECT_EQ(v->Navigator().CurrentDragMode(), TraceNavigator::kDragNone);
  QTest::qWait(RightButtonHold::kHoldMs + 100);
  EXPECT_EQ(v->Navigator().CurrentDragMode(), TraceNavigator::kDragZoom);
  Move(v.get(), b, Qt::RightButton);
  QTest::mouseRelease(v.get(), Qt::RightButton, {}, b);
  EXPECT_NE(v->Params().m_pixPerTrace, 5.0);

  // Moved at once with Ctrl: a selection rectangle without waiting.
  QSignalSpy sel(v.get(), &TraceViewWidget::SelectionMade);
  QTest::mousePress(v.get(), Qt::RightButton, Qt::ControlModifier, a);
  Move(v.get(), a + QPoint(4, 0), Qt::RightButton, Qt::ControlModifier);
  EXPECT_EQ(v->Navigator().CurrentDragMode(), TraceNavigator::kDragSelect);
  Move(v.get(), b, Qt::RightButton, Qt::ControlModifier);
  QTest::mouseRelease(v.get(), Qt::RightButton, Qt::ControlModifier, b);
  EXPECT_EQ(sel.count(), 1);
}

TEST_F(TraceViewWidgetTest, HandScrollFollowsTheMouseWithAClosedHand) {
  auto v = MakeView();
  const AxisLayout::Result g = v->Plotter().Geometry();
  const QPoint a(g.plotLeft + 300, g.plotTop + 200);
  QTest::mousePress(v.get(), Qt::LeftButton, {}, a);
  EXPECT_EQ(v->PointerShape(), ViewCursors::kHand);
  Move(v.get(), a - QPoint(50, 20), Qt::LeftButton);  // 10 traces at 5 pixels, 20 ms at 1000 px/s
  EXPECT_EQ(v->Params().m_firstTrace, 10);
  EXPECT_EQ(v->VerticalBar()->value(), 20);
  QTest::mouseRelease(v.get(), Qt::LeftButton, {}, a - QPoint(50, 20));
  EXPECT_EQ(v->PointerShape(), ViewCursors::kArrow);
}

TEST_F(TraceViewWidgetTest, CursorReadoutReachesTheStripAndLeaveClearsIt) {
  auto v = MakeView();
  CursorStatusStrip strip;
  QObject::connect(v.get(), &TraceViewWidget::CursorMoved, &strip, &CursorStatusStrip::ShowReadout);
  QSignalSpy moved(v.get(), &TraceViewWidget::CursorMoved);
  QTest::keyClick(v.get(), Qt::Key_Right, Qt::ShiftModifier);  // first trace 10
  const AxisLayout::Result g = v->Plotter().Geometry();
  QTest::mouseMove(v.get(), QPoint(g.plotLeft + 12, g.plotTop + 100));  // trace 12, 100 ms
  ASSERT_GE(moved.count(), 1);
  EXPECT_EQ(moved.last().at(0).toInt(), 12);
  EXPECT_TRUE(strip.Text().startsWith("tr=13   smp=51    TIME = 100 ms")) << strip.Text().toStdString();
  // Light grey behind the bold text, which starts 10 pixels in.
  strip.resize(400, 24);
  const QImage shown = strip.grab().toImage();
  EXPECT_EQ(shown.pixel(399, 1) & 0xFFFFFF, 0xF0F0F0u);
  int firstInk = -1;
  for (int x = 0; x < 60 && firstInk < 0; ++x)
    for (int y = 0; y < 24; ++y)
      if ((shown.pixel(x, y) & 0xFFFFFF) != 0xF0F0F0u) {
        firstInk = x;
        break;
      }
  EXPECT_GE(firstInk, 10);
  EXPECT_LE(firstInk, 13);
  EXPECT_EQ(strip.Baseline(), 16);
  QTest::mouseMove(v.get(), QPoint(g.plotLeft + 12, g.plotTop - 5));
  EXPECT_EQ(strip.Text(), "tr=13");
  QEvent leave(QEvent::Leave);
  QApplication::sendEvent(v.get(), &leave);
  EXPECT_EQ(strip.Text(), "");
  EXPECT_EQ(moved.last().at(0).toInt(), CursorReport::kNoTrace);
}

TEST_F(TraceViewWidgetTest, CrossLinesAndHeaderWordPopupAreDrawnOverTheRaster) {
  auto v = MakeView();
  v->Params().m_displayMode = kDisplayWiggle;
  v->Params().m_crossLinesCursor = 1;
  v->Params().m_headerWordLabels = 1;
  v->DisplayChanged(1);
  const AxisLayout::Result g = v->Plotter().Geometry();
  const QPoint at(g.plotLeft + 102, g.plotTop + 150);
  QTest::mouseMove(v.get(), at);
  EXPECT_EQ(v->PointerShape(), ViewCursors::kHidden);
  QImage shown = v->grab().toImage();
  const QRgb cross = TraceViewOverlay::FromColorref(VTracePlotter::CrossCursorColor(0)).rgb();
  EXPECT_EQ(shown.pixel(at.x(), at.y() + 60), cross);
  EXPECT_EQ(shown.pixel(at.x() + 60, at.y()), cross);
  EXPECT_NE(RasterColor(*v, at.x(), at.y() + 60), cross);
  // The popup box: label width + 20, centred on the trace under the cursor.
  const int trace = v->Plotter().TraceAtColumn(at.x());
  HeaderWordPopup popup;
  ASSERT_TRUE(v->Navigator().HeaderPopup(&popup));
  const QRect box = TraceViewOverlay::ToQRect(popup.box);
  EXPECT_EQ(box.width(), v->Plotter().Labels().LabelWidth() + 20);
  EXPECT_LE(std::abs(box.center().x() - v->Plotter().MakeRendererInput().TraceCentre(trace)), 1);
  ASSERT_EQ(popup.lines.size(), 1u);
  EXPECT_EQ(popup.lines[0], std::to_string(trace + 1));
  // Bold ink of scheme entry 1 inside the box.
  const QRgb ink =
      TraceViewOverlay::FromColorref(v->Plotter().Store().GetPalette().Colorref(kSchemeAxes)).rgb();
  int inked = 0;
  for (int y = box.top(); y <= box.bottom(); ++y)
    for (int x = box.left(); x <= box.right(); ++x) inked += shown.pixel(x, y) == ink;
  EXPECT_GT(inked, 10);
  const QRgb fill = TraceViewOverlay::FromColorref(VTracePlotter::kPopupColor).rgb();
  EXPECT_EQ(shown.pixel(box.left(), box.top()), fill);
  EXPECT_EQ(shown.pixel(box.right(), box.bottom()), fill);
  QTest::mouseMove(v.get(), QPoint(2, g.plotTop + 150));  // over the time axis
  EXPECT_EQ(v->PointerShape(), ViewCursors::kArrow);

  // On the window itself, a move repaints only the lines' pixels: the old
  // ones are gone and the new ones are there.
  QTest::mouseMove(v.get(), at);
  QTest::mouseMove(v.get(), at + QPoint(40, 30));
  QCoreApplication::processEvents();
  auto* window = dynamic_cast<QImage*>(v->backingStore()->paintDevice());
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(window->pixel(at.x(), at.y() + 100), RasterColor(*v, at.x(), at.y() + 100));
  EXPECT_EQ(window->pixel(at.x() + 40, at.y() + 100), cross);
}

TEST_F(TraceViewWidgetTest, FocusBindsThePanelAndKeysAskItToRefresh) {
  auto v = MakeView();
  FakePanel panel;
  v->SetPanel(&panel);
  QFocusEvent in(QEvent::FocusIn, Qt::OtherFocusReason);
  QApplication::sendEvent(v.get(), &in);
  EXPECT_EQ(panel.bound, v.get());
  EXPECT_EQ(v->Plotter().Store().Row(0)[0], kSchemeSelection);  // the focus line
  QTest::keyClick(v.get(), Qt::Key_Right, Qt::ControlModifier);
  EXPECT_EQ(panel.scales, 1);
  QTest::keyClick(v.get(), Qt::Key_Asterisk, Qt::NoModifier);
  EXPECT_EQ(panel.gains, 1);
  EXPECT_NEAR(v->Params().m_colorGain, 1.1, 1e-12);
  QTest::keyClicks(v.get(), "i");
  EXPECT_EQ(panel.all, 1);
  EXPECT_EQ(v->Params().m_inversePolarity, 1);
  // A reload unbinds the panel, and the new section binds it again.
  v->Clear();
  EXPECT_EQ(panel.bound, nullptr);
  v->ShowTraces(m_section.Traces(), m_section.Summary(), m_section.Ensembles());
  v->RefreshDisplay();
  EXPECT_EQ(panel.bound, v.get());
  v->SetPanel(nullptr);
  EXPECT_EQ(panel.bound, nullptr);
}

TEST_F(TraceViewWidgetTest, FunctionKeysAskTheOwner) {
  auto v = MakeView();
  QSignalSpy snap(v.get(), &TraceViewWidget::SnapshotRequested);
  QSignalSpy params(v.get(), &TraceViewWidget::ParametersRequested);
  QTest::keyClick(v.get(), Qt::Key_F5);
  QTest::keyClick(v.get(), Qt::Key_F9);
  ASSERT_EQ(snap.count(), 1);
  EXPECT_EQ(snap.at(0).at(0).toInt(), 1);
  EXPECT_EQ(params.count(), 1);
}

TEST_F(TraceViewWidgetTest, SecondViewRequestsTogglesAndCloseButReportsNoCursor) {
  auto v = MakeView(TraceViewOptions::SecondView());
  EXPECT_TRUE(v->isWindow());
  QSignalSpy toggle(v.get(), &TraceViewWidget::ToggleTraceRequested);
  QSignalSpy group(v.get(), &TraceViewWidget::ToggleGroupRequested);
  QSignalSpy moved(v.get(), &TraceViewWidget::CursorMoved);
  QSignalSpy closing(v.get(), &TraceViewWidget::CloseRequested);
  QSignalSpy save(v.get(), &TraceViewWidget::SaveStacksRequested);
  const AxisLayout::Result g = v->Plotter().Geometry();
  const QPoint at(g.plotLeft + 17, g.plotTop + 30);  // trace 3
  QTest::mouseClick(v.get(), Qt::LeftButton, Qt::ShiftModifier, at);
  QTest::mouseClick(v.get(), Qt::LeftButton, Qt::ControlModifier, at);
  ASSERT_EQ(toggle.count(), 1);
  EXPECT_EQ(toggle.at(0).at(0).toInt(), 3);
  ASSERT_EQ(group.count(), 1);
  QTest::mouseMove(v.get(), at + QPoint(5, 5));
  EXPECT_EQ(moved.count(), 0);
  v->close();
  EXPECT_TRUE(v->isVisible());  // the owner decides
  ASSERT_EQ(closing.count(), 1);
  EXPECT_EQ(closing.at(0).at(0).toInt(), 2);
  // The right button offers "Save Stacks ".
  QTimer::singleShot(100, [] {
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    ASSERT_NE(menu, nullptr);
    ASSERT_EQ(menu->actions().size(), 1);
    EXPECT_EQ(menu->actions().at(0)->text(), "Save Stacks ");
    menu->setActiveAction(menu->actions().at(0));
    QTest::keyClick(menu, Qt::Key_Return);
  });
  QTest::mouseClick(v.get(), Qt::RightButton, {}, at);
  EXPECT_EQ(save.count(), 1);
}
