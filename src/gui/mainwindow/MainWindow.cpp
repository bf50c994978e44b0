#include "gui/mainwindow/MainWindow.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLayout>
#include <QMenuBar>
#include <QMessageBox>
#include <QScreen>
#include <QUrl>
#include <QVBoxLayout>

#include "app/LoadRefusalText.h"
#include "app/OpenFilters.h"
#include "app/Workspace.h"
#include "gui/console/ConsoleWidget.h"
#include "gui/mainwindow/ManualWindow.h"
#include "gui/mainwindow/OpenDialog.h"
#include "gui/mainwindow/SplashWidget.h"
#include "gui/mainwindow/TolerantOpen.h"
#include "gui/settings/SettingsPanel.h"
#include "gui/tools/AmpSpectrumWindow.h"
#include "gui/tools/Basemap.h"
#include "gui/tools/BinningDialog.h"
#include "gui/tools/DumpHeadersDialog.h"
#include "gui/tools/FileSelectorWindow.h"
#include "gui/tools/FilterPanel.h"
#include "gui/tools/HeaderMappingDialog.h"
#include "gui/tools/HeaderWordsExportDialog.h"
#include "gui/tools/HeaderWordsImportDialog.h"
#include "gui/tools/ParametersDialog.h"
#include "gui/tools/ResampleDialog.h"
#include "gui/tools/SaveDatasetDialog.h"
#include "gui/tools/ShiftDialog.h"
#include "gui/tools/SnapshotCommand.h"
#include "gui/tools/SortDialog.h"
#include "gui/tools/StackCommand.h"
#include "gui/traceview/CursorStatusStrip.h"
#include "gui/traceview/TraceViewWidget.h"
#include "log/Log.h"
#include "log/Status.h"
#include "section/SeismicSection.h"

namespace {
MainWindow::RefusalAsker& DefaultRefusalAsker() {
  static MainWindow::RefusalAsker asker;
  return asker;
}

// Items that follow EnableDataMenus (Basemap has its own trace-count rule).
constexpr int kDataCommands[] = {kCmdFreqFilter, kCmdSpectrum, kCmdSaveDataset, kCmdBasemap, kCmdBinning2D};
// The trace view's share of the smallest window; the panel gives way first.
constexpr int kMinViewWidth = MainWindow::kMinWidth - SettingsPanel::kMinPanelWidth;
}  // namespace

MainWindow::MainWindow(Workspace& workspace, ConsoleWidget* console, QWidget* parent)
    : QMainWindow(parent), m_workspace(workspace), m_console(console) {
  setWindowTitle(kMainWindowTitle);
  setMinimumSize(kMinWidth, kMinHeight);
  // The panel and the view are laid out from the start, under the splash, so
  // that a load fits the view to its real size before the splash goes.
  auto* central = new QWidget(this);
  auto* row = new QHBoxLayout(central);
  row->setContentsMargins(0, 0, 0, 0);
  row->setSpacing(0);
  m_panel = new SettingsPanel(central);
  auto* viewColumn = new QWidget(central);
  viewColumn->setMinimumWidth(kMinViewWidth);
  auto* column = new QVBoxLayout(viewColumn);
  column->setContentsMargins(0, 0, 0, 0);
  column->setSpacing(0);
  m_view = new TraceViewWidget(viewColumn);
  m_strip = new CursorStatusStrip(viewColumn);
  column->addWidget(m_view, 1);
  column->addWidget(m_strip);
  row->addWidget(m_panel);
  row->addWidget(viewColumn, 1);
  m_view->SetPanel(m_panel);
  ConnectView();
  m_splash = new SplashWidget(central);
  central->installEventFilter(this);
  setCentralWidget(central);
  m_chooseFiles = [this](int* filter) { return ChooseWithDialog(filter); };
  m_chooseTolerant = [this](int* filter, int32_t* intervalUs) {
    return ChooseFilesTolerantly(this, QString::fromStdString(m_workspace.DialogStartFolder()), filter,
                                 intervalUs);
  };
  m_askAfterRefusal = DefaultRefusalAsker();
  if (!m_askAfterRefusal)
    m_askAfterRefusal = [this](const QString& title, const QString& text, bool offerTolerant) {
      return AskAfterLoadRefusal(this, title, text, offerTolerant);
    };
  BuildMenus();
  BuildKeys();
  m_stack = new StackCommand(m_workspace, m_view, this, m_functions->menuAction());
  ConnectTools();
  EnableDataMenus(false);
  m_workspace.AddObserver(this);
  m_workspace.SetTraceView(m_view);
  m_workspace.SetMainView(this);
  // Background operations finish on this thread, through its event queue.
  m_workspace.SetUiPoster([this](std::function<void()> done) {
    QMetaObject::invokeMethod(this, std::move(done), Qt::QueuedConnection);
  });
}

MainWindow::~MainWindow() {
  m_workspace.SetUiPoster(nullptr);
  m_view->SetPanel(nullptr);
  m_workspace.RemoveObserver(this);
  m_workspace.SetTraceView(nullptr);
  m_workspace.SetMainView(nullptr);
}

// One row per tool command. A tool is added by giving its row an opener; a row
// without one greys its item until then.
void MainWindow::ConnectTools() {
  struct ToolRow {
    int command;
    void (MainWindow::*open)();
  };
  static constexpr ToolRow kTools[] = {
      {kCmdParameters, &MainWindow::ShowParameters},
      {kCmdDumpHeaders, &MainWindow::ShowDumpHeaders},
      {kCmdSelectiveStack, &MainWindow::StackFromMenu},
      {kCmdSnapshot, &MainWindow::SnapshotFromMenu},
      {kCmdFreqFilter, &MainWindow::ShowFreqFilter},
      {kCmdSpectrum, &MainWindow::ShowSpectrum},
      {kCmdBasemap, &MainWindow::ShowBasemap},
      {kCmdSortTraces, &MainWindow::ShowSortDialog},
      {kCmdResample, &MainWindow::ShowResample},
      {kCmdShiftTraces, &MainWindow::ShowShiftTraces},
      {kCmdSaveDataset, &MainWindow::ShowSaveDataset},
      {kCmdExportHeaders, &MainWindow::ShowExportHeaders},
      {kCmdImportHeaders, &MainWindow::ShowImportHeaders},
      {kCmdFileSelector, &MainWindow::ShowFileSelector},
      {kCmdBinning2D, &MainWindow::ShowBinning},
      {kCmdHeaderMapping, &MainWindow::ShowHeaderMapping},
  };
  for (const ToolRow& row : kTools) {
    if (row.open)
      connect(Action(row.command), &QAction::triggered, this, row.open);
    else
      SetToolAvailable(row.command, false);
  }
}

// The view's reports that the tools hear go through the workspace, so that no
// tool holds the view.
void MainWindow::ConnectView() {
  connect(m_view, &TraceViewWidget::CursorMoved, this, &MainWindow::CursorMoved);
  connect(m_view, &TraceViewWidget::HighlightChanged, this,
          [this](int trace) { m_workspace.NotifyHighlightChanged(trace); });
  connect(m_view, &TraceViewWidget::SelectionMade, this, [this](int, const VTracePlotter::Selection& s) {
    m_workspace.NotifySelectionChanged({s.firstTrace, s.lastTrace, s.firstTime, s.lastTime});
  });
  connect(m_view, &TraceViewWidget::SnapshotRequested, this, [this](int) { SnapshotCommand(); });
  connect(m_view, &TraceViewWidget::ParametersRequested, this, [this](int) { ShowParameters(); });
  connect(m_panel, &SettingsPanel::TraceInfoWanted, this, &MainWindow::SetTraceInfo);
  connect(m_panel, &SettingsPanel::UseFreqFilterChanged, this, [this](bool on) {
    LogPrint(LogInfo, "main: Use Freq Filter %d", on ? 1 : 0);
    m_workspace.NotifyActiveFilterChanged();
  });
}

// The readout goes to the strip; with no trace highlighted the Trace Info
// follows the trace under the cursor.
void MainWindow::CursorMoved(int trace, double, const QString& text) {
  m_strip->SetText(text);
  if (m_view->SelectedTrace() >= 0 || trace == CursorReport::kNoTrace) return;
  if (m_panel->IsTraceInfoShown()) SetTraceInfo(trace);
}

int MainWindow::SnapshotCommand() {
  if (!m_view->HasData()) return kStatusRefused;
  const QString folder = QString::fromStdString(m_workspace.DialogStartFolder());
  const SnapshotNameChooser choose =
      m_chooseSnapshotName ? m_chooseSnapshotName : SnapshotDialogChooser(this, folder);
  return ::SnapshotCommand(m_view->Plotter().Store(), choose);
}

QAction* MainWindow::AddItem(QMenu* menu, int command, const QString& text, void (MainWindow::*slot)()) {
  QAction* a = menu->addAction(text);
  a->setData(command);
  if (slot) connect(a, &QAction::triggered, this, slot);
  m_actions.insert(command, a);
  return a;
}

QAction* MainWindow::AddTopItem(int command, const QString& text, void (MainWindow::*slot)()) {
  QAction* a = menuBar()->addAction(text);
  a->setData(command);
  if (slot) connect(a, &QAction::triggered, this, slot);
  m_actions.insert(command, a);
  return a;
}

void MainWindow::BuildMenus() {
  BuildFileMenu();
  QMenu* io = menuBar()->addMenu("Export/Import");
  AddItem(io, kCmdExportHeaders, "&Export SEG-Y Trace Headers");
  AddItem(io, kCmdImportHeaders, "&Import SEG-Y Trace Headers");
  BuildTopItems();
  BuildFunctionsMenu();
  AddTopItem(kCmdFileSelector, "File Selector");
  AddTopItem(kCmdShowConsole, "Show &Console ", &MainWindow::ShowConsoleCommand);
  BuildHelpMenu();
}

void MainWindow::BuildFileMenu() {
  QMenu* file = menuBar()->addMenu("File");
  AddItem(file, kCmdLoadDataset, "Load Seismic File(s)", &MainWindow::LoadFromMenu);
  AddItem(file, kCmdOpenTolerantly, kOpenTolerantlyItem, &MainWindow::OpenTolerantlyFromMenu);
  AddItem(file, kCmdSaveDataset, "Save Dataset");
  AddItem(file, kCmdSelectiveStack, "Selective Stack");
  AddItem(file, kCmdHeaderMapping, "Header Mapping ...");
  file->addSeparator();
  AddItem(file, kCmdExit, "E&xit", &MainWindow::ExitCommand);
}

void MainWindow::BuildTopItems() {
  AddTopItem(kCmdDumpHeaders, "Dump Headers");
  AddTopItem(kCmdFreqFilter, "  Freq. &Filter");
  AddTopItem(kCmdSpectrum, "&Spectrum");
  AddTopItem(kCmdBasemap, "Basemap");
}

void MainWindow::BuildFunctionsMenu() {
  m_functions = menuBar()->addMenu("Functions");
  AddItem(m_functions, kCmdSortTraces, "Sort Traces");
  AddItem(m_functions, kCmdResample, "Resample");
  AddItem(m_functions, kCmdShiftTraces, "Shift Traces");
  AddItem(m_functions, kCmdSnapshot, "Snapshot F5");
  AddItem(m_functions, kCmdBinning2D, "2D Binning");
}

void MainWindow::BuildHelpMenu() {
  QMenu* help = menuBar()->addMenu(" &Help  ");
  AddItem(help, kCmdManual, "Manual", &MainWindow::ShowManual);
  AddItem(help, kCmdAbout, "&About ...", &MainWindow::ShowAbout);
}

void MainWindow::BuildKeys() {
  auto* params = new QAction(this);
  params->setShortcut(Qt::Key_F9);
  params->setShortcutContext(Qt::WindowShortcut);
  addAction(params);
  m_actions.insert(kCmdParameters, params);
  // F5 works wherever the focus is in the window, as the menu item does.
  auto* snapshot = new QAction(this);
  snapshot->setShortcut(Qt::Key_F5);
  snapshot->setShortcutContext(Qt::WindowShortcut);
  connect(snapshot, &QAction::triggered, this, &MainWindow::SnapshotFromMenu);
  addAction(snapshot);
}

void MainWindow::ApplyEnabled(int command) {
  QAction* a = Action(command);
  if (!a) return;
  bool rule = m_dataRule.value(command, true);
  a->setEnabled(rule && m_available.value(command, true));
}

void MainWindow::SetToolAvailable(int command, bool available) {
  m_available.insert(command, available);
  ApplyEnabled(command);
}

bool MainWindow::DataRuleEnabled(int command) const {
  return m_dataRule.value(command, true);
}

void MainWindow::EnableDataMenus(bool enable) {
  const SeismicSection* s = m_workspace.Section();
  for (int c : kDataCommands) m_dataRule.insert(c, enable);
  m_dataRule.insert(kCmdBasemap, enable && s && s->Count() > 1);
  m_functions->menuAction()->setEnabled(enable);
  for (int c : kDataCommands) ApplyEnabled(c);
  menuBar()->update();
}

void MainWindow::SetBusy(bool busy) {
  m_workspace.ChangeBusy(busy);
}

void MainWindow::BusyChanged(bool busy) {
  // The windows that read the section stay out of reach meanwhile.
  m_view->setEnabled(!busy);
}

bool MainWindow::Busy() const {
  return m_workspace.Busy();
}

QStringList MainWindow::ChooseWithDialog(int* filterIndex) {
  QStringList filters = OpenDialogFilters();
  int index = m_workspace.LastFilter();
  QFileDialog dialog(this, kLoadDialogTitle, QString::fromStdString(m_workspace.DialogStartFolder()));
  dialog.setFileMode(QFileDialog::ExistingFiles);
  dialog.setNameFilters(filters);
  dialog.selectNameFilter(filters.value(index - 1));
  if (dialog.exec() != QDialog::Accepted) return {};
  *filterIndex = static_cast<int>(filters.indexOf(dialog.selectedNameFilter())) + 1;
  return dialog.selectedFiles();
}

int MainWindow::LoadDatasetCommand() {
  if (Busy()) return kStatusRefused;
  int filter = m_workspace.LastFilter();
  QStringList files = m_chooseFiles(&filter);
  if (files.isEmpty()) return kStatusRefused;
  std::vector<std::string> paths;
  for (const QString& f : files) paths.push_back(f.toStdString());
  int rc = m_workspace.LoadChosenFiles(paths, filter);
  return rc;
}

void MainWindow::SetDefaultRefusalAsker(RefusalAsker asker) {
  DefaultRefusalAsker() = std::move(asker);
}

int MainWindow::OpenTolerantlyCommand() {
  if (Busy()) return kStatusRefused;
  int filter = m_workspace.LastFilter();
  int32_t intervalUs = 0;
  QStringList files = m_chooseTolerant(&filter, &intervalUs);
  if (files.isEmpty()) return kStatusRefused;
  std::vector<std::string> paths;
  for (const QString& f : files) paths.push_back(f.toStdString());
  LoadParams params = Workspace::DefaultLoadParams();
  params.tolerant = true;
  params.tolerantIntervalUs = intervalUs;
  return m_workspace.LoadChosenFiles(paths, filter, params);
}

// Told after the load returned, so that "Open tolerantly" starts a load of its
// own rather than one inside the refused one.
void MainWindow::LoadRefused(const LoadRefusal& refusal) {
  QMetaObject::invokeMethod(
      this, [this, refusal] { ShowLoadRefusal(refusal); }, Qt::QueuedConnection);
}

void MainWindow::ShowLoadRefusal(const LoadRefusal& refusal) {
  const bool offer = OffersTolerantOpen(refusal);
  const bool again = m_askAfterRefusal(QString::fromUtf8(kLoadRefusalTitle),
                                       QString::fromStdString(LoadRefusalText(refusal)), offer);
  if (again && offer && !Busy()) m_workspace.LoadAgainTolerantly(refusal);
}

int MainWindow::LoadCommandLineFile(const QString& path) {
  QString name = path;
  if (name.size() >= 2 && name.startsWith('"') && name.endsWith('"')) name = name.mid(1, name.size() - 2);
  // The window is not shown yet: lay it out so the view has its size.
  layout()->activate();
  centralWidget()->layout()->activate();
  m_view->parentWidget()->layout()->activate();
  LoadParams params = Workspace::DefaultLoadParams();
  params.resetDisplay = 0;
  int rc = m_workspace.LoadDataset({name.toStdString()}, params);
  m_workspace.SetSplash(false);
  ShowPanelsAndView();
  return rc;
}

void MainWindow::StackFromMenu() {
  m_stack->StackGathers();
}

void MainWindow::ShowDumpHeaders() {
  if (Busy()) return;
  if (!m_dumpDialog) m_dumpDialog = new DumpHeadersDialog(m_workspace, this);
  m_dumpDialog->UpdateCurrentFileButton();
  m_dumpDialog->show();
  m_dumpDialog->raise();
  m_dumpDialog->activateWindow();
}

void MainWindow::ShowSpectrum() {
  if (Busy() || !m_workspace.Section() || m_workspace.Section()->Count() == 0) return;
  if (!m_spectrum) m_spectrum = new AmpSpectrumWindow(m_workspace, this);
  m_spectrum->Open();
}

void MainWindow::ShowBasemap() {
  if (!m_basemap) {
    LogPrint(LogDebug, "Workspace::CreateBasemap");
    m_basemap = new Basemap(m_workspace, this);
    connect(m_basemap, &Basemap::BinningWanted, this, &MainWindow::ShowBinning);
  }
  m_basemap->show();
  m_basemap->raise();
  m_basemap->activateWindow();
}

// The binning works on the basemap's profile, so the basemap comes first.
void MainWindow::ShowBinning() {
  if (Busy()) return;
  if (!m_basemap) ShowBasemap();
  if (!m_binningDialog) {
    m_binningDialog = new BinningDialog(m_workspace, m_basemap, this);
    m_binningDialog->SetViewParams([this]() -> const DisplayParams* { return &m_view->Params(); });
  }
  m_binningDialog->show();
  m_binningDialog->raise();
  m_binningDialog->activateWindow();
}

void MainWindow::ShowParameters() {
  if (Busy()) return;
  if (!m_paramsDialog) {
    m_paramsDialog = new ParametersDialog(this);
    connect(m_paramsDialog, &ParametersDialog::SettingsApplied, m_view, &TraceViewWidget::ReadSettings);
  }
  m_paramsDialog->show();
  m_paramsDialog->raise();
  m_paramsDialog->activateWindow();
}

SortDialog* MainWindow::SortTool() {
  if (!m_sortDialog) m_sortDialog = new SortDialog(m_workspace, this);
  return m_sortDialog;
}

void MainWindow::ShowHeaderMapping() {
  if (!m_headerMapping) m_headerMapping = new HeaderMappingDialog(m_workspace, this);
  // Rows being edited in an open dialog stay; a closed one shows the map in force again.
  if (!m_headerMapping->isVisible()) m_headerMapping->Fill();
  m_headerMapping->show();
  m_headerMapping->raise();
  m_headerMapping->activateWindow();
}

void MainWindow::ShowSortDialog() {
  SortDialog* d = SortTool();
  d->show();
  d->raise();
  d->activateWindow();
}

void MainWindow::ShowFileSelector() {
  if (!m_fileSelector) {
    FileSelectorWindow::SortLink link{[this] { return SortTool(); },
                                      [this] { return m_sortDialog && m_sortDialog->isVisible(); }};
    m_fileSelector = new FileSelectorWindow(m_workspace, std::move(link), this);
    QScreen* screen = this->screen();
    m_fileSelector->PlaceBeside(frameGeometry(), screen ? screen->virtualGeometry() : QRect());
  }
  QString start = QString::fromStdString(m_workspace.LastInputDir());
  if (start.isEmpty() || !QFileInfo(start).isDir()) start = QDir::homePath();
  m_fileSelector->show();
  m_fileSelector->raise();
  m_fileSelector->activateWindow();
  m_fileSelector->ListFolder(start);
}

void MainWindow::ShowResample() {
  if (Busy() || m_sectionTool || m_workspace.TraceCount() <= 0) return;
  OpenSectionTool(new ResampleDialog(m_workspace, this));
}

void MainWindow::ShowShiftTraces() {
  if (Busy() || m_sectionTool || m_workspace.TraceCount() <= 0) return;
  OpenSectionTool(new ShiftDialog(m_workspace, this));
}

void MainWindow::OpenSectionTool(SectionToolDialog* dialog) {
  m_sectionTool = dialog;
  connect(dialog, &QDialog::finished, this, &MainWindow::SectionToolFinished);
  SetInputEnabled(false);
  dialog->move(geometry().topLeft() + QPoint(30, 60));
  dialog->show();
  dialog->raise();
  dialog->activateWindow();
}

void MainWindow::SectionToolFinished() {
  if (!m_sectionTool) return;
  LogPrint(LogError, "main: deleting %s", m_sectionTool->Resource());
  m_sectionTool->deleteLater();
  m_sectionTool = nullptr;
  SetInputEnabled(true);
  activateWindow();
}

// The window as a whole stays enabled: disabling it would disable the tool
// dialogs it parents too. The strip takes no input and keeps its bar legible.
void MainWindow::SetInputEnabled(bool enabled) {
  menuBar()->setEnabled(enabled);
  m_panel->setEnabled(enabled);
  m_view->setEnabled(enabled && !Busy());
  for (QAction* key : actions()) key->setEnabled(enabled);
}

void MainWindow::ProgressChanged(const ProgressInfo& info) {
  if (!info.running) {
    m_strip->HideProgress();
    return;
  }
  m_strip->ShowProgress(QString::fromStdString(info.label), info.done, info.total);
  if (!info.blocking || m_pumping) return;
  // The operation holds this thread: let the window repaint (the workspace
  // spaces these calls), but leave the user's input queued until it is done.
  m_pumping = true;
  QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
  m_pumping = false;
}

// The PDF manual when one is installed and the system can show it, else the
// Markdown manual in a window of our own.
// "Save Dataset": a new dialog per opening (its ranges from the current
// section); it goes after a successful save or when the user closes it.
void MainWindow::ShowSaveDataset() {
  const SeismicSection* s = m_workspace.Section();
  if (Busy() || !s || s->Count() == 0) return;
  if (!m_saveDialog) {
    m_saveDialog = new SaveDatasetDialog(m_workspace, this);
    m_saveDialog->setAttribute(Qt::WA_DeleteOnClose);
    connect(m_saveDialog, &SaveDatasetDialog::Finished, this, [this] {
      LogPrint(LogError, "main: deleting IDD_SAVE_DATASET");
      m_saveDialog->deleteLater();
      m_saveDialog = nullptr;
    });
  }
  ShowTool(m_saveDialog);
}

SaveDatasetDialog* MainWindow::SaveDialog() const {
  return m_saveDialog.data();
}

void MainWindow::ShowExportHeaders() {
  if (!m_exportDialog) m_exportDialog = new HeaderWordsExportDialog(m_workspace, this);
  ShowTool(m_exportDialog);
}

void MainWindow::ShowImportHeaders() {
  if (!m_importDialog) m_importDialog = new HeaderWordsImportDialog(m_workspace, this);
  ShowTool(m_importDialog);
}

void MainWindow::ShowTool(QWidget* tool) {
  tool->show();
  tool->raise();
  tool->activateWindow();
}

void MainWindow::ShowFreqFilter() {
  if (m_workspace.TraceCount() < 1) return;
  if (!m_filterPanel) m_filterPanel = new FilterPanel(m_workspace, this);
  m_filterPanel->show();
  m_filterPanel->raise();
  m_filterPanel->activateWindow();
}

void MainWindow::ShowManual() {
  QString dir = m_programFolder.isEmpty() ? QCoreApplication::applicationDirPath() : m_programFolder;
  QString manual = dir + "/Kestrix.pdf";
  if (QFileInfo::exists(manual) && QDesktopServices::openUrl(QUrl::fromLocalFile(manual))) return;
  if (!m_manual) m_manual = ManualWindow::Open(dir, this);
  if (!m_manual) {
    ConsoleRaise();
    return;
  }
  m_manual->show();
  m_manual->raise();
  m_manual->activateWindow();
}

void MainWindow::ShowAbout() {
  QMessageBox::about(this, "About Kestrix",
                     QString("<b>Kestrix</b> %1<br><br>A viewer and light editor of seismic trace data: "
                             "SEG-Y, SU, SEG-2 and vibration monitor files.")
                         .arg(KX_VERSION));
}

void MainWindow::ShowConsoleCommand() {
  ConsoleShow();
}

void MainWindow::ExitCommand() {
  close();
}

void MainWindow::RecordPlacement(SettingsFileValues* values) const {
  const SettingsFileValues& from = m_placementRecorded ? m_placement : SettingsFileValues{};
  if (!m_placementRecorded) return;
  values->wndX = from.wndX;
  values->wndY = from.wndY;
  values->wndW = from.wndW;
  values->wndH = from.wndH;
  for (int i = 0; i < 4; ++i) values->rcNorPos[i] = from.rcNorPos[i];
}

bool MainWindow::SplashShown() const {
  return !m_splash->isHidden();
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
  if (watched == centralWidget() && event->type() == QEvent::Resize) {
    m_splash->setGeometry(centralWidget()->rect());
    m_splash->raise();
  }
  return QMainWindow::eventFilter(watched, event);
}

void MainWindow::closeEvent(QCloseEvent* event) {
  if (Busy() || m_sectionTool || m_pumping) {
    event->ignore();
    return;
  }
  QRect g = geometry();
  m_placement.wndX = g.x();
  m_placement.wndY = g.y();
  m_placement.wndW = g.width();
  m_placement.wndH = g.height();
  QRect n = normalGeometry();
  int normal[4] = {n.left(), n.top(), n.left() + n.width(), n.top() + n.height()};
  if (!n.isValid()) normal[0] = normal[1] = normal[2] = normal[3] = 0;
  for (int i = 0; i < 4; ++i) m_placement.rcNorPos[i] = normal[i];
  m_placementRecorded = true;
  event->accept();
  emit Closed();
}

void MainWindow::SetBusyCursor(bool busy) {
  if (busy)
    QApplication::setOverrideCursor(Qt::WaitCursor);
  else
    QApplication::restoreOverrideCursor();
}

void MainWindow::SetTitle(const std::string& title) {
  setWindowTitle(QString::fromStdString(title));
}

void MainWindow::ShowPanelsAndView() {
  m_splash->hide();
  // The view appears: draw what it now holds.
  m_view->RefreshDisplay();
}

// Keys act on the new traces without a click first; the settings panel binds
// to the view as it takes the focus. A tool that loads (the file selector)
// takes the focus back afterwards.
void MainWindow::SectionLoaded(const SeismicSection&, const LoadParams&) {
  if (m_view->HasData()) m_view->setFocus(Qt::OtherFocusReason);
}

void MainWindow::SetSectionInfo(const std::string& text) {
  m_panel->SetSectionInfo(QString::fromStdString(text));
}

void MainWindow::SetTraceInfo(int trace) {
  m_panel->SetTraceInfo(m_workspace.Section(), trace);
}

int MainWindow::SelectedTrace() const {
  return m_view->HighlightedAbsolute();
}

void MainWindow::SelectTrace(int absoluteTrace) {
  m_view->ApplyChange(m_view->Navigator().HighlightAbsolute(absoluteTrace));
}

void MainWindow::RefreshView() {
  m_view->Plotter().ForgetFiltered();  // a tool may have changed the samples
  m_view->RefreshDisplay();
}

bool MainWindow::UseFreqFilter() const {
  return m_view->Params().m_useFreqFilter != 0;
}

void MainWindow::SetUseFreqFilter(bool on) {
  m_view->Params().m_useFreqFilter = on ? 1 : 0;
  m_panel->RefreshAllControls();
  m_view->RefreshDisplay();
}
