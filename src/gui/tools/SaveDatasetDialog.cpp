#include "gui/tools/SaveDatasetDialog.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QFileDialog>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>

#include "app/AppSettings.h"
#include "app/SaveDataset.h"
#include "app/SavePrep.h"
#include "app/Workspace.h"
#include "app/tools/SaveDatasetFields.h"
#include "gui/tools/BadInputFlash.h"
#include "log/Status.h"
#include "processing/ActiveFilter.h"
#include "section/SeismicSection.h"

namespace {
QString Q(const std::string& s) {
  return QString::fromStdString(s);
}
std::string S(const QLineEdit* e) {
  return e->text().toStdString();
}
int IndexOfData(const QComboBox* c, int data) {
  int i = c->findData(data);
  return i < 0 ? 0 : i;
}
}  // namespace

SaveDatasetDialog::SaveDatasetDialog(Workspace& workspace, QWidget* parent)
    : QDialog(parent), m_workspace(workspace) {
  setWindowTitle(" Save Dataset");
  setModal(false);
  auto* grid = new QGridLayout(this);
  BuildOffsetAndTime(grid);
  BuildTraceCrop(grid);
  BuildFormatAndButtons(grid);
  m_chooseName = [this](const SaveFileChoice& c) { return ChooseWithDialog(c); };
  m_showMessage = [this](const QString& caption, const QString& text) {
    QMessageBox box(QMessageBox::Critical, caption, text, QMessageBox::Ok, this);
    box.exec();
  };
  move(50, 50);
  ResetFromSection();
  m_workspace.AddObserver(this);
}

SaveDatasetDialog::~SaveDatasetDialog() {
  // The choices made without a save come back at the next opening too.
  SaveDatasetFields f = TakeFields();
  ReadSaveFields(f, m_workspace.SaveChoices());
  m_workspace.RemoveObserver(this);
}

void SaveDatasetDialog::BuildOffsetAndTime(QGridLayout* grid) {
  m_offsetOn = new QCheckBox(" Prestack : limit the number of traces per shot", this);
  m_offset = new QLineEdit(this);
  m_distanceUnit = new QLabel(this);
  grid->addWidget(m_offsetOn, 0, 0, 1, 7);
  grid->addWidget(new QLabel("reject  if src - rcv offset  >", this), 1, 0, 1, 4, Qt::AlignRight);
  grid->addWidget(m_offset, 1, 4);
  grid->addWidget(m_distanceUnit, 1, 5, 1, 2);
  m_timeOn = new QCheckBox(" Time crop", this);
  m_timeFrom = new QLineEdit(this);
  m_timeTo = new QLineEdit(this);
  m_timeUnit = new QLabel(kSaveDefaultTimeUnit, this);
  grid->addWidget(m_timeOn, 2, 0, 1, 7);
  grid->addWidget(new QLabel("from", this), 3, 1, Qt::AlignRight);
  grid->addWidget(m_timeFrom, 3, 2);
  grid->addWidget(new QLabel("to", this), 3, 3, Qt::AlignRight);
  grid->addWidget(m_timeTo, 3, 4);
  grid->addWidget(m_timeUnit, 3, 5, 1, 2);
}

void SaveDatasetDialog::BuildTraceCrop(QGridLayout* grid) {
  m_traceOn = new QCheckBox(" Traces crop", this);
  m_mode = new QComboBox(this);
  for (const ChoiceItem& item : kSaveCropModes) m_mode->addItem(item.text, item.data);
  grid->addWidget(m_traceOn, 4, 0, 1, 2);
  grid->addWidget(m_mode, 4, 2, 1, 5);
  const char* names[3] = {"from", "to", "step"};
  for (int row = 0; row < 2; ++row) {
    m_rowTitle[row] = new QLabel(this);
    grid->addWidget(m_rowTitle[row], 5 + row, 0);
    for (int c = 0; c < 3; ++c) {
      m_rangeLabel[row][c] = new QLabel(names[c], this);
      m_range[row][c] = new QLineEdit(this);
      grid->addWidget(m_rangeLabel[row][c], 5 + row, 1 + 2 * c, Qt::AlignRight);
      grid->addWidget(m_range[row][c], 5 + row, 2 + 2 * c);
    }
  }
  connect(m_mode, &QComboBox::currentIndexChanged, this, &SaveDatasetDialog::ModeChanged);
}

void SaveDatasetDialog::BuildFormatAndButtons(QGridLayout* grid) {
  m_format = new QComboBox(this);
  for (const ChoiceItem& item : kSaveFormats) m_format->addItem(item.text, item.data);
  m_filter = new QCheckBox(" Apply active freq. filter", this);
  m_save = new QPushButton("Save", this);
  m_reset = new QPushButton("Reset\nTo\nFull Range", this);
  grid->addWidget(new QLabel("File format", this), 7, 0);
  grid->addWidget(m_format, 7, 1, 1, 3);
  grid->addWidget(m_filter, 8, 0, 1, 4);
  grid->addWidget(m_save, 7, 4, 2, 1);
  grid->addWidget(m_reset, 7, 5, 2, 2);
  m_save->setDefault(true);
  connect(m_save, &QPushButton::clicked, this, [this] { Save(); });
  connect(m_reset, &QPushButton::clicked, this, &SaveDatasetDialog::ResetFromSection);
}

void SaveDatasetDialog::ResetFromSection() {
  SaveParams& p = m_workspace.SaveChoices();
  if (const SeismicSection* s = m_workspace.Section()) {
    ResetSaveParamsFromSection(p, *s);
    m_timeUnit->setText(Q(p.timeUnit));
    m_distanceUnit->setText(Q(p.distanceUnit));
  }
  ShowFields(SaveFieldsFromParams(p));
}

void SaveDatasetDialog::ShowFields(const SaveDatasetFields& f) {
  m_offsetOn->setChecked(f.offsetOn);
  m_offset->setText(Q(f.offset));
  m_timeOn->setChecked(f.timeOn);
  m_timeFrom->setText(Q(f.timeFrom));
  m_timeTo->setText(Q(f.timeTo));
  m_traceOn->setChecked(f.traceOn);
  m_shownMode = f.cropMode;
  {
    QSignalBlocker block(m_mode);
    m_mode->setCurrentIndex(IndexOfData(m_mode, f.cropMode));
  }
  CropRowsLayout layout = CropRowsOf(f.cropMode);
  const std::string titles[2] = {layout.title1, layout.title2};
  for (int row = 0; row < 2; ++row) {
    bool shown = !titles[row].empty();
    m_rowTitle[row]->setText(Q(titles[row]));
    m_rowTitle[row]->setVisible(shown);
    const std::string texts[3] = {f.rows[row].from, f.rows[row].to, f.rows[row].step};
    for (int c = 0; c < 3; ++c) {
      bool visible = shown && (c < 2 || layout.steps);
      m_range[row][c]->setText(Q(texts[c]));
      m_range[row][c]->setVisible(visible);
      m_rangeLabel[row][c]->setVisible(visible);
    }
  }
  m_format->setCurrentIndex(IndexOfData(m_format, f.format));
  m_filter->setChecked(f.applyFilter);
}

SaveDatasetFields SaveDatasetDialog::TakeFields() const {
  SaveDatasetFields f;
  f.offsetOn = m_offsetOn->isChecked();
  f.offset = S(m_offset);
  f.timeOn = m_timeOn->isChecked();
  f.timeFrom = S(m_timeFrom);
  f.timeTo = S(m_timeTo);
  f.traceOn = m_traceOn->isChecked();
  f.cropMode = m_shownMode;
  for (int row = 0; row < 2; ++row)
    f.rows[row] = {S(m_range[row][0]), S(m_range[row][1]), S(m_range[row][2])};
  f.format = m_format->currentData().toInt();
  f.applyFilter = m_filter->isChecked();
  return f;
}

void SaveDatasetDialog::ModeChanged() {
  SaveDatasetFields f = TakeFields();
  ChangeSaveCropMode(f, m_workspace.SaveChoices(), m_mode->currentData().toInt());
  ShowFields(f);
}

QString SaveDatasetDialog::ChooseWithDialog(const SaveFileChoice& c) {
  QFileDialog dialog(this, c.title, Q(m_workspace.DialogStartFolder()), c.filter);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setDefaultSuffix(c.suffix);
  if (dialog.exec() != QDialog::Accepted) return QString();
  return dialog.selectedFiles().value(0);
}

int SaveDatasetDialog::Save() {
  SeismicSection* section = m_workspace.Section();
  if (m_saving || m_workspace.Busy() || !section || section->Count() == 0) return kStatusRefused;
  SaveParams& p = m_workspace.SaveChoices();
  SaveDatasetFields f = TakeFields();
  int bad = ReadSaveFields(f, p);
  if (bad > 0) {
    ShowFields(f);  // the bad fields cut back to their valid prefix
    BadInputFlash::Signal(this);
    return kStatusRefused;
  }
  SaveOptions options;
  SaveResult r = CheckSave(*section, p, &ActiveFilter(), Settings().numThreads, &options);
  if (r.code != 0) {
    m_showMessage(Q(r.caption), Q(r.message));
    return r.code;
  }
  QString name = m_chooseName(SaveFileChoiceOf(p.format));
  if (name.isEmpty()) return kStatusRefused;
  SetSavingState(true);
  // The status strip's bar follows the write (and repaints the window meanwhile).
  m_workspace.BeginProgress("saving");
  auto strip = m_workspace.ProgressCallback();
  options.progress = [this, strip](int64_t done, int64_t total) {
    strip(done, total);
    emit Progress(done, total);
  };
  r = WriteSave(*section, p, WithSaveExtension(name.toStdString(), p.format), options);
  m_workspace.EndProgress();
  SetSavingState(false);
  if (r.code != 0) return r.code;  // the writer logged it and raised the console
  emit Finished();
  return 0;
}

void SaveDatasetDialog::SetSavingState(bool saving) {
  m_saving = saving;
  m_save->setText(saving ? "saving ..." : "Save");
  m_save->setEnabled(!saving);
  bool shown = isVisible();
  if (saving) {
    m_flags = windowFlags();
    // Explicit hints: without them the window system would add its default close box.
    setWindowFlags((m_flags | Qt::CustomizeWindowHint | Qt::WindowTitleHint) & ~Qt::WindowCloseButtonHint);
  } else {
    setWindowFlags(m_flags);
  }
  if (shown) show();
  // The filter panel and the binning dialog follow the busy flag.
  m_workspace.ChangeBusy(saving);
  // Let the new state show before the write holds this thread.
  if (saving) QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void SaveDatasetDialog::closeEvent(QCloseEvent* event) {
  if (m_saving) {
    event->ignore();
    return;
  }
  QDialog::closeEvent(event);
}

void SaveDatasetDialog::SectionLost() {
  // Nothing left to save.
  close();
}

void SaveDatasetDialog::BusyChanged(bool busy) {
  if (!m_saving) setEnabled(!busy);
}
