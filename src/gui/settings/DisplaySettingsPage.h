// The "Display Settings" tab of the settings panel: display mode, palette,
// gains, scales, clip, ensemble view and zoom tool of the bound trace view.
// The page edits the view's DisplayParams in place (it never owns them) and
// tells the view what changed; the value rules live in display/DisplayRules.h.
// Controls carry object names so tests and the panel can find them.
#pragma once

#include <QWidget>

#include "display/DisplayRules.h"

class DisplayTarget;
class QAbstractButton;
class QButtonGroup;
class QCheckBox;
class QComboBox;
class QGridLayout;
class QLabel;
class QLayout;
class QLineEdit;
class QPushButton;
class QSlider;
class QToolButton;

class DisplaySettingsPage : public QWidget {
  Q_OBJECT

 public:
  explicit DisplaySettingsPage(QWidget* parent = nullptr);

  // Binds the page to a view (nullptr: none; the controls are disabled) and
  // fills every control from its parameters.
  void SetTarget(DisplayTarget* view);
  DisplayTarget* Target() const { return m_view; }

  void RefreshScaleFields();
  void RefreshGainFields();
  void RefreshAllControls();
  // The ensemble key field shows key (DBLE_UNDEF: empty).
  void SetEnsembleKey(double key);
  // Hides the key field, its up-down and label; "Full" stays.
  void NoEnsembles();

 signals:
  void UseFreqFilterChanged(bool on);

 private:
  struct ScaleRow {
    QSlider* slider = nullptr;
    QLineEdit* field = nullptr;
  };

  // Building the controls.
  QWidget* BuildModeBox();
  QWidget* BuildFlagsBox();
  QWidget* BuildGainBox();
  QWidget* BuildSliderBox();
  QWidget* BuildEnsembleBox();
  void AddScaleRow(QGridLayout* grid, int row, const char* label, ScaleSlider which, const char* name);
  QCheckBox* AddCheck(QLayout* layout, const char* text, const char* name);
  QAbstractButton* AddRadio(QButtonGroup* group, QLayout* layout, const char* text, int id, const char* name);

  // Control handlers.
  void OnDisplayMode(int mode);
  void OnPalette(int index);
  void OnFillMode(int mode);
  void OnCheckBox(QCheckBox* box, bool on);
  void OnGainControl(int mode);
  void OnAgcType(int index);
  void OnAgcWindowEntered();
  void OnSliderAction(ScaleSlider which, int action);
  void OnSliderReleased(ScaleSlider which);
  void OnClipSlider(int position);
  void OnScaleEntered(ScaleSlider which);
  void OnFit(bool time);
  void OnFull();
  void OnEnsembleStep(int step);
  void OnEnsembleKeyEntered();
  void OnZoomTool(int tool, bool on);
  void OnUndoZoom();

  // Applies Δ slider steps to the parameter of a slider, announcing a scale
  // change first; returns false when nothing changed.
  bool ApplySteps(ScaleSlider which, int delta);
  bool StoreScale(ScaleSlider which, double next);
  // Reads the AGC window field into the params; an unreadable or
  // non-positive entry is replaced by the value in force. Returns true when
  // the entry was valid.
  bool ReadAgcWindowField();
  // Refreshes the two mode-dependent check boxes and notifies the view.
  void Changed(int hint);
  // Gives the keyboard focus back to the view per the focus policy.
  void ReturnFocus(bool fromSlider);

  void FillModeControls();
  void FillFlagControls();
  void FillEnsembleControls();
  void ShowAgcWindow();
  void ShowEnsembleKeyControls(bool on);
  double WiggleGainInForce() const;
  void SetWiggleGainInForce(double gain);

  DisplayTarget* m_view = nullptr;
  bool m_filling = false;  // controls are being filled from the params

  QButtonGroup* m_modeGroup = nullptr;
  QComboBox* m_palette = nullptr;
  QButtonGroup* m_fillGroup = nullptr;
  QCheckBox* m_timeLines = nullptr;
  QCheckBox* m_zeroLines = nullptr;
  QCheckBox* m_invPol = nullptr;
  QCheckBox* m_useFreqFilter = nullptr;
  QCheckBox* m_crossCursor = nullptr;
  QCheckBox* m_headerWords = nullptr;
  QButtonGroup* m_gainGroup = nullptr;
  QComboBox* m_agcType = nullptr;
  QLineEdit* m_agcWindow = nullptr;
  QLabel* m_agcUnit = nullptr;
  ScaleRow m_rows[4];
  QSlider* m_clip = nullptr;
  QPushButton* m_full = nullptr;
  QLineEdit* m_ensembleKey = nullptr;
  QToolButton* m_nextEnsemble = nullptr;
  QToolButton* m_prevEnsemble = nullptr;
  QLabel* m_wordLabel = nullptr;
  QPushButton* m_zoomRect = nullptr;
  QPushButton* m_zoomSelect = nullptr;
  QPushButton* m_undoZoom = nullptr;
};
