// Sorting of a section's trace list on up to three keys of the sort key table,
// with the division of the traces into ensembles.
//
// Only the pointers of the trace list move, never the records. Each key level
// sorts every current ensemble separately (quicksort, not stable), then may
// split the ensembles where the key changes. Runs on one thread; nothing else
// may read the section meanwhile.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "section/SeismicSection.h"

enum SortDirection : int32_t {
  kSortAscending = 1,
  kSortDescending = 2,
};

inline constexpr int kMaxSortKeys = 3;
inline constexpr int kSortKeyTraceNumber = 20;  // original sequence number (TRNO)

// What the workspace keeps between sorts.
struct SortParams {
  int32_t keys[kMaxSortKeys] = {0, 0, 0};  // sort key ids, the used ones first
  int32_t directions[kMaxSortKeys] = {kSortAscending, kSortAscending, kSortAscending};
  int32_t keyCount = 0;
  float classWidth = 25.0f;  // width of the |offset| classes (key 10), distance unit
};

// Reorders the trace list and builds the ensemble list. Returns 0 with at
// least 2 ensembles stored in the section (ensemble key id set, EAMAX of every
// trace written); kStatusRefused when the section has fewer than 2 traces, the parameters
// are invalid (no key, key outside 1..25, class width not positive; nothing
// changes), or no ensembles resulted (the order is still changed); kStatusNoMemory on an
// allocation failure (logged; traces reordered so far stay so). Any previous
// ensemble list is dropped first, except for the kStatusRefused cases that change nothing.
int SortSection(SeismicSection& section, const SortParams& params);

// Back to the load order: one ascending sort on the original sequence number.
int RevertSort(SeismicSection& section);

// The |offset| class of an offset: trunc((|off| + w/2) / w) * w.
float OffsetClass(float offset, float width);

// Sets OFFCLS of every trace from its offset, or to 0 (with a warning) when the
// offsets span less than 0.001.
void ComputeOffsetClasses(SeismicSection& section, float width);

// A sort key id from a name: a number 0..25, a trace-record field name of the
// table (first row wins: CHAN gives 4), or the mnemonic in a label's
// parentheses (last row wins: OFFSET gives 11, TRACF gives 9). Case-insensitive.
// -1 when unknown.
int FindSortKeyByName(std::string_view name);

// What the sort dialog holds when "Sort" is pressed.
struct SortDialogFields {
  int32_t keyChoice[kMaxSortKeys] = {0, 0, 0};  // key id of each choice, 0 for " None"
  int32_t direction[kMaxSortKeys] = {kSortAscending, kSortAscending, kSortAscending};
  std::string widthText;  // "Sort By |offset| Class : Class Width"
};

// True while one of the key choices shows the |offset| class key.
bool ClassWidthVisible(const SortDialogFields& fields);

// Reads the dialog into params. The class width is taken when it parses as a
// number greater than 0; otherwise widthShown gets the previous width back and
// that is an error while the width field is visible. Keys are collected in
// choice order skipping " None"; no key or a key twice is an error. On an
// error (false) the keys of params are unchanged.
bool ReadSortDialog(const SortDialogFields& fields, SortParams* params, std::string* widthShown);
