#include "display/DisplayRules.h"

#include <algorithm>
#include <cmath>

#include "log/Status.h"

int GainSlot(int gainControl) {
  switch (gainControl) {
    case kGainNone:
      return 0;
    case kGainAgc:
      return 2;
    default:
      return 1;
  }
}

void SwitchGainControl(DisplayParams* params, int gainControl) {
  if (gainControl == params->m_gainControl) return;
  int old = GainSlot(params->m_gainControl), now = GainSlot(gainControl);
  params->m_wiggleGainByMode[old] = params->m_wiggleGain;
  params->m_colorGainByMode[old] = params->m_colorGain;
  params->m_wiggleGain = params->m_wiggleGainByMode[now];
  params->m_colorGain = params->m_colorGainByMode[now];
  params->m_gainControl = gainControl;
}

int SchemeRowForPalette(int palette) {
  switch (palette) {
    case 1:
      return 3;
    case 2:
      return 2;
    default:
      return 1;
  }
}

void SelectDensityPalette(DisplayParams* params, int palette) {
  params->m_palette = std::clamp(palette, 0, 3);
  params->m_colorScheme = SchemeRowForPalette(params->m_palette);
}

double LimitPixPerTrace(double pixPerTrace) {
  return std::clamp(pixPerTrace, kMinPixPerTrace, kMaxPixPerTrace);
}

double LimitGain(double gain) {
  return std::clamp(gain, kMinGain, kMaxGain);
}

double ScaleBySliderSteps(ScaleSlider slider, double value, int delta) {
  switch (slider) {
    case ScaleSlider::kTraceScale:
      return LimitPixPerTrace(value * std::pow(1.01, delta));
    case ScaleSlider::kTimeScale:
      return value * (delta >= 0 ? std::pow(1.025, delta) : std::pow(0.975609756097561, -delta));
    case ScaleSlider::kColorGain:
      return LimitGain(value * (delta >= 0 ? std::pow(1.02, delta) : std::pow(0.9803921568627451, -delta)));
    case ScaleSlider::kWiggleGain:
      return LimitGain(value * (delta >= 0 ? std::pow(1.015, delta) : std::pow(0.9852216748768474, -delta)));
  }
  return value;
}

double* SliderParameter(DisplayParams* params, ScaleSlider slider) {
  switch (slider) {
    case ScaleSlider::kTraceScale:
      return &params->m_pixPerTrace;
    case ScaleSlider::kTimeScale:
      return &params->m_pixPerSec;
    case ScaleSlider::kColorGain:
      return &params->m_colorGain;
    case ScaleSlider::kWiggleGain:
      break;
  }
  return params->m_displayMode == kDisplayWiggle ? &params->m_wiggleGain : &params->m_overlayGain;
}

void ApplySliderSteps(DisplayParams* params, ScaleSlider slider, int delta) {
  double* target = SliderParameter(params, slider);
  *target = ScaleBySliderSteps(slider, *target, delta);
}

void ApplyClipSlider(DisplayParams* params, int position) {
  float clip = static_cast<float>(std::clamp(position, 0, kMaxClipSlider));
  if (params->m_displayMode == kDisplayWiggle) {
    params->m_wiggleClip = clip;
  } else {
    params->m_overlayClip = clip;
  }
}

double TimeScaleFieldValue(const DisplayParams& params) {
  return params.m_pixPerSec / params.m_timeUnitFactor;
}

int ScaleChangeKind(ScaleSlider slider) {
  return slider == ScaleSlider::kTraceScale ? 2 : slider == ScaleSlider::kTimeScale ? 1 : 0;
}

bool ScaleFromField(const DisplayParams& params, ScaleSlider slider, double entered, double* value) {
  switch (slider) {
    case ScaleSlider::kTraceScale:
      *value = LimitPixPerTrace(entered);
      return true;
    case ScaleSlider::kTimeScale: {
      double pixPerSec = entered * params.m_timeUnitFactor;
      // A zero or negative scale would collapse the time axis.
      if (!(pixPerSec > 0.0) || !std::isfinite(pixPerSec)) return false;
      *value = pixPerSec;
      return true;
    }
    case ScaleSlider::kColorGain:
    case ScaleSlider::kWiggleGain:
      break;
  }
  *value = LimitGain(entered);
  return true;
}

int SetTimeScaleFromField(DisplayParams* params, double value) {
  return ScaleFromField(*params, ScaleSlider::kTimeScale, value, &params->m_pixPerSec) ? 0 : kStatusRefused;
}

const char* AgcUnitLabel(int timeUnitCode) {
  return timeUnitCode == 2 ? "\u03bcs" : timeUnitCode == 4 ? "ns" : "ms";
}

double AgcUnitsPerSecond(int timeUnitCode) {
  return timeUnitCode == 2 ? 1e6 : timeUnitCode == 4 ? 1e9 : 1e3;
}

int SetAgcWindowFromField(DisplayParams* params, double value) {
  if (!(value > 0.0) || !std::isfinite(value)) return kStatusRefused;
  params->m_agcWindow = value / AgcUnitsPerSecond(params->m_timeUnitCode);
  return 0;
}

double FitPixPerSec(int plotHeight, double startTime, double endTime, int maxSamples) {
  double span = endTime - startTime;
  if (maxSamples < 2 || !(span > 0.0)) return 1.0;
  return std::max(plotHeight - 1, 1) / span;
}

double FitPixPerTrace(int plotWidth, int traceCount) {
  return traceCount > 0 ? static_cast<double>(std::max(plotWidth - 1, 1)) / traceCount : 1.0;
}

void ResetForNewDataset(DisplayParams* params) {
  DisplayParams kept = *params;
  *params = DisplayParams{};
  params->m_zoomTool = kept.m_zoomTool;
  params->m_timeUnitFactor = kept.m_timeUnitFactor;
  params->m_timeUnitCode = kept.m_timeUnitCode;
  params->m_displayMode = kept.m_displayMode;
  params->m_wiggleScheme = kept.m_wiggleScheme;
  params->m_colorScheme = kept.m_colorScheme;
  params->m_palette = kept.m_palette;
  params->m_timeLinesWiggle = kept.m_timeLinesWiggle;
  params->m_timeLinesColor = kept.m_timeLinesColor;
  params->m_zeroLines = kept.m_zeroLines;
  params->m_agcWindow = kept.m_agcWindow;
  params->m_agcType = kept.m_agcType;
  params->m_useFreqFilter = kept.m_useFreqFilter;
  params->m_fillMode = kept.m_fillMode;
  params->m_crossLinesCursor = kept.m_crossLinesCursor;
  params->m_headerWordLabels = kept.m_headerWordLabels;
}
