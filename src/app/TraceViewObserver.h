// The main trace view as the workspace sees it. The desktop program implements
// it over its trace view widget; tests use a recording fake. Every call comes
// from the user-interface thread.
#pragma once

#include <span>

#include "display/DisplayParams.h"
#include "section/SeismicSection.h"

class TraceViewObserver {
 public:
  virtual ~TraceViewObserver() = default;

  // True while the view shows traces.
  virtual bool HasData() const = 0;
  // Selected (highlighted) trace, -1 when none.
  virtual int SelectedTrace() const = 0;
  virtual void SetSelectedTrace(int trace) = 0;
  // The view's display parameters; the workspace sets the load position here.
  virtual DisplayParams& Params() = 0;
  // Forgets the traces shown; called before the section they live in goes.
  virtual void Clear() = 0;
  // Lays out and redraws with the current parameters.
  virtual void RefreshDisplay() = 0;
  // Shows a freshly scanned list of traces: count, samples, time range and
  // unit, smallest interval and largest amplitude come from its summary; the
  // ensembles of its current sort (may be empty) are kept for the ensemble
  // view. The list must stay put until Clear() or the next ShowTraces().
  virtual void ShowTraces(std::span<TraceRecord* const> traces, const SectionSummary& summary,
                          std::span<const EnsembleRecord> ensembles) = 0;
  virtual int TraceCount() const = 0;
  // Largest samples per trace of the traces shown.
  virtual int SampleCount() const = 0;
  // The plot area in pixels for the current display parameters (lays out first).
  virtual void PlotSize(int* width, int* height) = 0;
};
