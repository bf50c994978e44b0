#include "app/tools/AmpSpectrumPlotter.h"

#include <chrono>
#include <vector>

#include "app/tools/FilterFields.h"
#include "log/Log.h"
#include "log/Status.h"
#include "section/SeismicSection.h"

int AmpSpectrumPlotter::Create(int width, int height, TextRenderer* text) {
  m_graph.SetMargins(kMarginLeft, kMarginTop, kMarginRight, kMarginBottom, 0);
  m_graph.SetStyle(kGraphClip);
  return m_graph.Create(width, height, text);
}

int AmpSpectrumPlotter::Initialize(const SeismicSection& s, const IIRFilter& filter) {
  if (int st = m_spectrum.Initialize(s, filter); st != 0) return st;
  SetAxes();
  Sync();
  m_graph.ResetView();
  return 0;
}

void AmpSpectrumPlotter::Reset() {
  m_spectrum.Reset();
  m_fields = {};
  Sync();
}

void AmpSpectrumPlotter::SetAxes() {
  m_graph.SetXAxis(kAxisBottom | kAxisLabels | kAxisGrid, 0, 10, m_spectrum.UnitFactor(), m_spectrum.UnitName());
  m_graph.SetXRange(0.0, m_spectrum.Nyquist());
  const bool db = m_spectrum.DbOption();
  m_graph.SetYAxis(0, kAxisBottom | kAxisLabels | kAxisGrid, db ? 0 : kGraduationOutward,
                   m_spectrum.YTargetIntervals(), 1.0, db ? "dB" : "");
  m_graph.SetYRange(0, m_spectrum.YMin(), m_spectrum.YMax());
}

void AmpSpectrumPlotter::Sync() {
  const auto t0 = std::chrono::steady_clock::now();
  std::vector<CurvePoint> pts;
  for (int slot = 0; slot < AmpSpectrum::kCurveCount; ++slot) {
    const SpectrumCurve& c = m_spectrum.Curve(slot);
    pts = c.points;
    // In dB the peak is 0 dB, a value, not the plotter's missing-value mark.
    if (m_spectrum.DbOption() && slot != AmpSpectrum::kPassBandCurve)
      for (CurvePoint& p : pts)
        if (p.y == 0.0f) p.y = -1e-6f;
    CurveGraph* g = m_graph.Curve(slot);
    if (!g) {
      const CurvePoint none{0.0f, 0.0f};
      g = m_graph.PushCurve(0, slot, std::span(&none, 1));
      if (!g) continue;
      g->lineColor = kCurveColor[slot];
      if (slot == AmpSpectrum::kPassBandCurve) {
        g->style = kCurveFillBand;
        g->fillColor = m_dark ? kGraphBandDark : kGraphBandLight;
      }
    }
    m_graph.SetCurvePoints(slot, pts);
    m_graph.SetCurveVisible(slot, slot == AmpSpectrum::kPassBandCurve || c.visible);
  }
  m_graph.Redraw();
  LogPrint(LogInfo, "Spectrum plot drawn in %.3lf ms",
           std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count());
}

int AmpSpectrumPlotter::SelectTrace(const SeismicSection& s, int index, const IIRFilter& filter,
                                    bool compute) {
  int st = m_spectrum.SelectTrace(s, index, filter, compute);
  Sync();
  return st;
}

int AmpSpectrumPlotter::SetCurrentTrace(bool on, const SeismicSection& s, const IIRFilter& filter,
                                        bool compute) {
  m_spectrum.SetCurrentTraceOption(on);
  if (m_spectrum.CurrentTrace() < 0) return Sync(), 0;
  return SelectTrace(s, m_spectrum.CurrentTrace(), filter, compute);
}

int AmpSpectrumPlotter::SetFiltered(bool on, const SeismicSection& s, const IIRFilter& filter, bool compute) {
  m_spectrum.SetFilteredOption(on);
  if (m_spectrum.CurrentTrace() < 0) return Sync(), 0;
  return SelectTrace(s, m_spectrum.CurrentTrace(), filter, compute);
}

int AmpSpectrumPlotter::ComputeWhole(const SeismicSection& s, int threads) {
  const bool work = m_spectrum.WholeDirty();
  if (work && m_status) m_status("Computing Whole Section Spectrum");
  int st = m_spectrum.ComputeWholeSpectrum(s, threads);
  if (work && m_status) m_status("");
  Sync();
  return st;
}

int AmpSpectrumPlotter::ComputeRange(const SeismicSection& s, int threads) {
  if (m_status) m_status("computing Spectrum for defined range");
  int st = m_spectrum.ComputeRangeSpectrum(s, threads);
  if (m_status) m_status("");
  Sync();
  return st;
}

int AmpSpectrumPlotter::SetWhole(bool on, const SeismicSection& s, int threads) {
  m_spectrum.SetWholeOption(on);
  if (!on) return Sync(), 0;
  return ComputeWhole(s, threads);
}

int AmpSpectrumPlotter::RecomputeWhole(const SeismicSection& s, int threads) {
  return m_spectrum.WholeOption() ? ComputeWhole(s, threads) : 0;
}

int AmpSpectrumPlotter::SetRangeOption(bool on, const SeismicSection& s, int threads, bool* flash) {
  m_spectrum.SetRangeOption(on);
  *flash = false;
  if (!on) return Sync(), 0;
  return ApplyRangeFields(s, threads, flash);
}

int AmpSpectrumPlotter::ApplyRangeFields(const SeismicSection& s, int threads, bool* flash) {
  SpectrumRangeLimits limits{s.Count(), s.Summary().minTime, s.Summary().maxTime};
  SpectrumRangeValue v;
  if (ReadSpectrumRangeFields(m_fields, limits, m_spectrum.RangeOption(), &v, flash) != 0)
    return Sync(), kStatusRefused;
  m_spectrum.SetRange(v.first, v.last, v.t0, v.t1);
  return m_spectrum.RangeOption() ? ComputeRange(s, threads) : (Sync(), 0);
}

int AmpSpectrumPlotter::SetRangeFromView(const ViewSelection& sel, const SeismicSection& s, int threads,
                                         bool compute) {
  m_fields.firstTrace = std::to_string(sel.firstTrace + 1);
  m_fields.lastTrace = std::to_string(sel.lastTrace + 1);
  m_fields.startTime = FormatTrimmed(sel.firstTime, 3);
  m_fields.endTime = FormatTrimmed(sel.lastTime, 3);
  SpectrumRangeLimits limits{s.Count(), s.Summary().minTime, s.Summary().maxTime};
  SpectrumRangeValue v;
  bool flash = false;
  if (ReadSpectrumRangeFields(m_fields, limits, false, &v, &flash) != 0) return kStatusRefused;
  m_spectrum.SetRange(v.first, v.last, v.t0, v.t1);
  if (compute && m_spectrum.RangeOption()) return ComputeRange(s, threads);
  Sync();
  return 0;
}

void AmpSpectrumPlotter::SetDb(bool on) {
  m_spectrum.SetDbOption(on);
  if (m_spectrum.IsInitialized()) SetAxes();
  Sync();
  m_graph.ResetView();
}

void AmpSpectrumPlotter::SetDark(bool on) {
  m_dark = on;
  if (CurveGraph* band = m_graph.Curve(AmpSpectrum::kPassBandCurve))
    band->fillColor = on ? kGraphBandDark : kGraphBandLight;
  m_graph.SetDarkMode(on);
}

int AmpSpectrumPlotter::FilterChanged(const SeismicSection& s, const IIRFilter& filter, bool compute) {
  m_spectrum.FilterChanged(filter);
  if (m_spectrum.CurrentTrace() >= 0 && m_spectrum.FilteredOption())
    return SelectTrace(s, m_spectrum.CurrentTrace(), filter, compute);
  Sync();
  return 0;
}

std::string AmpSpectrumPlotter::Readout() const {
  if (!m_spectrum.IsInitialized()) return "";
  return m_spectrum.CursorReadout(m_graph.MouseDataX(), m_graph.MouseDataY());
}

std::string AmpSpectrumPlotter::TraceField() const {
  if (m_spectrum.CurrentTrace() < 0 || !(m_spectrum.CurrentTraceOption() || m_spectrum.FilteredOption())) return "";
  return std::to_string(m_spectrum.CurrentTrace() + 1);
}
