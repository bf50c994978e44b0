// The trace view without its window: geometry, the section it shows, display
// parameters, highlighted trace, selection, rubber band and focus line, and
// the redraw that composes the whole view into its BackingStore. The desktop
// widget forwards input to it and paints Store() as it is; kxtool and tests
// drive it directly.
//
// Redraw order: traces (wiggles or colour density, time lines, highlighted
// trace), header labels, time axis, rubber band or selection, focus line,
// header plot. Everything runs on the caller's thread except the
// colour-density passes, which use RenderSettings::displayThreads.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "display/AxisLayout.h"
#include "display/BackingStore.h"
#include "display/DisplayParams.h"
#include "display/FilteredTraceCache.h"
#include "display/HeaderLabels.h"
#include "display/HeaderPlot.h"
#include "display/TraceRendererInput.h"

struct SectionSummary;

class VTracePlotter {
 public:
  enum StyleFlag : int { kTimeAxis = 0x10000, kHeaderLabels = 0x20000 };
  static constexpr int kDpi = 150;
  // Sections of at most this many traces are shown whole, as wiggles, on load.
  static constexpr int kFitTraceCount = 24;

  // Application settings the drawing reads (the owner copies them in).
  struct RenderSettings {
    int wiggleMinIntertrace = 2;
    int evenSpacingBelow = 5;
    int displayThreads = 1;
  };

  // A selection in trace indexes and seconds.
  struct Selection {
    bool valid = false;
    int firstTrace = 0;
    int lastTrace = 0;
    double firstTime = 0.0;
    double lastTime = 0.0;
  };

  explicit VTracePlotter(int viewNumber = 1, int styleFlags = kTimeAxis | kHeaderLabels);

  // Measures the fonts, creates the raster and its palette, sizes it. text
  // must outlive the view (null: text is not drawn). Returns 0 or kStatusNoMemory.
  int Create(int clientWidth, int clientHeight, TextRenderer* text);
  // A new client size: lay out and redraw. Returns 0 or kStatusNoMemory (raster lost).
  // A page that a larger view moved back to keep it full returns to its old
  // first trace and start time when the view shrinks again, as long as
  // nothing else moved it meanwhile.
  int Resize(int clientWidth, int clientHeight);

  // Shows the traces from the first one and the summary's start time, scaled
  // by its amplitude; kStatusRefused when there are none. The list the span views must
  // stay put (no append, replace or reorder) until it is detached or attached
  // again; the summary is copied.
  int AttachTraces(std::span<TraceRecord* const> traces, const SectionSummary& summary);
  void DetachSection();
  // The view position after a load: the first trace at the start time, or
  // for a few traces wiggles fitted to the plot. Lays out afterwards.
  void ApplyLoadPosition();

  // Recomputes the plot rectangle and scales (and redraws when asked).
  // Returns 0, or kStatusNoMemory when the raster cannot be sized.
  int Layout(bool redraw);
  // Display parameters changed; a non-zero hint rebuilds the palette first.
  int DisplayChanged(int hint);
  void Redraw();

  DisplayParams& Params() { return m_params; }
  const DisplayParams& Params() const { return m_params; }
  BackingStore& Store() { return m_store; }
  const BackingStore& Store() const { return m_store; }
  const AxisLayout::Result& Geometry() const { return m_layout; }
  const AxisLayout::Metrics& Metrics() const { return m_metrics; }
  // The labels, values and names the last redraw wrote, each wholly inside
  // the raster.
  const std::vector<PlacedText>& PlacedTexts() const { return m_placed; }
  HeaderLabels& Labels() { return m_labels; }
  const HeaderLabels& Labels() const { return m_labels; }
  HeaderPlot& GetHeaderPlot() { return m_headerPlot; }
  const HeaderPlot& GetHeaderPlot() const { return m_headerPlot; }
  void SetRenderSettings(const RenderSettings& s) { m_settings = s; }
  // The filter applied with m_useFreqFilter (null: none); the owner keeps it alive.
  void SetFilter(const IIRFilter* filter) { m_filter = filter; }
  // The filtered copies kept between redraws (see FilteredTraceCache). A
  // redesign of the filter is noticed on the next redraw; samples changed in
  // place must be announced with ForgetFiltered.
  const FilteredTraceCache& Filtered() const { return m_filtered; }
  FilteredTraceCache& Filtered() { return m_filtered; }
  void ForgetFiltered() { m_filtered.Clear(); }

  // Traces shown: the whole section, or one ensemble in the ensemble view.
  int TraceCount() const { return m_count; }
  int AllTraceCount() const { return m_allCount; }
  int ShownFirst() const { return m_shownFirst; }
  // Shows count traces from first (clamped to the section); count <= 0 shows
  // them all. The caller lays out afterwards.
  void ShowTraces(int first, int count);
  // A shown trace (0 … TraceCount() − 1) or a trace of the whole section;
  // null when out of range.
  const TraceRecord* ShownTrace(int shown) const;
  const TraceRecord* SectionTrace(int absolute) const;
  int MaxSamples() const { return m_maxSamples; }
  double SectionStart() const { return m_sectionStart; }
  double SectionEnd() const { return m_sectionEnd; }
  double DisplayTimeFactor() const { return m_displayTimeFactor; }
  double BaseTimeFactor() const { return m_baseTimeFactor; }
  // Unit of times multiplied by the base time factor ("ms" by default).
  const std::string& TimeUnitLabel() const { return m_timeUnitLabel; }
  int TracesPerPage() const { return m_layout.tracesPerPage; }
  double VisibleSpan() const { return m_layout.visibleSpan; }
  PixelRect PlotRect() const;
  int ClientWidth() const { return m_clientWidth; }
  int ClientHeight() const { return m_clientHeight; }
  int BaseLeft() const { return m_baseLeft; }
  int BaseTop() const { return m_baseTop; }
  int ViewNumber() const { return m_viewNumber; }
  int ViewRole() const { return m_viewRole; }
  bool Focused() const { return m_focused; }
  // Cross-lines cursor colour (0x00BBGGRR, as the palette's) for a scheme
  // row, and the fill of the header-word popup box.
  static uint32_t CrossCursorColor(int schemeRow) { return schemeRow == 0 ? 0x577AB9u : 0x6FDB40u; }
  static constexpr uint32_t kPopupColor = 0x6FDB40u;
  int Highlighted() const { return m_highlighted; }
  void SetHighlighted(int trace);
  const Selection& GetSelection() const { return m_selection; }
  void SetSelection(const Selection& s) { m_selection = s; }
  // A rubber band being dragged (drawn instead of the selection); empty: none.
  void SetRubberBand(const PixelRect& corners) { m_rubberBand = corners; }
  void SetFocused(bool focused) { m_focused = focused; }
  // Focus gained or lost: the focus line is drawn into the raster in the
  // selection colour, or erased with the background.
  void ChangeFocus(bool focused);
  const PixelRect& RubberBand() const { return m_rubberBand; }
  void SetHeaderLabelsShown(bool shown) { m_showLabels = shown; }
  bool HeaderLabelsShown() const { return m_showLabels; }
  void SetLabelWords(const std::vector<int>& rows) { m_labels.SetWords(rows); }
  // Graduation step (0 auto), "Hgrad" and "Vgrad" settings 0..4.
  void SetLabelGraduation(int step, int hgrad, int vgrad);
  void SetHeaderPlot(const HeaderPlotSettings& settings);
  // Curve 0..2 shows catalogue word (-1 none), its range over the section.
  void ChooseHeaderPlotCurve(int curve, int word);
  void SetViewRole(int role) { m_viewRole = role; }

  // Trace under a client column, or -1; time under a client row (seconds).
  int TraceAtColumn(int x) const;
  double TimeAtRow(int y) const;
  // The inputs of the trace drawers for the current state.
  TraceRendererInput MakeRendererInput() const;

 private:
  // Where a resize moved a position from, while nothing else has moved it.
  template <typename T>
  struct ResizeAnchor {
    bool set = false;
    T wanted{};
    T moved{};
    // Before a resize: back to the wanted position if only resizes moved it.
    void Restore(T* value) {
      if (set && *value == moved) *value = wanted;
      set = false;
    }
    void Note(T wantedValue, T now) {
      set = now != wantedValue;
      wanted = wantedValue;
      moved = now;
    }
  };
  void ForgetResizeAnchors() {
    m_firstTraceAnchor = {};
    m_startTimeAnchor = {};
  }
  void DrawTraces(const TraceRendererInput& in);
  void DrawSelection(const TraceRendererInput& in);
  void DrawFocusLine(int colorIndex);

  int m_viewNumber;
  bool m_timeAxis;
  bool m_showLabels;
  int m_clientWidth = 0;
  int m_clientHeight = 0;
  int m_baseLeft = 0;
  int m_baseTop = 0;
  TextRenderer* m_text = nullptr;
  AxisLayout::Metrics m_metrics;
  AxisLayout::Result m_layout;
  DisplayParams m_params;
  BackingStore m_store;
  RenderSettings m_settings;
  const IIRFilter* m_filter = nullptr;
  FilteredTraceCache m_filtered;

  TraceRecord* const* m_allTraces = nullptr;
  int m_allCount = 0;
  int m_shownFirst = 0;
  TraceRecord* const* m_traces = nullptr;  // the traces shown
  int m_count = 0;
  int m_maxSamples = 0;
  double m_sectionStart = 0.0;
  double m_sectionEnd = 0.0;
  double m_normaliser = 0.0;
  double m_baseTimeFactor = 1000.0;
  double m_displayTimeFactor = 1000.0;
  std::string m_timeUnitLabel = "ms";
  int m_viewRole = 1;
  int m_vgrad = 2;

  int m_highlighted = -1;
  Selection m_selection;
  PixelRect m_rubberBand;
  bool m_focused = false;
  HeaderLabels m_labels;
  HeaderPlot m_headerPlot;
  std::vector<PlacedText> m_placed;
  ResizeAnchor<int32_t> m_firstTraceAnchor;
  ResizeAnchor<double> m_startTimeAnchor;
};
