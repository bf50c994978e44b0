// The main trace view as a tool window reaches it, through
// TheWorkspace().MainView(): the main window implements it over its trace view
// widget, so that no tool holds the widget. User-interface thread only.
#pragma once

class MainViewLink {
 public:
  virtual ~MainViewLink() = default;

  // The highlighted trace: absolute index, -1 when none.
  virtual int SelectedTrace() const = 0;
  // Highlights the trace with that absolute index (-1 or a trace not shown,
  // e.g. outside the ensemble in view: none) without scrolling; the view
  // redraws and the observers hear HighlightChanged when it changed.
  virtual void SelectTrace(int absoluteTrace) = 0;
  // Lays out and redraws with the current parameters, after a tool changed
  // the traces shown or their display.
  virtual void RefreshView() = 0;
  // Whether the view draws its traces through the active filter. Setting it
  // puts the display panel's box in the same state and redraws.
  virtual bool UseFreqFilter() const { return false; }
  virtual void SetUseFreqFilter(bool /*on*/) {}
};
