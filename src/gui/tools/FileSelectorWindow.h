// The " File Selector": a small window beside the main window that lists one
// folder and loads a seismic file as soon as it is selected, so that the
// arrow keys step through the shots of a survey. Folders open by a click
// (".." the parent); with " Sort" checked every loaded shot is sorted with
// the " Traces Sorting" dialog's keys. The listing rules are the Qt-free
// FileSelectorList; the window only shows them and forwards events.
#pragma once

#include <QWidget>
#include <functional>
#include <vector>

#include "app/tools/FileSelectorList.h"
#include "formats/LoadParams.h"

class QCheckBox;
class QLineEdit;
class QToolButton;
class QTreeWidget;
class QTreeWidgetItem;
class SortDialog;
class Workspace;

class FileSelectorWindow : public QWidget {
  Q_OBJECT

 public:
  // sortDialog gives the sort dialog, made on first use and not shown;
  // sortDialogOpen tells whether it is open (shown).
  struct SortLink {
    std::function<SortDialog*()> dialog;
    std::function<bool()> open;
  };
  FileSelectorWindow(Workspace& workspace, SortLink sortLink, QWidget* parent = nullptr);

  // Fills the list from the folder with the filter in its field. Returns 0,
  // or -1 when the folder cannot be listed (the list keeps its content).
  int ListFolder(const QString& folder);
  // Beside anchor (the main window), on the side of the screen with room.
  void PlaceBeside(const QRect& anchor, const QRect& screen);
  // A click on an entry: a folder opens, a file loads unless its selection
  // just loaded it.
  void ActOn(QTreeWidgetItem* item);
  void ClickColumn(int column);
  void SetAutoSort(bool on);
  // Replaces the folder browser (tests).
  void SetFolderChooser(std::function<QString(const QString&)> chooser) {
    m_chooseFolder = std::move(chooser);
  }
  // Load parameters used when a file is selected.
  static LoadParams SelectionLoadParams();

  const QString& Folder() const { return m_folder; }
  QTreeWidget* List() const { return m_list; }
  QLineEdit* FilterField() const { return m_filter; }
  QCheckBox* SortBox() const { return m_sortBox; }
  QToolButton* SortDialogButton() const { return m_sortButton; }
  FileSortState SortState() const { return m_state; }
  // Seconds taken by the last load, from the selection to the view drawn.
  double LastLoadSeconds() const { return m_lastLoadSeconds; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void BuildControls();
  void FillList();
  void Selected(QTreeWidgetItem* item);
  const FileSelectorEntry* EntryOf(const QTreeWidgetItem* item) const;
  void LoadEntry(const FileSelectorEntry& entry);
  void ChooseFolder();

  Workspace& m_workspace;
  SortLink m_sortLink;
  QString m_folder;
  std::vector<FileSelectorEntry> m_entries;
  FileSortState m_state = FileSortState::kNameAscending;
  bool m_autoSort = false;
  bool m_justLoaded = false;
  bool m_filling = false;
  bool m_discardMouse = false;
  double m_lastLoadSeconds = 0.0;
  std::function<QString(const QString&)> m_chooseFolder;
  QTreeWidget* m_list = nullptr;
  QLineEdit* m_filter = nullptr;
  QToolButton* m_folderButton = nullptr;
  QToolButton* m_refresh = nullptr;
  QCheckBox* m_sortBox = nullptr;
  QToolButton* m_sortButton = nullptr;
};
