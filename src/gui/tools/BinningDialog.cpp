#include "gui/tools/BinningDialog.h"

#include <QCoreApplication>
#include <QFileDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <cmath>

#include "app/AppSettings.h"
#include "app/Workspace.h"
#include "app/tools/BinningFields.h"
#include "display/BasemapGraphs.h"
#include "formats/BinningSave.h"
#include "gui/tools/BadInputFlash.h"
#include "gui/tools/Basemap.h"
#include "gui/traceview/TraceViewWidget.h"
#include "log/Log.h"
#include "log/Status.h"
#include "section/SeismicSection.h"

BinningDialog::BinningDialog(Workspace& workspace, Basemap* basemap, QWidget* parent)
    : QDialog(parent), m_workspace(workspace), m_basemap(basemap) {
  setWindowTitle(kBinningTitle);
  setModal(false);
  auto* grid = new QGridLayout(this);
  auto addField = [&](int row, const char* label) {
    auto* edit = new QLineEdit(this);
    grid->addWidget(new QLabel(label, this), row, 0);
    grid->addWidget(edit, row, 1);
    return edit;
  };
  m_maxOffset = addField(0, "Max src-rcv offset");
  m_maxDistance = addField(1, "Max distance to profile");
  m_binSize = addField(2, "Bin size");
  auto* compute = new QPushButton("Compute", this);
  compute->setToolTip(" Source-Receiver Midpoints and Offsets");
  auto* show = new QPushButton("Show", this);
  m_retained = new QLabel(this);
  m_binButton = new QPushButton("2D Binning", this);
  grid->addWidget(compute, 3, 0);
  grid->addWidget(show, 4, 0);
  grid->addWidget(m_retained, 4, 1);
  grid->addWidget(m_binButton, 5, 0, 1, 2);
  connect(compute, &QPushButton::clicked, this, &BinningDialog::Compute);
  connect(show, &QPushButton::clicked, this, &BinningDialog::Show);
  connect(m_binButton, &QPushButton::clicked, this, &BinningDialog::Bin2D);
  m_chooseSave = [this](const QString& title, const QString& filter) {
    return QFileDialog::getSaveFileName(this, title, QString::fromStdString(m_workspace.DialogStartFolder()),
                                        filter);
  };
  m_startProcess = [](const QString& program, const QStringList& args) {
    return QProcess::startDetached(program, args);
  };
  ShowFields();
  m_workspace.AddObserver(this);
}

BinningDialog::~BinningDialog() {
  m_workspace.RemoveObserver(this);
  CloseBinnedView();
}

void BinningDialog::ShowFields() {
  const BinningFields f = BinningFieldsFrom(m_params);
  m_maxOffset->setText(QString::fromStdString(f.maxOffset));
  m_maxDistance->setText(QString::fromStdString(f.maxDistance));
  m_binSize->setText(QString::fromStdString(f.binSize));
}

// Bad fields go back to their previous values and the dialog flashes.
bool BinningDialog::ReadFields() {
  const BinningFields typed{m_maxOffset->text().toStdString(), m_maxDistance->text().toStdString(),
                            m_binSize->text().toStdString()};
  BinningFields shown;
  if (ReadBinningFields(typed, &m_params, &shown)) {
    ShowFields();
    return true;
  }
  m_maxOffset->setText(QString::fromStdString(shown.maxOffset));
  m_maxDistance->setText(QString::fromStdString(shown.maxDistance));
  m_binSize->setText(QString::fromStdString(shown.binSize));
  BadInputFlash::Signal(this);
  return false;
}

int BinningDialog::Compute() {
  SeismicSection* s = m_workspace.Section();
  if (!s || s->Count() == 0) return kStatusRefused;
  const int status = ComputeMidpointsAndOffsets(*s, Settings().numThreads);
  if (m_basemap) {
    // Every midpoint with a positive offset.
    m_basemap->SetCdpPoints(BuildCdpPoints(s->Traces(), RetainedMidpoints(*s, HUGE_VAL)));
    m_basemap->FullExtent();
  }
  return status;
}

int BinningDialog::ShowRetained(const SeismicSection& section) {
  const std::vector<int32_t> kept = RetainedMidpoints(section, m_params.maxOffset);
  m_retained->setText(
      QString::fromStdString(RetainedMidpointsText(static_cast<int32_t>(kept.size()), section.Count())));
  if (m_basemap) m_basemap->SetCdpPoints(BuildCdpPoints(section.Traces(), kept));
  return 0;
}

int BinningDialog::Show() {
  if (!ReadFields()) return kStatusRefused;
  const SeismicSection* s = m_workspace.Section();
  if (!s || s->Count() == 0) return kStatusRefused;
  return ShowRetained(*s);
}

int BinningDialog::Bin2D() {
  SeismicSection* s = m_workspace.Section();
  if (!m_basemap || !s || s->Count() == 0) return kStatusRefused;
  const Profile profile = m_basemap->Profile().ToProfile();
  if (!ProfileReadyForBinning(profile) || !ReadFields()) {
    BadInputFlash::Signal(this);
    return kStatusRefused;
  }
  if (ComputeMidpointsAndOffsets(*s, Settings().numThreads) != 0) return kStatusRefused;
  m_workspace.RescanSectionInfo();
  ShowRetained(*s);
  std::unique_ptr<SeismicSection> binned;
  const int status = BinSection(*s, m_params, profile, &binned);
  if (status != 0) {
    if (status == kStatusNoMemory) LogPrint(LogError, "ERROR in Binning : not enough memory");
    return status;
  }
  return SaveOrShow(std::move(binned));
}

// Saved: a new instance of the program opens the file. Cancelled or failed:
// the traces go to the " 2D Binning" view.
int BinningDialog::SaveOrShow(std::unique_ptr<SeismicSection> binned) {
  const QString chosen = m_chooseSave(kBinnedSaveTitle, QString(kBinnedSaveFilter) + " (*.segy *.sgy)");
  if (!chosen.isEmpty()) {
    const std::string path = BinnedSavePath(chosen.toStdString());
    if (SaveBinnedSection(*binned, path) == 0) {
      const QString program = QCoreApplication::applicationFilePath();
      if (m_startProcess(program, {QString::fromStdString(path)})) return 0;
      LogPrint(LogError, "\nERROR: cannot start '%s'", program.toUtf8().constData());
      return 0;
    }
  }
  ShowBinnedView(std::move(binned));
  return 0;
}

void BinningDialog::ShowBinnedView(std::unique_ptr<SeismicSection> binned) {
  CloseBinnedView();
  m_binned = std::move(binned);
  m_view = new TraceViewWidget(nullptr, TraceViewOptions::SecondView());
  m_view->setAttribute(Qt::WA_DeleteOnClose, false);
  m_view->setWindowTitle(kBinnedViewTitle);
  m_view->setGeometry(50, 50, 800, 600);
  if (const DisplayParams* p = m_viewParams ? m_viewParams() : nullptr) m_view->Params() = *p;
  connect(m_view, &TraceViewWidget::CloseRequested, this, [this] {
    // Deferred: the request comes from the view's own event handler.
    QMetaObject::invokeMethod(
        this, [this] { CloseBinnedView(); }, Qt::QueuedConnection);
  });
  m_view->show();
  m_view->ShowTraces(m_binned->Traces(), m_binned->Summary(), {});
  m_view->FitTraces();
  m_view->FitTime();
  m_view->RefreshDisplay();
}

void BinningDialog::CloseBinnedView() {
  delete m_view;
  m_view = nullptr;
  m_binned.reset();
}

void BinningDialog::SectionClearing() {
  m_retained->clear();
}
