// The summary of a trace list: sampling, time range, amplitude, the trace
// counts by TRID, the header word ranges and the display time units.
#include "section/SectionSummary.h"

namespace {
constexpr double kUnset = 1e37;

template <typename T>
void SeedRange(T (&range)[2], T v) {
  range[0] = v;
  range[1] = v;
}

// Below the minimum replaces it; otherwise above the maximum replaces that.
template <typename T>
void WidenRange(T (&range)[2], T v) {
  if (v < range[0])
    range[0] = v;
  else if (v > range[1])
    range[1] = v;
}

// Applies op(range, value) to every range of the trace.
template <typename Op>
void ForEachRange(HeaderRanges& r, const TraceRecord& t, Op op) {
  op(r.FLDR, static_cast<int64_t>(t.FLDR));
  op(r.CHAN, t.CHAN);
  op(r.NVS, static_cast<int32_t>(t.NVS));
  op(r.NHS, static_cast<int32_t>(t.NHS));
  op(r.CDP, t.CDP);
  op(r.CDPT, t.CDPT);
  op(r.ILINE, t.ILINE);
  op(r.XLINE, t.XLINE);
  op(r.ESP, t.ESP);
  op(r.SSTA, t.SSTA);
  op(r.RSTA, t.RSTA);
  op(r.OFF, t.OFF);
  op(r.SX, t.SX);
  op(r.SY, t.SY);
  op(r.RX, t.RX);
  op(r.RY, t.RY);
  op(r.CDPX, t.CDPX);
  op(r.CDPY, t.CDPY);
  op(r.SZ, t.SZ);
  op(r.RZ, t.RZ);
}

const char* AxisLabelFor(double factor) {
  if (factor == 1e9) return "ns";
  if (factor == 1e6) return "\u03bcs";
  if (factor == 1e3) return "ms";
  return "sec";
}

void SetTimeUnit(SectionSummary& s, int32_t code, double factor, const char* label) {
  s.timeUnitCode = code;
  s.timeFactor = factor;
  s.timeUnitLabel = label;
}

// Display and axis time units from the minimum interval and the time span:
// ns up to 0.1 us, us up to 20 us, ms above (and for no positive interval).
void ChooseTimeUnits(SectionSummary& s) {
  if (s.minInterval <= 0.0)
    SetTimeUnit(s, 1, 1000.0, "ms");
  else if (s.minInterval <= 1e-7)
    SetTimeUnit(s, 4, 1e9, "ns");
  else if (s.minInterval > 2e-5)
    SetTimeUnit(s, 1, 1000.0, "ms");
  else
    SetTimeUnit(s, 2, 1e6, "\u03bcs");
  s.axisTimeFactor = s.timeFactor;
  if ((s.maxTime - s.minTime) * s.timeFactor > 10000.0) s.axisTimeFactor /= 1000.0;
  s.axisTimeUnitLabel = AxisLabelFor(s.axisTimeFactor);
  s.distanceFactor = 1000.0;
  s.distanceUnitLabel = "m";
}
}  // namespace

bool IsSeismicTrid(int trid) {
  return trid == 1 || trid == 5 || (trid >= 11 && trid <= 17);
}

SectionSummary SummarizeTraces(std::span<TraceRecord* const> traces) {
  SectionSummary s;
  s.minInterval = kUnset;
  s.minTime = kUnset;
  s.maxTime = -kUnset;
  int32_t scanned = 0, timed = 0;
  for (const TraceRecord* t : traces) {
    if (!t) continue;
    if (scanned++ == 0) ForEachRange(s.ranges, *t, [](auto& r, auto v) { SeedRange(r, v); });
    if (IsSeismicTrid(t->TRID))
      ++s.seismicCount;
    else if (t->TRID == 0)
      ++s.unknownCount;
    if (t->NS > s.maxSamples) s.maxSamples = t->NS;
    if (t->DT > 0.0 && t->NS > 0) {
      if (t->DT < s.minInterval) s.minInterval = t->DT;
      double end = t->DELAY + (t->NS - 1) * t->DT;
      if (end > s.maxTime) s.maxTime = end;
      if (t->AMAX > s.maxAmplitude) s.maxAmplitude = t->AMAX;
      ++timed;
    } else if (t->DELAY > s.maxTime) {
      s.maxTime = t->DELAY;
    }
    if (t->DELAY < s.minTime) s.minTime = t->DELAY;
    ForEachRange(s.ranges, *t, [](auto& r, auto v) { WidenRange(r, v); });
  }
  if (scanned == 0) return SectionSummary{};
  if (timed == 0 && s.minInterval == kUnset) s.minInterval = 0.0;
  ChooseTimeUnits(s);
  return s;
}
