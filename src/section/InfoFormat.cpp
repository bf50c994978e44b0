#include "section/InfoFormat.h"

#include <iterator>

#include "log/Log.h"

namespace {
// Name of code - first in names, or null when the code is outside the table.
template <std::size_t N>
const char* Named(const char* const (&names)[N], int first, int code) {
  if (code < first || code - first >= static_cast<int>(N)) return nullptr;
  return names[code - first];
}

// The name, or "%d" of the code when it has none.
template <std::size_t N>
std::string NamedOrNumber(const char* const (&names)[N], int first, int code) {
  const char* name = Named(names, first, code);
  return name ? std::string(name) : StrPrintf("%d", code);
}

const char* const kTraceIds[] = {
    "other",
    "unknown",
    "seismic",
    "dead",
    "dummy",
    "time break",
    "uphole",
    "sweep",
    "timing",
    "water break",
    "near signature",
    "far signature",
    "pressure sensor",
    "vert sensor",
    "cr-line sensor",
    "in-line sensor",
    "rot vertical",
    "rot transverse",
    "rot radial",
    "RM",
    "BP",
    "GF",
    "pilot",
    "time-vel pairs",
    "time-depth pairs",
    "depth-vel pairs",
    "depth domain seis",
    "gravity",
};  // codes -1..26
static_assert(std::size(kTraceIds) == 28);

const char* const kSortings[] = {
    "other (-1)",    "unknown (0)",      "as recorded",       "CDP ensemble",
    "single fold",   "horz stacked",     "common src point",  "common rcv point",
    "common offset", "common mid-point", "common conv point",
};  // codes -1..9

const char* const kMeasurement[] = {"meters", "feet", "centimeters", "inches"};         // 1..4
const char* const kRecovery[] = {"", "none", "spherical div", "AGC", "other"};          // 0..4
const char* const kGainTypes[] = {"", "fixed", "binary", "floating point"};             // 0..3
const char* const kTimeBases[] = {"", "local", "GMT", "other", "UTC", "GPS"};           // 0..5
const char* const kSweepTypes[] = {"", "linear", "parabolic", "exponential", "other"};  // 0..4
const char* const kTaperTypes[] = {"", "linear", "cos squared", "other"};               // 0..3
const char* const kSourceTypes[] = {
    "Unknown",        "VIB vertical", "VIB cross-line", "VIB in-line",      "IMP vertical",
    "IMP cross-line", "IMP in-line",  "Dist IMP Vert",  "Dist IMP cr-line", "Dist IMP in-line",
};  // 0..9
}  // namespace

std::string TrimTrailingZeros(std::string text) {
  std::size_t point = text.find('.');
  if (point == std::string::npos) return text;
  std::size_t end = text.find_last_not_of('0');
  if (end == point) end = point - 1;  // nothing left after the point: drop it too
  text.erase(end + 1);
  return text;
}

std::string ShortTime(double seconds, double factor) {
  return TrimTrailingZeros(StrPrintf("%.6lf", seconds * factor));
}

std::string TraceIdText(int code) {
  if (code < -1) return StrPrintf("unknown (%d)", code);
  return NamedOrNumber(kTraceIds, -1, code);
}

std::string TraceSortingText(int code) {
  const char* name = Named(kSortings, -1, code);
  return name ? std::string(name) : StrPrintf("code %d", code);
}

std::string SampleFormatText(int code) {
  switch (code) {
    case 1:
      return "IBM float (32-bit)";
    case 2:
      return "4-byte integer";
    case 3:
      return "2-byte integer";
    case 5:
      return "IEEE float (32-bit)";
    case 6:
      return "IEEE float (64-bit)";
    case 8:
      return "1-byte integer";
    default:
      return "";
  }
}

std::string MeasurementSystemText(int code) {
  if (code == 0) return StrPrintf("unknown (%d)", code);
  return NamedOrNumber(kMeasurement, 1, code);
}

std::string AmplitudeRecoveryText(int code) {
  return NamedOrNumber(kRecovery, 0, code);
}

std::string GainTypeText(int code) {
  return NamedOrNumber(kGainTypes, 0, code);
}

std::string TimeBasisText(int code) {
  return NamedOrNumber(kTimeBases, 0, code);
}

std::string SweepTypeText(int code) {
  return NamedOrNumber(kSweepTypes, 0, code);
}

std::string TaperTypeText(int code) {
  return NamedOrNumber(kTaperTypes, 0, code);
}

std::string SourceTypeText(int code) {
  if (code < 0) return StrPrintf("%s (%d)", "Other", code);
  const char* name = Named(kSourceTypes, 0, code);
  return name ? std::string(name) : StrPrintf("%s (%d)", "Unknown", code);
}

std::string VelocityUnitText(int msys) {
  return msys == 1 ? "m/s" : msys == 2 ? "ft/s" : "";
}

std::string CoordUnitText(int cunit, int msys) {
  if (cunit == 0) return "";
  if (cunit == 1) {
    if (msys == 0) return "length";
    if (msys == 1) return "length m";
    if (msys == 2) return "length ft";
    return "1";
  }
  if (cunit <= 4) return "decimal degrees";
  return StrPrintf("%d", cunit);
}
