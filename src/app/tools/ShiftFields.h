// The " Time Shift All Traces" dialog as plain values: its texts and choices,
// and what it shows of the settings the workspace keeps between runs. The
// reading of "OK" is the core's ReadShiftDialog, shared with kxtool.
#pragma once

#include <cstdint>
#include <string>

#include "app/tools/DialogTimeUnit.h"
#include "processing/TimeShift.h"

inline constexpr const char* kShiftDialogTitle = " Time Shift All Traces";
inline constexpr const char* kShiftButtonText = "OK";
inline constexpr const char* kShiftBusyText = "shifting ...";
inline constexpr const char* kShiftResource = "IDD_SHIFT_TRACES";
// The DELRT choice in the dialog's order, with the mode each stands for.
inline constexpr const char* kDelrtChoiceTexts[3] = {" Reset To Zero", " Left As", " Follows Shift Time"};
inline constexpr int32_t kDelrtChoiceModes[3] = {kDelrtResetToZero, kDelrtLeftAs, kDelrtFollowsShift};

struct ShiftDialogTexts {
  std::string shift;    // empty for 0
  std::string taper;    // "%d"
  int delrtChoice = 1;  // index into kDelrtChoiceTexts
};
ShiftDialogTexts ShiftTextsOf(const ShiftSettings& settings, const DialogTimeUnit& unit);
