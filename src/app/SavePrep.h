// Preparing a save: which traces are left out (their OMIT flag), the writer
// options, and the limits of each output format. Plain functions the Save
// Dataset dialog and kxtool call; none of them shows anything.
#pragma once

#include <cstdint>
#include <string>

#include "app/SaveParams.h"
#include "formats/SaveOptions.h"

class SeismicSection;

// Resets the ranges of the parameters from the section's summary: offset
// limit, time window, CDP windows, line, CDP, FFID, channel and trace index
// ranges, the unit texts; steps below 1 become 1. Mode, format, filter
// choice and steps stay.
void ResetSaveParamsFromSection(SaveParams& p, const SeismicSection& s);

// True when v is kept by the range: from <= v <= to and v congruent to from
// modulo step, remainders signed as truncating division gives them. A missing
// from counts as missingFrom, a missing to as INT_MAX, a step below 1 as 1.
bool RangeKeeps(int64_t v, const IntRange& r, int32_t missingFrom = 0);

// Sets OMIT on every trace the offset limit or the trace crop leaves out and
// clears it on the others. Returns the number of traces kept.
int32_t PrepareSaveSet(SeismicSection& s, const SaveParams& p);

// The writer options of a save: time crop, t0/t1 in seconds (a window start
// or end of 0 means the section's first or last sample), main list, filter
// (when p.applyFilter is set; nullptr for none), revision 1, flags 0.
SaveOptions BuildSaveOptions(const SaveParams& p, const SeismicSection& s, const IIRFilter* filter);

// Format limits. Each returns 0, or kStatusRefused with the message box text in message.
// SEG-Y and SU: at most 65535 samples in the window and an interval that
// converts to whole microseconds accurately enough.
int CheckSegyLimits(const SaveOptions& o, const SeismicSection& s, std::string* message);
// SEG-2: at most 16383 traces.
int CheckSeg2Limits(int32_t keptTraces, std::string* message);

// Field parsing of the dialog: the text trimmed of blanks and cut to maxChars;
// empty gives the not-given value and true; text with characters that are not
// part of the number gives false and the valid prefix in validPrefix.
bool ParseIntField(const std::string& text, int maxChars, int32_t* value, std::string* validPrefix);
bool ParseRealField(const std::string& text, int maxChars, double* value, std::string* validPrefix);
