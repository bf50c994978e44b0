#include "app/StackViewSection.h"

#include <cmath>

#include "log/Status.h"

namespace {
// The largest magnitude of the stacked samples: sums outgrow the shots' own
// peak, and the view scales its traces by this.
float StackPeak(const SeismicSection& shots) {
  float peak = 0.0f;
  for (int32_t i = 0; i < shots.m_stackCount; ++i) {
    const TraceRecord* r = shots.m_stack[i];
    if (!r) continue;
    const float* s = r->Samples();
    for (int32_t k = 0; k < r->NS && k < r->DIM; ++k) peak = std::fmax(peak, std::fabs(s[k]));
  }
  return peak;
}
}  // namespace

int StackViewSection::Borrow(const SeismicSection& shots) {
  Release();
  if (!shots.m_stack || shots.m_stackCount <= 0) return kStatusRefused;
  for (int32_t i = 0; i < shots.m_stackCount; ++i)
    if (!shots.m_stack[i]) return kStatusRefused;
  m_view.m_traces = shots.m_stack;
  m_view.m_count = shots.m_stackCount;
  m_view.m_fixedLength = shots.m_fixedLength;
  m_view.m_maxSamples = shots.m_maxSamples;
  m_view.m_minInterval = shots.m_minInterval;
  m_view.m_minTime = shots.m_minTime;
  m_view.m_maxTime = shots.m_maxTime;
  m_view.m_maxAmplitude = StackPeak(shots);
  m_view.m_timeUnitMode = shots.m_timeUnitMode;
  m_view.m_timeUnitCode = shots.m_timeUnitCode;
  m_view.m_timeFactor = shots.m_timeFactor;
  m_view.m_timeUnitLabel = shots.m_timeUnitLabel;
  m_view.m_axisTimeFactor = shots.m_axisTimeFactor;
  m_view.m_axisTimeUnitLabel = shots.m_axisTimeUnitLabel;
  return m_view.m_count;
}

void StackViewSection::Release() {
  // The section would free what it lists; the records are not its own.
  m_view.m_traces = nullptr;
  m_view.m_count = 0;
  m_view.m_capacity = 0;
}
