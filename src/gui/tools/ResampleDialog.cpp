#include "gui/tools/ResampleDialog.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "app/Workspace.h"
#include "app/tools/ResampleFields.h"
#include "gui/tools/BadInputFlash.h"

ResampleDialog::ResampleDialog(Workspace& workspace, QWidget* parent)
    : SectionToolDialog(workspace, kResampleResource, parent), m_unit(DialogTimeUnitOf(workspace.Section())) {
  setWindowTitle(kResampleDialogTitle);
  const ResampleSettings& s = workspace.Resampling();
  const ResampleDialogTexts texts = ResampleTextsOf(s, m_unit);
  const QString unit = QString::fromStdString(m_unit.name);
  auto* grid = new QGridLayout(this);
  m_current = new QLineEdit(QString::fromStdString(texts.current), this);
  m_current->setReadOnly(true);
  m_new = new QLineEdit(QString::fromStdString(texts.next), this);
  grid->addWidget(new QLabel("Current Sampling Interval", this), 0, 0);
  grid->addWidget(m_current, 0, 1);
  grid->addWidget(new QLabel(unit, this), 0, 2);
  grid->addWidget(new QLabel("New Sampling Interval", this), 1, 0);
  grid->addWidget(m_new, 1, 1);
  grid->addWidget(new QLabel(unit, this), 1, 2);
  // The anti-alias switch and its parameters exist but are not offered: the
  // filter is always applied when the interval grows.
  m_lowPass = new QCheckBox(" Apply Lowpass Filter", this);
  m_lowPass->setChecked(s.applyLowPass != 0);
  m_lowPass->hide();
  auto* params = new QPushButton("Set Lowpass Params", this);
  params->hide();
  m_button = new QPushButton(kResampleButtonText, this);
  m_button->setDefault(true);
  grid->addWidget(m_button, 2, 1);
  connect(m_button, &QPushButton::clicked, this, &ResampleDialog::Resample);
  m_new->setFocus();
}

void ResampleDialog::Resample() {
  if (Running()) return;
  ResampleSettings& s = m_workspace.Resampling();
  if (!ReadResampleFields(m_new->text().toStdString(), m_lowPass->isChecked(), m_unit, &s)) {
    BadInputFlash::Signal(this);
    return;
  }
  if (!m_workspace.Section()) return;
  BeginRun(m_button, kResampleBusyText);
  if (m_workspace.ResampleTraces(s.newInterval) != 0) RunRefused();
}
