// The sort key table: the 26 keys offered by the trace sorting dialog, each naming a trace-record field by
// value type and byte offset.
// The rows are constant.
#pragma once

#include <cstdint>
#include <optional>
#include <span>

#include "section/TraceFields.h"
#include "section/TraceRecord.h"

inline constexpr int kSortKeyCount = 26;
inline constexpr int32_t kSortFieldNone = -1;   // field of key 0 (" None")
inline constexpr int kSortKeyOffsetClass = 10;  // OFFCLS, filled by the sort
inline constexpr int kSortKeyXLineFloat = 25;   // the 32 bits of XLINE read as a float

struct SortKeyRow {
  int32_t id;         // the row's position 0..25, used as list item data
  ValueType type;     // value type of the field
  int32_t field;      // byte offset in TraceRecord, or kSortFieldNone
  const char* label;  // shown exactly as stored, leading blank included
};

// The 26 rows in id order.
std::span<const SortKeyRow> SortKeyRows();
// The row with that id, or null outside 0..25.
const SortKeyRow* FindSortKey(int id);
// The key's value of a trace as a double; nullopt for key 0 (none).
std::optional<double> SortKeyValue(const TraceRecord* rec, const SortKeyRow& row);
