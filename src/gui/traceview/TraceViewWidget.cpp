#include "gui/traceview/TraceViewWidget.h"

#include <QApplication>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QImage>
#include <QKeyEvent>
#include <QMenu>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPainter>
#include <QRegion>
#include <QScrollBar>
#include <QVector>
#include <QWheelEvent>
#include <algorithm>

#include "app/AppSettings.h"
#include "gui/traceview/TraceViewOverlay.h"
#include "processing/ActiveFilter.h"
#include "section/SeismicSection.h"

namespace {

bool MapKey(int qtKey, ViewKey* key) {
  switch (qtKey) {
    case Qt::Key_Left:
      *key = ViewKey::kLeft;
      return true;
    case Qt::Key_Right:
      *key = ViewKey::kRight;
      return true;
    case Qt::Key_Up:
      *key = ViewKey::kUp;
      return true;
    case Qt::Key_Down:
      *key = ViewKey::kDown;
      return true;
    case Qt::Key_PageUp:
      *key = ViewKey::kPageUp;
      return true;
    case Qt::Key_PageDown:
      *key = ViewKey::kPageDown;
      return true;
    case Qt::Key_Home:
      *key = ViewKey::kHome;
      return true;
    case Qt::Key_End:
      *key = ViewKey::kEnd;
      return true;
    case Qt::Key_Escape:
      *key = ViewKey::kEscape;
      return true;
    case Qt::Key_F5:
      *key = ViewKey::kF5;
      return true;
    case Qt::Key_F9:
      *key = ViewKey::kF9;
      return true;
    default:
      return false;
  }
}

KeyModifiers Mods(Qt::KeyboardModifiers m) {
  return {(m & Qt::ShiftModifier) != 0, (m & Qt::ControlModifier) != 0};
}

// A scroll bar set from the navigator's state, which counts its maximum as
// the last unit of the range (page included); Qt's maximum is the last
// position of the page's first unit.
void SetBar(QScrollBar* bar, const ScrollBarState& s) {
  const int page = std::max(s.page, 1);
  const int64_t last = static_cast<int64_t>(s.max) - page + 1;
  bar->setRange(s.min, static_cast<int>(std::max<int64_t>(s.min, last)));
  bar->setPageStep(page);
  bar->setSingleStep(1);
  bar->setValue(s.position);
}

}  // namespace

TraceViewWidget::TraceViewWidget(QWidget* parent, const TraceViewOptions& options)
    : QWidget(parent),
      m_options(options),
      m_plotter(options.viewNumber,
                options.style & (VTracePlotter::kTimeAxis | VTracePlotter::kHeaderLabels)),
      m_navigator(m_plotter) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  setFocusPolicy(Qt::StrongFocus);
  setMouseTracking(true);
  setMinimumSize(50, 50);
  if (options.style & (TraceViewOptions::kTopLevel | TraceViewOptions::kOwnedFrame))
    setWindowFlag(Qt::Window);
  m_plotter.SetViewRole(options.role);
  m_plotter.SetFilter(&ActiveFilter());
  if (options.style & TraceViewOptions::kHorizontalBar) {
    m_hbar = new QScrollBar(Qt::Horizontal, this);
    m_hbar->setFocusPolicy(Qt::NoFocus);
    connect(m_hbar, &QScrollBar::actionTriggered, this, [this](int action) { BarAction(m_hbar, action); });
  }
  if (options.style & TraceViewOptions::kVerticalBar) {
    m_vbar = new QScrollBar(Qt::Vertical, this);
    m_vbar->setFocusPolicy(Qt::NoFocus);
    connect(m_vbar, &QScrollBar::actionTriggered, this, [this](int action) { BarAction(m_vbar, action); });
  }
  connect(&m_rightHold, &RightButtonHold::Started, this, &TraceViewWidget::StartRightDrag);
  ReadSettings();
}

TraceViewWidget::~TraceViewWidget() {
  if (m_panel != nullptr) m_panel->DetachView(this);
}

QSize TraceViewWidget::ClientSize() const {
  int w = width() - (m_vbar != nullptr ? m_vbar->sizeHint().width() : 0);
  int h = height() - (m_hbar != nullptr ? m_hbar->sizeHint().height() : 0);
  return {std::max(w, 2), std::max(h, 2)};
}

void TraceViewWidget::SetPanel(PanelLink* panel) {
  if (m_panel != nullptr && m_panel != panel) m_panel->DetachView(this);
  m_panel = panel;
  m_panelBound = false;
  m_rebindPanel = false;
  if (m_panel != nullptr && hasFocus()) {
    m_panel->AttachView(this);
    m_panelBound = true;
  }
}

void TraceViewWidget::SetEnsembles(const std::vector<ViewEnsemble>& ensembles) {
  m_navigator.SetEnsembles(ensembles);
  if (m_panel != nullptr && m_panelBound) m_panel->RefreshAllControls();
}

void TraceViewWidget::ReadSettings() {
  const AppSettings& app = Settings();
  VTracePlotter::RenderSettings rs;
  rs.wiggleMinIntertrace = app.wiggleMinIntertrace;
  rs.evenSpacingBelow = app.evenSpacingBelow;
  rs.displayThreads = app.displayThreads;  // fixed for the run
  m_plotter.SetRenderSettings(rs);
  TraceNavigator::Steps steps;
  steps.traceFast = app.traceScrollFast;
  steps.timeSlow = app.timeScrollSlow;
  steps.timeFast = app.timeScrollFast;
  m_navigator.SetSteps(steps);
  m_crossThickness = app.crossCursorThickness;
  if (m_created && HasData()) RefreshDisplay();
}

bool TraceViewWidget::EnsureCreated() {
  if (m_created) return true;
  QSize client = ClientSize();
  m_created = m_plotter.Create(client.width(), client.height(), &m_text) == 0;
  return m_created;
}

// ---- the workspace's view -------------------------------------------------

void TraceViewWidget::Clear() {
  m_rightHold.Cancel();
  m_lastDragMode = TraceNavigator::kDragNone;
  m_plotter.DetachSection();
  m_navigator.Reset();
  m_samples = 0;
  if (m_panel != nullptr) {
    if (m_panelBound) m_panel->NoEnsembles();
    m_rebindPanel = m_panelBound;
    m_panel->DetachView(this);
    m_panelBound = false;
  }
  UpdateScrollBars();
  UpdateIdleShape();
}

void TraceViewWidget::RefreshDisplay() {
  if (!EnsureCreated()) return;
  m_plotter.Layout(false);
  m_plotter.Redraw();
  UpdateScrollBars();
  update();
  if (m_panel == nullptr || !HasData()) return;
  if (m_rebindPanel) {
    // A load replaced the section under the bound panel: bind it again.
    m_panel->AttachView(this);
    m_panelBound = true;
    m_rebindPanel = false;
  } else if (m_panelBound) {
    m_panel->RefreshAllControls();
  }
}

void TraceViewWidget::ShowTraces(std::span<TraceRecord* const> traces, const SectionSummary& summary,
                                 std::span<const EnsembleRecord> ensembles) {
  EnsureCreated();
  m_navigator.Reset();
  if (m_plotter.AttachTraces(traces, summary) != 0) return;
  m_samples = summary.maxSamples;
  // A sorted section brings its ensembles, so the "Full" view follows every sort.
  std::vector<ViewEnsemble> shown;
  for (const EnsembleRecord& e : ensembles) shown.push_back({e.first, e.count, e.key});
  m_navigator.SetEnsembles(shown);
}

void TraceViewWidget::PlotSize(int* width, int* height) {
  if (EnsureCreated()) {
    m_plotter.Store().BuildPalette(m_plotter.Params());
    m_plotter.Layout(false);
  }
  *width = m_plotter.Geometry().plotWidth;
  *height = m_plotter.Geometry().plotHeight;
}

// ---- the settings panel's target ------------------------------------------

void TraceViewWidget::ChangeGeometry() {
  if (!EnsureCreated()) return;
  m_plotter.Layout(true);
  UpdateScrollBars();
  update();
}

void TraceViewWidget::DisplayChanged(int hint) {
  if (!EnsureCreated()) return;
  m_plotter.DisplayChanged(hint);
  UpdateScrollBars();
  update();
}

void TraceViewWidget::ScaleAboutToChange(int which) {
  m_navigator.ScaleAboutToChange(which);
}

void TraceViewWidget::FitTime() {
  ApplyChange(m_navigator.FitTime());
}

void TraceViewWidget::FitTraces() {
  ApplyChange(m_navigator.FitTraces());
}

void TraceViewWidget::UndoZoom() {
  ApplyChange(m_navigator.UndoZoom());
}

void TraceViewWidget::ZoomToolChanged() {
  UpdateIdleShape();
}

void TraceViewWidget::SetEnsembleView(bool on) {
  ApplyChange(m_navigator.SetEnsembleView(on));
}

void TraceViewWidget::EnsembleStep(int step, double key) {
  ApplyChange(m_navigator.EnsembleStep(step, key));
}

void TraceViewWidget::HeaderPlotCurveChosen(int curve, int row) {
  m_plotter.ChooseHeaderPlotCurve(curve, row);
  ChangeGeometry();
}

void TraceViewWidget::SetHeaderPlotSettings(const HeaderPlotSettings& settings) {
  m_plotter.SetHeaderPlot(settings);
  ChangeGeometry();
}

const HeaderPlotSettings& TraceViewWidget::GetHeaderPlotSettings() const {
  return m_plotter.GetHeaderPlot().Settings();
}

void TraceViewWidget::SetLabelWords(const std::vector<int>& rows, int graduationStep) {
  m_plotter.SetLabelWords(rows);
  m_labelStep = std::max(graduationStep, 0);
  m_plotter.SetLabelGraduation(m_labelStep, m_hgrad, m_vgrad);
  ChangeGeometry();
}

void TraceViewWidget::SetLabelGraduationSteps(int hgrad, int vgrad) {
  m_hgrad = std::clamp(hgrad, 0, 4);
  m_vgrad = std::clamp(vgrad, 0, 4);
  m_plotter.SetLabelGraduation(m_labelStep, m_hgrad, m_vgrad);
  ChangeGeometry();
}

std::vector<int> TraceViewWidget::LabelWords() const {
  return m_plotter.Labels().Words();
}

int TraceViewWidget::HighlightedAbsolute() const {
  int h = m_plotter.Highlighted();
  return h < 0 ? -1 : m_navigator.AbsoluteTrace(h);
}

// ---- what a change leads to ----------------------------------------------

void TraceViewWidget::ApplyChange(uint32_t change) {
  if (change == kChangeNone) return;
  if (change & kChangeRedrawn) {
    update();
    // The popup follows the trace now under the cursor.
    if (m_cursorPos.x() >= 0 && m_navigator.CurrentDragMode() == TraceNavigator::kDragNone) {
      m_navigator.CursorAt(m_cursorPos.x(), m_cursorPos.y());
      InvalidateOverlays();
    }
  }
  UpdateScrollBars();
  NotifyOwner(change);
  RefreshPanel(change);
  if (change & kChangeDragMode) AfterDragChange();
}

void TraceViewWidget::NotifyOwner(uint32_t change) {
  const int view = m_options.viewNumber;
  if ((change & kChangeFirstTrace) && Notifies(TraceViewOptions::kNotifyFirstTrace))
    emit FirstTraceChanged(view, m_navigator.AbsoluteTrace(m_plotter.Params().m_firstTrace));
  // Stepping through ensembles in the ensemble view tells the owner the
  // highlight and the selection again: their absolute traces changed.
  const bool newEnsemble = (change & kChangeEnsemble) && m_plotter.Params().m_ensembleView != 0;
  if (((change & kChangeHighlight) || newEnsemble) && Notifies(TraceViewOptions::kNotifyHighlight))
    emit HighlightChanged(HighlightedAbsolute());
  if (((change & kChangeSelection) || newEnsemble) && m_plotter.GetSelection().valid)
    emit SelectionMade(view, m_navigator.OwnerSelection());
  if (change & kRequestSnapshot) emit SnapshotRequested(view);
  if (change & kRequestParameters) emit ParametersRequested(view);
  if (change & kRequestToggleTrace) emit ToggleTraceRequested(m_navigator.ToggleTarget());
  if (change & kRequestToggleGroup) emit ToggleGroupRequested(m_navigator.ToggleTarget());
  if (change & kRequestSaveStacks) emit SaveStacksRequested();
}

void TraceViewWidget::RefreshPanel(uint32_t change) {
  if (m_panel == nullptr || !m_panelBound) return;
  if (change & kChangeControls) {
    m_panel->RefreshAllControls();
  } else {
    if (change & kChangeScales) m_panel->RefreshScaleFields();
    if (change & kChangeGains) m_panel->RefreshGainFields();
  }
  if (change & kChangeEnsemble) m_panel->SetEnsembleKey(m_plotter.Params().m_ensembleKey);
}

// ---- scroll bars ----------------------------------------------------------

void TraceViewWidget::LayoutBars() {
  QSize client = ClientSize();
  if (m_hbar != nullptr) m_hbar->setGeometry(0, client.height(), client.width(), height() - client.height());
  if (m_vbar != nullptr) m_vbar->setGeometry(client.width(), 0, width() - client.width(), client.height());
}

void TraceViewWidget::UpdateScrollBars() {
  if (m_hbar != nullptr) SetBar(m_hbar, m_navigator.HorizontalBar());
  if (m_vbar != nullptr) SetBar(m_vbar, m_navigator.VerticalBar());
}

// The bar has moved its slider for the action already; the navigator decides
// where it really goes and the slider is put there before the bar takes it.
void TraceViewWidget::BarAction(QScrollBar* bar, int action) {
  using Action = TraceNavigator::BarAction;
  Action a;
  switch (action) {
    case QAbstractSlider::SliderSingleStepAdd:
      a = Action::kLineAdd;
      break;
    case QAbstractSlider::SliderSingleStepSub:
      a = Action::kLineSub;
      break;
    case QAbstractSlider::SliderPageStepAdd:
      a = Action::kPageAdd;
      break;
    case QAbstractSlider::SliderPageStepSub:
      a = Action::kPageSub;
      break;
    case QAbstractSlider::SliderToMinimum:
      a = Action::kToMinimum;
      break;
    case QAbstractSlider::SliderToMaximum:
      a = Action::kToMaximum;
      break;
    case QAbstractSlider::SliderMove:
      a = Action::kThumb;
      break;
    default:
      return;
  }
  const bool vertical = bar == m_vbar;
  const bool fast = (QGuiApplication::keyboardModifiers() & Qt::ShiftModifier) != 0;
  ApplyChange(m_navigator.ScrollBarAction(vertical, a, fast, bar->sliderPosition()));
  bar->setSliderPosition(vertical ? m_navigator.VerticalBar().position
                                  : m_navigator.HorizontalBar().position);
}

// ---- window events --------------------------------------------------------

void TraceViewWidget::resizeEvent(QResizeEvent*) {
  if (window()->isMinimized()) return;
  LayoutBars();
  QSize client = ClientSize();
  const int32_t first = m_plotter.Params().m_firstTrace;
  if (!m_created) {
    EnsureCreated();
  } else if (m_plotter.Resize(client.width(), client.height()) != 0) {
    QMessageBox::critical(this, "FATAL ERROR", "FAILED to resize backingstore bitmap");
  }
  UpdateScrollBars();
  if (m_plotter.Params().m_firstTrace != first) NotifyOwner(kChangeFirstTrace);
  update();
}

void TraceViewWidget::paintEvent(QPaintEvent* event) {
  QPainter p(this);
  const BackingStore& store = m_plotter.Store();
  const QSize client = ClientSize();
  if (width() > client.width() && height() > client.height())
    p.fillRect(client.width(), client.height(), width() - client.width(), height() - client.height(),
               palette().window());
  if (!m_created || !store.HasRaster() || !store.HasDescription()) {
    p.fillRect(QRect(QPoint(0, 0), client), Qt::white);
    return;
  }
  // The raster is shown as it is: an indexed image over its own memory.
  QImage image(store.Pixels(), store.ClientWidth(), store.ClientHeight(), store.Stride(),
               QImage::Format_Indexed8);
  QVector<QRgb> colors(256);
  const Palette& palette = store.GetPalette();
  for (int i = 0; i < 256; ++i) colors[i] = TraceViewOverlay::FromColorref(palette.Colorref(i)).rgb();
  image.setColorTable(colors);
  // Only what was invalidated: a cursor move invalidates its lines alone.
  const QRect clientRect(QPoint(0, 0), client);
  for (const QRect& r : event->region()) {
    const QRect area = r & clientRect;
    if (area.isEmpty()) continue;
    p.fillRect(area, Qt::white);
    p.drawImage(area.topLeft(), image, area & image.rect());
  }
  PaintOverlays(p);
}

void TraceViewWidget::PaintOverlays(QPainter& p) {
  if (!HasData()) return;
  p.setClipRect(QRect(QPoint(0, 0), ClientSize()));
  const int drag = m_navigator.CurrentDragMode();
  if (drag == TraceNavigator::kDragZoom) {
    // The drag rectangle includes both corner pixels.
    PixelRect r = m_navigator.DragRectangle();
    TraceViewOverlay::InvertFrame(p, PixelRect{r.left, r.top, r.right + 1, r.bottom + 1});
    return;
  }
  if (drag != TraceNavigator::kDragNone || m_cursorPos.x() < 0) return;
  const DisplayParams& params = m_plotter.Params();
  if (params.m_crossLinesCursor) TraceViewOverlay::CrossLines(p, m_plotter, m_cursorPos, m_crossThickness);
  HeaderWordPopup popup;
  if (m_navigator.HeaderPopup(&popup)) {
    QImage image = TraceViewOverlay::RenderPopup(popup, m_plotter, &m_text);
    if (!image.isNull()) p.drawImage(popup.box.left, popup.box.top, image);
  }
}

void TraceViewWidget::focusInEvent(QFocusEvent* event) {
  QWidget::focusInEvent(event);
  m_plotter.ChangeFocus(true);
  update();
  if (m_panel != nullptr) {
    m_panel->AttachView(this);
    m_panelBound = true;
    m_rebindPanel = false;
  }
}

void TraceViewWidget::focusOutEvent(QFocusEvent* event) {
  QWidget::focusOutEvent(event);
  m_plotter.ChangeFocus(false);
  update();
}

void TraceViewWidget::closeEvent(QCloseEvent* event) {
  // The owner decides whether the view goes.
  event->ignore();
  if (Notifies(TraceViewOptions::kNotifyClose)) emit CloseRequested(m_options.viewNumber);
}

// ---- keyboard and wheel ---------------------------------------------------

void TraceViewWidget::keyPressEvent(QKeyEvent* event) {
  ViewKey key;
  if (MapKey(event->key(), &key)) {
    ApplyChange(m_navigator.Key(key, Mods(event->modifiers())));
    return;
  }
  const QString text = event->text();
  if (text.size() == 1) {
    const uint32_t change = m_navigator.Character(text[0].unicode());
    if (change != kChangeNone) {
      ApplyChange(change);
      return;
    }
  }
  QWidget::keyPressEvent(event);
}

void TraceViewWidget::wheelEvent(QWheelEvent* event) {
  // Shift turns a vertical wheel into a horizontal one on some platforms.
  const QPoint delta = event->angleDelta();
  m_wheelRemainder += delta.y() != 0 ? delta.y() : delta.x();
  const int steps = m_wheelRemainder / QWheelEvent::DefaultDeltasPerStep;
  m_wheelRemainder %= QWheelEvent::DefaultDeltasPerStep;
  if (steps != 0) ApplyChange(m_navigator.Wheel(steps, Mods(event->modifiers())));
  event->accept();
}

// ---- mouse ----------------------------------------------------------------

void TraceViewWidget::mousePressEvent(QMouseEvent* event) {
  setFocus(Qt::MouseFocusReason);
  if (!HasData()) return;
  const QPoint pos = event->position().toPoint();
  if (event->button() == Qt::LeftButton) {
    ApplyChange(m_navigator.LeftButtonDown(pos.x(), pos.y(), Mods(event->modifiers())));
    AfterDragChange();
  } else if (event->button() == Qt::RightButton) {
    RightButtonPress(event);
  }
}

void TraceViewWidget::RightButtonPress(QMouseEvent* event) {
  const KeyModifiers mods = Mods(event->modifiers());
  ApplyChange(m_navigator.RightButtonDown(mods));
  if (m_plotter.Params().m_zoomTool != kZoomNone) return;
  if (m_navigator.RightButtonOffersPopup()) {
    ShowSaveStacksMenu(event->globalPosition().toPoint());
  } else if (m_options.role != 2) {
    m_rightHold.Press(event->position().toPoint(), mods.ctrl);
  }
}

void TraceViewWidget::StartRightDrag(QPoint pos, bool ctrl) {
  if (m_navigator.CurrentDragMode() != TraceNavigator::kDragNone || !HasData()) return;
  KeyModifiers mods;
  mods.ctrl = ctrl;
  ApplyChange(m_navigator.RightButtonDrag(pos.x(), pos.y(), mods));
  AfterDragChange();
}

void TraceViewWidget::ShowSaveStacksMenu(QPoint globalPos) {
  QMenu menu(this);
  QAction* save = menu.addAction("Save Stacks ");
  if (menu.exec(globalPos) == save) ApplyChange(m_navigator.SaveStacksChosen());
}

void TraceViewWidget::mouseMoveEvent(QMouseEvent* event) {
  const QPoint pos = event->position().toPoint();
  if (m_rightHold.Waiting()) m_rightHold.Move(pos, (event->modifiers() & Qt::ControlModifier) != 0);
  const int drag = m_navigator.CurrentDragMode();
  if (drag != TraceNavigator::kDragNone) {
    ApplyChange(m_navigator.MouseMove(pos.x(), pos.y()));
    if (drag == TraceNavigator::kDragZoom) update();
    return;
  }
  TrackCursor(pos);
}

void TraceViewWidget::TrackCursor(QPoint pos) {
  m_cursorPos = pos;
  const CursorReport report = m_navigator.CursorAt(pos.x(), pos.y());
  InvalidateOverlays();
  UpdateIdleShape();
  if (Notifies(TraceViewOptions::kNotifyCursor))
    emit CursorMoved(report.trace, report.time, QString::fromStdString(CursorReadoutText(report, m_plotter)));
}

// The cross lines and the popup where they were and where they go now.
void TraceViewWidget::InvalidateOverlays() {
  QRegion now;
  const DisplayParams& params = m_plotter.Params();
  if (HasData() && m_cursorPos.x() >= 0) {
    if (params.m_crossLinesCursor) {
      for (const QRect& r : TraceViewOverlay::CrossLineRects(m_plotter, m_cursorPos, m_crossThickness))
        now += r;
    }
    HeaderWordPopup popup;
    if (m_navigator.HeaderPopup(&popup)) now += TraceViewOverlay::ToQRect(popup.box);
  }
  const QRegion dirty = m_overlayRegion + now;
  if (!dirty.isEmpty()) update(dirty);
  m_overlayRegion = now;
}

void TraceViewWidget::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::RightButton && m_rightHold.Release()) return;  // a click: nothing
  if (m_navigator.CurrentDragMode() == TraceNavigator::kDragNone) return;
  const QPoint pos = event->position().toPoint();
  ApplyChange(m_navigator.ButtonUp(pos.x(), pos.y()));
  AfterDragChange();
  update();
}

void TraceViewWidget::leaveEvent(QEvent* event) {
  QWidget::leaveEvent(event);
  if (m_navigator.CurrentDragMode() != TraceNavigator::kDragNone) return;
  m_cursorPos = QPoint(-1, -1);
  m_navigator.CursorLeft();
  UpdateIdleShape();
  InvalidateOverlays();
  if (Notifies(TraceViewOptions::kNotifyCursor))
    emit CursorMoved(CursorReport::kNoTrace, DBLE_UNDEF, QString());
}

// The pointer follows the drag mode. The mouse needs no explicit capture:
// Qt keeps delivering moves and the release to the widget that received the
// press while the button is held, which is the life of every drag here.
void TraceViewWidget::AfterDragChange() {
  const int mode = m_navigator.CurrentDragMode();
  if (mode != m_lastDragMode) {
    m_lastDragMode = mode;
    update();
  }
  if (mode != TraceNavigator::kDragNone) {
    SetShape(ViewCursors::ForDrag(mode, m_plotter.Params().m_zoomTool));
  } else {
    UpdateIdleShape();
  }
}

void TraceViewWidget::UpdateIdleShape() {
  if (m_navigator.CurrentDragMode() != TraceNavigator::kDragNone) return;
  const bool hide = HasData() && m_plotter.Params().m_crossLinesCursor && m_cursorPos.x() >= 0 &&
                    TraceViewOverlay::OverPlot(m_plotter, m_cursorPos);
  if (hide) {
    SetShape(ViewCursors::kHidden);
  } else if (m_plotter.Params().m_crossLinesCursor && m_cursorPos.x() >= 0) {
    SetShape(ViewCursors::kArrow);
  } else {
    SetShape(ViewCursors::ForTool(m_plotter.Params().m_zoomTool));
  }
}

void TraceViewWidget::SetShape(ViewCursors::Shape shape) {
  if (shape == m_shape) return;
  m_shape = shape;
  setCursor(ViewCursors::Make(shape));
}
