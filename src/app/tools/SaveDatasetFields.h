// The " Save Dataset" dialog's fields as plain texts, the rules that fill them
// from the save parameters and read them back, and the texts the dialog
// shows. No widgets: the dialog copies its controls in and out.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "app/SaveParams.h"

// One row of a trace crop range as shown: from, to, step.
struct CropRowTexts {
  std::string from, to, step;
};

struct SaveDatasetFields {
  bool offsetOn = false;
  bool timeOn = false;
  bool traceOn = false;
  std::string offset;
  std::string timeFrom, timeTo;
  int32_t cropMode = kCropLines;
  std::array<CropRowTexts, 2> rows;  // the current mode's ranges
  int32_t format = kSaveSegy;
  bool applyFilter = false;
};

// How the trace crop rows look in one mode: their titles (empty: the row is
// hidden) and whether the step fields are shown.
struct CropRowsLayout {
  std::string title1, title2;
  bool steps = true;
};
CropRowsLayout CropRowsOf(int32_t mode);

// The mode and format choices: texts with their item data, in list order.
struct ChoiceItem {
  const char* text;
  int32_t data;
};
extern const std::array<ChoiceItem, 5> kSaveCropModes;
extern const std::array<ChoiceItem, 3> kSaveFormats;

// The unit text beside the time window before a section's unit is shown.
inline constexpr const char* kSaveDefaultTimeUnit = "milli seconds";

// The fields showing p (integers not given are empty, reals in their shortest
// exact form).
SaveDatasetFields SaveFieldsFromParams(const SaveParams& p);

// Reads the fields into p and returns the number of bad fields. Empty fields
// give the not-given value; a field with characters that are not part of its
// number is bad and its text is cut back to the valid prefix. Only the groups
// switched on count; an offset limit not above 0 is bad when it is on.
int ReadSaveFields(SaveDatasetFields& f, SaveParams& p);

// The mode choice changed: reads the fields (errors do not stop it), then
// shows the new mode's ranges.
void ChangeSaveCropMode(SaveDatasetFields& f, SaveParams& p, int32_t mode);

// The save-file chooser of a format: title, filter, default suffix (no dot).
struct SaveFileChoice {
  const char* title;
  const char* filter;
  const char* suffix;
};
SaveFileChoice SaveFileChoiceOf(int32_t format);
