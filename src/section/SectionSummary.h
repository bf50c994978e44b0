// What a scan learns about a list of traces: sampling, time range, amplitude,
// trace counts by kind, the ranges of the main header words and the time
// units the views and texts use. Times are seconds.
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "section/TraceRecord.h"

// Minimum and maximum ([0], [1]) of the main header words.
struct HeaderRanges {
  int64_t FLDR[2];
  int32_t CHAN[2], NVS[2], NHS[2], CDP[2], CDPT[2], ILINE[2], XLINE[2], ESP[2];
  double SSTA[2], RSTA[2];
  float OFF[2];
  double SX[2], SY[2], RX[2], RY[2], CDPX[2], CDPY[2];
  float SZ[2], RZ[2];
};

// Defaults are the summary of no traces.
struct SectionSummary {
  int32_t maxSamples = 0;
  double minInterval = 0.0;  // smallest positive DT; 0 when none
  double minTime = 0.0;
  double maxTime = 0.0;
  float maxAmplitude = 0.0f;  // largest AMAX of the traces with samples
  int32_t timeUnitCode = 1;    // 1 ms, 2 µs, 4 ns
  double timeFactor = 1000.0;  // display units per second
  std::string timeUnitLabel = "ms";
  double axisTimeFactor = 1000.0;
  std::string axisTimeUnitLabel = "ms";
  double distanceFactor = 1000.0;
  std::string distanceUnitLabel = "m";
  int32_t seismicCount = 0;  // TRID 1, 5 or 11..17
  int32_t unknownCount = 0;  // TRID 0
  HeaderRanges ranges = {};
};

// TRID codes that count as seismic: 1, 5 and 11..17.
bool IsSeismicTrid(int trid);

// The summary of any list of traces; empty slots are passed over. Reads the
// records only.
SectionSummary SummarizeTraces(std::span<TraceRecord* const> traces);
