// Pieces of the Section Info text in display order. A piece is one line (or
// a line's lead-in) with its conversions filled in; a range line (label and
// pair) is one piece. Each piece is cut at 44 characters and the
// whole text stops at 1760.
#include "section/SectionInfo.h"

#include <cmath>
#include <cstdarg>
#include <cstdint>
#include <cstring>
#include <limits>

#include "log/Log.h"
#include "section/InfoFormat.h"
#include "section/SegyBytePositions.h"
#include "section/SeismicSection.h"
#include "section/Utf8Text.h"

namespace {
class InfoText {
 public:
  void Add(const char* format, ...) __attribute__((format(printf, 2, 3))) {
    va_list args;
    va_start(args, format);
    char buf[256];
    std::vsnprintf(buf, sizeof buf, format, args);
    va_end(args);
    Utf8AppendBounded(m_text, buf, kSectionInfoPieceChars, kSectionInfoMaxChars);
  }
  std::string Take() { return std::move(m_text); }

 private:
  std::string m_text;
};

int16_t HeaderI16(const SeismicSection& s, int pos) {
  int16_t v;
  std::memcpy(&v, s.m_binaryHeader + BinaryHeaderOffset(pos), sizeof v);
  return v;
}

int32_t HeaderI32(const SeismicSection& s, int pos) {
  int32_t v;
  std::memcpy(&v, s.m_binaryHeader + BinaryHeaderOffset(pos), sizeof v);
  return v;
}

// C's (int) conversion, saturated instead of undefined outside the int range.
int TruncToInt(double v) {
  if (std::isnan(v)) return 0;
  if (v >= 2147483647.0) return std::numeric_limits<int>::max();
  if (v <= -2147483648.0) return std::numeric_limits<int>::min();
  return static_cast<int>(v);
}

// One mapping a line, under each other: the pieces' bound would cut a list.
void AddHeaderMapLines(InfoText& t, const std::string& mapping) {
  const char* lead = "\n Header map   : ";
  for (std::size_t start = 0; start < mapping.size();) {
    std::size_t comma = mapping.find(", ", start);
    std::size_t end = comma == std::string::npos ? mapping.size() : comma;
    t.Add("%s%s", lead, mapping.substr(start, end - start).c_str());
    lead = "\n                ";
    start = comma == std::string::npos ? end : comma + 2;
  }
}

void AddFileLines(InfoText& t, const SeismicSection& s) {
  t.Add("\n\n");
  int major = s.m_binaryHeader[BinaryHeaderOffset(kBhRevisionMajor)];
  int minor = s.m_binaryHeader[BinaryHeaderOffset(kBhRevisionMinor)];
  switch (s.FileType()) {
    case kFileSegy:
      t.Add(" SEG-Y file rev %d.%d", major, minor);
      break;
    case kFileSu:
      t.Add(" SU file");
      break;
    case kFileSeg2:
      t.Add(" SEG-2 file rev %d", major);
      break;
    case kFileSegd:
      t.Add(" SEG-D file rev %d.%d", major, minor);
      break;
    case kFileQlmVms:
      t.Add(" QLM VMS file ver %d", major);
      break;
    default:
      break;
  }
  t.Add("\n\n Byte Order   : %s", s.ByteOrder() == kBigEndian ? "Big Endian" : "Little Endian");
  t.Add("\n Data Format  : %s", SampleFormatText(HeaderI16(s, kBhFormat)).c_str());
  t.Add("\n Meas System  : %s", MeasurementSystemText(HeaderI16(s, kBhMeasurementSystem)).c_str());
  AddHeaderMapLines(t, s.m_headerMapping);
}

void AddSummaryLines(InfoText& t, const SeismicSection& s) {
  t.Add("\n\n num traces   : %d", s.Count());
  t.Add("\n fixed len tr : %s", s.FixedLength() ? "YES" : "NO");
  t.Add("\n max samples  : %d", s.Summary().maxSamples);
  if (s.Summary().maxSamples <= 0) {
    t.Add("\n sampling dt  : unknown");
    t.Add("\n time min     : unknown");
    t.Add("\n time max     : unknown");
    return;
  }
  t.Add("\n min dt       : %s %s", ShortTime(s.Summary().minInterval, s.Summary().timeFactor).c_str(),
        s.Summary().timeUnitLabel.c_str());
  t.Add("\n time min     : %s %s", ShortTime(s.Summary().minTime, s.Summary().axisTimeFactor).c_str(),
        s.Summary().axisTimeUnitLabel.c_str());
  t.Add("\n time max     : %s %s", ShortTime(s.Summary().maxTime, s.Summary().axisTimeFactor).c_str(),
        s.Summary().axisTimeUnitLabel.c_str());
}

void AddBinaryHeaderLines(InfoText& t, const SeismicSection& s) {
  t.Add("\n\n Trace Sort   : %s", TraceSortingText(HeaderI16(s, kBhSorting)).c_str());
  t.Add("\n CDP fold     : %d", HeaderI32(s, kBhFold32));
  t.Add("\n num data tr  : %d", HeaderI32(s, kBhTracesPerRecord32));
  t.Add("\n num aux  tr  : %d", HeaderI32(s, kBhAuxTracesPerRecord32));
  int corr = HeaderI16(s, kBhCorrelated);
  t.Add("\n correlated   : %s", corr == 2 ? "YES" : corr == 1 ? "NO" : "");
  int sweep = HeaderI16(s, kBhSweepChannel);
  if (sweep > 0)
    t.Add("\n sweep chan   : %d", sweep);
  else
    t.Add("\n sweep chan   :");
  int gain = HeaderI16(s, kBhGainRecovered);
  t.Add("%s", gain == 1 ? "\n bin gain rcv : YES" : gain == 2 ? "\n bin gain rcv : NO" : "\n bin gain rcv :");
  int arm = HeaderI16(s, kBhAmplitudeRecovery);
  if (arm >= 0 && arm <= 4)
    t.Add("\n amp rcv meth : %s", AmplitudeRecoveryText(arm).c_str());
  else
    t.Add("\n amp rcv meth : %d", arm);
}

// Decimals of the X and Y pairs: 5 for decimal degrees on the first trace.
int CoordinatePrecision(const SeismicSection& s) {
  for (const TraceRecord* t : s.Traces())
    if (t) return t->CUNIT == 3 ? 5 : 1;
  return 1;
}

void AddRangeLines(InfoText& t, const SeismicSection& s) {
  const HeaderRanges& r = s.Summary().ranges;
  int p = CoordinatePrecision(s);
  t.Add("\n\n                  MIN  -      MAX");
  t.Add("\n fldr      : %9lld - %9lld", static_cast<long long>(r.FLDR[0]), static_cast<long long>(r.FLDR[1]));
  t.Add("\n fchan     : %9d - %9d", r.CHAN[0], r.CHAN[1]);
  t.Add("\n nvs       : %9d - %9d", r.NVS[0], r.NVS[1]);
  t.Add("\n nhs       : %9d - %9d", r.NHS[0], r.NHS[1]);
  t.Add("\n cdp       : %9d - %9d", r.CDP[0], r.CDP[1]);
  t.Add("\n ESP       : %9d - %9d", r.ESP[0], r.ESP[1]);
  t.Add("\n Src Point : %9d - %9d", TruncToInt(r.SSTA[0]), TruncToInt(r.SSTA[1] + 0.5));
  t.Add("\n Rcv Point : %9d - %9d", TruncToInt(r.RSTA[0]), TruncToInt(r.RSTA[1] + 0.5));
  t.Add("\n in-line   : %9d - %9d", r.ILINE[0], r.ILINE[1]);
  t.Add("\n cross-line: %9d - %9d", r.XLINE[0], r.XLINE[1]);
  t.Add("\n offset    : %9.1f - %9.1f", r.OFF[0], r.OFF[1]);
  t.Add("\n\n src X     : %9.*lf - %9.*lf", p, r.SX[0], p, r.SX[1]);
  t.Add("\n src Y     : %9.*lf - %9.*lf", p, r.SY[0], p, r.SY[1]);
  t.Add("\n src Z     : %9.1f - %9.1f", r.SZ[0], r.SZ[1]);
  t.Add("\n rcv X     : %9.*f - %9.*f", p, r.RX[0], p, r.RX[1]);
  t.Add("\n rcv Y     : %9.*f - %9.*f", p, r.RY[0], p, r.RY[1]);
  t.Add("\n rcv Z     : %9.1f - %9.1f", r.RZ[0], r.RZ[1]);
  t.Add("\n cdp X     : %9.*f - %9.*f", p, r.CDPX[0], p, r.CDPX[1]);
  t.Add("\n cdp Y     : %9.*f - %9.*f", p, r.CDPY[0], p, r.CDPY[1]);
}
}  // namespace

std::string SectionInfoText(const SeismicSection& section) {
  InfoText t;
  AddFileLines(t, section);
  AddSummaryLines(t, section);
  AddBinaryHeaderLines(t, section);
  AddRangeLines(t, section);
  return t.Take();
}

void BuildSectionInfo(SeismicSection& section) {
  section.m_sectionInfo = SectionInfoText(section);
}
