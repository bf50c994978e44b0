// The modeless " Parameters" dialog over the application settings. "Set"
// applies what is valid, shows the settings in force again and tells the
// trace view to re-read them.
#pragma once

#include <QDialog>

#include "app/tools/ParametersFields.h"

class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;

class ParametersDialog : public QDialog {
  Q_OBJECT

 public:
  explicit ParametersDialog(QWidget* parent = nullptr);

  // Copies the settings in force into the controls.
  void Fill();
  // "Set".
  void Apply();

  // Controls, for tests.
  QLineEdit* TimeSlowField() const { return m_timeSlow; }
  QLineEdit* TimeFastField() const { return m_timeFast; }
  QLineEdit* TraceFastField() const { return m_traceFast; }
  QSpinBox* ThreadsSpin() const { return m_threads; }
  QPushButton* SetButton() const { return m_set; }
  QLabel* CoresLabel() const { return m_cores; }

 signals:
  // The settings changed: the trace view re-reads them.
  void SettingsApplied();

 private:
  QWidget* BuildScrollGroup();
  QWidget* BuildFocusGroup();
  QWidget* BuildWiggleGroup();
  QWidget* BuildHintsGroup();
  ParameterFields ReadFields() const;

  QLineEdit* m_timeSlow = nullptr;
  QLineEdit* m_timeFast = nullptr;
  QLineEdit* m_traceSlow = nullptr;
  QLineEdit* m_traceFast = nullptr;
  QRadioButton* m_focus[3] = {};
  QRadioButton* m_twoPixels = nullptr;
  QRadioButton* m_threePixels = nullptr;
  QSpinBox* m_evenSpacing = nullptr;
  QSpinBox* m_crossThickness = nullptr;
  QSpinBox* m_threads = nullptr;
  QLabel* m_cores = nullptr;
  QPushButton* m_set = nullptr;
};
