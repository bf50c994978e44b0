#include "gui/tools/FileSelectorWindow.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QScrollBar>
#include <QStyle>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <chrono>
#include <filesystem>

#include "app/Workspace.h"
#include "gui/tools/SortDialog.h"
#include "log/Log.h"

namespace {
constexpr int kSizeColumnWidth = 85;
constexpr int kEntryRole = Qt::UserRole;
}  // namespace

FileSelectorWindow::FileSelectorWindow(Workspace& workspace, SortLink sortLink, QWidget* parent)
    : QWidget(parent, Qt::Window), m_workspace(workspace), m_sortLink(std::move(sortLink)) {
  setWindowTitle(" File Selector");
  BuildControls();
  m_chooseFolder = [this](const QString& start) {
    return QFileDialog::getExistingDirectory(this, " File Selector", start);
  };
  resize(320, 560);
}

void FileSelectorWindow::BuildControls() {
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(4, 4, 4, 4);
  auto* row = new QHBoxLayout;
  m_folderButton = new QToolButton(this);
  m_folderButton->setIcon(style()->standardIcon(QStyle::SP_DirOpenIcon));
  m_folderButton->setToolTip("Choose folder");
  m_refresh = new QToolButton(this);
  m_refresh->setIcon(style()->standardIcon(QStyle::SP_BrowserReload));
  m_refresh->setToolTip("List again");
  m_filter = new QLineEdit(this);
  m_filter->setPlaceholderText("filename filter  * ?");
  m_filter->setMaxLength(static_cast<int>(kNameFilterMaxChars));
  m_sortBox = new QCheckBox(" Sort", this);
  m_sortButton = new QToolButton(this);
  m_sortButton->setText("...");
  m_sortButton->setToolTip("Traces Sorting");
  for (QWidget* w : {static_cast<QWidget*>(m_folderButton), static_cast<QWidget*>(m_refresh),
                     static_cast<QWidget*>(m_filter), static_cast<QWidget*>(m_sortBox),
                     static_cast<QWidget*>(m_sortButton)})
    row->addWidget(w);
  layout->addLayout(row);

  m_list = new QTreeWidget(this);
  m_list->setColumnCount(2);
  m_list->setHeaderLabels({QString::fromStdString(ColumnTitle(kFileColumnName, false)),
                           QString::fromStdString(ColumnTitle(kFileColumnSize, false))});
  m_list->setRootIsDecorated(false);
  m_list->setUniformRowHeights(true);
  m_list->setSelectionMode(QAbstractItemView::SingleSelection);
  m_list->header()->setStretchLastSection(false);
  m_list->header()->setSectionResizeMode(kFileColumnName, QHeaderView::Stretch);
  m_list->header()->setSectionResizeMode(kFileColumnSize, QHeaderView::Fixed);
  m_list->header()->resizeSection(kFileColumnSize, kSizeColumnWidth);
  m_list->header()->setSectionsClickable(true);
  m_list->installEventFilter(this);
  m_list->viewport()->installEventFilter(this);
  layout->addWidget(m_list);

  connect(m_list, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* item) { Selected(item); });
  // A double click's first click acts already; its second press reports no click.
  connect(m_list, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem* item) { ActOn(item); });
  connect(m_list->header(), &QHeaderView::sectionClicked, this, &FileSelectorWindow::ClickColumn);
  connect(m_filter, &QLineEdit::returnPressed, this, [this] { ListFolder(m_folder); });
  connect(m_refresh, &QToolButton::clicked, this, [this] { ListFolder(m_folder); });
  connect(m_folderButton, &QToolButton::clicked, this, &FileSelectorWindow::ChooseFolder);
  connect(m_sortBox, &QCheckBox::toggled, this, &FileSelectorWindow::SetAutoSort);
  connect(m_sortButton, &QToolButton::clicked, this, [this] {
    SortDialog* d = m_sortLink.dialog();
    d->show();
    d->raise();
    d->activateWindow();
  });
}

LoadParams FileSelectorWindow::SelectionLoadParams() {
  LoadParams p = Workspace::DefaultLoadParams();
  p.flags = 0;
  p.firstTrace = 0;
  p.lastTrace = 2147483647;
  p.loadTag = -1;
  p.takeNameDigits = 0;
  p.resetDisplay = 0;
  p.keepViewPosition = 1;
  p.keepDisplay = 0;
  return p;
}

int FileSelectorWindow::ListFolder(const QString& folder) {
  std::vector<FileSelectorEntry> entries;
  std::string path = folder.toStdString();
  if (ListFolderEntries(path, m_filter->text().toStdString(), &entries) != 0) return -1;
  setWindowTitle(QString::fromStdString(FolderTitle(path)));
  if (folder != m_folder) m_workspace.SetLastInputDir(path);
  m_folder = folder;
  m_entries = std::move(entries);
  SortFileEntries(&m_entries, m_state);
  FillList();
  if (m_list->topLevelItemCount() > 0) {
    m_filling = true;
    m_list->setCurrentItem(m_list->topLevelItem(0));
    m_filling = false;
  }
  m_list->setFocus();
  return 0;
}

// Fills the widget from m_entries in their order, with painting held off.
void FileSelectorWindow::FillList() {
  m_filling = true;
  m_list->setUpdatesEnabled(false);
  m_list->clear();
  QList<QTreeWidgetItem*> items;
  items.reserve(static_cast<qsizetype>(m_entries.size()));
  for (std::size_t i = 0; i < m_entries.size(); ++i) {
    const FileSelectorEntry& e = m_entries[i];
    auto* item = new QTreeWidgetItem({QString::fromStdString(e.name), QString::fromStdString(e.sizeText)});
    item->setData(0, kEntryRole, static_cast<qulonglong>(i));
    item->setTextAlignment(kFileColumnSize, Qt::AlignRight | Qt::AlignVCenter);
    if (e.folder) item->setIcon(0, style()->standardIcon(QStyle::SP_DirIcon));
    items.push_back(item);
  }
  m_list->addTopLevelItems(items);
  m_list->setUpdatesEnabled(true);
  m_filling = false;
}

const FileSelectorEntry* FileSelectorWindow::EntryOf(const QTreeWidgetItem* item) const {
  if (!item) return nullptr;
  std::size_t i = item->data(0, kEntryRole).toULongLong();
  return i < m_entries.size() ? &m_entries[i] : nullptr;
}

void FileSelectorWindow::ClickColumn(int column) {
  const FileSelectorEntry* current = EntryOf(m_list->currentItem());
  std::string keep = current ? current->name : std::string();
  m_state = ::ClickColumn(m_state, column);
  m_list->headerItem()->setText(column, QString::fromStdString(ColumnTitle(column, Descending(m_state))));
  SortFileEntries(&m_entries, m_state);
  FillList();
  for (int i = 0; i < m_list->topLevelItemCount(); ++i) {
    if (EntryOf(m_list->topLevelItem(i))->name != keep) continue;
    m_filling = true;
    m_list->setCurrentItem(m_list->topLevelItem(i));
    m_filling = false;
    break;
  }
}

void FileSelectorWindow::Selected(QTreeWidgetItem* item) {
  const FileSelectorEntry* e = EntryOf(item);
  // The mark belongs to the entry selected: a selection that does not load
  // leaves that entry to its click or Enter.
  m_justLoaded = false;
  if (m_filling || !e || e->folder || m_workspace.Busy()) return;
  if (!LoadsOnSelection(e->bytes)) return;
  LoadEntry(*e);
  m_justLoaded = true;
}

void FileSelectorWindow::ActOn(QTreeWidgetItem* item) {
  const FileSelectorEntry* e = EntryOf(item);
  if (!e) return;
  if (e->folder) {
    ListFolder(QString::fromStdString(FolderOpenedBy(m_folder.toStdString(), e->name)));
    return;
  }
  if (m_justLoaded) {
    m_justLoaded = false;
    return;
  }
  if (m_workspace.Busy()) return;
  LoadEntry(*e);
}

void FileSelectorWindow::LoadEntry(const FileSelectorEntry& entry) {
  auto t0 = std::chrono::steady_clock::now();
  std::string path = (std::filesystem::path(m_folder.toStdString()) / entry.name).string();
  LoadParams params = SelectionLoadParams();
  SortDialog* sorter = nullptr;
  if (m_autoSort) {
    SortDialog* d = m_sortLink.dialog();
    if (d->CheckKeysOrSignal()) {
      // The sort redraws the view: the load need not draw it first.
      params.keepDisplay = 1;
      sorter = d;
    }
  }
  int rc = m_workspace.LoadDataset({path}, params);
  if (rc == 0 && sorter) sorter->SortNewSection();
  m_list->setFocus();
  m_lastLoadSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
  LogPrint(LogInfo, "load file in %.3lfs", m_lastLoadSeconds);
  // Presses made while the load ran were aimed at what was shown before it;
  // the release of the press that selected this file still makes its click.
  m_discardMouse = true;
  QTimer::singleShot(0, this, [this] { m_discardMouse = false; });
}

void FileSelectorWindow::SetAutoSort(bool on) {
  LogPrint(LogError, "autosort");
  m_autoSort = on;
  if (!on) return;
  if (m_sortLink.open()) {
    m_sortLink.dialog()->CheckKeysOrSignal();
    return;
  }
  SortDialog* d = m_sortLink.dialog();
  d->show();
  d->raise();
}

void FileSelectorWindow::ChooseFolder() {
  QString chosen = m_chooseFolder(m_folder);
  if (!chosen.isEmpty()) ListFolder(chosen);
}

void FileSelectorWindow::PlaceBeside(const QRect& anchor, const QRect& screen) {
  QSize size = frameGeometry().size().expandedTo(this->size());
  int x = anchor.right() + 1;
  if (x + size.width() > screen.right() + 1 && anchor.left() - size.width() >= screen.left())
    x = anchor.left() - size.width();
  int y = std::max(screen.top(), std::min(anchor.top(), screen.bottom() + 1 - size.height()));
  move(x, y);
}

bool FileSelectorWindow::eventFilter(QObject* watched, QEvent* event) {
  if (watched == m_list->viewport() && m_discardMouse &&
      (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonDblClick))
    return true;
  if (watched == m_list && event->type() == QEvent::KeyPress) {
    auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
      ActOn(m_list->currentItem());
      return true;
    }
  }
  return QWidget::eventFilter(watched, event);
}
