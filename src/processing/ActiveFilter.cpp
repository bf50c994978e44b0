#include "processing/ActiveFilter.h"

#include <cmath>

#include "log/Status.h"

IIRFilter& ActiveFilter() {
  static IIRFilter filter = [] {
    IIRFilter f = IIRFilterInit();
    DesignFilter(f);  // so that a run before the first load is the default low-pass, not a copy
    return f;
  }();
  return filter;
}

int UpdateFilterNyquist(IIRFilter& f, double sampleInterval) {
  if (!(sampleInterval > 0.0) || !std::isfinite(sampleInterval)) return kStatusRefused;
  f.Nyquist = 0.5 / sampleInterval;
  return DesignFilter(f);
}

int ActiveFilterDatasetLoaded(double sampleInterval) {
  return UpdateFilterNyquist(ActiveFilter(), sampleInterval);
}
