// The " Time Shift All Traces" dialog: the shift in the section's time unit,
// what becomes of DELRT, the taper of the cut edge and whether traces keep
// their length. "OK" starts the workspace's background shift and the dialog
// closes when it has finished.
#pragma once

#include "app/tools/DialogTimeUnit.h"
#include "gui/tools/SectionToolDialog.h"

class QCheckBox;
class QLineEdit;
class QRadioButton;

class ShiftDialog : public SectionToolDialog {
  Q_OBJECT

 public:
  explicit ShiftDialog(Workspace& workspace, QWidget* parent = nullptr);

  // "OK".
  void Apply();

  // Controls, for tests.
  QLineEdit* ShiftField() const { return m_shift; }
  QLineEdit* TaperField() const { return m_taper; }
  QRadioButton* DelrtButton(int choice) const { return m_delrt[choice]; }
  QCheckBox* KeepLengthBox() const { return m_keepLength; }
  QPushButton* OkButton() const { return m_ok; }

 private:
  QWidget* BuildDelrtGroup(int checked);
  int32_t DelrtMode() const;

  DialogTimeUnit m_unit;
  QLineEdit* m_shift = nullptr;
  QLineEdit* m_taper = nullptr;
  QRadioButton* m_delrt[3] = {};
  QCheckBox* m_keepLength = nullptr;
  QPushButton* m_ok = nullptr;
};
