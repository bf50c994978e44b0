// Every named field of the trace record: name, value type and byte offset.
// Used wherever fields are addressed by name (kxtool, text exports, tests).
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

#include "section/TraceRecord.h"

// Value types of header words and trace-record fields.
enum ValueType : int {
  kTypeNone = 0,
  kTypeU8 = 1,
  kTypeI16 = 2,
  kTypeI32 = 3,
  kTypeI64 = 4,
  kTypeF32 = 5,
  kTypeF64 = 6,
};

struct TraceField {
  const char* name;  // upper-case label, e.g. "FLDR"
  ValueType type;
  std::size_t offset;  // byte offset in TraceRecord
};

// The fields in record order.
std::span<const TraceField> TraceFields();
// The field of that name (case-sensitive), or null.
const TraceField* FindTraceField(std::string_view name);

// Reads a field of any value type as a double; kTypeNone gives 0.
double GetFieldValue(const TraceRecord* rec, ValueType type, std::size_t offset);
// Stores a double into a field of any value type (integers rounded to nearest,
// saturated to the type's range). kTypeNone does nothing.
void SetFieldValue(TraceRecord* rec, ValueType type, std::size_t offset, double value);
