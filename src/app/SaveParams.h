// The choices of the Save Dataset dialog, kept by the workspace for the life
// of the program so that the last choices come back when it is reopened.
#pragma once

#include <climits>
#include <cstdint>
#include <string>

// An integer field that was not given.
inline constexpr int32_t kNotGiven = INT_MIN;

// Trace crop modes.
enum SaveCropMode : int32_t {
  kCropLines = 1,      // crossline (XLINE) / inline (ILINE)
  kCropCdpLine = 2,    // CDP / line (ILINE)
  kCropCdpCoord = 3,   // CDPX / CDPY windows
  kCropFfidChan = 4,   // FLDR / CHAN
  kCropTraceIndex = 5  // 1-based position in the section
};

// Output formats, as the format choice's item data.
enum SaveFormat : int32_t { kSaveSegy = 1, kSaveSuFormat = 3, kSaveSeg2 = 4 };

// from, to, step of one integer range; kNotGiven where a field was left empty.
struct IntRange {
  int32_t from = kNotGiven;
  int32_t to = kNotGiven;
  int32_t step = 1;
};

struct SaveParams {
  int32_t offsetLimitOn = 0;
  int32_t timeCropOn = 0;
  int32_t traceCropOn = 0;
  float offsetLimit = 0.0f;  // distance unit of the section
  double timeStart = 0.0;    // display time unit; 0 = from the first sample
  double timeEnd = 0.0;      // 0 = to the last sample
  double cdpXFrom = 0.0, cdpXTo = 0.0, cdpYFrom = 0.0, cdpYTo = 0.0;  // 0 = section minimum / maximum
  IntRange crossline, inline_;                                        // mode 1
  IntRange cdp, line;                                                 // mode 2
  IntRange ffid, channel;                                             // mode 4
  IntRange traceIndex;                                                // mode 5
  int32_t cropMode = kCropLines;
  int32_t format = kSaveSegy;
  int32_t applyFilter = 0;
  std::string timeUnit = "ms";
  std::string distanceUnit = "meters";
};
