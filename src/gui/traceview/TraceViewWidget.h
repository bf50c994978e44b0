// The interactive trace view: presents the raster that VTracePlotter composes,
// with scroll bars below and to the right of it, and turns keys, the wheel,
// the scroll bars and the mouse into TraceNavigator calls. What a call changed
// decides what follows: a repaint, scroll-bar positions, the owner's signals
// and the settings panel's fields. The workspace sees it as its trace view,
// the settings panel as its display target.
//
// Client coordinates of the raster are widget coordinates: the raster sits at
// the top-left corner and the bars take the right and bottom edges.
// User-interface thread only.
#pragma once

#include <QPoint>
#include <QRegion>
#include <QString>
#include <QWidget>
#include <vector>

#include "app/TraceViewObserver.h"
#include "display/TraceNavigator.h"
#include "display/VTracePlotter.h"
#include "gui/settings/DisplayTarget.h"
#include "gui/traceview/RightButtonHold.h"
#include "gui/traceview/TraceViewOptions.h"
#include "gui/traceview/ViewCursors.h"
#include "qttext/QtTextRenderer.h"

class QScrollBar;

class TraceViewWidget : public QWidget, public TraceViewObserver, public DisplayTarget {
  Q_OBJECT

 public:
  explicit TraceViewWidget(QWidget* parent = nullptr,
                           const TraceViewOptions& options = TraceViewOptions::MainView());
  ~TraceViewWidget() override;

  VTracePlotter& Plotter() { return m_plotter; }
  TraceNavigator& Navigator() { return m_navigator; }
  int ViewNumber() const { return m_options.viewNumber; }
  int ViewRole() const { return m_options.role; }
  // The selective stack switches the main view between role 1 and role 2
  // (the caller redraws).
  void SetViewRole(int role) {
    m_options.role = role;
    m_plotter.SetViewRole(role);
  }
  const TraceViewOptions& Options() const { return m_options; }
  QScrollBar* HorizontalBar() const { return m_hbar; }
  QScrollBar* VerticalBar() const { return m_vbar; }
  // The raster's size (the widget less its scroll bars).
  QSize ClientSize() const;

  // The settings panel the view binds when it gets the focus (null: none).
  // The owner keeps it alive while set; pass null before the panel goes.
  void SetPanel(PanelLink* panel);
  // Ensembles of the section shown (after a sort); empty: none.
  void SetEnsembles(const std::vector<ViewEnsemble>& ensembles);

  // The application settings changed: re-read the steps, the cross-cursor
  // thickness and what the drawing uses.
  void ReadSettings();

  // TraceViewObserver
  bool HasData() const override { return m_plotter.AllTraceCount() > 0; }
  int SelectedTrace() const override { return m_plotter.Highlighted(); }
  void SetSelectedTrace(int trace) override { m_plotter.SetHighlighted(trace); }
  DisplayParams& Params() override { return m_plotter.Params(); }
  void Clear() override;
  void RefreshDisplay() override;
  void ShowTraces(std::span<TraceRecord* const> traces, const SectionSummary& summary,
                  std::span<const EnsembleRecord> ensembles) override;
  // Traces of the whole section (the ensemble view shows fewer).
  int TraceCount() const override { return m_plotter.AllTraceCount(); }
  int SampleCount() const override { return m_samples; }
  void PlotSize(int* width, int* height) override;

  // DisplayTarget
  DisplayParams& TargetParams() override { return m_plotter.Params(); }
  int TargetClientHeight() const override { return ClientSize().height(); }
  QWidget* FocusWidget() override { return this; }
  void DisplayChanged(int hint) override;
  void ScaleAboutToChange(int which) override;
  void FitTime() override;
  void FitTraces() override;
  void UndoZoom() override;
  void ZoomToolChanged() override;
  bool HasEnsembles() const override { return m_navigator.HasEnsembles(); }
  void SetEnsembleView(bool on) override;
  void EnsembleStep(int step, double key) override;
  void HeaderPlotCurveChosen(int curve, int row) override;
  void SetHeaderPlotSettings(const HeaderPlotSettings& settings) override;
  const HeaderPlotSettings& GetHeaderPlotSettings() const override;
  void SetLabelWords(const std::vector<int>& rows, int graduationStep) override;
  void SetLabelGraduationSteps(int hgrad, int vgrad) override;
  std::vector<int> LabelWords() const override;
  int LabelGraduationStep() const override { return m_labelStep; }
  int LabelHgrad() const override { return m_hgrad; }
  int LabelVgrad() const override { return m_vgrad; }
  int HighlightedAbsolute() const override;

  // Acts on what a navigator call changed: repaint, bars, signals, panel.
  // Public so that owners driving the navigator directly get the same effects.
  void ApplyChange(uint32_t change);

  // The pointer shape chosen last (tests read it; offscreen has no pointer).
  ViewCursors::Shape PointerShape() const { return m_shape; }
  // The position of the cross lines / popup, or (-1, -1) when the cursor is out.
  QPoint CursorPosition() const { return m_cursorPos; }

 signals:
  void FirstTraceChanged(int view, int firstTrace);
  // Absolute index in the section; -1 when no trace is highlighted.
  void HighlightChanged(int absoluteTrace);
  // trace: absolute index, CursorReport::kNoTrace when none; time in seconds,
  // DBLE_UNDEF above the plot. text: the readout for the status strip (empty
  // when the cursor left the view).
  void CursorMoved(int trace, double time, const QString& text);
  // A selection in absolute trace indexes and seconds.
  void SelectionMade(int view, const VTracePlotter::Selection& selection);
  void CloseRequested(int view);
  void SnapshotRequested(int view);
  void ParametersRequested(int view);
  void ToggleTraceRequested(int absoluteTrace);
  void ToggleGroupRequested(int absoluteTrace);
  void SaveStacksRequested();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void leaveEvent(QEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  bool EnsureCreated();
  void LayoutBars();
  void UpdateScrollBars();
  void BarAction(QScrollBar* bar, int action);
  void NotifyOwner(uint32_t change);
  void RefreshPanel(uint32_t change);
  void AfterDragChange();
  void SetShape(ViewCursors::Shape shape);
  void UpdateIdleShape();
  void TrackCursor(QPoint pos);
  void InvalidateOverlays();
  void RightButtonPress(QMouseEvent* event);
  void StartRightDrag(QPoint pos, bool ctrl);
  void ShowSaveStacksMenu(QPoint globalPos);
  void PaintOverlays(QPainter& painter);
  void ChangeGeometry();
  bool Notifies(int flag) const { return (m_options.notify & flag) != 0; }

  TraceViewOptions m_options;
  QtTextRenderer m_text;  // outlives the plotter, which keeps a pointer to it
  VTracePlotter m_plotter;
  TraceNavigator m_navigator;
  RightButtonHold m_rightHold;
  QScrollBar* m_hbar = nullptr;
  QScrollBar* m_vbar = nullptr;
  PanelLink* m_panel = nullptr;
  bool m_panelBound = false;   // bound by this view's focus
  bool m_rebindPanel = false;  // bound when the section went; bind again on the next one
  bool m_created = false;
  int m_samples = 0;
  int m_crossThickness = 1;
  int m_labelStep = 0;
  int m_hgrad = 2;
  int m_vgrad = 2;
  int m_wheelRemainder = 0;
  QPoint m_cursorPos{-1, -1};
  QRegion m_overlayRegion;  // pixels the cross lines and the popup covered last
  ViewCursors::Shape m_shape = ViewCursors::kArrow;
  int m_lastDragMode = 0;
};
