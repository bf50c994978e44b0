// The header word label table: 75 rows that name
// fields of the trace record for the Trace Info list, the Header Words list
// (trace-axis labels) and the header-plot choices.
//
// The rows are constant.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "section/TraceFields.h"
#include "section/TraceRecord.h"

// Flag bits of a label row: which lists show it.
enum HeaderLabelFlag : int32_t {
  kLabelTraceInfo = 1,    // bit 0: Trace Info list
  kLabelHeaderWords = 2,  // bit 1: Header Words list
  kLabelHeaderPlot = 4,   // bit 2: header-plot word choices
};

inline constexpr int kHeaderLabelCount = 75;
// Field value of row 0 ("idx"): it names no field.
inline constexpr int32_t kLabelFieldTraceIndex = -999;
// Field value of the other rows of type none.
inline constexpr int32_t kLabelFieldNone = -1;
// Item data of the "None" entry that heads the header-plot choice lists.
inline constexpr int kHeaderPlotNone = -1;

// Well-known row ids used by the Trace Info builder and the views.
enum HeaderLabelId : int {
  kLabelIdx = 0,
  kLabelTrno = 1,
  kLabelTrf = 2,
  kLabelTracf = 3,
  kLabelTracr = 4,
  kLabelTrid = 5,
  kLabelHms = 57,
  kLabelSdir = 74,
};

struct HeaderLabelRow {
  int32_t id;              // the row's position, 0..74
  int32_t flags;           // HeaderLabelFlag bits
  ValueType type;          // value type of the field; kTypeNone for rows 0 and 57..74
  int32_t field;           // byte offset in TraceRecord, or kLabelFieldTraceIndex / kLabelFieldNone
  const char* shortLabel;  // "Label" column of the Header Words list; may be empty
  const char* longLabel;   // item text of the lists
  const char* extraText;   // empty except on the coordinate rows 23-25 and 32-34
};

// The 75 rows in id order.
std::span<const HeaderLabelRow> HeaderLabelRows();
// The row with that id, or null outside 0..74.
const HeaderLabelRow* FindHeaderLabel(int id);
// Ids of the rows whose flags contain the bit, in id order (row 0 included).
std::vector<int> HeaderLabelIdsWithFlag(int32_t flag);

// The lists built from the flags. Header Words: rows 0..74 with bit 1.
std::vector<int> HeaderWordsListIds();
// Trace Info: rows 1..74 with bit 0 (row 0 never).
std::vector<int> TraceInfoListIds();
// Header-plot choices: kHeaderPlotNone first ("None"), then rows 1..74 with bit 2.
std::vector<int> HeaderPlotChoiceIds();

// The row's field value as a double by its value type; nullopt for type none.
std::optional<double> HeaderLabelValue(const TraceRecord* rec, const HeaderLabelRow& row);
