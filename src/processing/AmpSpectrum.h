// The state and computations of the amplitude spectrum window, without the
// window: normalised amplitude spectra of the current trace, of the same trace
// after the active filter, of the whole section and of a range of traces in a
// time window, the pass-band marker of the active filter, and the five curves
// the curve plotter draws.
//
// The section and the filter are passed in by the caller (the workspace owns
// them). Spectra are float arrays of N/2 bins, N the FFT length for the
// section's largest sample count. The whole-section spectrum is computed once
// per dataset (cached until Reset/Initialize).
//
// Threads: all methods on one thread (the user-interface thread); the whole
// and range computations run OpenMP teams inside, which only read the section,
// the FFT tables and the filter.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "processing/FFTSG.h"

class SeismicSection;
struct IIRFilter;

struct CurvePoint {
  float x, y;
};

struct SpectrumCurve {
  std::vector<CurvePoint> points;
  bool visible = false;
};

class AmpSpectrum {
 public:
  enum CurveSlot {
    kPassBandCurve = 0,
    kWholeCurve = 1,
    kRangeCurve = 2,
    kTraceCurve = 3,
    kFilteredCurve = 4
  };
  static constexpr int kCurveCount = 5;
  static constexpr int kMaxThreads = 16;
  static constexpr float kDefaultDbFloor = -120.0f;

  // FFT tables for maxSamples, curves allocated, frequency unit chosen from the
  // Nyquist frequency 0.5 / interval, pass band from the filter, every
  // spectrum marked dirty. Returns 0, kStatusRefused (bad sizes) or kStatusNoMemory (allocation).
  int Initialize(int32_t maxSamples, double interval, const std::string& title, const IIRFilter& filter);
  // From a section: its largest sample count and smallest interval.
  int Initialize(const SeismicSection& s, const IIRFilter& filter);
  // Forgets the dataset: tables, curves and spectra freed, range and current
  // trace emptied, everything dirty. Before a load, a resampling or a shift.
  void Reset();
  bool IsInitialized() const { return m_initialized; }

  // Select trace: a new index makes the trace and filtered spectra dirty; the
  // shown curves are computed when `compute` (the window is visible). Returns
  // 0, kStatusRefused for an index outside the section, or the computation's status.
  int SelectTrace(const SeismicSection& s, int index, const IIRFilter& filter, bool compute);
  // The traces were reordered: the current trace's position names another
  // trace now, so none is current and its two curves are emptied.
  void ForgetTrace();
  int ComputeTraceSpectrum(const SeismicSection& s, int index, const IIRFilter& filter);
  // numThreads: the user's thread count; the team is min(traces, numThreads, 16).
  int ComputeWholeSpectrum(const SeismicSection& s, int numThreads);
  int ComputeRangeSpectrum(const SeismicSection& s, int numThreads);

  // The range (0-based traces, seconds); marks it dirty when it changed.
  // Returns true when it changed.
  bool SetRange(int first, int last, double t0, double t1);
  bool HasRange() const { return m_rangeSet; }
  int RangeFirst() const { return m_rangeFirst; }
  int RangeLast() const { return m_rangeLast; }
  double RangeStart() const { return m_rangeT0; }
  double RangeEnd() const { return m_rangeT1; }

  // Options. Setting Whole Section or Range only shows or hides the curve;
  // the caller computes (ComputeWholeSpectrum is free while cached).
  void SetCurrentTraceOption(bool on) { m_optTrace = on; }
  void SetFilteredOption(bool on) { m_optFiltered = on; }
  void SetWholeOption(bool on);
  void SetRangeOption(bool on);
  // dB scale: all four spectrum curves rebuilt from the stored spectra.
  void SetDbOption(bool on);
  bool CurrentTraceOption() const { return m_optTrace; }
  bool FilteredOption() const { return m_optFiltered; }
  bool WholeOption() const { return m_optWhole; }
  bool RangeOption() const { return m_optRange; }
  bool DbOption() const { return m_optDb; }
  float DbFloor() const { return m_dbFloor; }

  // The two-point pass-band curve at amplitude 1 for the filter's pass type.
  void UpdatePassBand(const IIRFilter& filter);
  // The active filter was redesigned: new pass band, filtered spectrum dirty
  // (the caller then selects the current trace again to recompute it).
  void FilterChanged(const IIRFilter& filter);

  const SpectrumCurve& Curve(int slot) const { return m_curves[slot]; }
  int CurrentTrace() const { return m_currentTrace; }
  int32_t N() const { return m_fft.N(); }
  double Nyquist() const { return m_nyquist; }
  bool WholeDirty() const { return m_computeSection; }
  const std::vector<float>& TraceSpectrum() const { return m_traceSpec; }
  const std::vector<float>& FilteredSpectrum() const { return m_filteredSpec; }
  const std::vector<float>& WholeSpectrum() const { return m_wholeSpec; }
  const std::vector<float>& RangeSpectrum() const { return m_rangeSpec; }
  float TracePeak() const { return m_tracePeak; }
  float WholePeak() const { return m_wholePeak; }
  float RangePeak() const { return m_rangePeak; }
  const std::string& Title() const { return m_title; }
  // Frequency unit for the axis and readout: factor from Hz and name.
  double UnitFactor() const { return m_unitFactor; }
  const std::string& UnitName() const { return m_unitName; }
  // y axis range: 0..1, or the dB floor..0.
  double YMin() const { return m_optDb ? m_dbFloor : 0.0; }
  double YMax() const { return m_optDb ? 0.0 : 1.0; }
  // Graduation target of the y axis: 5 intervals linear, int(0.5 - 0.05 * floor) in dB.
  int YTargetIntervals() const { return m_optDb ? static_cast<int>(0.5 - 0.05 * m_dbFloor) : 5; }
  // The plot's status text for the mouse at (frequency in Hz, amplitude):
  // "%7.1lf %s   Amp %5.3lf" in the chosen unit, each value limited to the
  // axis range; empty when either value is 0.
  std::string CursorReadout(double frequencyHz, double amplitude) const;
  // How many threads the last whole or range computation really ran.
  int LastTeamSize() const { return m_lastTeam; }

  // Curve of a spectrum: point i at (i * df, value / peak) or in dB
  // 20 log10(value / peak) with `floor` for a value of 0; empty when peak <= 0.
  static std::vector<CurvePoint> BuildCurve(const std::vector<float>& spectrum, float peak, double df,
                                            bool db, float floor);
  // "Hz" (1), "KHz" (0.001) or "MHz" (0.000001) for a Nyquist frequency in Hz.
  static void ChooseFrequencyUnit(double nyquist, double* factor, std::string* name);
  // Largest value of a spectrum, -1e37 when it has no bins.
  static float Peak(const std::vector<float>& spectrum);

 private:
  // Initializes for s when nobody did; the pass band then follows filter, or
  // shows none when the caller has no filter to give.
  int EnsureInitialized(const SeismicSection& s, const IIRFilter* filter, const char* what);
  int AccumulateTraces(const SeismicSection& s, int first, int last, bool window, int numThreads,
                       std::vector<float>* out);
  void RebuildCurves();

  FFTSG m_fft;
  bool m_initialized = false;
  bool m_optTrace = true, m_optFiltered = false, m_optWhole = false, m_optRange = false, m_optDb = false;
  float m_dbFloor = kDefaultDbFloor;
  int m_currentTrace = -1;
  bool m_rangeSet = false;
  int m_rangeFirst = 0, m_rangeLast = 0;
  double m_rangeT0 = 0.0, m_rangeT1 = 0.0;
  bool m_traceDirty = true, m_filteredDirty = true, m_rangeDirty = true, m_computeSection = true;
  std::vector<float> m_traceSpec, m_filteredSpec, m_wholeSpec, m_rangeSpec;
  float m_tracePeak = 0.0f, m_wholePeak = 0.0f, m_rangePeak = 0.0f;
  double m_traceDf = 0.0, m_sectionDf = 0.0;
  SpectrumCurve m_curves[kCurveCount];
  double m_nyquist = 0.0, m_interval = 0.0;
  double m_unitFactor = 1.0;
  std::string m_unitName = "Hz";
  std::string m_title;
  int m_lastTeam = 0;
};

// The section's largest sample count and smallest positive interval (from the
// scan summary, or from the traces when the summary is not filled in).
int32_t SectionMaxSamples(const SeismicSection& s);
double SectionMinInterval(const SeismicSection& s);
