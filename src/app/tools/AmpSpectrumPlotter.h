// The " Amplitude Spectrum" window without the window: the spectra
// (AmpSpectrum), the curve plotter they are drawn by, the panel's options and
// range fields, and what the window does when the user or the workspace acts.
// The widget calls it and paints Graph().Store(); kxtool draws through it too.
//
// The section, the active filter and the thread count are parameters of every
// call that needs them. User-interface thread only; the whole and range
// spectra run OpenMP teams inside.
#pragma once

#include <functional>
#include <string>

#include "app/WorkspaceObserver.h"
#include "app/tools/SpectrumRangeFields.h"
#include "display/XGrapher.h"
#include "processing/AmpSpectrum.h"

class AmpSpectrumPlotter {
 public:
  // Margins of the spectrum's plot.
  static constexpr int kMarginLeft = 32, kMarginTop = 30, kMarginRight = 45, kMarginBottom = 35;
  // Colour-table indexes of the curves by slot (pass band, whole, range, trace, filtered).
  static constexpr uint8_t kCurveColor[AmpSpectrum::kCurveCount] = {2, 8, 12, 9, 10};

  // Called with a text before a long computation and with "" after it.
  using StatusHook = std::function<void(const std::string& text)>;

  // Raster for the client area; text may be null. Returns 0 or kStatusNoMemory.
  int Create(int width, int height, TextRenderer* text);
  void SetStatusHook(StatusHook hook) { m_status = std::move(hook); }

  // A new dataset: FFT tables, axes for its Nyquist frequency, the five curves.
  int Initialize(const SeismicSection& s, const IIRFilter& filter);
  // Forget the dataset (before a load, a resampling or a shift): curves and fields emptied.
  void Reset();
  bool IsInitialized() const { return m_spectrum.IsInitialized(); }

  // Trace spectra of index (computed when `compute`, i.e. the window shows).
  int SelectTrace(const SeismicSection& s, int index, const IIRFilter& filter, bool compute);
  // After a sort: no current trace, its curves and field emptied.
  void ForgetTrace() {
    m_spectrum.ForgetTrace();
    Sync();
  }
  // The panel's check boxes. Current Trace and Filtered select the current
  // trace again; Whole Section computes (once per dataset); Range reads the
  // fields and computes when they are valid (*flash: the panel should flash).
  int SetCurrentTrace(bool on, const SeismicSection& s, const IIRFilter& filter, bool compute);
  int SetFiltered(bool on, const SeismicSection& s, const IIRFilter& filter, bool compute);
  int SetWhole(bool on, const SeismicSection& s, int threads);
  int SetRangeOption(bool on, const SeismicSection& s, int threads, bool* flash);
  // Enter in the panel: the range fields read again and computed when changed.
  int ApplyRangeFields(const SeismicSection& s, int threads, bool* flash);
  // A selection in the main view becomes the range (fields rewritten); computed when Range is on.
  int SetRangeFromView(const ViewSelection& sel, const SeismicSection& s, int threads, bool compute);
  // The whole section again after a load or a change of the traces, when its option is on.
  int RecomputeWhole(const SeismicSection& s, int threads);
  // dB or linear: the y axis and the curves, without a new transform.
  void SetDb(bool on);
  void SetDark(bool on);
  // The active filter changed: new pass band, filtered curve recomputed when shown.
  int FilterChanged(const SeismicSection& s, const IIRFilter& filter, bool compute);
  void FullView() { m_graph.ResetView(); }

  // "%7.1lf %s   Amp %5.3lf" for the mouse's data point; "" off the data.
  std::string Readout() const;
  // The trace field: the current trace 1-based when Current Trace or Filtered is on.
  std::string TraceField() const;
  SpectrumRangeFields& Fields() { return m_fields; }
  XGrapher& Graph() { return m_graph; }
  const AmpSpectrum& Spectrum() const { return m_spectrum; }

 private:
  int ComputeWhole(const SeismicSection& s, int threads);
  int ComputeRange(const SeismicSection& s, int threads);
  void SetAxes();
  // Curves into the plotter slots, then redraw.
  void Sync();

  AmpSpectrum m_spectrum;
  XGrapher m_graph;
  SpectrumRangeFields m_fields;
  StatusHook m_status;
  bool m_dark = false;
};
