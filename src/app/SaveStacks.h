// Saving the selective stack's stacked traces (the section's stack list) in
// the format of the loaded shots: SEG-Y rev 1 for SEG-Y and SU sections,
// SEG-2 for SEG-2 sections, nothing for other file types. The GUI shows the
// save dialog with the texts below and calls SaveStacks with the chosen path;
// kxtool stack calls it directly. Nothing here changes the section.
#pragma once

#include <string>

#include "formats/SaveOptions.h"

class SeismicSection;

inline constexpr const char* kStackSegyDialogTitle = "Save stacked shots as SEG-Y rev 1 file";
inline constexpr const char* kStackSegyDialogFilter = "SEG-Y (*.segy,*.sgy)";
inline constexpr const char* kStackSegyExtension = ".segy";
inline constexpr const char* kStackSeg2DialogTitle = "Save stacked shots as SEG-2 file";
inline constexpr const char* kStackSeg2DialogFilter = "SEG-2 (*.seg2,*.sg2)";
inline constexpr const char* kStackSeg2Extension = ".seg2";

// Status of SaveStacks besides 0 and the writers' codes.
inline constexpr int kStackSaveNoFormat = -2;  // the section's file type has no stack format
inline constexpr int kStackSaveNoStack = -5;   // no stacked traces
inline constexpr int kStackSaveLimits = -6;    // the stack exceeds the format's limits (logged)

// The output format of the stacks of a section of that file type: kFileSegy
// (for SEG-Y and SU), kFileSeg2, or kFileUnknown when the stacks cannot be saved.
int StackSaveFormat(int fileType);

// The name the save dialog settles on: the chosen name with the format's
// default extension appended when it has none (PathExtension).
// Unchanged for a format without stacks.
std::string StackSavePath(const std::string& chosen, int fileType);

// The writer options of a stack save: no time crop, crop times undefined,
// the stack list, no filter, revision 1, flags 0; for SEG-2 the stack count.
SaveOptions StackSaveOptions(const SeismicSection& section);

// Writes the stack list to path by the section's file type. Returns 0;
// kStackSaveNoFormat, kStackSaveNoStack or kStackSaveLimits (nothing written);
// kStatusOpenFailed when the file cannot be created; else the writer's code. A failure
// leaves no file behind and an existing file of that name untouched.
int SaveStacks(const SeismicSection& section, const std::string& path);
