// The modeless " Frequency Filtering" panel over the active filter: pass type,
// cutoffs in Hz, family, poles, ripple and stop band, "Set" and " Use Filter".
// The field rules live in FilterFields; this window copies its controls in and
// out of them. Created once by the main window and kept; it follows each new
// or resampled section's Nyquist frequency as a workspace observer and
// mirrors the view's use-filter setting. User-interface thread only.
#pragma once

#include <QDialog>

#include "app/WorkspaceObserver.h"
#include "app/tools/FilterFields.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;
class Workspace;

class FilterPanel : public QDialog, public WorkspaceObserver {
  Q_OBJECT

 public:
  explicit FilterPanel(Workspace& workspace, QWidget* parent = nullptr);
  ~FilterPanel() override;

  // Every control from the active filter (Nyquist label, lists, poles,
  // ripple, stop band, then the fields of the pass type).
  void Refresh();
  // "Set": validates; on success redesigns the active filter, redraws the
  // main view and tells the workspace. Returns 0, or -1 after the flash (the
  // active filter then untouched).
  int Apply();

  // WorkspaceObserver
  void ActiveFilterChanged() override;
  void SectionLoaded(const SeismicSection& section, const LoadParams& params) override;
  void TracesChanged(const SeismicSection& section) override;
  void BusyChanged(bool busy) override { setEnabled(!busy); }

  // Controls, for tests.
  QComboBox* PassList() const { return m_passList; }
  QLabel* NyquistText() const { return m_nyquist; }
  QLabel* FirstLabel() const { return m_label1; }
  QLineEdit* FirstField() const { return m_freq1; }
  QLabel* SecondLabel() const { return m_label2; }
  QLineEdit* SecondField() const { return m_freq2; }
  QComboBox* FamilyList() const { return m_familyList; }
  QSpinBox* PolesSpin() const { return m_poles; }
  QLineEdit* RippleField() const { return m_ripple; }
  QLineEdit* StopBandField() const { return m_stopBand; }
  QPushButton* SetButton() const { return m_set; }
  QCheckBox* UseFilterBox() const { return m_useFilter; }

 private:
  void ReadControls();
  void WriteControls();
  void OnPassType(int index);
  void OnFamily(int index);
  void OnUseFilter(bool on);
  // A new Nyquist frequency: refresh, validate and redesign, so the corners
  // keep their place relative to Nyquist.
  void FollowSection();

  Workspace& m_workspace;
  FilterPanelFields m_fields;
  QComboBox* m_passList = nullptr;
  QLabel* m_nyquist = nullptr;
  QLabel* m_label1 = nullptr;
  QLineEdit* m_freq1 = nullptr;
  QLabel* m_label2 = nullptr;
  QLineEdit* m_freq2 = nullptr;
  QComboBox* m_familyList = nullptr;
  QSpinBox* m_poles = nullptr;
  QLineEdit* m_ripple = nullptr;
  QLineEdit* m_stopBand = nullptr;
  QPushButton* m_set = nullptr;
  QCheckBox* m_useFilter = nullptr;
};
