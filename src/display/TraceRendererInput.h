// Everything the trace drawers read for one redraw: the view's geometry, the
// traces, the display parameters and the application settings that tune the
// drawing. The view fills it before each redraw; drawers never keep it.
//
// Pixel mappings (double arithmetic, then truncation toward zero):
//   trace centre x(n) = plot left + int((n − first trace + 0.5) × pixels per trace + 0.0001)
//   row of time t     = plot top + int((t − start time) × pixels per second + 0.5)
//   time of plot row r = r ÷ pixels per second + start time
#pragma once

#include <cstdint>
#include <vector>

#include "display/DisplayParams.h"
#include "display/Graduation.h"
#include "section/TraceRecord.h"

class FilteredTraceCache;
struct IIRFilter;

struct TraceRendererInput {
  // Client area and plot rectangle, pixels.
  int clientWidth = 0;
  int clientHeight = 0;
  int plotLeft = 0;
  int plotTop = 0;
  int plotWidth = 0;
  int plotHeight = 0;

  // The traces shown (the whole section or one ensemble). The drawers write
  // each drawn trace's DNORM; nothing else changes.
  TraceRecord* const* traces = nullptr;
  int count = 0;
  int maxSamples = 0;
  double sectionStart = 0.0;  // s
  double sectionEnd = 0.0;    // s
  double normaliser = 0.0;    // largest |amplitude| of the section
  int highlighted = -1;       // index into traces, -1 none
  int viewRole = 1;           // 2: selective-stack input (excluded traces muted)
  int tracesPerPage = 1;

  // Major time graduation in display units and the display factor (units per
  // second), for the time lines.
  Graduation timeGraduation;
  double displayTimeFactor = 1000.0;

  const DisplayParams* params = nullptr;
  const IIRFilter* filter = nullptr;  // applied when m_useFreqFilter; null: none
  // Copies already filtered by `filter` (null: none); a trace without one is
  // filtered on the spot.
  const FilteredTraceCache* filtered = nullptr;
  int wiggleMinIntertrace = 2;
  int evenSpacingBelow = 5;
  int displayThreads = 1;

  int TraceCentre(int64_t n) const;
  int TimeToRow(double t) const;
  double RowToTime(int r) const { return r / params->m_pixPerSec + params->m_startTime; }
  // Plot rows that can hold samples: min(plot height, rows down to the section end).
  int DataRows() const;

  // The samples to draw for a trace: a filtered copy in *buffer when the
  // display filter is on (DNORM = its peak), or the cached copy, else the
  // stored samples (DNORM = AMAX). Null, after logging, when the copy cannot be allocated.
  const float* PrepareSamples(TraceRecord* trace, std::vector<float>* buffer) const;
};

// Truncation toward zero of a pixel coordinate, kept within ±2^30 so that
// absurd scales cannot overflow the conversion.
int PixelTrunc(double v);
