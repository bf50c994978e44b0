// The display parameters of one trace view. The view owns the record; the
// settings panel edits it through a pointer and notifies the view. Times are
// seconds, scales pixels per trace and pixels per second. Fields keep their
// declared order. Rules that change several fields at once live in
// DisplayRules.h.
#pragma once

#include <cstdint>

#include "section/SeismicSection.h"

enum DisplayMode : int { kDisplayColor = 1, kDisplayWiggle = 2 };
enum GainControl : int { kGainNone = 1, kGainNorm = 2, kGainAgc = 4 };
enum FillMode : int { kFillNone = 0, kFillPositive = 1, kFillNegative = 2 };
enum AgcType : int { kAgcMean = 1, kAgcRms = 2 };
enum ZoomTool : int { kZoomNone = 1, kZoomRectangle = 2, kZoomSelect = 4 };

// Saved scales and position of the other view (whole section or one ensemble).
struct SavedViewState {
  double pixPerSec = 1000.0;
  double startTime = 0.0;
  double pixPerTrace = 5.0;
  int32_t firstTrace = 0;
};

struct DisplayParams {
  int32_t m_ensembleView = 0;         // 1 while one ensemble is shown
  double m_ensembleKey = DBLE_UNDEF;  // key of the ensemble shown
  int32_t m_zoomTool = kZoomNone;

  double m_pixPerTrace = 5.0;
  int32_t m_firstTrace = 0;  // trace at the left edge
  double m_pixPerSec = 1000.0;
  double m_startTime = 0.0;          // time at the top edge, s
  double m_timeUnitFactor = 1000.0;  // display time units per second
  int32_t m_timeUnitCode = 1;        // 2 µs, 4 ns, else ms (AGC window field)
  SavedViewState m_otherView;

  int32_t m_displayMode = kDisplayColor;
  int32_t m_wiggleScheme = 0;  // ColorScheme row in wiggle mode
  int32_t m_colorScheme = 1;   // ColorScheme row in colour mode
  int32_t m_palette = 0;       // density palette 0..3
  int32_t m_timeLinesWiggle = 1;
  int32_t m_timeLinesColor = 0;
  int32_t m_zeroLines = 1;
  int32_t m_inversePolarity = 0;
  int32_t m_gainControl = kGainNorm;
  double m_agcWindow = 0.25;  // s
  int32_t m_agcType = kAgcMean;
  int32_t m_useFreqFilter = 0;

  double m_wiggleGainByMode[3] = {1.0, 1.0, 1.0};  // "none", "Norm", "Agc"
  double m_colorGainByMode[3] = {1.0, 1.0, 1.0};

  double m_colorGain = 1.0;
  double m_wiggleGain = 1.0;
  float m_wiggleClip = 1000.0f;  // percent of half a trace spacing
  int32_t m_fillMode = kFillPositive;
  double m_overlayGain = 1.0;  // highlighted-trace wiggle in colour mode
  float m_overlayClip = 1000.0f;

  int32_t m_crossLinesCursor = 0;
  int32_t m_headerWordLabels = 0;

  // ColorScheme row of the current display mode.
  int SchemeRow() const { return m_displayMode == kDisplayWiggle ? m_wiggleScheme : m_colorScheme; }
};
