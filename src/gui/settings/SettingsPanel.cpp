#include "gui/settings/SettingsPanel.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <chrono>

#include "app/AppSettings.h"
#include "app/Workspace.h"
#include "gui/settings/DisplaySettingsPage.h"
#include "gui/settings/HeaderPlotPage.h"
#include "gui/settings/HeaderWordsPage.h"
#include "gui/settings/WrapTabBar.h"
#include "log/Log.h"
#include "section/HeaderLabelTable.h"
#include "section/SeismicSection.h"

namespace {
const char* const kDisplayTabTitle = "Display Settings";
const char* const kExpandText = ">";
const char* const kCollapseText = "<";
constexpr int kMinExpandedWidth = 300;
}  // namespace

SettingsPanel::SettingsPanel(QWidget* parent) : QWidget(parent) {
  // The panel's focus rule: back to the view after anything but a slider.
  Settings().dialogFocusPolicy = 2;
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(2, 2, 2, 2);
  layout->setSpacing(2);
  layout->addWidget(BuildButtonRow());
  m_tabs = new QTabWidget(this);
  m_displayPage = new DisplaySettingsPage;
  m_plotPage = new HeaderPlotPage;
  m_wordsPage = new HeaderWordsPage;
  m_tabs->addTab(m_displayPage, kDisplayTabTitle);
  m_tabs->addTab(m_plotPage, "Header Plot");
  m_tabs->addTab(m_wordsPage, "Header Words");
  m_tabs->addTab(BuildTraceInfoPage(), "Trace Info");
  m_tabs->addTab(BuildSectionInfoPage(), "Section Info");
  // The bar stands on the pages' frame, as a tab widget's own bar does.
  m_tabBar = new WrapTabBar(m_tabs, this);
  m_tabBar->setObjectName("panelTabs");
  auto* tabColumn = new QVBoxLayout;
  tabColumn->setSpacing(0);
  tabColumn->addWidget(m_tabBar);
  tabColumn->addWidget(m_tabs, 1);
  layout->addLayout(tabColumn, 1);
  layout->addStretch();  // keeps the collapsed panel's button at the top
  connect(m_tabs, &QTabWidget::currentChanged, this, &SettingsPanel::OnTabChanged);
  connect(m_displayPage, &DisplaySettingsPage::UseFreqFilterChanged, this,
          &SettingsPanel::UseFreqFilterChanged);
  m_expandedWidth = std::max(kMinExpandedWidth, sizeHint().width());
  SetExpandedWidthRange();
}

SettingsPanel::~SettingsPanel() {
  // The page may sit in the detached window; both go with the panel.
  if (m_window) m_window->removeEventFilter(this);
}

QWidget* SettingsPanel::BuildButtonRow() {
  m_buttonRow = new QWidget(this);
  auto* row = new QHBoxLayout(m_buttonRow);
  row->setContentsMargins(0, 0, 0, 0);
  m_collapseButton = new QPushButton(kCollapseText, m_buttonRow);
  m_collapseButton->setObjectName("collapse");
  m_collapseButton->setFixedWidth(24);
  m_detachButton = new QPushButton(" Detach ", m_buttonRow);
  m_detachButton->setObjectName("detach");
  row->addWidget(m_collapseButton);
  row->addWidget(m_detachButton);
  row->addStretch(1);
  connect(m_collapseButton, &QPushButton::clicked, this, [this] { SetCollapsed(!m_collapsed); });
  connect(m_detachButton, &QPushButton::clicked, this, &SettingsPanel::DetachDisplayPage);
  return m_buttonRow;
}

QWidget* SettingsPanel::BuildTraceInfoPage() {
  m_traceInfoPage = new QWidget;
  auto* layout = new QVBoxLayout(m_traceInfoPage);
  layout->setContentsMargins(2, 2, 2, 2);
  m_traceIndex = new QLabel(m_traceInfoPage);
  m_traceIndex->setObjectName("traceInfoIndex");
  layout->addWidget(m_traceIndex);
  m_traceInfo = new QTreeWidget(m_traceInfoPage);
  m_traceInfo->setObjectName("traceInfo");
  m_traceInfo->setColumnCount(2);
  m_traceInfo->setHeaderHidden(true);
  m_traceInfo->setRootIsDecorated(false);
  m_traceInfo->setSelectionMode(QAbstractItemView::NoSelection);
  for (int id : TraceInfoListIds()) {
    const HeaderLabelRow* row = FindHeaderLabel(id);
    auto* item = new QTreeWidgetItem(m_traceInfo, {QString::fromUtf8(row->longLabel), QString()});
    item->setData(0, Qt::UserRole, id);
  }
  m_traceInfo->header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
  layout->addWidget(m_traceInfo, 1);
  return m_traceInfoPage;
}

QWidget* SettingsPanel::BuildSectionInfoPage() {
  m_sectionInfo = new QPlainTextEdit;
  m_sectionInfo->setObjectName("sectionInfo");
  m_sectionInfo->setReadOnly(true);
  m_sectionInfo->setLineWrapMode(QPlainTextEdit::NoWrap);
  QFont mono("Courier New");
  mono.setStyleHint(QFont::Monospace);
  m_sectionInfo->setFont(mono);
  m_sectionInfo->setPlainText(kNoDataInfoText);
  return m_sectionInfo;
}

// ---- the bound view ----

void SettingsPanel::AttachView(DisplayTarget* view) {
  auto t0 = std::chrono::steady_clock::now();
  BindPages(view);
  std::chrono::duration<double, std::milli> ms = std::chrono::steady_clock::now() - t0;
  LogPrint(LogInfo, "ShowSettings in %.3lf ms", ms.count());
}

void SettingsPanel::DetachView(DisplayTarget* view) {
  if (!view || view != m_view) return;
  BindPages(nullptr);
}

void SettingsPanel::BindPages(DisplayTarget* view) {
  m_view = view;
  m_displayPage->SetTarget(view);
  m_plotPage->SetTarget(view);
  m_wordsPage->SetTarget(view);
}

void SettingsPanel::RefreshScaleFields() {
  m_displayPage->RefreshScaleFields();
}

void SettingsPanel::RefreshGainFields() {
  m_displayPage->RefreshGainFields();
}

void SettingsPanel::RefreshAllControls() {
  m_displayPage->RefreshAllControls();
}

void SettingsPanel::SetEnsembleKey(double key) {
  m_displayPage->SetEnsembleKey(key);
}

void SettingsPanel::NoEnsembles() {
  m_displayPage->NoEnsembles();
}

// ---- information pages ----

void SettingsPanel::SetSectionInfo(const QString& text) {
  m_sectionInfo->setPlainText(text);
}

QString SettingsPanel::SectionInfo() const {
  return m_sectionInfo->toPlainText();
}

void SettingsPanel::SetTraceInfo(const TraceInfoCells& cells) {
  m_traceIndex->setText(QString::fromStdString(cells[kLabelIdx]));
  for (int i = 0; i < m_traceInfo->topLevelItemCount(); ++i) {
    QTreeWidgetItem* item = m_traceInfo->topLevelItem(i);
    int id = item->data(0, Qt::UserRole).toInt();
    item->setText(1, QString::fromStdString(cells[static_cast<std::size_t>(id)]));
  }
}

void SettingsPanel::SetTraceInfo(const SeismicSection* section, int trace) {
  if (!section || trace < 0) {
    ClearTraceInfo();
    return;
  }
  TraceInfoCells cells;
  BuildTraceInfo(*section, trace, cells);
  SetTraceInfo(cells);
}

void SettingsPanel::ClearTraceInfo() {
  SetTraceInfo(TraceInfoCells{});
}

QString SettingsPanel::TraceInfoValue(int labelId) const {
  if (labelId == kLabelIdx) return m_traceIndex->text();
  for (int i = 0; i < m_traceInfo->topLevelItemCount(); ++i) {
    QTreeWidgetItem* item = m_traceInfo->topLevelItem(i);
    if (item->data(0, Qt::UserRole).toInt() == labelId) return item->text(1);
  }
  return QString();
}

bool SettingsPanel::IsTraceInfoShown() const {
  return m_tabs->currentWidget() == m_traceInfoPage;
}

void SettingsPanel::OnTabChanged(int index) {
  if (m_tabs->widget(index) != m_traceInfoPage || !m_view) return;
  int trace = m_view->HighlightedAbsolute();
  if (trace >= 0) emit TraceInfoWanted(trace);
}

// ---- panel frame ----

void SettingsPanel::SetCollapsed(bool collapsed) {
  if (collapsed == m_collapsed) return;
  m_collapsed = collapsed;
  m_tabBar->setVisible(!collapsed);
  m_tabs->setVisible(!collapsed);
  m_detachButton->setVisible(!collapsed);
  m_collapseButton->setText(collapsed ? kExpandText : kCollapseText);
  int margins = layout()->contentsMargins().left() + layout()->contentsMargins().right();
  int width = collapsed ? m_collapseButton->width() + margins : m_expandedWidth;
  if (collapsed)
    setFixedWidth(width);
  else
    SetExpandedWidthRange();
  emit WidthChanged(width);
}

// Its full width when the window has room; a small window takes from the
// panel first (its pages then scroll) so the trace view stays usable.
void SettingsPanel::SetExpandedWidthRange() {
  setMinimumWidth(std::min(kMinPanelWidth, m_expandedWidth));
  setMaximumWidth(m_expandedWidth);
  setSizePolicy(QSizePolicy::Preferred, sizePolicy().verticalPolicy());
}

QSize SettingsPanel::sizeHint() const {
  QSize hint = QWidget::sizeHint();
  if (m_expandedWidth > 0 && !m_collapsed) hint.setWidth(m_expandedWidth);
  return hint;
}

void SettingsPanel::DetachDisplayPage() {
  if (m_detached) return;
  LogPrint(LogError, "IDC_DETACH");
  if (!m_window) {
    m_window = new QWidget(this, Qt::Window);
    m_window->setWindowTitle("Traces Display Parameters");
    auto* layout = new QVBoxLayout(m_window);
    layout->setContentsMargins(0, 0, 0, 0);
    m_window->installEventFilter(this);
  }
  m_detachedIndex = m_tabs->indexOf(m_displayPage);
  m_tabs->removeTab(m_detachedIndex);
  m_tabBar->SyncTabs();
  m_window->layout()->addWidget(m_displayPage);
  m_displayPage->show();
  m_detached = true;
  m_detachButton->setEnabled(false);
  m_window->show();
}

void SettingsPanel::AttachDisplayPage() {
  if (!m_detached) return;
  m_window->layout()->removeWidget(m_displayPage);
  m_tabs->insertTab(m_detachedIndex, m_displayPage, kDisplayTabTitle);
  m_tabBar->SyncTabs();
  m_detached = false;
  m_detachButton->setEnabled(true);
  m_window->hide();
}

bool SettingsPanel::eventFilter(QObject* watched, QEvent* event) {
  if (watched == m_window && event->type() == QEvent::Close) AttachDisplayPage();
  return QWidget::eventFilter(watched, event);
}
