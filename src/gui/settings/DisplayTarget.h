// The trace view as the settings panel drives it. The panel edits the view's
// DisplayParams in place and then tells the view what changed; the view
// redraws. Every call comes from the user-interface thread.
#pragma once

#include <vector>

#include "display/DisplayParams.h"
#include "display/HeaderPlotSettings.h"

class QWidget;

class DisplayTarget {
 public:
  virtual ~DisplayTarget() = default;

  // The parameters the panel edits; they belong to the view.
  virtual DisplayParams& TargetParams() = 0;
  // Client height in pixels (bounds the header plot band).
  virtual int TargetClientHeight() const = 0;
  // Where the keyboard focus goes back to after a control was handled.
  virtual QWidget* FocusWidget() = 0;

  // Parameters changed: a non-zero hint rebuilds the palette first; 0 only
  // re-lays out and redraws.
  virtual void DisplayChanged(int hint) = 0;
  // A scale is about to change (1 time, 2 trace): record the zoom history.
  virtual void ScaleAboutToChange(int which) = 0;
  // The reset buttons beside the time-scale and trace-scale sliders.
  virtual void FitTime() = 0;
  virtual void FitTraces() = 0;
  // "ESC": restore the last recorded scales.
  virtual void UndoZoom() = 0;
  // "ZR"/"SR" changed the params' zoom tool: the view changes its cursor.
  virtual void ZoomToolChanged() = 0;

  // Ensembles: whether the section has any, the "Full" button, and stepping
  // (1 next, 2 previous, 3 go to the key value).
  virtual bool HasEnsembles() const = 0;
  virtual void SetEnsembleView(bool on) = 0;
  virtual void EnsembleStep(int step, double key) = 0;

  // "Header Plot" tab: one curve chosen (0 red, 1 blue, 2 green; catalogue
  // row or -1), or the whole settings record.
  virtual void HeaderPlotCurveChosen(int curve, int row) = 0;
  virtual void SetHeaderPlotSettings(const HeaderPlotSettings& settings) = 0;
  virtual const HeaderPlotSettings& GetHeaderPlotSettings() const = 0;

  // "Header Words" tab: the chosen words (catalogue rows, at most 12) and the
  // graduation step (0 auto), then "Hgrad"/"Vgrad" stored as control - 1.
  virtual void SetLabelWords(const std::vector<int>& rows, int graduationStep) = 0;
  virtual void SetLabelGraduationSteps(int hgrad, int vgrad) = 0;
  virtual std::vector<int> LabelWords() const = 0;
  virtual int LabelGraduationStep() const = 0;
  virtual int LabelHgrad() const = 0;
  virtual int LabelVgrad() const = 0;

  // The highlighted trace as an index into the whole section, -1 when none.
  virtual int HighlightedAbsolute() const = 0;
};

// After a panel control was handled: the keyboard focus goes back to the view
// when the focus policy says so, bringing the view's window forward when the
// page sits in a window of its own. Nothing without a view.
void ReturnFocusToView(DisplayTarget* view, const QWidget* page, bool afterSlider);

// The settings panel as a trace view sees it: the view binds it when it gets
// the keyboard focus and asks it to show values the view changed itself
// (keyboard zooms, gain characters, rectangle zoom, ensemble steps).
class PanelLink {
 public:
  virtual ~PanelLink() = default;

  // Binds the panel to the view and fills every control from its parameters.
  virtual void AttachView(DisplayTarget* view) = 0;
  // The view goes away (or drops its section): unbind when it is the bound one.
  virtual void DetachView(DisplayTarget* view) = 0;
  // The trace-scale and time-scale fields.
  virtual void RefreshScaleFields() = 0;
  // The colour-gain, wiggle-gain and clip fields and sliders.
  virtual void RefreshGainFields() = 0;
  // Every control of the "Display Settings" page.
  virtual void RefreshAllControls() = 0;
  // The ensemble key field shows key (DBLE_UNDEF: empty).
  virtual void SetEnsembleKey(double key) = 0;
  // The section has no ensembles (hides the key field, leaves "Full").
  virtual void NoEnsembles() = 0;
};
