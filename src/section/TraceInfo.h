// The Trace Info values: one short text per row of the header
// word label table (HeaderLabelTable.h) for the selected trace.
//
// Cells are UTF-8, at most kTraceInfoCellChars characters (longer values are
// cut, never inside a UTF-8 sequence).
#pragma once

#include <array>
#include <cstddef>
#include <string>

#include "section/HeaderLabelTable.h"

class SeismicSection;

inline constexpr std::size_t kTraceInfoCellChars = 16;

// One value text per label row, indexed by row id.
using TraceInfoCells = std::array<std::string, kHeaderLabelCount>;

// Fills cells 0, 1 and 5..73 for the trace at index (0-based); cells 2, 3, 4
// and 74 are left as they are. Without a trace at that index only cell 0
// ("tr idx %d", index + 1) is written. Returns 75, the number of rows.
int BuildTraceInfo(const SeismicSection& section, int index, TraceInfoCells& cells);
