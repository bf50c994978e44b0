// What the desktop program tells the user about a load that found no data,
// and the field of its tolerant open, kept out of the window code so that
// tests read them without a window.
#pragma once

#include <cstdint>
#include <string>

#include "app/WorkspaceObserver.h"

inline constexpr const char* kLoadRefusalTitle = " Cannot read seismic data";
inline constexpr const char* kOpenTolerantlyButton = "Open tolerantly";
inline constexpr const char* kOpenTolerantlyItem = "Open Tolerantly...";
inline constexpr const char* kTolerantDialogTitle = " Open seismic files tolerantly";
inline constexpr const char* kTolerantIntervalLabel = "Interval where a file has none (ms):";
inline constexpr const char* kTolerantIntervalHint = "empty: the binary header's, else 4";

// The message box text: which files gave nothing, the readers' reasons (at
// most a few lines), whether the section on screen was kept, and, unless the
// load was tolerant already, what "Open tolerantly" does.
std::string LoadRefusalText(const LoadRefusal& refusal);
// Whether the box offers "Open tolerantly": the load was strict.
bool OffersTolerantOpen(const LoadRefusal& refusal);
// The same load again, tolerant.
LoadParams TolerantRetryParams(const LoadRefusal& refusal);

// The tolerant open's interval field in milliseconds: empty or 0 gives 0 (the
// binary header's interval, else 4 ms), else a positive number of ms with up
// to 3 decimals, rounded to whole microseconds. Returns false for anything else
// (negative, not a number, beyond 2,147,483 ms, below 1 µs).
bool TolerantIntervalFromField(const std::string& text, int32_t* intervalUs);
