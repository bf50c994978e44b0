#include "display/TraceRendererInput.h"

#include <algorithm>
#include <cmath>
#include <new>

#include "display/FilteredTraceCache.h"
#include "log/Log.h"
#include "processing/IIRFilter.h"

int PixelTrunc(double v) {
  constexpr double kLimit = 1073741824.0;
  if (!(v > -kLimit)) return v != v ? 0 : -1073741824;
  if (v >= kLimit) return 1073741824;
  return static_cast<int>(v);
}

int TraceRendererInput::TraceCentre(int64_t n) const {
  return plotLeft +
         PixelTrunc((static_cast<double>(n - params->m_firstTrace) + 0.5) * params->m_pixPerTrace + 0.0001);
}

int TraceRendererInput::TimeToRow(double t) const {
  return plotTop + PixelTrunc((t - params->m_startTime) * params->m_pixPerSec + 0.5);
}

int TraceRendererInput::DataRows() const {
  int rows = PixelTrunc((sectionEnd - params->m_startTime) * params->m_pixPerSec + 0.5);
  return std::max(0, std::min(plotHeight, rows));
}

const float* TraceRendererInput::PrepareSamples(TraceRecord* trace, std::vector<float>* buffer) const {
  if (!params->m_useFreqFilter || filter == nullptr) {
    trace->DNORM = trace->AMAX;
    return trace->Samples();
  }
  float peak = 0.0f;
  if (filtered != nullptr) {
    if (const float* copy = filtered->Find(trace, &peak)) {
      trace->DNORM = peak;
      return copy;
    }
  }
  int32_t n = std::max(trace->NS, 0);
  try {
    buffer->resize(static_cast<std::size_t>(n) + 1);
  } catch (const std::bad_alloc&) {
    LogPrint(LogError, "\nERROR: malloc failure for float[%d]\n", n);
    return nullptr;
  }
  trace->DNORM = RunFilter(*filter, trace->Samples(), buffer->data(), n);
  return buffer->data();
}
