#include "gui/tools/ParametersDialog.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "app/AppSettings.h"

namespace {
QLineEdit* NumberField(QWidget* parent) {
  auto* e = new QLineEdit(parent);
  e->setMaximumWidth(60);
  return e;
}

QSpinBox* Spin(QWidget* parent, int lo, int hi) {
  auto* s = new QSpinBox(parent);
  s->setRange(lo, hi);
  return s;
}
}  // namespace

ParametersDialog::ParametersDialog(QWidget* parent) : QDialog(parent) {
  setWindowTitle(" Parameters");
  setModal(false);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(BuildScrollGroup());
  layout->addWidget(BuildFocusGroup());
  layout->addWidget(BuildWiggleGroup());
  layout->addWidget(BuildHintsGroup());
  m_cores = new QLabel(QString::fromStdString(CoresText(Settings().processors)), this);
  layout->addWidget(m_cores);
  m_set = new QPushButton("Set", this);
  m_set->setDefault(true);
  layout->addWidget(m_set, 0, Qt::AlignRight);
  connect(m_set, &QPushButton::clicked, this, &ParametersDialog::Apply);
  move(50, 50);
  Fill();
}

QWidget* ParametersDialog::BuildScrollGroup() {
  auto* box = new QWidget(this);
  auto* form = new QFormLayout(box);
  m_timeSlow = NumberField(box);
  m_timeFast = NumberField(box);
  m_traceSlow = NumberField(box);
  m_traceSlow->setReadOnly(true);
  m_traceFast = NumberField(box);
  form->addRow("Time Scrolling slow", m_timeSlow);
  form->addRow("(shift key accel) fast", m_timeFast);
  form->addRow("Trace Scrolling slow", m_traceSlow);
  form->addRow("(shift key accel) fast", m_traceFast);
  return box;
}

QWidget* ParametersDialog::BuildFocusGroup() {
  auto* group = new QGroupBox(" Dialog lose focus ", this);
  auto* row = new QHBoxLayout(group);
  const char* labels[3] = {" always", " except sliders", " never"};
  for (int i = 0; i < 3; ++i) {
    m_focus[i] = new QRadioButton(labels[i], group);
    row->addWidget(m_focus[i]);
  }
  return group;
}

QWidget* ParametersDialog::BuildWiggleGroup() {
  auto* box = new QWidget(this);
  auto* form = new QFormLayout(box);
  auto* pixels = new QWidget(box);
  auto* row = new QHBoxLayout(pixels);
  row->setContentsMargins(0, 0, 0, 0);
  m_twoPixels = new QRadioButton(" 2 pixels", pixels);
  m_threePixels = new QRadioButton("3 pixels", pixels);
  row->addWidget(m_twoPixels);
  row->addWidget(m_threePixels);
  form->addRow("Wiggle min intertrace", pixels);
  m_evenSpacing = Spin(box, 2, 9);
  m_evenSpacing->setSuffix(" pix/trace");
  form->addRow("Evenly space wiggle traces below", m_evenSpacing);
  m_crossThickness = Spin(box, 1, 3);
  form->addRow("Cross Cursor Thickness", m_crossThickness);
  m_threads = Spin(box, 1, MaxThreadsSetting(Settings()));
  form->addRow("Num threads to use", m_threads);
  return box;
}

QWidget* ParametersDialog::BuildHintsGroup() {
  // Shown for completeness; neither filled nor read.
  auto* group = new QGroupBox(" Graduations Hints ", this);
  auto* form = new QFormLayout(group);
  auto* spacing = NumberField(group);
  auto* row = new QWidget(group);
  auto* h = new QHBoxLayout(row);
  h->setContentsMargins(0, 0, 0, 0);
  h->addWidget(spacing);
  h->addWidget(new QLabel("pix", row));
  form->addRow("time grad spacing", row);
  form->addRow("header labels min spacing", NumberField(group));
  form->addRow("min sep between lab str", NumberField(group));
  return group;
}

void ParametersDialog::Fill() {
  ParameterFields f = ParameterFieldsFrom(Settings());
  m_timeSlow->setText(QString::fromStdString(f.timeScrollSlow));
  m_timeFast->setText(QString::fromStdString(f.timeScrollFast));
  m_traceSlow->setText(QString::fromStdString(f.traceScrollSlow));
  m_traceFast->setText(QString::fromStdString(f.traceScrollFast));
  m_focus[f.focusPolicy - 1]->setChecked(true);
  (f.twoPixels ? m_twoPixels : m_threePixels)->setChecked(true);
  m_evenSpacing->setValue(f.evenSpacingBelow);
  m_crossThickness->setValue(f.crossCursorThickness);
  m_threads->setValue(f.numThreads);
}

ParameterFields ParametersDialog::ReadFields() const {
  ParameterFields f;
  f.timeScrollSlow = m_timeSlow->text().toStdString();
  f.timeScrollFast = m_timeFast->text().toStdString();
  f.traceScrollFast = m_traceFast->text().toStdString();
  f.focusPolicy = 0;
  for (int i = 2; i >= 0; --i)
    if (m_focus[i]->isChecked()) f.focusPolicy = i + 1;
  f.twoPixels = m_twoPixels->isChecked();
  f.evenSpacingBelow = m_evenSpacing->value();
  f.crossCursorThickness = m_crossThickness->value();
  f.numThreads = m_threads->value();
  return f;
}

void ParametersDialog::Apply() {
  ApplyParameterFields(ReadFields(), &Settings());
  Fill();
  emit SettingsApplied();
}
