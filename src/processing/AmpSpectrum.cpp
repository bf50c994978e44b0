// Whole and range spectra: traces are cut into at most 16 fixed blocks, each
// accumulated in order by one thread into its own array, and the blocks are
// summed in order. The result does not depend on the team size, and the loop
// takes no lock; the arrays are allocated before the parallel region.
#include "processing/AmpSpectrum.h"

#include <omp.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <memory>

#include "log/Log.h"
#include "log/Status.h"
#include "processing/IIRFilter.h"
#include "section/SeismicSection.h"

namespace {
using Clock = std::chrono::steady_clock;

double Ms(Clock::time_point a, Clock::time_point b) {
  return std::chrono::duration<double, std::milli>(b - a).count();
}

struct FreeDeleter {
  void operator()(void* p) const { std::free(p); }
};
template <typename T>
using Buffer = std::unique_ptr<T[], FreeDeleter>;

template <typename T>
Buffer<T> Allocate(std::size_t count) {
  return Buffer<T>(static_cast<T*>(std::calloc(count > 0 ? count : 1, sizeof(T))));
}

// Sample window of a trace for [t0, t1] s: rounded half away from zero, limited to the trace.
void SampleWindow(const TraceRecord& tr, double t0, double t1, int64_t* s1, int64_t* s2) {
  int64_t last = tr.NS - 1;
  *s1 = std::clamp<int64_t>(std::llround((t0 - tr.DELAY) / tr.DT), 0, last);
  *s2 = std::clamp<int64_t>(std::llround((t1 - tr.DELAY) / tr.DT), 0, last);
}

bool ResizeSpectrum(std::vector<float>& v, std::size_t bins) {
  v.assign(bins, 0.0f);
  return v.size() == bins;
}
}  // namespace

int32_t SectionMaxSamples(const SeismicSection& s) {
  if (s.Summary().maxSamples > 0) return s.Summary().maxSamples;
  int32_t n = 0;
  for (int i = 0; i < s.Count(); ++i) n = std::max(n, s.Trace(i)->NS);
  return n;
}

double SectionMinInterval(const SeismicSection& s) {
  if (s.Summary().minInterval > 0.0) return s.Summary().minInterval;
  double dt = 0.0;
  for (int i = 0; i < s.Count(); ++i) {
    double d = s.Trace(i)->DT;
    if (d > 0.0 && (dt == 0.0 || d < dt)) dt = d;
  }
  return dt;
}

void AmpSpectrum::ChooseFrequencyUnit(double nyquist, double* factor, std::string* name) {
  if (nyquist >= 1e8) {
    *factor = 0.000001, *name = "MHz";
  } else if (nyquist >= 1e5) {
    *factor = 0.001, *name = "KHz";
  } else {
    *factor = 1.0, *name = "Hz";
  }
}

float AmpSpectrum::Peak(const std::vector<float>& spectrum) {
  float peak = -1e37f;
  for (float v : spectrum) peak = std::max(peak, v);
  return peak;
}

std::vector<CurvePoint> AmpSpectrum::BuildCurve(const std::vector<float>& spectrum, float peak, double df,
                                                bool db, float floor) {
  std::vector<CurvePoint> pts;
  if (!(peak > 0.0f)) return pts;
  pts.resize(spectrum.size());
  for (std::size_t i = 0; i < spectrum.size(); ++i) {
    float r = spectrum[i] / peak;
    float y = !db ? r : spectrum[i] == 0.0f ? floor : static_cast<float>(20.0 * std::log10(r));
    pts[i] = CurvePoint{static_cast<float>(static_cast<double>(i) * df), y};
  }
  return pts;
}

int AmpSpectrum::Initialize(int32_t maxSamples, double interval, const std::string& title,
                            const IIRFilter& filter) {
  if (!(interval > 0.0)) return kStatusRefused;
  int status = m_fft.Initialize(maxSamples);
  if (status == kStatusNoMemory) {
    Reset();
    LogPrint(LogError, "\n\nERROR: AmpSpectrumPlotter::Initialize() malloc failure\n");
    ConsoleRaise();
    return kStatusNoMemory;
  }
  if (status != 0) return status;
  for (auto& c : m_curves) c.points.clear();
  m_title = title;
  m_interval = interval;
  m_nyquist = 0.5 / interval;
  UpdatePassBand(filter);
  ChooseFrequencyUnit(m_nyquist, &m_unitFactor, &m_unitName);
  m_traceDirty = m_filteredDirty = m_rangeDirty = m_computeSection = true;
  m_initialized = true;
  return 0;
}

int AmpSpectrum::Initialize(const SeismicSection& s, const IIRFilter& filter) {
  return Initialize(SectionMaxSamples(s), SectionMinInterval(s), s.m_fileName, filter);
}

void AmpSpectrum::Reset() {
  m_fft.Free();
  for (auto& c : m_curves) c.points = {};
  m_traceSpec = {}, m_filteredSpec = {}, m_wholeSpec = {}, m_rangeSpec = {};
  m_rangeSet = false;
  m_currentTrace = -1;
  m_initialized = false;
  m_traceDirty = m_filteredDirty = m_rangeDirty = m_computeSection = true;
}

int AmpSpectrum::EnsureInitialized(const SeismicSection& s, const IIRFilter* filter, const char* message) {
  if (m_initialized) return 0;
  LogPrint(LogError, "%s", message);
  return Initialize(s, filter ? *filter : IIRFilter{});
}

void AmpSpectrum::UpdatePassBand(const IIRFilter& f) {
  double nyq = f.Nyquist, f1 = 0.0, f2 = 0.0;
  switch (f.passType) {
    case kLowPass:
      f1 = 0.0, f2 = f.lowPassCutoff * nyq;
      break;
    case kHighPass:
      f1 = f.highPassCutoff * nyq, f2 = nyq;
      break;
    case kBandPass:
      f1 = f.bandPassLow * nyq, f2 = f.bandPassHigh * nyq;
      break;
    case kNotch:
      f1 = (f.notchCentre - f.notchBandwidth / 2) * nyq;
      f2 = (f.notchCentre + f.notchBandwidth / 2) * nyq;
      break;
    default:
      m_curves[kPassBandCurve].points.clear();
      return;
  }
  m_curves[kPassBandCurve].points = {{static_cast<float>(f1), 1.0f}, {static_cast<float>(f2), 1.0f}};
  m_curves[kPassBandCurve].visible = true;
}

void AmpSpectrum::FilterChanged(const IIRFilter& filter) {
  UpdatePassBand(filter);
  m_filteredDirty = true;
}

int AmpSpectrum::SelectTrace(const SeismicSection& s, int index, const IIRFilter& filter, bool compute) {
  if (index < 0 || index >= s.Count()) return kStatusRefused;
  if (int st =
          EnsureInitialized(s, &filter, "AmpSpectrumPlotter NOT INITIALIZED (individual trace spectrum)"))
    return st;
  if (index != m_currentTrace) {
    m_currentTrace = index;
    m_traceDirty = m_filteredDirty = true;
    m_curves[kTraceCurve].points.clear();
    m_curves[kFilteredCurve].points.clear();
  }
  m_curves[kTraceCurve].visible = m_optTrace;
  m_curves[kFilteredCurve].visible = m_optFiltered;
  bool dirtyShown = (m_optTrace && m_traceDirty) || (m_optFiltered && (m_filteredDirty || m_traceDirty));
  if (compute && dirtyShown) return ComputeTraceSpectrum(s, index, filter);
  return 0;
}

void AmpSpectrum::ForgetTrace() {
  m_currentTrace = -1;
  m_traceDirty = m_filteredDirty = true;
  m_curves[kTraceCurve].points.clear();
  m_curves[kFilteredCurve].points.clear();
}

int AmpSpectrum::ComputeTraceSpectrum(const SeismicSection& s, int index, const IIRFilter& filter) {
  if (int st =
          EnsureInitialized(s, &filter, "AmpSpectrumPlotter NOT INITIALIZED (individual trace spectrum)"))
    return st;
  if (index < 0 || index >= s.Count()) {
    m_curves[kTraceCurve].points.clear();
    return kStatusRefused;
  }
  const TraceRecord& tr = *s.Trace(index);
  std::size_t bins = static_cast<std::size_t>(m_fft.N() / 2);
  std::vector<double> work(static_cast<std::size_t>(m_fft.N()));
  m_traceDf = tr.DT > 0.0 ? 1.0 / (m_fft.N() * tr.DT) : 0.0;
  if (m_traceDirty || index != m_currentTrace) {
    m_currentTrace = index;
    ResizeSpectrum(m_traceSpec, bins);
    m_fft.AccumulateSpectrum(tr.Samples(), tr.NS, work.data(), m_traceSpec.data(), 1.0);
    m_tracePeak = Peak(m_traceSpec);
    m_curves[kTraceCurve].points = BuildCurve(m_traceSpec, m_tracePeak, m_traceDf, m_optDb, m_dbFloor);
    m_traceDirty = false;
    m_filteredDirty = true;
  }
  if (m_filteredDirty && m_optFiltered) {
    std::vector<float> filtered(static_cast<std::size_t>(std::max(tr.NS, 1)));
    auto t0 = Clock::now();
    // Non-finite samples enter the filter as silence: one NaN would fill the whole output.
    std::vector<float> input(tr.Samples(), tr.Samples() + std::max(tr.NS, 0));
    for (float& v : input) v = std::isfinite(v) ? v : 0.0f;
    RunFilter(filter, input.data(), filtered.data(), tr.NS);
    auto t1 = Clock::now();
    LogPrint(LogError, "IIRfilter %d points in %.3lf ms", tr.NS, Ms(t0, t1));
    ResizeSpectrum(m_filteredSpec, bins);
    m_fft.AccumulateSpectrum(filtered.data(), tr.NS, work.data(), m_filteredSpec.data(), 1.0);
    LogPrint(LogError, "FFT %d points in %.3lf ms", m_fft.N(), Ms(t1, Clock::now()));
    m_curves[kFilteredCurve].points = BuildCurve(m_filteredSpec, m_tracePeak, m_traceDf, m_optDb, m_dbFloor);
    m_filteredDirty = false;
  }
  m_curves[kTraceCurve].visible = m_optTrace;
  m_curves[kFilteredCurve].visible = m_optFiltered;
  return 0;
}

int AmpSpectrum::AccumulateTraces(const SeismicSection& s, int first, int last, bool window, int numThreads,
                                  std::vector<float>* out) {
  auto tStart = Clock::now();
  int count = last - first + 1;
  int blocks = std::min(count, kMaxThreads);
  int team = std::max(1, std::min({count, numThreads, kMaxThreads}));
  int32_t n = m_fft.N();
  std::size_t bins = static_cast<std::size_t>(n / 2);
  LogPrint(LogStep,
           window ? "\nAmpSpectrum range of traces using %d threads"
                  : "\nAmpSpectrum whole section using %d threads",
           team);
  Buffer<float> acc = Allocate<float>(bins * static_cast<std::size_t>(blocks));
  Buffer<double> work = Allocate<double>(static_cast<std::size_t>(n) * static_cast<std::size_t>(team));
  if (!acc || !work || !ResizeSpectrum(*out, bins)) {
    LogPrint(
        LogError,
        window
            ? "\n\nERROR: AmpSpectrumPlotter::ComputeRangeSpectrum() thread local storage malloc failure\n"
            : "\n\nERROR: AmpSpectrumPlotter::ComputeWholeSpectrum() thread local storage malloc failure\n");
    return kStatusNoMemory;
  }
  auto tLoop = Clock::now();
  int used = 1;
  const double t0 = m_rangeT0, t1 = m_rangeT1;
#pragma omp parallel num_threads(team)
  {
    if (omp_get_thread_num() == 0) used = omp_get_num_threads();
    double* w = work.get() + static_cast<std::size_t>(n) * static_cast<std::size_t>(omp_get_thread_num());
#pragma omp for schedule(static)
    for (int b = 0; b < blocks; ++b) {
      float* a = acc.get() + bins * static_cast<std::size_t>(b);
      int from = first + static_cast<int>(static_cast<int64_t>(count) * b / blocks);
      int to = first + static_cast<int>(static_cast<int64_t>(count) * (b + 1) / blocks);
      for (int i = from; i < to; ++i) {
        const TraceRecord& tr = *s.Trace(i);
        if (tr.NS <= 0) continue;
        int64_t s1 = 0, s2 = tr.NS - 1;
        if (window && tr.DT > 0.0) SampleWindow(tr, t0, t1, &s1, &s2);
        m_fft.AccumulateSpectrum(tr.Samples() + s1, s2 - s1 + 1, w, a, tr.AMAX);
      }
    }
  }
  auto tSum = Clock::now();
  float* dst = out->data();
  for (int b = 0; b < blocks; ++b) {
    const float* a = acc.get() + bins * static_cast<std::size_t>(b);
    for (std::size_t k = 0; k < bins; ++k) dst[k] += a[k];
  }
  m_lastTeam = used;
  auto tEnd = Clock::now();
  LogPrint(LogError, "FFT Amp Spectrum %d tr x %d smp (N=%d) elapsed time = %.3lf ms", count,
           SectionMaxSamples(s), n, Ms(tLoop, tSum));
  LogPrint(LogError, "prepare  elapsed time = %.3lf ms", Ms(tStart, tLoop));
  LogPrint(LogError, "finalize elapsed time = %.3lf ms", Ms(tSum, tEnd));
  LogPrint(LogError, "total    elapsed time = %.3lf ms", Ms(tStart, tEnd));
  return 0;
}

int AmpSpectrum::ComputeWholeSpectrum(const SeismicSection& s, int numThreads) {
  if (int st = EnsureInitialized(s, nullptr, "AmpSpectrumPlotter NOT INITIALIZED (whole spectrum)"))
    return st;
  LogPrint(LogDebug, "ComputeWholeSpectrum() m_computeSection=%d", m_computeSection ? 1 : 0);
  if (m_computeSection && s.Count() > 0) {
    if (int st = AccumulateTraces(s, 0, s.Count() - 1, false, numThreads, &m_wholeSpec)) {
      m_curves[kWholeCurve].points.clear();
      return st;
    }
    m_wholePeak = Peak(m_wholeSpec);
    m_sectionDf = 1.0 / (m_fft.N() * m_interval);
    m_curves[kWholeCurve].points = BuildCurve(m_wholeSpec, m_wholePeak, m_sectionDf, m_optDb, m_dbFloor);
    m_computeSection = false;
  }
  m_curves[kWholeCurve].visible = m_optWhole;
  return 0;
}

int AmpSpectrum::ComputeRangeSpectrum(const SeismicSection& s, int numThreads) {
  if (int st = EnsureInitialized(s, nullptr, "NOT INITIALIZED 1")) return st;
  m_curves[kRangeCurve].visible = m_optRange;
  if (!m_optRange || !m_rangeDirty || !m_rangeSet || s.Count() == 0) return 0;
  int first = std::clamp(m_rangeFirst, 0, s.Count() - 1);
  int last = std::clamp(m_rangeLast, first, s.Count() - 1);
  if (int st = AccumulateTraces(s, first, last, true, numThreads, &m_rangeSpec)) {
    m_curves[kRangeCurve].points.clear();
    return st;
  }
  m_rangePeak = Peak(m_rangeSpec);
  m_sectionDf = 1.0 / (m_fft.N() * m_interval);
  m_curves[kRangeCurve].points = BuildCurve(m_rangeSpec, m_rangePeak, m_sectionDf, m_optDb, m_dbFloor);
  m_rangeDirty = false;
  return 0;
}

bool AmpSpectrum::SetRange(int first, int last, double t0, double t1) {
  if (m_rangeSet && first == m_rangeFirst && last == m_rangeLast && t0 == m_rangeT0 && t1 == m_rangeT1)
    return false;
  m_rangeSet = true;
  m_rangeFirst = first, m_rangeLast = last, m_rangeT0 = t0, m_rangeT1 = t1;
  m_rangeDirty = true;
  return true;
}

void AmpSpectrum::SetWholeOption(bool on) {
  m_optWhole = on;
  m_curves[kWholeCurve].visible = on;
}

void AmpSpectrum::SetRangeOption(bool on) {
  m_optRange = on;
  m_curves[kRangeCurve].visible = on;
}

void AmpSpectrum::SetDbOption(bool on) {
  m_optDb = on;
  RebuildCurves();
}

void AmpSpectrum::RebuildCurves() {
  auto rebuild = [&](int slot, const std::vector<float>& amp, float peak, double df, bool valid) {
    if (valid) m_curves[slot].points = BuildCurve(amp, peak, df, m_optDb, m_dbFloor);
  };
  rebuild(kWholeCurve, m_wholeSpec, m_wholePeak, m_sectionDf, !m_computeSection);
  rebuild(kRangeCurve, m_rangeSpec, m_rangePeak, m_sectionDf, !m_rangeDirty && !m_rangeSpec.empty());
  rebuild(kTraceCurve, m_traceSpec, m_tracePeak, m_traceDf, !m_traceDirty);
  rebuild(kFilteredCurve, m_filteredSpec, m_tracePeak, m_traceDf,
          !m_filteredDirty && !m_filteredSpec.empty());
}

std::string AmpSpectrum::CursorReadout(double frequencyHz, double amplitude) const {
  double f = std::clamp(frequencyHz, 0.0, m_nyquist) * m_unitFactor;
  double a = std::clamp(amplitude, YMin(), YMax());
  if (f == 0.0 || a == 0.0) return "";
  char buf[96];
  std::snprintf(buf, sizeof buf, "%7.1lf %s   Amp %5.3lf", f, m_unitName.c_str(), a);
  return buf;
}
