// Value texts of the Trace Info rows.
#include "section/TraceInfo.h"

#include <string>

#include "log/Log.h"
#include "section/InfoFormat.h"
#include "section/SeismicSection.h"
#include "section/Utf8Text.h"

namespace {
class CellWriter {
 public:
  CellWriter(TraceInfoCells& cells, const SeismicSection& s) : m_cells(cells), m_section(s) {}

  void Set(int row, std::string text) { m_cells[row].assign(Utf8Prefix(text, kTraceInfoCellChars)); }
  void Clear(int row) { m_cells[row].clear(); }
  // "%d".
  void Int(int row, long long v) { Set(row, StrPrintf("%lld", v)); }
  // A time: shortened "%.6lf" of seconds x time factor, a blank and the unit.
  void Time(int row, double seconds) {
    Set(row, ShortTime(seconds, m_section.Summary().timeFactor) + " " + m_section.Summary().timeUnitLabel);
  }
  // A static or mute: "%.3f" of seconds x time factor, shortened, a blank and the unit.
  void Static(int row, float seconds) {
    std::string v = TrimTrailingZeros(StrPrintf("%.3f", seconds * m_section.Summary().timeFactor));
    Set(row, v + " " + m_section.Summary().timeUnitLabel);
  }
  // "%.0f" of seconds x time factor and the unit, empty when 0 (sweep length, tapers).
  void SweepTime(int row, float seconds) {
    if (seconds == 0.0f) return Clear(row);
    Set(row, StrPrintf("%.0f %s", seconds * m_section.Summary().timeFactor,
                       m_section.Summary().timeUnitLabel.c_str()));
  }
  // A value with one format, empty when 0 (filters, sweep frequencies).
  void NonZero(int row, const char* format, float v) {
    if (v == 0.0f) return Clear(row);
    Set(row, StrPrintf(format, static_cast<double>(v)));
  }

 private:
  TraceInfoCells& m_cells;
  const SeismicSection& m_section;
};

void FillIdentity(CellWriter& w, const TraceRecord& t) {
  w.Int(kLabelTrno, t.TRNO);
  w.Set(kLabelTrid, TraceIdText(t.TRID));
  w.Int(6, t.DTID);
  w.Int(7, t.NS);
  w.Time(8, t.DT);
  w.Time(9, t.DELAY);
  w.Set(10, StrPrintf("%lld", static_cast<long long>(t.FLDR)));
  w.Int(11, t.ESP);
  w.Int(12, t.CHAN);
  w.Int(13, t.CABLE);
  w.Int(14, t.NVS);
  w.Int(15, t.NHS);
  w.Set(16, StrPrintf("%.2f", static_cast<double>(t.OFF)));
  w.Int(17, t.CDP);
  w.Int(18, t.CDPT);
  w.Int(19, t.ILINE);
  w.Int(20, t.XLINE);
}

// Rows 21..37: coordinate units, stations, positions, elevations and depths.
void FillGeometry(CellWriter& w, const TraceRecord& t) {
  w.Set(21, CoordUnitText(t.CUNIT, t.MSYS));
  bool length = t.CUNIT == 1;
  int xyWidth = length ? 10 : 13, xyDecimals = length ? 2 : 8;
  int zWidth = length ? 10 : 7;
  auto xy = [&](int row, double v) { w.Set(row, StrPrintf("%*.*lf", xyWidth, xyDecimals, v)); };
  auto z = [&](int row, float v) { w.Set(row, StrPrintf("%*.2f", zWidth, static_cast<double>(v))); };
  auto station = [&](int row, double v) {
    if (v == 0.0) return w.Clear(row);
    w.Set(row, StrPrintf("%.2lf", v));
  };
  station(31, t.SSTA);
  xy(32, t.SX);
  xy(33, t.SY);
  z(34, t.SZ);
  z(35, t.SZDAT);
  z(36, t.SDEP);
  z(37, t.SWDEP);
  station(22, t.RSTA);
  xy(23, t.RX);
  xy(24, t.RY);
  z(25, t.RZ);
  z(26, t.RZDAT);
  z(27, t.RDEP);
  z(28, t.RWDEP);
  xy(29, t.CDPX);
  xy(30, t.CDPY);
}

// Rows 38..56: statics, velocities, acquisition codes and the date.
void FillAcquisition(CellWriter& w, const TraceRecord& t) {
  w.Static(40, t.SSTAT);
  w.Static(41, t.RSTAT);
  w.Static(42, t.TSTAT);
  w.Static(43, t.SUHT);
  w.Static(44, t.RUHT);
  w.Static(45, t.SMUTE);
  w.Static(46, t.EMUTE);
  w.Static(38, t.LAGA);
  w.Static(39, t.LAGB);
  std::string unit = VelocityUnitText(t.MSYS);
  auto velocity = [&](int row, float v) {
    if (v > 0.0f)
      w.Set(row, StrPrintf("%.0f %s", static_cast<double>(v), unit.c_str()));
    else
      w.Clear(row);
  };
  velocity(47, t.WVEL);
  velocity(48, t.SWVEL);
  w.Set(49, t.DUSE == 1 ? "production" : t.DUSE == 2 ? "test" : "");
  w.Set(50, t.CORR == 1 ? "NO" : t.CORR == 2 ? "YES" : "");
  w.Set(51, GainTypeText(t.IGT));
  w.Set(52, StrPrintf("%d dB", t.IGC));
  w.Set(53, StrPrintf("%d dB", t.IGI));
  w.Set(54, TimeBasisText(t.TBAS));
  if (t.YEAR != 0)
    w.Set(55, StrPrintf("%d-%02d-%02d", t.YEAR, t.MONTH, t.MDAY));
  else
    w.Clear(55);
  w.Int(56, t.DAY);
}

// Rows 57..73: time of day, source, sweep and filters.
void FillTimingAndFilters(CellWriter& w, const TraceRecord& t) {
  if (t.NANO != 0)
    w.Set(kLabelHms, StrPrintf("%d:%02d:%02d.%03d", t.HOUR, t.MINUTE, t.SEC, t.NANO / 1000000));
  else
    w.Set(kLabelHms, StrPrintf("%d:%02d:%02d", t.HOUR, t.MINUTE, t.SEC));
  w.Set(58, SourceTypeText(t.STYPOR));
  w.NonZero(59, "%.0f", t.SWFS);
  w.NonZero(60, "%.0f", t.SWFE);
  w.SweepTime(61, t.SWLEN);
  w.Set(62, SweepTypeText(t.SWTYP));
  w.SweepTime(63, t.TAPLS);
  w.SweepTime(64, t.TAPLE);
  w.Set(65, TaperTypeText(t.TAPTY));
  w.NonZero(66, "%.0f", t.AAF);
  w.NonZero(67, "%.1f", t.AAS);
  w.NonZero(68, "%.0f", t.NOF);
  w.NonZero(69, "%.1f", t.NOS);
  w.NonZero(70, "%.0f", t.LCF);
  w.NonZero(71, "%.1f", t.LCS);
  w.NonZero(72, "%.0f", t.HCF);
  w.NonZero(73, "%.1f", t.HCS);
}
}  // namespace

int BuildTraceInfo(const SeismicSection& section, int index, TraceInfoCells& cells) {
  CellWriter w(cells, section);
  w.Set(kLabelIdx, StrPrintf("tr idx %lld", static_cast<long long>(index) + 1));
  const TraceRecord* t = index >= 0 && index < section.Count() ? section.Trace(index) : nullptr;
  if (t) {
    FillIdentity(w, *t);
    FillGeometry(w, *t);
    FillAcquisition(w, *t);
    FillTimingAndFilters(w, *t);
  }
  return kHeaderLabelCount;
}
