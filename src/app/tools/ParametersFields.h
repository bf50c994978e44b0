// The reading and filling rules of the " Parameters" dialog, on plain field
// values so that they are tested without widgets. The dialog copies its
// controls in and out of this record.
#pragma once

#include <string>

#include "app/AppSettings.h"

// The " Parameters" dialog's controls.
struct ParameterFields {
  std::string timeScrollSlow;   // 1..99
  std::string timeScrollFast;   // 1..999
  std::string traceScrollSlow;  // read-only, always "1"
  std::string traceScrollFast;  // 1..999
  int focusPolicy = 0;          // first checked radio button 1..3, 0 none
  bool twoPixels = true;        // " 2 pixels" checked (else "3 pixels")
  int evenSpacingBelow = 5;     // spin position
  int crossCursorThickness = 1;
  int numThreads = 1;
};

// The fields as the dialog shows the settings in force.
ParameterFields ParameterFieldsFrom(const AppSettings& settings);
// "Set": each value that parses and lies in its range replaces its setting;
// anything else leaves the setting as it was. Spin positions are limited to
// their ranges (the thread count to 1..logical processors).
void ApplyParameterFields(const ParameterFields& fields, AppSettings* settings);
// "Cores :     physical %d    logical %d".
std::string CoresText(const ProcessorCounts& counts);
// Upper end of the thread spin control: the logical count, at least 1.
int MaxThreadsSetting(const AppSettings& settings);
