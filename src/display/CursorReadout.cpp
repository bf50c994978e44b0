// The status-strip text of a cursor report.
#include <cmath>
#include <cstdio>

#include "display/FieldText.h"
#include "display/TraceNavigator.h"

namespace {

std::string TimeText(double seconds, const VTracePlotter& plotter) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.3lf", seconds * plotter.BaseTimeFactor());
  std::string text = buf;
  TrimTrailingZeros(&text);
  return text;
}

// 0-based sample index at a time, or -1 outside the trace.
int SampleAt(const TraceRecord* t, double time) {
  if (t == nullptr || !(t->DT > 0.0)) return -1;
  double j = std::trunc((time - t->DELAY) / t->DT + 0.499);
  return j >= 0.0 && j < t->NS ? static_cast<int>(j) : -1;
}

}  // namespace

std::string CursorReadoutText(const CursorReport& report, const VTracePlotter& plotter) {
  const bool hasTrace = report.trace != CursorReport::kNoTrace;
  char buf[256];
  if (!report.HasTime()) {
    if (!hasTrace) return std::string();
    std::snprintf(buf, sizeof buf, "tr=%d", report.trace + 1);
    return buf;
  }
  const std::string time = TimeText(report.time, plotter);
  const char* unit = plotter.TimeUnitLabel().c_str();
  if (!hasTrace) {
    std::snprintf(buf, sizeof buf, "TIME = %s %s", time.c_str(), unit);
    return buf;
  }
  const TraceRecord* t = plotter.SectionTrace(report.trace);
  const int j = SampleAt(t, report.time);
  const double value = j >= 0 ? t->Samples()[j] : 0.0;
  std::snprintf(buf, sizeof buf, "tr=%d   smp=%d    TIME = %s %s    value=%G", report.trace + 1, j + 1,
                time.c_str(), unit, value);
  return buf;
}
