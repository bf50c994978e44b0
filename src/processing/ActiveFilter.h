// The process-wide active filter: edited by the filter panel (and kxtool's
// --filter), applied by the trace view, the writers and the spectrum.
//
// Threads: changed only on the user-interface thread while no filtering runs;
// the parallel consumers only read it (RunFilter).
#pragma once

#include "processing/IIRFilter.h"

// The active filter, with the defaults of IIRFilterInit and its cascades
// designed, on first use.
IIRFilter& ActiveFilter();

// A new dataset was loaded: Nyquist = 0.5 / sampleInterval (seconds), then the
// filter is redesigned, so that the corners, stored as fractions of Nyquist,
// keep their relative place at the new sample rate. Returns DesignFilter's
// status, or kStatusRefused (filter unchanged) for an interval that is not positive.
int UpdateFilterNyquist(IIRFilter& f, double sampleInterval);
// The same for the active filter; the workspace calls it on each load.
int ActiveFilterDatasetLoaded(double sampleInterval);
