// Numbers in the settings panel's edit fields: how values are shown and how
// typed text is read back. Reading is locale-independent ('.' decimal point).
#pragma once

#include <cstdint>
#include <string>

// "%.2E" from 1e7 up; below, fixed with 6 decimals under 0.001, 5 under 0.01,
// 4 under 0.1, 3 under 10, 2 under 100, 1 under 1000, none from 1000 (by
// magnitude, so negative values read like positive ones).
std::string FormatFieldValue(double value);

// "%.3lf" with trailing zeros removed; DBLE_UNDEF (and non-finite values)
// give an empty text.
std::string FormatTrimmed3(double value);

// Removes trailing '0' after a decimal point, and the point when nothing is
// left after it: "4.000" -> "4", "2.50" -> "2.5". Texts without a point stay.
void TrimTrailingZeros(std::string* text);

// What ReadFieldDouble and ReadFieldInt found besides a whole number (0).
enum FieldReadStatus : int {
  kFieldEmpty = -1,     // nothing but blanks; *value kept
  kFieldCutShort = -2,  // reading stopped early; *text cut to the readable part
};

// Reads a field. Blanks around the text are removed. Returns 0 with *value
// set when the whole text is a number; kFieldEmpty for an empty field (*value
// kept); kFieldCutShort when reading stops early: *text is cut to the readable
// part and *value is set from it when that part is not empty. Infinite, NaN and
// out-of-range entries count as unreadable.
int ReadFieldDouble(std::string* text, double* value);
// The same for base-10 integers of 32 bits.
int ReadFieldInt(std::string* text, int32_t* value);
