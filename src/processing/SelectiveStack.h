// Selective stack of repeated shots: the traces of equal position in every
// gather (one gather per field record number FLDR) are summed into one trace
// per channel. Traces whose TSKIP is set are left out of the sum.
//
// The gather table comes from the section sorted on FLDR then TRACF; the
// stack list is the section's own (Stack(), replaced with GiveStack). All functions run on one thread while
// nothing else reads the section, return status codes and never throw.
#pragma once

#include <cstdint>
#include <vector>

#include "section/SeismicSection.h"

// One gather: its first trace position and its number of traces.
struct Gather {
  int32_t first;
  int32_t count;
};

// Refusals of the stack command, shown to the user as they are.
inline constexpr const char* kStackMissingFfid = " Missing file numbers and internal FFIDs\n Can not go on";
inline constexpr const char* kStackNotFixedLength =
    " Sampling interval and/or number of samples\n per trace not constant";
inline constexpr const char* kStackSingleShot = " Single shot or missing FFID/file number";
inline constexpr const char* kStackUnequalGathers = " Not all files have the same number of traces";
inline constexpr const char* kStackNoMemory = " Not enough memory";

// Sets FLDR from the file numbers: every trace's FLDR = LTAG when no LTAG is
// negative. Otherwise FLDR stays (logged) and must be at least 1 everywhere.
// Returns 0, or kStatusRefused when some FLDR is below 1 (logged; the caller shows
// kStackMissingFfid). Traces keep their FLDR on failure.
int AssignGatherNumbers(SeismicSection& section);

// The runs of equal FLDR in the trace list, in order (the section sorted on
// FLDR first). Returns 0, or kStatusNoMemory when the table cannot be allocated.
int BuildGatherTable(const SeismicSection& section, std::vector<Gather>* gathers);

// Sorts the section on FLDR then TRACF (both ascending) and builds the gather
// table. Returns 0, or kStatusRefused with *refusal set to the text to show: not fixed
// length, fewer than two gathers, or gathers of different sizes; kStatusNoMemory on an
// allocation failure (*refusal = kStackNoMemory).
int PrepareStack(SeismicSection& section, std::vector<Gather>* gathers, const char** refusal);

// Replaces the section's stack list by `count` zeroed records of room for
// max(samples, 2) samples each (DIM holds the room). 0, or kStatusNoMemory with no list.
int AllocateStackList(SeismicSection& section, int32_t count, int32_t samples);

// Sums gathers 0 .. lastGather into the section's stack list: record j is a
// copy of channel j of gather 0 (TSKIP cleared; samples and NVS zero when
// that trace is excluded), then every included channel j of later gathers
// adds its samples (single precision) and its NVS (16 bit). Not divided by
// the fold. Returns 0 or the first failing check, a StackCheck.
enum StackCheck : int {
  kStackCheckNotFixedLength = -1,
  kStackCheckNoTraces = -2,
  kStackCheckFewGathers = -3,      // fewer than two gathers
  kStackCheckLastGather = -4,      // lastGather outside 1 .. gathers-1
  kStackCheckNoList = -5,          // no stack list
  kStackCheckBeyondTraces = -6,    // a gather reaches beyond the last trace
  kStackCheckEmptyGather = -7,     // gather 0 is empty
  kStackCheckRecordTooSmall = -8,  // a stack record is missing or too small
};
int StackGathers(SeismicSection& section, const std::vector<Gather>& gathers, int32_t lastGather);

// The stack list for a gather table: one record per channel of gather 0,
// with room for the samples of its first trace. 0 or kStatusNoMemory.
int AllocateStackFor(SeismicSection& section, const std::vector<Gather>& gathers);
// Stacks every gather of the table (StackGathers up to the last one).
int StackAllGathers(SeismicSection& section, const std::vector<Gather>& gathers);

// Flips the exclusion of one trace. False for an index outside the section.
bool ToggleTraceExclusion(SeismicSection& section, int32_t trace);

// The gather holding the trace: all its traces included again when every one
// was excluded, otherwise all excluded. False when no gather holds it.
bool ToggleGatherExclusion(SeismicSection& section, const std::vector<Gather>& gathers, int32_t trace);

// The summary a view of the stack list shows: that of the stacked traces,
// with the largest magnitude of their samples as the amplitude (sums outgrow
// the AMAX each record keeps from its first gather, and a view scales by it).
SectionSummary StackSummary(const SeismicSection& section);
