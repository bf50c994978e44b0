// Resampling of every trace of a section to a new sampling interval.
//
// Each trace is low-passed (zero phase) by an 8-pole elliptic filter at 90 %
// of the new Nyquist frequency when the interval grows, then interpolated at
// the new times with the 8-point sinc table (SincTable.h). Start times, and
// every header field other than NS, DIM, DT, AMAX and TAMAX, stay as they were.
//
// Threads: ResampleSection is meant to run on a worker thread of its own
// while nothing else reads the section; it distributes the traces over an
// OpenMP team (one trace at a time, dynamic schedule). Results do not depend
// on the team size. Afterwards the caller moves the active filter to the new
// rate on the user-interface thread (ActiveFilterDatasetLoaded(newInterval)),
// which keeps its corners as fractions of Nyquist.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "processing/IIRFilter.h"
#include "section/SeismicSection.h"

// What the workspace keeps between runs of the dialog.
struct ResampleSettings {
  double currentInterval = 0.0;     // s, shown only
  double newInterval = DBLE_UNDEF;  // s, last requested
  int32_t applyLowPass = 1;         // anti-alias filter when the interval grows
};

struct ResampleReport {
  int32_t resampled = 0;  // traces replaced
  int32_t failed = 0;     // allocation failures: trace left as it was
  int32_t skipped = 0;    // traces without samples or without a positive interval
};

// Called on the thread that runs ResampleSection, after traces complete:
// (traces done, total traces). Must not touch the section.
using ResampleProgress = std::function<void(int32_t done, int32_t total)>;

// Sample count of a trace of nOld samples at oldInterval resampled to
// newInterval: int((nOld - 1) * old / new + 0.001) + 1. -1 when it would not
// fit a trace record (or nOld < 1, or an interval is not positive).
int64_t ResampledCount(int32_t nOld, double oldInterval, double newInterval);

// True when going from oldInterval to newInterval needs the anti-alias filter.
// Intervals within one part in a million count as equal, so that an interval
// typed in another unit than the file's does not filter a same-rate run.
bool NeedsAntiAlias(double oldInterval, double newInterval);

// The anti-alias filter: elliptic low-pass, 8 poles, 0.02 dB ripple, 80 dB
// stop band, corner 0.9 * old / new of the old Nyquist (= 0.5 / oldInterval).
IIRFilter DesignAntiAliasFilter(double oldInterval, double newInterval);

// Output times i * newInterval (single precision), i = 0 .. count-1.
void FillOutputTimes(float* t, int64_t count, double newInterval);

// Resamples every trace to newInterval (seconds) with numThreads threads,
// then rescans the section. Traces whose interval differs from the first
// trace's get an anti-alias filter designed for their own interval. Returns 0
// (report filled when given), kStatusRefused for an interval that is not a positive
// finite number (nothing changes), kStatusNoMemory when the time array or the filters
// cannot be allocated (logged, nothing changes). An allocation failure for
// one trace leaves that trace as it was and the run goes on.
int ResampleSection(SeismicSection& section, double newInterval, int32_t applyLowPass, int numThreads,
                    const ResampleProgress& progress = {}, ResampleReport* report = nullptr);

// The dialog's reading of "New Sampling Interval": a whole positive finite
// number in the display unit; seconds = value / unitFactor. False otherwise.
bool ReadResampleInterval(const std::string& text, double unitFactor, double* seconds);
