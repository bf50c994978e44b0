// The section scan: the summary (sampling, time range,
// amplitude), the trace counts by TRID, the header word ranges, the display
// time units and the Section Info text.
#include <chrono>

#include "log/Log.h"
#include "section/SectionInfo.h"
#include "section/SeismicSection.h"

namespace {
constexpr double kUnset = 1e37;

// TRID codes that count as seismic: 1, 5 and 11..17.
bool IsSeismicTrid(int trid) {
  return trid == 1 || trid == 5 || (trid >= 11 && trid <= 17);
}

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

void SetTimeUnit(SeismicSection& s, int32_t code, double factor, const char* label) {
  s.m_timeUnitCode = code;
  s.m_timeFactor = factor;
  s.m_timeUnitLabel = label;
}

// Display and axis time units from the minimum interval and the time span:
// ns up to 0.1 us, us up to 20 us, ms above (and for no positive interval).
void ChooseTimeUnits(SeismicSection& s) {
  if (s.m_minInterval <= 0.0)
    SetTimeUnit(s, 1, 1000.0, "ms");
  else if (s.m_minInterval <= 1e-7)
    SetTimeUnit(s, 4, 1e9, "ns");
  else if (s.m_minInterval > 2e-5)
    SetTimeUnit(s, 1, 1000.0, "ms");
  else
    SetTimeUnit(s, 2, 1e6, "\u03bcs");
  s.m_axisTimeFactor = s.m_timeFactor;
  if ((s.m_maxTime - s.m_minTime) * s.m_timeFactor > 10000.0) s.m_axisTimeFactor /= 1000.0;
  s.m_axisTimeUnitLabel = AxisLabelFor(s.m_axisTimeFactor);
  s.m_distanceFactor = 1000.0;
  s.m_distanceUnitLabel = "m";
}

// The summary of a section without traces.
void ClearSummary(SeismicSection& s) {
  s.m_ranges = {};
  s.m_sectionInfo = kEmptySectionInfo;
  s.m_maxSamples = 0;
  s.m_minInterval = 0.0;
  s.m_minTime = 0.0;
  s.m_maxTime = 0.0;
  s.m_maxAmplitude = 0.0f;
  SetTimeUnit(s, 1, 1000.0, "ms");
  s.m_axisTimeFactor = 1000.0;
  s.m_axisTimeUnitLabel = "ms";
  s.m_distanceFactor = 1000.0;
  s.m_distanceUnitLabel = "m";
}
}  // namespace

int SeismicSection::Scan() {
  auto start = std::chrono::steady_clock::now();
  m_minInterval = kUnset;
  m_minTime = kUnset;
  m_maxTime = -kUnset;
  m_maxSamples = 0;
  m_maxAmplitude = 0.0f;
  m_seismicCount = 0;
  m_unknownCount = 0;
  int32_t scanned = 0, timed = 0;
  for (int32_t i = 0; i < m_count; ++i) {
    TraceRecord* t = m_traces[i];
    if (!t) continue;
    if (scanned++ == 0) ForEachRange(m_ranges, *t, [](auto& r, auto v) { SeedRange(r, v); });
    if (IsSeismicTrid(t->TRID)) {
      t->SEIS = 1;
      ++m_seismicCount;
    } else {
      t->SEIS = 0;
      if (t->TRID == 0) ++m_unknownCount;
    }
    if (t->NS > m_maxSamples) m_maxSamples = t->NS;
    if (t->DT > 0.0 && t->NS > 0) {
      if (t->DT < m_minInterval) m_minInterval = t->DT;
      double end = t->DELAY + (t->NS - 1) * t->DT;
      if (end > m_maxTime) m_maxTime = end;
      if (t->AMAX > m_maxAmplitude) m_maxAmplitude = t->AMAX;
      ++timed;
    } else if (t->DELAY > m_maxTime) {
      m_maxTime = t->DELAY;
    }
    if (t->DELAY < m_minTime) m_minTime = t->DELAY;
    ForEachRange(m_ranges, *t, [](auto& r, auto v) { WidenRange(r, v); });
  }
  if (scanned > 0) {
    if (timed == 0 && m_minInterval == kUnset) m_minInterval = 0.0;
    ChooseTimeUnits(*this);
    BuildSectionInfo(*this);
  } else {
    ClearSummary(*this);
  }
  LogPrint(LogError, "traces seen as seismic     = %d", m_seismicCount);
  LogPrint(LogError, "traces seen as unknown     = %d", m_unknownCount);
  LogPrint(LogError, "traces seen as non seismic = %d", m_count - m_seismicCount - m_unknownCount);
  double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
  LogPrint(LogInfo, "Scan SectionInfo, %d traces in %.3lf ms", m_count, ms);
  return timed;
}
