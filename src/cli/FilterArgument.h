// kxtool's --filter option: TYPE:FAMILY:POLES:F1[:F2][:ripple=DB][:stop=DB]
// TYPE lowpass | highpass | bandpass | notch; FAMILY butterworth | chebyshev |
// elliptic; frequencies in Hz (band pass: low and high; notch: centre and
// bandwidth). The values go through the filter panel's field rules, so the
// command line accepts and stores exactly what the panel would.
#pragma once

#include <string>

#include "processing/IIRFilter.h"

struct FilterArgument {
  int passType = 0;
  int family = 0;
  int poles = 0;
  std::string f1, f2;        // as given
  std::string ripple, stop;  // empty: keep the filter's value
};

// Syntax only; false with the reason logged.
bool ParseFilterArgument(const std::string& text, FilterArgument* wanted);

// Stores the parsed filter into the filter (whose Nyquist is already that of the
// dataset) by the panel's rules and designs it. Returns 0, or kStatusRefused with the
// reason logged (the filter's frequencies then unchanged).
int ApplyFilterArgument(const FilterArgument& wanted, IIRFilter& f);

// Parse and apply to the active filter; the form every command uses.
int SetActiveFilterFromArgument(const std::string& text);
