// The " Resample Traces" dialog: the section's sampling interval and the new
// one in the section's time unit; "Resample" starts the workspace's
// background resampling and the dialog closes when it has finished.
#pragma once

#include "app/tools/DialogTimeUnit.h"
#include "gui/tools/SectionToolDialog.h"

class QCheckBox;
class QLineEdit;

class ResampleDialog : public SectionToolDialog {
  Q_OBJECT

 public:
  explicit ResampleDialog(Workspace& workspace, QWidget* parent = nullptr);

  // "Resample".
  void Resample();

  // Controls, for tests.
  QLineEdit* CurrentField() const { return m_current; }
  QLineEdit* NewField() const { return m_new; }
  QPushButton* ResampleButton() const { return m_button; }

 private:
  DialogTimeUnit m_unit;
  QLineEdit* m_current = nullptr;
  QLineEdit* m_new = nullptr;
  QCheckBox* m_lowPass = nullptr;
  QPushButton* m_button = nullptr;
};
