#include "gui/tools/StackCommand.h"

#include <QAction>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <chrono>
#include <string>

#include "app/SaveStacks.h"
#include "app/Workspace.h"
#include "display/DisplayRules.h"
#include "gui/traceview/TraceViewWidget.h"
#include "log/Log.h"
#include "log/Status.h"
#include "section/SeismicSection.h"

namespace {
// FLDR, CHAN and NVS: the gather, the channel and the fold of each trace.
const std::vector<int> kStackLabelRows = {10, 12, 14};

// Qt reads the patterns from the last parentheses; the label stays as it is.
QString QtFilter(const char* label, const char* patterns) {
  return QString::fromUtf8(label) + " (" + patterns + ")";
}
}  // namespace

StackCommand::StackCommand(Workspace& workspace, TraceViewWidget* mainView, QWidget* owner,
                           QAction* functions)
    : QObject(owner), m_workspace(workspace), m_view(mainView), m_owner(owner), m_functions(functions) {
  m_chooseFiles = [this](const QString& start) { return ChooseWithDialog(start); };
  m_chooseSaveName = [this](const QString& title, const QString& filter, const QString& start) {
    return ChooseSaveWithDialog(title, filter, start);
  };
  m_showMessage = [this](const QString& title, const QString& text) {
    QMessageBox box(QMessageBox::Critical, title, text, QMessageBox::Ok, m_owner);
    box.exec();
  };
  connect(mainView, &TraceViewWidget::ToggleTraceRequested, this, &StackCommand::ToggleTrace);
  connect(mainView, &TraceViewWidget::ToggleGroupRequested, this, &StackCommand::ToggleGather);
  connect(mainView, &TraceViewWidget::SaveStacksRequested, this, &StackCommand::SaveStacksCommand);
  m_workspace.AddObserver(this);
}

StackCommand::~StackCommand() {
  m_workspace.RemoveObserver(this);
  // The main view may be gone already (the window's children go first).
  delete m_stackView;
}

QString StackCommand::StartFolder() const {
  if (m_lastFolder.isEmpty() || !QFileInfo(m_lastFolder).isDir()) return m_lastFolder;
  return m_lastFolder.endsWith('/') ? m_lastFolder : m_lastFolder + '/';
}

QStringList StackCommand::ChooseWithDialog(const QString& startFolder) {
  QFileDialog dialog(m_owner, QString::fromUtf8(kStackOpenDialogTitle), startFolder);
  dialog.setFileMode(QFileDialog::ExistingFiles);
  dialog.setOption(QFileDialog::HideNameFilterDetails);
  dialog.setNameFilter(QtFilter(kStackOpenDialogFilter, "*.segy *.sgy *.seg2 *.sg2"));
  if (dialog.exec() != QDialog::Accepted) return {};
  return dialog.selectedFiles();
}

QString StackCommand::ChooseSaveWithDialog(const QString& title, const QString& filter,
                                           const QString& startFolder) {
  QFileDialog dialog(m_owner, title, startFolder);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setOption(QFileDialog::HideNameFilterDetails);
  dialog.setNameFilter(filter);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
  return dialog.selectedFiles().first();
}

int StackCommand::StackGathers() {
  if (m_workspace.Busy() || !m_view) return kStatusRefused;
  QStringList files = m_chooseFiles(StartFolder());
  if (files.isEmpty()) return kStatusRefused;
  if (LoadShots(files) != 0) return kStatusRefused;
  return StackLoaded();
}

// The loader removes an earlier stack view (SectionClearing) before the new
// section replaces the old one.
int StackCommand::LoadShots(const QStringList& files) {
  m_lastFolder = QFileInfo(files.first()).absolutePath();
  std::vector<std::string> paths;
  for (const QString& f : files) paths.push_back(f.toStdString());
  LoadParams params = Workspace::DefaultLoadParams();
  params.takeNameDigits = 1;  // shot_0123.sgy is field record 123
  const auto t0 = std::chrono::steady_clock::now();
  int rc = m_workspace.LoadDataset(paths, params);
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
  LogPrint(LogStep, "Load Dataset in %.3lfs (file count=%d)", seconds, static_cast<int>(paths.size()));
  return rc;
}

int StackCommand::StackLoaded() {
  DestroyStackView(false);
  SeismicSection& s = *m_workspace.Section();
  if (AssignGatherNumbers(s) != 0) {
    ConsoleRaise();
    Refuse(kStackMissingFfid);
    return kStatusRefused;
  }
  SetMainRole(1);
  const char* refusal = nullptr;
  int rc = PrepareStack(s, &m_gathers, &refusal);
  // The sort reordered the traces under the main view.
  m_view->RefreshDisplay();
  if (rc != 0) {
    m_gathers.clear();
    Refuse(refusal ? refusal : kStackNoMemory);
    return rc;
  }
  if (AllocateStackFor(s, m_gathers) != 0) {
    m_gathers.clear();
    Refuse(kStackNoMemory);
    return kStatusNoMemory;
  }
  CreateStackView();
  if (int status = RunStack(); status != 0) return status;
  ShowStack();
  return 0;
}

// A failing stack is logged, the console raised and the stack view removed.
int StackCommand::RunStack() {
  int status = StackAllGathers(*m_workspace.Section(), m_gathers);
  if (status != 0) {
    LogPrint(LogError, "\nERROR in StackGathers() status=%d\n", status);
    ConsoleRaise();
    DestroyStackView(false);
  }
  return status;
}

void StackCommand::Refuse(const char* text) {
  if (m_showMessage) m_showMessage(QString::fromUtf8(kStackErrorTitle), QString::fromUtf8(text));
}

// Beside the main window, as large as the main view, with its display settings.
void StackCommand::CreateStackView() {
  m_stackView = new TraceViewWidget(nullptr, TraceViewOptions::SecondView());
  m_stackView->setWindowTitle(QString::fromUtf8(kStackViewTitle));
  const QRect frame = m_view->window()->frameGeometry();
  const QSize size = m_view->size().expandedTo(QSize(400, 300));
  m_stackView->setGeometry(frame.right() + 1, frame.top(), size.width(), size.height());
  m_stackView->Plotter().Params() = m_view->Params();
  connect(m_stackView, &TraceViewWidget::CloseRequested, this, &StackCommand::CloseStackView);
  connect(m_stackView, &TraceViewWidget::SaveStacksRequested, this, &StackCommand::SaveStacksCommand);
}

void StackCommand::ShowStack() {
  // The view reads the stack list in place: a restack into the same records
  // shows at the next redraw, scaled as the first stack was.
  const SeismicSection& shots = *m_workspace.Section();
  m_stackView->show();
  m_stackView->ShowTraces(shots.Stack(), StackSummary(shots), {});
  m_stackView->SetLabelWords(kStackLabelRows, m_stackView->LabelGraduationStep());
  FitStackView();
  if (!m_labelsSaved) {
    m_savedLabels = m_view->LabelWords();
    m_savedLabelStep = m_view->LabelGraduationStep();
    m_labelsSaved = true;
  }
  m_view->SetLabelWords(kStackLabelRows, m_view->LabelGraduationStep());
  m_stackView->RefreshDisplay();
  m_view->RefreshDisplay();
  SetMainRole(2);
  m_view->window()->activateWindow();
  m_view->setFocus();
  if (m_functions) m_functions->setEnabled(false);
}

// The stack is drawn as the section is (mode, palette, gains, polarity), only
// placed to show every stacked trace and the whole time range.
void StackCommand::FitStackView() {
  DisplayParams& p = m_stackView->Params();
  const SectionSummary summary = StackSummary(*m_workspace.Section());
  int width = 0, height = 0;
  m_stackView->PlotSize(&width, &height);
  p.m_firstTrace = 0;
  p.m_startTime = summary.minTime;
  p.m_pixPerTrace = FitPixPerTrace(width, m_stackView->TraceCount());
  p.m_pixPerSec = FitPixPerSec(height, summary.minTime, summary.maxTime, m_stackView->SampleCount());
}

// Only the stack's own rows go: labels the user chose meanwhile stay.
void StackCommand::RestoreMainLabels() {
  if (!m_labelsSaved) return;
  m_labelsSaved = false;
  if (m_view && m_view->LabelWords() == kStackLabelRows)
    m_view->SetLabelWords(m_savedLabels, m_savedLabelStep);
}

void StackCommand::ToggleTrace(int trace) {
  SeismicSection* s = m_workspace.Section();
  if (!m_stackView || !s || !ToggleTraceExclusion(*s, trace)) return;
  Restack();
}

void StackCommand::ToggleGather(int trace) {
  SeismicSection* s = m_workspace.Section();
  if (!m_stackView || !s || !ToggleGatherExclusion(*s, m_gathers, trace)) return;
  Restack();
}

void StackCommand::Restack() {
  if (RunStack() != 0) return;
  m_stackView->RefreshDisplay();
  if (m_view) m_view->RefreshDisplay();
}

int StackCommand::SaveStacksCommand() {
  const SeismicSection* s = m_workspace.Section();
  if (!m_stackView || !s || s->StackCount() <= 0) return kStatusRefused;
  const int format = StackSaveFormat(s->FileType());
  if (format == kFileUnknown) return kStatusRefused;
  const bool seg2 = format == kFileSeg2;
  const QString title = QString::fromUtf8(seg2 ? kStackSeg2DialogTitle : kStackSegyDialogTitle);
  const char* label = seg2 ? kStackSeg2DialogFilter : kStackSegyDialogFilter;
  const QString filter = QtFilter(label, seg2 ? "*.seg2 *.sg2" : "*.segy *.sgy");
  const QString chosen = m_chooseSaveName(title, filter, StartFolder());
  if (chosen.isEmpty()) return kStatusRefused;
  const std::string path = StackSavePath(chosen.toStdString(), s->FileType());
  m_lastFolder = QFileInfo(QString::fromStdString(path)).absolutePath();
  return SaveStacks(*s, path);
}

void StackCommand::CloseStackView() {
  // Called from the view's own close event: it goes once that returns.
  DestroyStackView(true);
}

void StackCommand::SetMainRole(int role) {
  if (m_view) m_view->SetViewRole(role);
}

void StackCommand::DestroyStackView(bool deferred) {
  if (!m_stackView) return;
  m_stackView->hide();
  m_stackView->Clear();
  if (deferred)
    m_stackView->deleteLater();
  else
    delete m_stackView;
  m_stackView = nullptr;
  m_gathers.clear();
  SetMainRole(1);
  RestoreMainLabels();
  if (m_view && m_view->HasData()) m_view->RefreshDisplay();
  if (m_functions) m_functions->setEnabled(m_workspace.Section() != nullptr);
}
