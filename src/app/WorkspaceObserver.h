// The main window and tool windows as the workspace sees them; each adds
// itself with Workspace::AddObserver. Every method has an empty default so
// that kxtool, tests and windows not built yet need not implement what they do
// not show. Calls come from the user-interface thread.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "formats/LoadParams.h"

class SeismicSection;

// A selection in the main view as the view reports it: absolute trace indexes
// and seconds.
struct ViewSelection {
  int firstTrace = 0;
  int lastTrace = 0;
  double firstTime = 0.0;
  double lastTime = 0.0;
};

// How far a long operation (load, resampling, time shift, save) has got, for
// the main window's progress bar.
struct ProgressInfo {
  bool running = false;  // false: the operation ended, the bar goes
  std::string label;     // what runs, e.g. "resampling"
  int64_t done = 0;
  int64_t total = 0;  // 0: not known yet
  // The operation runs on the user-interface thread and holds it: an observer
  // that shows the progress repaints now, without handling user input.
  bool blocking = false;
};

// A load that found no data, for the window that tells the user why and offers
// to read the files again tolerantly.
struct LoadRefusal {
  std::vector<std::string> paths;
  LoadParams params;                 // as the load was asked, without its progress report
  bool sectionKept = false;          // refused before the section on screen was given up
  std::vector<std::string> reasons;  // the readers' error and warning lines
};

class WorkspaceObserver {
 public:
  virtual ~WorkspaceObserver() = default;

  virtual void SetBusyCursor(bool /*busy*/) {}
  virtual void SetTitle(const std::string& /*title*/) {}
  // enable: true enables the data-dependent menu items, false greys them.
  virtual void EnableDataMenus(bool /*enable*/) {}
  // The first good load ends the splash: the panels and the trace view appear.
  virtual void ShowPanelsAndView() {}
  virtual void SetSectionInfo(const std::string& /*text*/) {}
  // trace >= 0 shows that trace's values; -1 clears the panel.
  virtual void SetTraceInfo(int /*trace*/) {}
  // The active filter was redesigned (also for a new Nyquist frequency after
  // a load or a resampling) or switched on or off.
  virtual void ActiveFilterChanged() {}
  // The main view's highlighted trace: absolute index, -1 when none.
  virtual void HighlightChanged(int /*absoluteTrace*/) {}
  // The user made a selection in the main view.
  virtual void SelectionChanged(const ViewSelection& /*selection*/) {}
  // A new section is shown; the tool windows (spectrum, basemap, binning)
  // refresh from it. params are the load's parameters.
  virtual void SectionLoaded(const SeismicSection& /*section*/, const LoadParams& /*params*/) {}
  // About to destroy the section: tool windows drop what they read from it.
  virtual void SectionClearing() {}
  // A load found no data: the tool windows that need data close.
  virtual void SectionLost() {}
  // A background operation took (true) or gave back (false) the section: the
  // windows that read it are disabled meanwhile.
  virtual void BusyChanged(bool /*busy*/) {}
  // The traces were replaced in place (resampling, time shift); the section was rescanned.
  // The tool windows (spectrum, basemap) re-read it.
  virtual void TracesChanged(const SeismicSection& /*section*/) {}
  // A long operation began, moved on or ended (Workspace::BeginProgress).
  // Calls are at least a few tens of milliseconds apart while it runs.
  virtual void ProgressChanged(const ProgressInfo& /*info*/) {}
  // The trace list was reordered (sorted or put back in load order): trace
  // positions held by a window (the spectrum's selected trace) are stale.
  virtual void TracesReordered(const SeismicSection& /*section*/) {}
  // A load found no data (after its own "NO SEISMIC DATA" report when the
  // section on screen was already gone).
  virtual void LoadRefused(const LoadRefusal& /*refusal*/) {}
};
