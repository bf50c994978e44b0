#include "app/tools/SpectrumRangeFields.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "app/tools/FilterFields.h"
#include "log/Status.h"

namespace {
bool IsBlank(const std::string& s) {
  return std::all_of(s.begin(), s.end(), [](char c) { return c == ' ' || c == '\t'; });
}

// 1 read, 0 empty, -1 not a number (trace fields must be whole numbers).
int ReadField(const std::string& text, bool whole, double* v) {
  if (IsBlank(text)) return 0;
  if (ReadNumberField(text, v) != FieldRead::kNumber) return -1;
  if (whole && (*v != std::floor(*v) || std::fabs(*v) > 2147483647.0)) return -1;
  return 1;
}
}  // namespace

int ReadSpectrumRangeFields(SpectrumRangeFields& fields, const SpectrumRangeLimits& limits, bool rangeOn,
                            SpectrumRangeValue* out, bool* flash) {
  *flash = false;
  double v[4] = {0, 0, 0, 0};
  int got[4] = {ReadField(fields.firstTrace, true, &v[0]), ReadField(fields.lastTrace, true, &v[1]),
                ReadField(fields.startTime, false, &v[2]), ReadField(fields.endTime, false, &v[3])};
  if (std::find(got, got + 4, -1) != got + 4) {
    *flash = true;
    return kStatusRefused;
  }
  bool changed = false;
  bool tracesEmpty = !got[0] && !got[1], timesEmpty = !got[2] && !got[3];
  bool tracesFull = got[0] && got[1], timesFull = got[2] && got[3];
  if (tracesEmpty && timesFull) {
    v[0] = 1, v[1] = limits.traces, changed = true;
  } else if (timesEmpty && tracesFull) {
    v[2] = limits.firstTime, v[3] = limits.lastTime, changed = true;
  } else if (!(tracesFull && timesFull)) {
    *flash = rangeOn;
    return kStatusRefused;
  }
  if (v[0] > v[1]) std::swap(v[0], v[1]), changed = true;
  if (v[2] > v[3]) std::swap(v[2], v[3]), changed = true;
  for (int i = 0; i < 2; ++i) {
    double c = std::clamp(v[i], 1.0, static_cast<double>(std::max(limits.traces, 1)));
    double t = std::clamp(v[2 + i], limits.firstTime, std::max(limits.firstTime, limits.lastTime));
    changed = changed || c != v[i] || t != v[2 + i];
    v[i] = c, v[2 + i] = t;
  }
  if (changed) {
    fields.firstTrace = std::to_string(static_cast<long long>(v[0]));
    fields.lastTrace = std::to_string(static_cast<long long>(v[1]));
    fields.startTime = FormatTrimmed(v[2], 3);
    fields.endTime = FormatTrimmed(v[3], 3);
  }
  *out = SpectrumRangeValue{static_cast<int>(v[0]) - 1, static_cast<int>(v[1]) - 1, v[2], v[3]};
  return 0;
}
