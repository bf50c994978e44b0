// Process-wide application settings: scroll steps, wiggle spacing, cursor,
// focus policy and the OpenMP team sizes. Held in memory for the run only.
// Read by the parallel loops from any thread; written from the GUI thread (or
// once by kxtool before any work starts).
#pragma once

struct ProcessorCounts {
  int logical = 1;
  int physical = -1;  // -1 when the topology cannot be read
};

struct AppSettings {
  int timeScrollSlow = 1;        // 1..99 pixels
  int timeScrollFast = 10;       // 1..999 pixels
  int traceScrollSlow = 1;       // fixed
  int traceScrollFast = 10;      // 1..999 traces
  int dialogFocusPolicy = 2;     // 1 always, 2 except after sliders, 3 never
  int wiggleMinIntertrace = 2;   // 2 or 3 pixels
  int evenSpacingBelow = 5;      // 2..9 pixels per trace
  int crossCursorThickness = 1;  // 1..3 pixels
  int numThreads = 1;            // 1..logical processors
  int displayThreads = 1;        // fixed for the run
  ProcessorCounts processors;

  // Whether the keyboard focus goes back to the trace view after a panel
  // control was handled, by the dialog-focus policy.
  bool FocusReturnsToView(bool afterSlider) const {
    return dialogFocusPolicy == 1 || (dialogFocusPolicy == 2 && !afterSlider);
  }
};

// Measures the processor counts of this machine (logical from the runtime,
// physical from distinct package/core pairs under /sys).
ProcessorCounts MeasureProcessorCounts();
// Reads the physical core count from a sysfs-like cpu folder (…/cpu); -1 on failure.
int CountPhysicalCores(const char* cpuFolder);

// The defaults for given counts; thread counts are never below 1.
AppSettings DefaultAppSettings(const ProcessorCounts& counts);

// The process-wide settings, initialised with the measured counts on first use.
AppSettings& Settings();
