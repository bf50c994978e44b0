// The spectrum panel's range fields as a plain function: four texts in (first
// and last trace, 1-based; start and end time, seconds), the range out, and
// the texts rewritten when a default, an ordering or a limit changed them.
#pragma once

#include <string>

struct SpectrumRangeFields {
  std::string firstTrace, lastTrace, startTime, endTime;
};

struct SpectrumRangeLimits {
  int traces = 0;          // traces in the section
  double firstTime = 0.0;  // the section's first and last sample times, s
  double lastTime = 0.0;
};

struct SpectrumRangeValue {
  int first = 0, last = 0;  // 0-based
  double t0 = 0.0, t1 = 0.0;
};

// Returns 0 with *out set, or kStatusRefused. *flash tells whether the panel should beep
// and flash: always for a field that is not a number, and for missing fields
// only when the Range option is on. Both trace fields empty means all traces;
// both time fields empty means the whole trace length.
int ReadSpectrumRangeFields(SpectrumRangeFields& fields, const SpectrumRangeLimits& limits, bool rangeOn,
                            SpectrumRangeValue* out, bool* flash);
