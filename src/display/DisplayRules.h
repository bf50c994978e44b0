// Rules of the display settings that touch several DisplayParams fields or
// limit entered values, as plain functions so the panel, kxtool and tests
// share them. None of them redraws; the caller notifies the view.
#pragma once

#include "display/DisplayParams.h"

inline constexpr double kMinPixPerTrace = 0.001;
inline constexpr double kMaxPixPerTrace = 2000.0;
inline constexpr double kMinGain = 1e-6;
inline constexpr double kMaxGain = 1e27;
inline constexpr int kMaxClipSlider = 1000;

enum class ScaleSlider { kTraceScale, kTimeScale, kColorGain, kWiggleGain };

// Slot 0, 1, 2 of the remembered gains for "none", "Norm", "Agc".
int GainSlot(int gainControl);
// Stores the gains in force under the old mode and loads the new mode's ones.
void SwitchGainControl(DisplayParams* params, int gainControl);

// ColorScheme row of density palette 0..3 ("grey scale" 1, "Red-Black" 3,
// "Red-Blue" 2, "Blue-Yellow" 1).
int SchemeRowForPalette(int palette);
// Sets m_palette and the colour-mode scheme row.
void SelectDensityPalette(DisplayParams* params, int palette);

double LimitPixPerTrace(double pixPerTrace);
double LimitGain(double gain);

// value scaled by Δ steps of a slider (trace scale 1.01 per step; time scale
// 1.025 up, 1 ÷ 1.025 down; colour gain 1.02; wiggle gain 1.015), limited as
// the parameter requires (the time scale is not limited).
double ScaleBySliderSteps(ScaleSlider slider, double value, int delta);
// The parameter a scale slider moves: the wiggle gain slider moves
// m_wiggleGain in wiggle mode and m_overlayGain in colour mode.
double* SliderParameter(DisplayParams* params, ScaleSlider slider);
// Applies Δ to the parameter of the slider (SliderParameter).
void ApplySliderSteps(DisplayParams* params, ScaleSlider slider, int delta);
// The absolute clip slider (0..1000) into m_wiggleClip or m_overlayClip.
void ApplyClipSlider(DisplayParams* params, int position);

// The zoom-history kind a slider's change is announced with: 2 for the trace
// scale, 1 for the time scale, 0 for the gains (not recorded).
int ScaleChangeKind(ScaleSlider slider);

// The value an entry in a slider's field gives its parameter: the trace scale
// limited to 0.001 .. 2000, the time scale in display units per second (false
// when not positive), the gains limited to 1e-6 .. 1e27.
bool ScaleFromField(const DisplayParams& params, ScaleSlider slider, double entered, double* value);

// The time-scale field shows pixels per display time unit.
double TimeScaleFieldValue(const DisplayParams& params);
// Sets m_pixPerSec from the field; returns 0, or kStatusRefused for a value that is not
// positive (nothing changes).
int SetTimeScaleFromField(DisplayParams* params, double value);

// The AGC window field's unit: "ms", "μs" (code 2) or "ns" (code 4).
const char* AgcUnitLabel(int timeUnitCode);
double AgcUnitsPerSecond(int timeUnitCode);
// Sets m_agcWindow from a field value in the field's unit; returns 0, or kStatusRefused
// for a value that is not positive (nothing changes).
int SetAgcWindowFromField(DisplayParams* params, double value);

// Scales that fit the section: pixels per second over the plot height (1
// with fewer than 2 samples or no time span), pixels per trace over the
// plot width (1 without traces).
double FitPixPerSec(int plotHeight, double startTime, double endTime, int maxSamples);
double FitPixPerTrace(int plotWidth, int traceCount);

// A new dataset replaces the one shown (a load that resets the display): what
// described the old data goes back to its default (scales and position, the
// ensemble view, polarity, the gain mode with every remembered gain, the
// clips), while the user's choices of how to draw stay (display mode,
// palette, fill, time and zero lines, AGC type and window, the filter switch,
// the cursor and label switches, the zoom tool).
void ResetForNewDataset(DisplayParams* params);
