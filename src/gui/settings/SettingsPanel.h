// The tabbed settings panel beside the trace view: "Display Settings",
// "Header Plot", "Header Words", "Trace Info" and "Section Info". It is bound
// to whichever trace view has the keyboard focus and edits that view's
// parameters through DisplayTarget; it never owns the view or its
// parameters. Lives on the user-interface thread.
#pragma once

#include <QWidget>

#include "gui/settings/DisplayTarget.h"
#include "section/TraceInfo.h"

class DisplaySettingsPage;
class HeaderPlotPage;
class HeaderWordsPage;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class QTabWidget;
class QTreeWidget;
class SeismicSection;
class WrapTabBar;

class SettingsPanel : public QWidget, public PanelLink {
  Q_OBJECT

 public:
  // The narrowest the expanded panel gets when the window is small.
  static constexpr int kMinPanelWidth = 180;

  explicit SettingsPanel(QWidget* parent = nullptr);
  ~SettingsPanel() override;

  // PanelLink: called by the trace views.
  void AttachView(DisplayTarget* view) override;
  void DetachView(DisplayTarget* view) override;
  void RefreshScaleFields() override;
  void RefreshGainFields() override;
  void RefreshAllControls() override;
  void SetEnsembleKey(double key) override;
  void NoEnsembles() override;
  DisplayTarget* View() const { return m_view; }

  // "Section Info" page.
  void SetSectionInfo(const QString& text);
  QString SectionInfo() const;

  // "Trace Info" page: one value per label row flagged for it, taken from
  // cells (as BuildTraceInfo fills them).
  void SetTraceInfo(const TraceInfoCells& cells);
  // Builds and shows the values of trace (0-based index into the section);
  // a null section or trace -1 clears the values.
  void SetTraceInfo(const SeismicSection* section, int trace);
  void ClearTraceInfo();
  // The value shown for a label row id (empty when the row is not listed).
  // Row 0 ("tr idx N") is never a list row: it heads the page instead.
  QString TraceInfoValue(int labelId) const;
  // Whether the "Trace Info" page is the current tab (its tab index moves
  // while the "Display Settings" page is detached).
  bool IsTraceInfoShown() const;

  // Panel frame: collapsed to its button row, or the "Display Settings" page
  // in its own window.
  void SetCollapsed(bool collapsed);
  bool IsCollapsed() const { return m_collapsed; }
  void DetachDisplayPage();
  void AttachDisplayPage();
  bool IsDisplayPageDetached() const { return m_detached; }

  QTabWidget* Tabs() const { return m_tabs; }
  // The bar that shows the tabs (the tab widget's own stays hidden).
  WrapTabBar* TabBar() const { return m_tabBar; }
  QSize sizeHint() const override;
  DisplaySettingsPage* DisplayPage() const { return m_displayPage; }
  HeaderPlotPage* PlotPage() const { return m_plotPage; }
  HeaderWordsPage* WordsPage() const { return m_wordsPage; }
  QWidget* DetachedWindow() const { return m_window; }
  QPushButton* CollapseButton() const { return m_collapseButton; }
  QPushButton* DetachButton() const { return m_detachButton; }

 signals:
  // " Use Freq Filter" was switched in the panel.
  void UseFreqFilterChanged(bool on);
  // "Trace Info" became visible while a trace is highlighted: the owner
  // rebuilds the values for that trace (index into the whole section).
  void TraceInfoWanted(int absoluteTrace);
  // The panel was collapsed or expanded: its width, or when expanded the
  // most it takes, in pixels.
  void WidthChanged(int width);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QWidget* BuildButtonRow();
  QWidget* BuildTraceInfoPage();
  QWidget* BuildSectionInfoPage();
  void OnTabChanged(int index);
  void BindPages(DisplayTarget* view);
  void SetExpandedWidthRange();

  DisplayTarget* m_view = nullptr;
  QWidget* m_buttonRow = nullptr;
  QPushButton* m_collapseButton = nullptr;
  QPushButton* m_detachButton = nullptr;
  QTabWidget* m_tabs = nullptr;
  WrapTabBar* m_tabBar = nullptr;
  DisplaySettingsPage* m_displayPage = nullptr;
  HeaderPlotPage* m_plotPage = nullptr;
  HeaderWordsPage* m_wordsPage = nullptr;
  QWidget* m_traceInfoPage = nullptr;
  QLabel* m_traceIndex = nullptr;  // row 0's value above the list
  QTreeWidget* m_traceInfo = nullptr;
  QPlainTextEdit* m_sectionInfo = nullptr;
  QWidget* m_window = nullptr;  // the detached page's window, made on first use
  bool m_collapsed = false;
  bool m_detached = false;
  int m_detachedIndex = 0;  // tab position the page returns to
  int m_expandedWidth = 0;
};
