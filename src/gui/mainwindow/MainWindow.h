// The main window: menus and keys, the splash, the side panel and the trace
// view, and the tool windows it opens from its tool table. It works through
// the Workspace, is one of its observers (title, menus, splash, Section and
// Trace Info), passes the trace view's reports on to it and lends the view to
// the tools as their MainViewLink. Menu items whose tools are not built yet
// are shown greyed; SetToolAvailable lets a tool switch its item on.
#pragma once

#include <QMainWindow>
#include <QMap>
#include <QPointer>
#include <functional>

#include "app/MainViewLink.h"
#include "app/SettingsFile.h"
#include "app/WorkspaceObserver.h"
#include "gui/mainwindow/MainCommands.h"
#include "gui/tools/SectionToolDialog.h"
#include "gui/tools/SnapshotCommand.h"

class Basemap;
class BinningDialog;
class ConsoleWidget;
class AmpSpectrumWindow;
class DumpHeadersDialog;
class ManualWindow;
class HeaderWordsExportDialog;
class HeaderWordsImportDialog;
class SaveDatasetDialog;
class FilterPanel;
class FileSelectorWindow;
class HeaderMappingDialog;
class ParametersDialog;
class QAction;
class QMenu;
class CursorStatusStrip;
class SettingsPanel;
class SortDialog;
class SplashWidget;
class StackCommand;
class TraceViewWidget;
class Workspace;

class MainWindow : public QMainWindow, public WorkspaceObserver, public MainViewLink {
  Q_OBJECT

 public:
  static constexpr int kMinWidth = 444;
  static constexpr int kMinHeight = 312;

  MainWindow(Workspace& workspace, ConsoleWidget* console, QWidget* parent = nullptr);
  ~MainWindow() override;

  // enable true: the data-dependent items follow the section; false greys them.
  void EnableDataMenus(bool enable) override;
  // A tool that exists switches its item on (subject to the data rule).
  void SetToolAvailable(int command, bool available);
  // The item's state by the data rule alone (before tool availability).
  bool DataRuleEnabled(int command) const;
  QAction* Action(int command) const { return m_actions.value(command, nullptr); }
  QMenu* FunctionsMenu() const { return m_functions; }

  // A background operation runs: loading, saving, the stack, the header dump,
  // the Parameters dialog and closing are refused meanwhile.
  void SetBusy(bool busy);
  bool Busy() const;

  // The load command; chooser replaces the open dialog (tests).
  using FilesChooser = std::function<QStringList(int* filterIndex)>;
  void SetFilesChooser(FilesChooser chooser) { m_chooseFiles = std::move(chooser); }
  int LoadDatasetCommand();
  // "Open Tolerantly...": the load command with the files read tolerantly and
  // the interval (µs, 0: the binary header's, else 4 ms) for traces without
  // one. chooser replaces its dialog (tests).
  using TolerantChooser = std::function<QStringList(int* filterIndex, int32_t* intervalUs)>;
  void SetTolerantChooser(TolerantChooser chooser) { m_chooseTolerant = std::move(chooser); }
  int OpenTolerantlyCommand();
  // A refused load is told in a message box that may offer "Open tolerantly";
  // asker replaces the box (tests) and returns true for that choice.
  using RefusalAsker = std::function<bool(const QString& title, const QString& text, bool offerTolerant)>;
  void SetRefusalAsker(RefusalAsker asker) { m_askAfterRefusal = std::move(asker); }
  // What windows made from now on use instead of the box (null: the box); the
  // widget tests install one so that no load of theirs waits on a modal box.
  static void SetDefaultRefusalAsker(RefusalAsker asker);
  // The file named on the command line (quotes removed); ends the splash.
  int LoadCommandLineFile(const QString& path);

  // "Snapshot F5" and the view's F5: the view's raster as a PNG. Returns 0
  // when a file was written. chooser replaces the save dialog (tests).
  int SnapshotCommand();
  void SetSnapshotNameChooser(SnapshotNameChooser chooser) { m_chooseSnapshotName = std::move(chooser); }

  void ShowDumpHeaders();
  void ShowSpectrum();
  void ShowParameters();
  // " Resample Traces" and " Time Shift All Traces": only with traces; the
  // window stays disabled while the dialog is open.
  void ShowResample();
  void ShowShiftTraces();
  SectionToolDialog* SectionTool() const { return m_sectionTool; }
  void ShowSaveDataset();
  void ShowExportHeaders();
  void ShowImportHeaders();
  // "  Freq. &Filter": the filter panel, once a section with traces is loaded.
  void ShowFreqFilter();
  // "Basemap" (made on first use) and the " Binning" dialog.
  void ShowBasemap();
  void ShowBinning();
  Basemap* BasemapWindow() const { return m_basemap; }
  BinningDialog* Binning() const { return m_binningDialog; }
  // "Sort Traces" and "File Selector": made on first use, then brought to the front.
  void ShowSortDialog();
  void ShowFileSelector();
  // The sort dialog, made (not shown) when missing.
  SortDialog* SortTool();
  // File > "Header Mapping ...": made on first use, then brought to the front; open with or without data.
  void ShowHeaderMapping();
  HeaderMappingDialog* HeaderMappingDlg() const { return m_headerMapping; }
  // Help > Manual. folder replaces the program's folder where the manual is
  // looked for (tests).
  void ShowManual();
  void SetProgramFolder(const QString& folder) { m_programFolder = folder; }
  ManualWindow* Manual() const { return m_manual; }
  void ShowAbout();

  // The placement recorded when the window closed (into values).
  void RecordPlacement(SettingsFileValues* values) const;
  bool SplashShown() const;
  SettingsPanel* Panel() const { return m_panel; }
  CursorStatusStrip* StatusStrip() const { return m_strip; }
  TraceViewWidget* TraceView() const { return m_view; }
  DumpHeadersDialog* DumpDialog() const { return m_dumpDialog; }
  AmpSpectrumWindow* SpectrumWindow() const { return m_spectrum; }
  ParametersDialog* ParamsDialog() const { return m_paramsDialog; }
  FilterPanel* FreqFilterPanel() const { return m_filterPanel; }
  SortDialog* SortDlg() const { return m_sortDialog; }
  FileSelectorWindow* FileSelector() const { return m_fileSelector; }
  StackCommand* Stack() const { return m_stack; }
  SaveDatasetDialog* SaveDialog() const;
  HeaderWordsExportDialog* ExportDialog() const { return m_exportDialog; }
  HeaderWordsImportDialog* ImportDialog() const { return m_importDialog; }

  // WorkspaceObserver
  void SetBusyCursor(bool busy) override;
  void BusyChanged(bool busy) override;
  void SetTitle(const std::string& title) override;
  void ShowPanelsAndView() override;
  void SectionLoaded(const SeismicSection& section, const LoadParams& params) override;
  void SetSectionInfo(const std::string& text) override;
  void SetTraceInfo(int trace) override;
  void HighlightChanged(int absoluteTrace) override { SetTraceInfo(absoluteTrace); }
  void ProgressChanged(const ProgressInfo& info) override;
  void LoadRefused(const LoadRefusal& refusal) override;

  // MainViewLink
  int SelectedTrace() const override;
  void SelectTrace(int absoluteTrace) override;
  void RefreshView() override;
  bool UseFreqFilter() const override;
  void SetUseFreqFilter(bool on) override;

 signals:
  // The window accepted a close: the program's message loop ends (even while
  // the console stays open).
  void Closed();

 protected:
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QAction* AddItem(QMenu* menu, int command, const QString& text, void (MainWindow::*slot)() = nullptr);
  QAction* AddTopItem(int command, const QString& text, void (MainWindow::*slot)() = nullptr);
  void BuildMenus();
  void BuildFileMenu();
  void BuildTopItems();
  void BuildFunctionsMenu();
  void BuildHelpMenu();
  void BuildKeys();
  void ConnectTools();
  void ShowTool(QWidget* tool);
  void ApplyEnabled(int command);
  QStringList ChooseWithDialog(int* filterIndex);
  void LoadFromMenu() { LoadDatasetCommand(); }
  void OpenTolerantlyFromMenu() { OpenTolerantlyCommand(); }
  void ShowLoadRefusal(const LoadRefusal& refusal);
  void SnapshotFromMenu() { SnapshotCommand(); }
  void StackFromMenu();
  void ConnectView();
  void CursorMoved(int trace, double time, const QString& text);
  void ShowConsoleCommand();
  void ExitCommand();
  void OpenSectionTool(SectionToolDialog* dialog);
  void SectionToolFinished();
  void SetInputEnabled(bool enabled);

  Workspace& m_workspace;
  ConsoleWidget* m_console;
  QMap<int, QAction*> m_actions;
  QMap<int, bool> m_dataRule;   // data-dependent items: state by the rule
  QMap<int, bool> m_available;  // false while the item's tool is not built
  QMenu* m_functions = nullptr;
  SplashWidget* m_splash = nullptr;
  SettingsPanel* m_panel = nullptr;
  CursorStatusStrip* m_strip = nullptr;
  SnapshotNameChooser m_chooseSnapshotName;
  TraceViewWidget* m_view = nullptr;
  DumpHeadersDialog* m_dumpDialog = nullptr;
  AmpSpectrumWindow* m_spectrum = nullptr;
  ParametersDialog* m_paramsDialog = nullptr;
  FilterPanel* m_filterPanel = nullptr;
  SortDialog* m_sortDialog = nullptr;
  HeaderMappingDialog* m_headerMapping = nullptr;
  FileSelectorWindow* m_fileSelector = nullptr;
  StackCommand* m_stack = nullptr;
  QPointer<SectionToolDialog> m_sectionTool;
  bool m_pumping = false;  // repainting from inside a long operation
  ManualWindow* m_manual = nullptr;
  QString m_programFolder;                   // empty: the program's own folder
  QPointer<SaveDatasetDialog> m_saveDialog;  // deletes itself on close
  HeaderWordsExportDialog* m_exportDialog = nullptr;
  HeaderWordsImportDialog* m_importDialog = nullptr;
  Basemap* m_basemap = nullptr;
  BinningDialog* m_binningDialog = nullptr;
  FilesChooser m_chooseFiles;
  TolerantChooser m_chooseTolerant;
  RefusalAsker m_askAfterRefusal;
  SettingsFileValues m_placement;
  bool m_placementRecorded = false;
};
