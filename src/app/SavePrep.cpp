#include "app/SavePrep.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "log/Status.h"
#include "section/SeismicSection.h"

namespace {
int32_t ClampI32(int64_t v) {
  return static_cast<int32_t>(std::clamp<int64_t>(v, INT_MIN + 1, INT_MAX));
}

void SetRange(IntRange& r, int64_t lo, int64_t hi) {
  r.from = ClampI32(lo);
  r.to = ClampI32(hi);
  if (r.step < 1) r.step = 1;
}

std::string Trim(const std::string& text, int maxChars) {
  std::size_t a = text.find_first_not_of(" \t");
  if (a == std::string::npos) return std::string();
  std::size_t b = text.find_last_not_of(" \t");
  std::string t = text.substr(a, b - a + 1);
  if (static_cast<int>(t.size()) > maxChars) t.resize(static_cast<std::size_t>(maxChars));
  return t;
}

bool OmitByCrop(const TraceRecord& r, int32_t position, const SaveParams& p, double xFrom, double xTo,
                double yFrom, double yTo) {
  switch (p.cropMode) {
    case kCropLines:
      return !RangeKeeps(r.XLINE, p.crossline) || !RangeKeeps(r.ILINE, p.inline_);
    case kCropCdpLine:
      return !RangeKeeps(r.CDP, p.cdp) || !RangeKeeps(r.ILINE, p.line);
    case kCropCdpCoord:
      return r.CDPX < xFrom || r.CDPX > xTo || r.CDPY < yFrom || r.CDPY > yTo;
    case kCropFfidChan:
      return !RangeKeeps(r.FLDR, p.ffid) || !RangeKeeps(r.CHAN, p.channel);
    case kCropTraceIndex:
      return !RangeKeeps(position, p.traceIndex, 1);
    default:
      return false;
  }
}
}  // namespace

void ResetSaveParamsFromSection(SaveParams& p, const SeismicSection& s) {
  const HeaderRanges& r = s.Summary().ranges;
  p.offsetLimit = std::max(std::fabs(r.OFF[0]), std::fabs(r.OFF[1]));
  p.timeStart = s.Summary().minTime * s.Summary().timeFactor;
  p.timeEnd = s.Summary().maxTime * s.Summary().timeFactor;
  p.cdpXFrom = r.CDPX[0], p.cdpXTo = r.CDPX[1];
  p.cdpYFrom = r.CDPY[0], p.cdpYTo = r.CDPY[1];
  SetRange(p.crossline, r.XLINE[0], r.XLINE[1]);
  SetRange(p.inline_, r.ILINE[0], r.ILINE[1]);
  SetRange(p.cdp, r.CDP[0], r.CDP[1]);
  SetRange(p.line, r.ILINE[0], r.ILINE[1]);
  SetRange(p.ffid, r.FLDR[0], r.FLDR[1]);
  SetRange(p.channel, r.CHAN[0], r.CHAN[1]);
  SetRange(p.traceIndex, 1, s.Count());
  p.timeUnit = s.Summary().timeUnitLabel;
  // The measurement system word (bytes 3255-3256) of the host-order binary header copy.
  int16_t units = 0;
  std::memcpy(&units, s.m_binaryHeader + 54, sizeof units);
  p.distanceUnit = units == 1 ? "meters" : units == 2 ? "feet" : "";
}

bool RangeKeeps(int64_t v, const IntRange& r, int32_t missingFrom) {
  int64_t from = r.from == kNotGiven ? missingFrom : r.from;
  int64_t to = r.to == kNotGiven ? INT_MAX : r.to;
  int64_t step = r.step < 1 ? 1 : r.step;
  return v >= from && v <= to && (from % step) == (v % step);
}

int32_t PrepareSaveSet(SeismicSection& s, const SaveParams& p) {
  const HeaderRanges& rg = s.Summary().ranges;
  double xFrom = p.cdpXFrom != 0.0 ? p.cdpXFrom : rg.CDPX[0];
  double xTo = p.cdpXTo != 0.0 ? p.cdpXTo : rg.CDPX[1];
  double yFrom = p.cdpYFrom != 0.0 ? p.cdpYFrom : rg.CDPY[0];
  double yTo = p.cdpYTo != 0.0 ? p.cdpYTo : rg.CDPY[1];
  int32_t kept = 0;
  for (int32_t i = 0; i < s.Count(); ++i) {
    TraceRecord* r = s.Trace(i);
    if (!r) continue;
    bool omit = p.offsetLimitOn && p.offsetLimit > 0.0f && std::fabs(r->OFF) > p.offsetLimit;
    if (!omit && p.traceCropOn) omit = OmitByCrop(*r, i + 1, p, xFrom, xTo, yFrom, yTo);
    r->OMIT = omit ? 1 : 0;
    if (!omit) ++kept;
  }
  return kept;
}

SaveOptions BuildSaveOptions(const SaveParams& p, const SeismicSection& s, const IIRFilter* filter) {
  SaveOptions o;
  double factor = s.Summary().timeFactor > 0.0 ? s.Summary().timeFactor : 1000.0;
  o.timeCrop = p.timeCropOn;
  o.t0 = p.timeStart != 0.0 ? p.timeStart / factor : s.Summary().minTime;
  o.t1 = p.timeEnd != 0.0 ? p.timeEnd / factor : s.Summary().maxTime;
  o.traceList = 0;
  o.filter = p.applyFilter ? filter : nullptr;
  o.revision = 1;
  o.flags = 0;
  return o;
}

int CheckSegyLimits(const SaveOptions& o, const SeismicSection& s, std::string* message) {
  double dt = s.Summary().minInterval;
  if (!(dt > 0.0)) return 0;
  // Without a time crop every sample of the section is written.
  double span = o.timeCrop && o.t1 > o.t0 ? o.t1 - o.t0 : s.Summary().maxTime - s.Summary().minTime;
  double f = std::trunc(span / dt);
  if (f + 1.0 > 65535.0) {
    *message = "TOO MANY SAMPLES, max is 65'535 with SU/SEG-Y <= rev 1 format";
    return kStatusRefused;
  }
  double us = std::trunc(dt * 1000000.0 + 0.499);
  if (std::fabs(dt * f - us * 1e-6 * f) > dt / 2.0) {
    *message =
        "SU/SEG-Y <= rev 1 format\nSampling interval cannot be converted\nto integer us with enough accuracy";
    return kStatusRefused;
  }
  return 0;
}

int CheckSeg2Limits(int32_t keptTraces, std::string* message) {
  if (keptTraces > 16383) {
    *message = "TOO MANY TRACES, max is 16'383 with SEG-2 format";
    return kStatusRefused;
  }
  return 0;
}

bool ParseIntField(const std::string& text, int maxChars, int32_t* value, std::string* validPrefix) {
  std::string t = Trim(text, maxChars);
  *validPrefix = t;
  if (t.empty()) {
    *value = kNotGiven;
    return true;
  }
  errno = 0;
  char* end = nullptr;
  long long v = std::strtoll(t.c_str(), &end, 10);
  std::size_t used = static_cast<std::size_t>(end - t.c_str());
  if (used == t.size() && errno == 0 && v > INT_MIN && v <= INT_MAX) {
    *value = static_cast<int32_t>(v);
    return true;
  }
  validPrefix->resize(used == t.size() ? 0 : used);
  return false;
}

bool ParseRealField(const std::string& text, int maxChars, double* value, std::string* validPrefix) {
  std::string t = Trim(text, maxChars);
  *validPrefix = t;
  if (t.empty()) {
    *value = 0.0;
    return true;
  }
  char* end = nullptr;
  double v = std::strtod(t.c_str(), &end);
  std::size_t used = static_cast<std::size_t>(end - t.c_str());
  if (used == t.size() && std::isfinite(v)) {
    *value = v;
    return true;
  }
  validPrefix->resize(used == t.size() ? 0 : used);
  return false;
}
