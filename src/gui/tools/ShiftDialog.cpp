#include "gui/tools/ShiftDialog.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "app/Workspace.h"
#include "app/tools/ShiftFields.h"
#include "gui/tools/BadInputFlash.h"

ShiftDialog::ShiftDialog(Workspace& workspace, QWidget* parent)
    : SectionToolDialog(workspace, kShiftResource, parent), m_unit(DialogTimeUnitOf(workspace.Section())) {
  setWindowTitle(kShiftDialogTitle);
  const ShiftSettings& s = workspace.Shifting();
  const ShiftDialogTexts texts = ShiftTextsOf(s, m_unit);
  auto* grid = new QGridLayout(this);
  m_shift = new QLineEdit(QString::fromStdString(texts.shift), this);
  grid->addWidget(new QLabel("+/- Shift Time", this), 0, 0);
  grid->addWidget(m_shift, 0, 1);
  grid->addWidget(new QLabel(QString::fromStdString(m_unit.name), this), 0, 2);
  grid->addWidget(BuildDelrtGroup(texts.delrtChoice), 1, 0, 1, 3);
  m_taper = new QLineEdit(QString::fromStdString(texts.taper), this);
  grid->addWidget(new QLabel("Neg Shift Taper", this), 2, 0);
  grid->addWidget(m_taper, 2, 1);
  grid->addWidget(new QLabel("samples", this), 2, 2);
  m_keepLength = new QCheckBox(" Keep Trace Lenght Constant", this);
  m_keepLength->setChecked(s.keepLength != 0);
  grid->addWidget(m_keepLength, 3, 0, 1, 3);
  m_ok = new QPushButton(kShiftButtonText, this);
  m_ok->setDefault(true);
  grid->addWidget(m_ok, 4, 1);
  connect(m_ok, &QPushButton::clicked, this, &ShiftDialog::Apply);
  m_shift->setFocus();
}

QWidget* ShiftDialog::BuildDelrtGroup(int checked) {
  auto* group = new QGroupBox("DELRT Trace Header Word", this);
  auto* column = new QVBoxLayout(group);
  for (int i = 0; i < 3; ++i) {
    m_delrt[i] = new QRadioButton(kDelrtChoiceTexts[i], group);
    column->addWidget(m_delrt[i]);
  }
  m_delrt[checked]->setChecked(true);
  return group;
}

int32_t ShiftDialog::DelrtMode() const {
  for (int i = 0; i < 3; ++i)
    if (m_delrt[i]->isChecked()) return kDelrtChoiceModes[i];
  return kDelrtLeftAs;
}

void ShiftDialog::Apply() {
  if (Running()) return;
  ShiftDialogFields f;
  f.shiftText = m_shift->text().toStdString();
  f.unitFactor = m_unit.factor;
  f.delrtMode = DelrtMode();
  f.keepLength = m_keepLength->isChecked() ? 1 : 0;
  f.taperText = m_taper->text().toStdString();
  // A refused shift still leaves the DELRT choice and the box taken.
  ShiftSettings& kept = m_workspace.Shifting();
  std::string taperShown;
  if (!ReadShiftDialog(f, &kept, &taperShown)) {
    BadInputFlash::Signal(this);
    return;
  }
  m_taper->setText(QString::fromStdString(taperShown));
  if (!m_workspace.Section()) return;
  BeginRun(m_ok, kShiftBusyText);
  if (m_workspace.ShiftTraces(kept) != 0) RunRefused();
}
