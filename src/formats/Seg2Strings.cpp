#include "formats/Seg2Strings.h"

#include <strings.h>

#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "section/ByteOrder.h"
#include "section/TraceRecord.h"

namespace {
bool IsBlankOrControl(unsigned char c) {
  return c <= ' ';
}

// Keyword and value of one string's text.
bool SplitKeyword(std::string_view text, Seg2String* out) {
  std::size_t k = 0;
  while (k < text.size() && static_cast<unsigned char>(text[k]) > ' ') ++k;
  if (k == 0) return false;
  out->keyword.assign(text.substr(0, k));
  out->value.assign(k + 1 <= text.size() ? text.substr(k + 1) : std::string_view());
  return true;
}

std::string_view Trim(std::string_view v) {
  while (!v.empty() && (v.front() == ' ' || v.front() == '\t')) v.remove_prefix(1);
  while (!v.empty() && (v.back() == ' ' || v.back() == '\t')) v.remove_suffix(1);
  return v;
}

bool Equal(std::string_view a, const char* b) {
  std::size_t n = std::strlen(b);
  return a.size() == n && strncasecmp(a.data(), b, n) == 0;
}

int DayOfYear(int year, int month, int day) {
  static const int kBefore[12] = {0, 31, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334};
  bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
  return kBefore[month - 1] + day + (month > 2 && leap ? 1 : 0);
}

int MonthFromName(const char* name) {
  static const char* const kMonths[12] = {"JAN", "FEB", "MAR", "APR", "MAY", "JUN",
                                          "JUL", "AUG", "SEP", "OCT", "NOV", "DEC"};
  for (int i = 0; i < 12; ++i)
    if (strncasecmp(name, kMonths[i], 3) == 0) return i + 1;
  return 0;
}

// sscanf helpers on the NUL-terminated value.
bool ScanInt(const std::string& v, int32_t* out) {
  return std::sscanf(v.c_str(), "%d", out) == 1;
}
bool ScanReal(const std::string& v, double* out) {
  return std::sscanf(v.c_str(), "%lf", out) == 1;
}
bool ScanFloat(const std::string& v, float* out) {
  return std::sscanf(v.c_str(), "%f", out) == 1;
}
int16_t ClampI16(int32_t v) {
  return static_cast<int16_t>(v < -32768 ? -32768 : (v > 32767 ? 32767 : v));
}

// "%lf %lf %f": one or three values.
int ScanLocation(const std::string& v, double* x, double* y, float* z) {
  double a = 0, b = 0;
  float c = 0;
  int n = std::sscanf(v.c_str(), "%lf %lf %f", &a, &b, &c);
  if (n == 1) {
    *x = a;
    return 0;
  }
  if (n == 3) {
    *x = a, *y = b, *z = c;
    return 0;
  }
  return 1;
}

int ScanTwo(const std::string& v, float* a, float* b) {
  return std::sscanf(v.c_str(), "%f %f", a, b) >= 1 ? 0 : 1;
}

int TraceTypeCode(std::string_view v, TraceRecord* r) {
  v = Trim(v);
  if (Equal(v, "SEISMIC_DATA") || Equal(v, "RADAR_DATA")) return 1;
  if (Equal(v, "DEAD")) return 2;
  if (Equal(v, "TEST_DATA") || Equal(v, "DUMMY")) {
    r->DUSE = 2;
    return 3;
  }
  if (Equal(v, "UPHOLE")) return 5;
  if (Equal(v, "VSUM")) return 8192;
  if (Equal(v, "HSTACK")) return 8193;
  return 0;
}

int ApplyTiming(const Seg2String& s, TraceRecord* r, bool* matched) {
  *matched = true;
  double d = 0;
  const std::string& v = s.value;
  if (Seg2KeywordIs(s.keyword, "DELAY")) {
    bool ok = ScanReal(v, &d) && d >= -32.75 && d <= 32.75;
    r->DELAY = ok ? d : 0.0;
    return ok ? 0 : 1;
  }
  if (Seg2KeywordIs(s.keyword, "DESCALING_FACTOR")) {
    bool ok = ScanReal(v, &d) && d > 0.0;
    r->DESCAL = ok ? d : 1.0;
    return ok ? 0 : 1;
  }
  if (Seg2KeywordIs(s.keyword, "SAMPLE_INTERVAL")) {
    bool ok = ScanReal(v, &d) && d >= 1e-12 && d <= 1.0;
    r->DT = ok ? d : 0.0;
    return ok ? 0 : 1;
  }
  *matched = false;
  return 0;
}

int ApplyGeometry(const Seg2String& s, TraceRecord* r, bool* matched) {
  *matched = true;
  const std::string& v = s.value;
  if (Seg2KeywordIs(s.keyword, "RECEIVER_LOCATION")) return ScanLocation(v, &r->RX, &r->RY, &r->RZ);
  if (Seg2KeywordIs(s.keyword, "RECEIVER_DEPTH")) return ScanFloat(v, &r->RDEP) ? 0 : 1;
  if (Seg2KeywordIs(s.keyword, "SOURCE_LOCATION")) return ScanLocation(v, &r->SX, &r->SY, &r->SZ);
  if (Seg2KeywordIs(s.keyword, "SOURCE_DEPTH")) return ScanFloat(v, &r->SDEP) ? 0 : 1;
  if (Seg2KeywordIs(s.keyword, "TRACE_TYPE")) {
    r->TRID = static_cast<int16_t>(TraceTypeCode(v, r));
    return r->TRID == 0 ? 1 : 0;
  }
  if (Seg2KeywordIs(s.keyword, "SHOT_SEQUENCE_NUMBER")) {
    long long f = 0;
    bool ok = std::sscanf(v.c_str(), "%lld", &f) == 1;
    r->FLDR = ok ? f : 0;
    return ok ? 0 : 1;
  }
  *matched = false;
  return 0;
}

int ApplyDateTime(const Seg2String& s, TraceRecord* r, bool* matched) {
  *matched = true;
  if (Seg2KeywordIs(s.keyword, "ACQUISITION_DATE")) {
    Seg2Date d;
    bool ok = ParseSeg2Date(s.value, &d);
    r->YEAR = static_cast<int16_t>(d.year), r->DAY = static_cast<int16_t>(d.dayOfYear);
    r->MONTH = static_cast<uint8_t>(d.month), r->MDAY = static_cast<uint8_t>(d.day);
    return ok ? 0 : 1;
  }
  if (Seg2KeywordIs(s.keyword, "ACQUISITION_TIME")) {
    Seg2Time t;
    bool ok = ParseSeg2Time(s.value, &t);
    r->HOUR = static_cast<uint8_t>(t.hour), r->MINUTE = static_cast<uint8_t>(t.minute);
    r->SEC = static_cast<uint8_t>(t.second), r->NANO = t.nano;
    return ok ? 0 : 1;
  }
  if (Seg2KeywordIs(s.keyword, "UNITS")) {
    r->MSYS = static_cast<uint8_t>(Seg2UnitsCode(s.value));
    return r->MSYS == 0 ? 1 : 0;
  }
  *matched = false;
  return 0;
}

int ApplyInstrument(const Seg2String& s, TraceRecord* r, bool* matched) {
  *matched = true;
  const std::string& v = s.value;
  int32_t i = 0;
  if (Seg2KeywordIs(s.keyword, "FIXED_GAIN")) {
    bool ok = ScanInt(v, &i);
    if (ok) r->IGC = ClampI16(i);
    return ok ? 0 : 1;
  }
  if (Seg2KeywordIs(s.keyword, "ALIAS_FILTER")) return ScanTwo(v, &r->AAF, &r->AAS);
  if (Seg2KeywordIs(s.keyword, "LOW_CUT_FILTER")) return ScanTwo(v, &r->LCF, &r->LCS);
  if (Seg2KeywordIs(s.keyword, "HIGH_CUT_FILTER")) return ScanTwo(v, &r->HCF, &r->HCS);
  if (Seg2KeywordIs(s.keyword, "NOTCH_FREQUENCY")) return ScanFloat(v, &r->NOF) ? 0 : 1;
  if (Seg2KeywordIs(s.keyword, "STACK")) {
    bool ok = ScanInt(v, &i) && i >= 1 && i <= 32767;
    r->NVS = static_cast<int16_t>(ok ? i : 0);
    return ok ? 0 : 1;
  }
  *matched = false;
  return 0;
}

int ApplyNumbering(const Seg2String& s, TraceRecord* r, bool* matched) {
  *matched = true;
  const std::string& v = s.value;
  int32_t i = 0;
  if (Seg2KeywordIs(s.keyword, "RECEIVER_STATION_NUMBER")) return ScanReal(v, &r->RSTA) ? 0 : 1;
  if (Seg2KeywordIs(s.keyword, "SOURCE_STATION_NUMBER")) return ScanReal(v, &r->SSTA) ? 0 : 1;
  if (Seg2KeywordIs(s.keyword, "LINE_ID")) {
    if (!ScanInt(v, &i)) return 1;
    r->ILINE = i;
    return 0;
  }
  if (Seg2KeywordIs(s.keyword, "CDP_NUMBER")) {
    bool ok = ScanInt(v, &i);
    r->CDP = ok ? i : 0;
    if (ok) r->XLINE = i;
    return ok ? 0 : 1;
  }
  if (Seg2KeywordIs(s.keyword, "CDP_TRACE")) {
    bool ok = ScanInt(v, &i);
    r->CDPT = ok ? i : 0;
    return ok ? 0 : 1;
  }
  *matched = false;
  return 0;
}

int ApplyCorrections(const Seg2String& s, TraceRecord* r) {
  const std::string& v = s.value;
  int32_t i = 0;
  if (Seg2KeywordIs(s.keyword, "DATUM")) {
    double d = 0;
    if (!ScanReal(v, &d)) return 1;
    r->RZDAT = r->SZDAT = static_cast<float>(d);
    return 0;
  }
  if (Seg2KeywordIs(s.keyword, "STATIC_CORRECTIONS"))
    return std::sscanf(v.c_str(), "%f %f %f", &r->SSTAT, &r->RSTAT, &r->TSTAT) >= 1 ? 0 : 1;
  if (Seg2KeywordIs(s.keyword, "RECEIVER")) return 0;
  if (Seg2KeywordIs(s.keyword, "TRACE_SKIP")) {
    if (!ScanInt(v, &i)) return 1;
    r->TSKIP = i != 0 ? 1 : 0;
    return 0;
  }
  if (Seg2KeywordIs(s.keyword, "TRACE_STRIKE")) {
    std::string_view t = Trim(v);
    if (Equal(t, "UP"))
      r->SDIR = 0;
    else if (Equal(t, "DOWN"))
      r->SDIR = 1;
    else if (Equal(t, "PWAVE"))
      r->SDIR = 2;
    else
      return 1;
  }
  return 0;
}
}  // namespace

void ForEachSeg2String(const uint8_t* data, std::size_t len, bool bigEndian, char terminator,
                       const std::function<void(const Seg2String&)>& fn) {
  std::size_t pos = 0;
  Seg2String s;
  while (pos + 2 <= len) {
    std::size_t off = LoadWord<uint16_t>(data + pos, bigEndian);
    if (off == 0) break;
    std::size_t end = std::min(pos + off, len);
    if (off > 5 && pos + 2 < end && !IsBlankOrControl(data[pos + 2])) {
      std::string_view text(reinterpret_cast<const char*>(data + pos + 2), end - pos - 2);
      std::size_t stop = text.find('\0');
      if (terminator != '\0') stop = std::min(stop, text.find(terminator));
      if (stop != std::string_view::npos) text = text.substr(0, stop);
      if (SplitKeyword(text, &s)) fn(s);
    }
    pos += off;
  }
}

void ForEachSeg2Line(const uint8_t* data, std::size_t len, const std::function<void(const Seg2String&)>& fn) {
  std::size_t pos = 0;
  Seg2String s;
  while (len - pos >= 4) {
    while (pos < len && data[pos] < '!') ++pos;
    std::size_t end = pos;
    while (end < len && (data[end] >= ' ' || data[end] == '\t')) ++end;
    if (end - pos >= 2) {
      std::string_view text(reinterpret_cast<const char*>(data + pos), end - pos);
      if (SplitKeyword(text, &s)) fn(s);
    }
    if (end >= len) break;
    pos = end;
  }
}

void ForEachSeg2TraceString(const uint8_t* data, std::size_t len, bool bigEndian, char terminator,
                            const std::function<void(const Seg2String&)>& fn) {
  if (len >= 2 && LoadWord<uint16_t>(data, bigEndian) == 0) {
    ForEachSeg2Line(data + 2, len - 2, fn);
  } else {
    ForEachSeg2String(data, len, bigEndian, terminator, fn);
  }
}

bool ParseSeg2Date(std::string_view value, Seg2Date* date) {
  *date = Seg2Date{};
  std::string v(value.substr(0, 63));
  int d = 0, m = 0, y = 0;
  char name[4] = {};
  bool ok = std::sscanf(v.c_str(), "%d%*c%d%*c%d", &d, &m, &y) == 3;
  if (!ok && std::sscanf(v.c_str(), "%d%*c%3c%*c%d", &d, name, &y) == 3) {
    m = MonthFromName(name);
    ok = m != 0;
  }
  if (!ok || m < 1 || m > 12 || d < 1 || d > 31 || y < 0 || y > 9999) return false;
  *date = Seg2Date{y, DayOfYear(y, m, d), m, d};
  return true;
}

bool ParseSeg2Time(std::string_view value, Seg2Time* time) {
  *time = Seg2Time{};
  std::string v(value.substr(0, 63));
  int h = 0, m = 0;
  double s = 0;
  if (std::sscanf(v.c_str(), "%d%*c%d%*c%lf", &h, &m, &s) != 3) return false;
  if (h < 0 || h > 23 || m < 0 || m > 59 || !(s >= 0.0 && s < 61.0)) return false;
  int whole = static_cast<int>(s + 1e-10);
  time->hour = h, time->minute = m, time->second = whole;
  time->nano = static_cast<int32_t>((s - whole) * 1e9 + 1e-10);
  if (time->nano < 0) time->nano = 0;
  return true;
}

int Seg2TraceSortCode(std::string_view value) {
  std::string_view v = Trim(value);
  if (Equal(v, "AS_ACQUIRED")) return 1;
  if (Equal(v, "CDP_GATHER")) return 2;
  if (Equal(v, "CDP_STACK")) return 4;
  if (Equal(v, "COMMON_SOURCE")) return 5;
  if (Equal(v, "COMMON_RECEIVER")) return 6;
  if (Equal(v, "COMMON_OFFSET")) return 7;
  return 0;
}

int Seg2UnitsCode(std::string_view value) {
  std::string_view v = Trim(value);
  if (Equal(v, "METERS")) return 1;
  if (Equal(v, "FEET")) return 2;
  if (Equal(v, "CENTIMETERS")) return 3;
  if (Equal(v, "INCHES")) return 4;
  return 0;
}

bool Seg2KeywordIs(std::string_view keyword, std::string_view name) {
  return keyword.size() >= name.size() && strncasecmp(keyword.data(), name.data(), name.size()) == 0;
}

int ApplySeg2FileString(const Seg2String& s, Seg2FileInfo* info) {
  const std::string_view k = s.keyword;
  if (Seg2KeywordIs(k, "ACQUISITION_DATE")) return ParseSeg2Date(s.value, &info->date), 3;
  if (Seg2KeywordIs(k, "ACQUISITION_TIME")) return ParseSeg2Time(s.value, &info->time), 4;
  if (Seg2KeywordIs(k, "CLIENT")) return 5;
  if (Seg2KeywordIs(k, "COMPANY")) return 6;
  if (Seg2KeywordIs(k, "INSTRUMENT")) return 8;
  if (Seg2KeywordIs(k, "JOB_ID")) {
    int32_t id = 0;
    info->jobId = ScanInt(s.value, &id) ? id : 0;
    return 9;
  }
  if (Seg2KeywordIs(k, "OBSERVER")) return 10;
  if (Seg2KeywordIs(k, "PROCESSING_DATE")) return 11;
  if (Seg2KeywordIs(k, "PROCESSING_TIME")) return 12;
  if (Seg2KeywordIs(k, "TRACE_SORT")) return info->traceSort = Seg2TraceSortCode(s.value), 13;
  if (Seg2KeywordIs(k, "UNITS")) return info->units = Seg2UnitsCode(s.value), 14;
  return -1;
}

int ApplySeg2TraceString(const Seg2String& in, TraceRecord* r) {
  Seg2String s = in;
  if (!s.keyword.empty() && s.keyword[0] == '*') s.keyword.erase(0, 1);
  int32_t i = 0;
  if (Seg2KeywordIs(s.keyword, "CHANNEL_NUMBER")) {
    bool ok = ScanInt(s.value, &i);
    r->CHAN = ok ? i : 0;
    return ok ? 0 : 1;
  }
  bool matched = false;
  int bad = ApplyTiming(s, r, &matched);
  if (!matched) bad = ApplyGeometry(s, r, &matched);
  if (!matched) bad = ApplyDateTime(s, r, &matched);
  if (!matched) bad = ApplyInstrument(s, r, &matched);
  if (!matched) bad = ApplyNumbering(s, r, &matched);
  if (!matched) bad = ApplyCorrections(s, r);
  return bad;
}
