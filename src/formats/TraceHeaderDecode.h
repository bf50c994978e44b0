// Decoding a SEG-Y or SU trace header (and extension 1 of revision 2) into a
// trace record: scalars for times, elevations, coordinates and shot points,
// coordinate units, dates.
#pragma once

#include <cstdint>

#include "section/TraceRecord.h"

// Binary header values that every trace of the file carries.
struct TraceDecodeContext {
  bool bigEndian = true;
  int32_t lineNumber = 0;  // becomes RLINE and SLINE
  uint8_t bgr = 0, arm = 0, msys = 0;
};

// Fills the header fields of rec from th (240 bytes in file order) and ext1
// (240 bytes in file order, or null). Leaves NS, DT, DIM and the samples alone.
void DecodeTraceHeader(const uint8_t* th, const uint8_t* ext1, const TraceDecodeContext& ctx,
                       TraceRecord* rec);

// The multiplier of a SEG-Y scalar word: 0 gives 1, negative values divide.
double ScalarFactor(int16_t scalar);
// Packed degrees-minutes-seconds (DDDMMSS with thousandths of a second given by
// the scalar) to decimal degrees; scalco is -1000, -100, -10, -1 or 1.
double DmsToDegrees(int32_t v, int16_t scalco);
// Month (1..12) and day of month of a day of year; false when out of range.
bool MonthDayFromDayOfYear(int year, int dayOfYear, int* month, int* mday);
