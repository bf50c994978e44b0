#include "gui/tools/FilterPanel.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <cstring>

#include "app/MainViewLink.h"
#include "app/Workspace.h"
#include "gui/tools/BadInputFlash.h"
#include "log/Log.h"
#include "log/Status.h"
#include "processing/ActiveFilter.h"

namespace {
void SelectByValue(QComboBox* list, int value) {
  QSignalBlocker block(list);
  list->setCurrentIndex(list->findData(value));  // -1: no selection
}

int SelectedValue(const QComboBox* list) {
  return list->currentIndex() < 0 ? 0 : list->currentData().toInt();
}

void SetText(QLineEdit* field, const std::string& text) {
  field->setText(QString::fromStdString(text));
}

// What the drawing and the consumers read: the run cascades, their count and
// the pass type.
bool SameDesign(const IIRFilter& a, const IIRFilter& b) {
  return a.passType == b.passType && a.runSections == b.runSections &&
         std::memcmp(a.cascade1, b.cascade1, sizeof a.cascade1) == 0 &&
         std::memcmp(a.cascade2, b.cascade2, sizeof a.cascade2) == 0;
}
}  // namespace

FilterPanel::FilterPanel(Workspace& workspace, QWidget* parent) : QDialog(parent), m_workspace(workspace) {
  setWindowTitle(" Frequency Filtering");
  setModal(false);
  auto* grid = new QGridLayout(this);
  int row = 0;
  m_passList = new QComboBox(this);
  const char* passes[] = {" Low Pass", " High Pass", " Band Pass", " Notch"};
  for (int i = 0; i < 4; ++i) m_passList->addItem(passes[i], i + 1);
  grid->addWidget(new QLabel("Filter", this), row, 0);
  grid->addWidget(m_passList, row++, 1);
  m_nyquist = new QLabel(this);
  grid->addWidget(m_nyquist, row++, 0, 1, 2);
  m_label1 = new QLabel(this);
  m_freq1 = new QLineEdit(this);
  grid->addWidget(m_label1, row, 0);
  grid->addWidget(m_freq1, row++, 1);
  m_label2 = new QLabel(this);
  m_freq2 = new QLineEdit(this);
  grid->addWidget(m_label2, row, 0);
  grid->addWidget(m_freq2, row++, 1);
  m_familyList = new QComboBox(this);
  m_familyList->addItem(" Butterworth", kButterworth);
  m_familyList->addItem(" Chebyshev", kChebyshev);
  m_familyList->addItem(" Elliptic", kElliptic);
  grid->addWidget(new QLabel("Type", this), row, 0);
  grid->addWidget(m_familyList, row++, 1);
  m_poles = new QSpinBox(this);
  m_poles->setRange(1, kMaxPoles);
  grid->addWidget(new QLabel("N poles", this), row, 0);
  grid->addWidget(m_poles, row++, 1);
  m_ripple = new QLineEdit(this);
  grid->addWidget(new QLabel("Ripple dB", this), row, 0);
  grid->addWidget(m_ripple, row++, 1);
  m_stopBand = new QLineEdit(this);
  grid->addWidget(new QLabel("Stop Band dB", this), row, 0);
  grid->addWidget(m_stopBand, row++, 1);
  m_set = new QPushButton("Set", this);
  m_set->setDefault(true);
  m_useFilter = new QCheckBox(" Use Filter", this);
  grid->addWidget(m_set, row, 0);
  grid->addWidget(m_useFilter, row++, 1);

  connect(m_passList, &QComboBox::currentIndexChanged, this, &FilterPanel::OnPassType);
  connect(m_familyList, &QComboBox::currentIndexChanged, this, &FilterPanel::OnFamily);
  connect(m_set, &QPushButton::clicked, this, [this] { Apply(); });
  connect(m_useFilter, &QCheckBox::clicked, this, &FilterPanel::OnUseFilter);
  m_workspace.AddObserver(this);
  move(50, 50);
  Refresh();
  ActiveFilterChanged();
}

FilterPanel::~FilterPanel() {
  m_workspace.RemoveObserver(this);
}

// Texts and selections into the model; the pass type and family stay those
// the model last took, as the list handlers need the old ones.
void FilterPanel::ReadControls() {
  m_fields.poles = m_poles->value();
  m_fields.polesText = m_poles->text().toStdString();
  m_fields.ripple = m_ripple->text().toStdString();
  m_fields.stopBand = m_stopBand->text().toStdString();
  m_fields.freq1 = m_freq1->text().toStdString();
  m_fields.freq2 = m_freq2->text().toStdString();
}

void FilterPanel::WriteControls() {
  const FilterPanelFields& p = m_fields;
  SelectByValue(m_passList, p.passType);
  SelectByValue(m_familyList, p.family);
  {
    QSignalBlocker block(m_poles);
    m_poles->setRange(1, p.polesMax);
    m_poles->setValue(p.poles);
  }
  SetText(m_ripple, p.ripple);
  SetText(m_stopBand, p.stopBand);
  m_ripple->setEnabled(p.rippleEnabled);
  m_stopBand->setEnabled(p.stopBandEnabled);
  m_label1->setText(QString::fromStdString(p.label1));
  m_label2->setText(QString::fromStdString(p.label2));
  SetText(m_freq1, p.freq1);
  SetText(m_freq2, p.freq2);
  m_label2->setVisible(p.secondVisible);
  m_freq2->setVisible(p.secondVisible);
}

void FilterPanel::Refresh() {
  const IIRFilter& f = ActiveFilter();
  m_nyquist->setText(QString::fromStdString(NyquistLabel(f.Nyquist)));
  RefreshFilterFields(f, m_fields);
  WriteControls();
}

int FilterPanel::Apply() {
  ReadControls();
  m_fields.passType = SelectedValue(m_passList);
  m_fields.family = SelectedValue(m_familyList);
  // Validated on a copy: a refused entry must not leave the active filter
  // with a pass type or family its cascades were not designed for.
  IIRFilter trial = ActiveFilter();
  int status = ValidateFilterFields(trial, m_fields);
  WriteControls();
  if (status != 0) {
    BadInputFlash::Signal(this);
    return kStatusRefused;
  }
  DesignFilter(trial);
  ActiveFilter() = trial;
  if (MainViewLink* view = m_workspace.MainView()) view->RefreshView();
  m_workspace.NotifyActiveFilterChanged();
  return 0;
}

void FilterPanel::OnPassType(int index) {
  if (index < 0) return;
  ReadControls();
  ChangeFilterPassType(ActiveFilter(), m_fields, m_passList->itemData(index).toInt());
  WriteControls();
}

void FilterPanel::OnFamily(int index) {
  if (index < 0) return;
  ReadControls();
  ChangeFilterFamily(ActiveFilter(), m_fields, m_familyList->itemData(index).toInt());
  WriteControls();
}

void FilterPanel::OnUseFilter(bool on) {
  LogPrint(LogInfo, "Frequency Filtering: Use Filter %d", on ? 1 : 0);
  if (MainViewLink* view = m_workspace.MainView()) view->SetUseFreqFilter(on);
  Apply();
}

// A redesign for a new Nyquist frequency, or the display panel's box: the
// label and the box follow.
void FilterPanel::ActiveFilterChanged() {
  m_nyquist->setText(QString::fromStdString(NyquistLabel(ActiveFilter().Nyquist)));
  MainViewLink* view = m_workspace.MainView();
  QSignalBlocker block(m_useFilter);
  m_useFilter->setChecked(view != nullptr && view->UseFreqFilter());
}

void FilterPanel::SectionLoaded(const SeismicSection&, const LoadParams&) {
  FollowSection();
}

void FilterPanel::TracesChanged(const SeismicSection&) {
  FollowSection();
}

void FilterPanel::FollowSection() {
  Refresh();
  ReadControls();
  IIRFilter trial = ActiveFilter();
  if (ValidateFilterFields(trial, m_fields) != 0) return;
  WriteControls();
  DesignFilter(trial);
  // The Hz shown are rounded, so reading them back may move a corner a little.
  bool changed = !SameDesign(trial, ActiveFilter());
  ActiveFilter() = trial;
  if (!changed) return;
  if (MainViewLink* view = m_workspace.MainView()) view->RefreshView();
  m_workspace.NotifyActiveFilterChanged();
}
