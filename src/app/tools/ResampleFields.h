// The " Resample Traces" dialog as plain values: its texts, what it shows of
// the settings the workspace keeps between runs, and the reading of its
// "Resample" button (the interval rule is the core's, shared with kxtool).
#pragma once

#include <string>

#include "app/tools/DialogTimeUnit.h"
#include "processing/Resample.h"

inline constexpr const char* kResampleDialogTitle = " Resample Traces";
inline constexpr const char* kResampleButtonText = "Resample";
inline constexpr const char* kResampleBusyText = "resampling ...";
inline constexpr const char* kResampleResource = "IDD_TRACE_RESAMPLE";

struct ResampleDialogTexts {
  std::string current;  // the section's interval
  std::string next;     // the last requested one; empty while undefined
};
ResampleDialogTexts ResampleTextsOf(const ResampleSettings& settings, const DialogTimeUnit& unit);

// "Resample": the box goes into applyLowPass whatever the field holds; then
// the new interval, a positive number in the unit. False (beep and flash,
// newInterval unchanged) when it is not one.
bool ReadResampleFields(const std::string& newText, bool lowPass, const DialogTimeUnit& unit,
                        ResampleSettings* settings);
