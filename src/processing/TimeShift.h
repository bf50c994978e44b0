// Time shift of every trace of a section by a whole number of samples.
//
// Positive shifts move samples later. Each trace keeps its sample count or
// grows and shrinks with the shift; the cut edges can be tapered with sin²
// weights; the start time (DELAY) is reset, kept or moved against the shift.
//
// Threads: OMPShiftTraces distributes the traces over an OpenMP team, one at
// a time; each iteration replaces only its own record. Results do not depend
// on the team size. Nothing else may read the section meanwhile.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "section/SeismicSection.h"

enum DelrtMode : int32_t {
  kDelrtResetToZero = 1,
  kDelrtLeftAs = 2,
  kDelrtFollowsShift = 4,
};

// What the workspace keeps between runs of the dialog.
struct ShiftSettings {
  double shiftTime = 0.0;  // s; positive moves samples later
  int32_t delrtMode = kDelrtLeftAs;
  int32_t taper = 8;       // samples; 0 none
  int32_t keepLength = 1;  // keep each trace's sample count
};

using ShiftProgress = std::function<void(int32_t done, int32_t total)>;

// The shift in whole samples: shift / dt nudged by 0.001 away from zero and
// truncated; saturated to +-2^31. dt must be positive.
int64_t ShiftInSamples(double shift, double dt);

// Taper weight w(i) = sin²(i pi / (2 taper + 1)), 0 <= i < taper: the sine in
// double precision, squared in single precision. w(0) is 0.
float TaperWeight(int32_t i, int32_t taper);

// The shifted copy of one trace (header copied, samples moved, tapers,
// DELAY by the mode, peak recomputed), or null when it cannot be allocated.
// A trace without a positive interval comes back as an unchanged copy.
TraceRecord* ShiftTrace(const TraceRecord* old, const ShiftSettings& settings);

// Shifts every trace by settings.shiftTime with numThreads threads. A trace
// that cannot be reallocated is logged and left as it was; returns how many
// were left so.
int32_t OMPShiftTraces(SeismicSection& section, const ShiftSettings& settings, int numThreads,
                       const ShiftProgress& progress = {});

// The dialog's "OK" on a section: a shift of 0 (only with Reset To Zero) sets
// every start time to 0, any other shift runs OMPShiftTraces; then the
// section is rescanned. Returns 0; kStatusRefused for a shift of 0 with another mode or a
// shift that is not finite (nothing changes); kStatusNoMemory when some trace could not
// be reallocated (the others are shifted).
int ShiftSection(SeismicSection& section, const ShiftSettings& settings, int numThreads,
                 const ShiftProgress& progress = {});

// What the time shift dialog holds when "OK" is pressed.
struct ShiftDialogFields {
  std::string shiftText;    // "+/- Shift Time" in the display unit
  double unitFactor = 1.0;  // display units per second (1 for "sec")
  int32_t delrtMode = kDelrtLeftAs;
  int32_t keepLength = 1;
  std::string taperText;  // "Neg Shift Taper"
};

// The taper as read: empty gives 0, negative or not an integer keeps
// previous, 1 to 3 become 4.
int32_t ReadTaper(const std::string& text, int32_t previous);

// Reads the fields into settings in the dialog's order: DELRT mode and keep
// length always; then the shift, which must be a finite number and may be 0
// only with Reset To Zero (false: beep and flash, taper not read); then the
// taper. taperShown receives the taper field's new text ("%d").
bool ReadShiftDialog(const ShiftDialogFields& fields, ShiftSettings* settings, std::string* taperShown);
