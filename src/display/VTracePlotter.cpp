#include "display/VTracePlotter.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "display/ColorScheme.h"
#include "display/DisplayRules.h"
#include "display/RasterPainter.h"
#include "display/TimeAxis.h"
#include "display/TraceRenderer.h"
#include "log/Log.h"
#include "log/Status.h"
#include "section/SectionSummary.h"

namespace {

// Back to the whole-section scales when a section goes while one ensemble is
// shown, so the next section does not inherit an ensemble's zoom.
void LeaveEnsembleView(DisplayParams* p) {
  if (p->m_ensembleView == 0) return;
  SavedViewState& o = p->m_otherView;
  std::swap(o.pixPerSec, p->m_pixPerSec);
  std::swap(o.startTime, p->m_startTime);
  std::swap(o.pixPerTrace, p->m_pixPerTrace);
  std::swap(o.firstTrace, p->m_firstTrace);
  p->m_ensembleView = 0;
}

}  // namespace

VTracePlotter::VTracePlotter(int viewNumber, int styleFlags)
    : m_viewNumber(viewNumber),
      m_timeAxis((styleFlags & kTimeAxis) != 0),
      m_showLabels((styleFlags & kHeaderLabels) != 0) {}

int VTracePlotter::Create(int clientWidth, int clientHeight, TextRenderer* text) {
  m_text = text;
  m_metrics = AxisLayout::MeasureMetrics(text, kDpi);
  if (m_store.CreateBackingStore(kDpi, m_params) != 0) return kStatusNoMemory;
  return Resize(clientWidth, clientHeight);
}

// Growing at the end of the section moves the page back so that it stays
// full; shrinking again returns it to where it stood before, unless the view
// was scrolled or zoomed meanwhile. The first trace and the start time stay
// put otherwise.
int VTracePlotter::Resize(int clientWidth, int clientHeight) {
  m_clientWidth = std::max(clientWidth, 0);
  m_clientHeight = std::max(clientHeight, 0);
  m_firstTraceAnchor.Restore(&m_params.m_firstTrace);
  m_startTimeAnchor.Restore(&m_params.m_startTime);
  const int32_t wantedFirst = m_params.m_firstTrace;
  const double wantedStart = m_params.m_startTime;
  const int status = Layout(true);
  m_firstTraceAnchor.Note(wantedFirst, m_params.m_firstTrace);
  m_startTimeAnchor.Note(wantedStart, m_params.m_startTime);
  return status;
}

int VTracePlotter::AttachTraces(std::span<TraceRecord* const> traces, const SectionSummary& s) {
  if (traces.empty()) return kStatusRefused;
  m_filtered.Clear();
  m_allTraces = m_traces = traces.data();
  m_allCount = m_count = static_cast<int>(traces.size());
  m_shownFirst = 0;
  m_maxSamples = s.maxSamples;
  m_sectionStart = s.minTime;
  m_sectionEnd = s.maxTime;
  m_normaliser = s.maxAmplitude;
  m_baseTimeFactor = s.timeFactor > 0.0 ? s.timeFactor : 1000.0;
  m_displayTimeFactor = TimeAxis::DisplayFactor(m_baseTimeFactor, m_sectionStart, m_sectionEnd);
  m_timeUnitLabel = s.timeUnitLabel;
  m_highlighted = -1;
  m_selection = Selection{};
  m_rubberBand = PixelRect{};
  LeaveEnsembleView(&m_params);
  ForgetResizeAnchors();
  m_params.m_firstTrace = 0;
  m_params.m_startTime = m_sectionStart;
  m_params.m_otherView.startTime = m_sectionStart;
  m_params.m_timeUnitCode = s.timeUnitCode;
  m_params.m_timeUnitFactor = m_baseTimeFactor;
  m_headerPlot.ComputeRanges(m_traces, m_count);
  return 0;
}

void VTracePlotter::DetachSection() {
  m_filtered.Clear();
  m_allTraces = m_traces = nullptr;
  m_allCount = m_count = 0;
  m_shownFirst = 0;
  LeaveEnsembleView(&m_params);
  ForgetResizeAnchors();
  m_rubberBand = PixelRect{};
  m_maxSamples = 0;
  m_highlighted = -1;
  m_selection = Selection{};
}

void VTracePlotter::ApplyLoadPosition() {
  m_params.m_firstTrace = 0;
  m_params.m_startTime = m_sectionStart;
  if (m_count > kFitTraceCount) {
    Layout(false);
    return;
  }
  m_params.m_displayMode = kDisplayWiggle;
  m_store.BuildPalette(m_params);
  Layout(false);
  m_params.m_pixPerTrace = FitPixPerTrace(m_layout.plotWidth, m_count);
  m_params.m_pixPerSec = FitPixPerSec(m_layout.plotHeight, m_sectionStart, m_sectionEnd, m_maxSamples);
  m_params.m_startTime = m_sectionStart;
  Layout(false);
}

int VTracePlotter::Layout(bool redraw) {
  AxisLayout::Input in;
  in.clientWidth = m_clientWidth;
  in.clientHeight = m_clientHeight;
  in.baseLeft = m_baseLeft;
  in.baseTop = m_baseTop;
  in.timeAxis = m_timeAxis;
  in.headerLabels = m_showLabels;
  in.labelRows = static_cast<int>(m_labels.Words().size());
  in.headerPlot = m_headerPlot.Shown();
  in.headerPlotHeight = m_headerPlot.Settings().m_windowHeight;
  in.traceCount = m_count;
  in.maxSamples = m_maxSamples;
  in.sectionStart = m_sectionStart;
  in.sectionEnd = m_sectionEnd;
  in.displayTimeFactor = m_displayTimeFactor;
  in.vgrad = m_vgrad;
  m_layout = AxisLayout::Compute(in, m_metrics, &m_params, &m_highlighted);
  if (m_store.ResizeBackingStore(m_clientWidth, m_clientHeight, m_viewNumber) != 0) return kStatusNoMemory;
  if (redraw) Redraw();
  return 0;
}

int VTracePlotter::DisplayChanged(int hint) {
  if (hint != 0) m_store.BuildPalette(m_params);
  return Layout(true);
}

void VTracePlotter::ShowTraces(int first, int count) {
  if (m_allTraces == nullptr) return;
  if (count <= 0 || first < 0 || first >= m_allCount) {
    first = 0;
    count = m_allCount;
  }
  count = std::min(count, m_allCount - first);
  ForgetResizeAnchors();
  m_shownFirst = first;
  m_traces = m_allTraces + first;
  m_count = count;
  if (m_highlighted >= m_count) m_highlighted = -1;
}

const TraceRecord* VTracePlotter::ShownTrace(int shown) const {
  return shown >= 0 && shown < m_count ? m_traces[shown] : nullptr;
}

const TraceRecord* VTracePlotter::SectionTrace(int absolute) const {
  return absolute >= 0 && absolute < m_allCount ? m_allTraces[absolute] : nullptr;
}

PixelRect VTracePlotter::PlotRect() const {
  return {m_layout.plotLeft, m_layout.plotTop, m_layout.plotLeft + m_layout.plotWidth,
          m_layout.plotTop + m_layout.plotHeight};
}

void VTracePlotter::ChangeFocus(bool focused) {
  m_focused = focused;
  if (m_store.HasRaster()) DrawFocusLine(focused ? kSchemeSelection : kSchemeBackground);
}

void VTracePlotter::SetHighlighted(int trace) {
  m_highlighted = trace >= 0 && trace < m_count ? trace : -1;
}

void VTracePlotter::SetLabelGraduation(int step, int hgrad, int vgrad) {
  m_labels.SetGraduation(step, hgrad);
  m_vgrad = std::clamp(vgrad, 0, 4);
}

void VTracePlotter::SetHeaderPlot(const HeaderPlotSettings& settings) {
  m_headerPlot.SetSettings(settings, m_allTraces, m_allCount);
}

void VTracePlotter::ChooseHeaderPlotCurve(int curve, int word) {
  if (curve < 0 || curve >= HeaderPlot::kCurves) return;
  m_headerPlot.ChooseCurve(curve, word, m_allTraces, m_allCount);
}

int VTracePlotter::TraceAtColumn(int x) const {
  if (x < m_layout.plotLeft || x >= m_layout.plotLeft + m_layout.plotWidth) return -1;
  double n = std::floor((x - m_layout.plotLeft) / m_params.m_pixPerTrace) + m_params.m_firstTrace;
  return n >= 0.0 && n < m_count ? static_cast<int>(n) : -1;
}

double VTracePlotter::TimeAtRow(int y) const {
  return (y - m_layout.plotTop) / m_params.m_pixPerSec + m_params.m_startTime;
}

TraceRendererInput VTracePlotter::MakeRendererInput() const {
  TraceRendererInput in;
  in.clientWidth = m_clientWidth;
  in.clientHeight = m_clientHeight;
  in.plotLeft = m_layout.plotLeft;
  in.plotTop = m_layout.plotTop;
  in.plotWidth = m_layout.plotWidth;
  in.plotHeight = m_layout.plotHeight;
  in.traces = m_traces;
  in.count = m_count;
  in.maxSamples = m_maxSamples;
  in.sectionStart = m_sectionStart;
  in.sectionEnd = m_sectionEnd;
  in.normaliser = m_normaliser;
  in.highlighted = m_highlighted >= m_count ? m_count - 1 : m_highlighted;
  in.viewRole = m_viewRole;
  in.tracesPerPage = m_layout.tracesPerPage;
  in.timeGraduation = m_layout.timeGraduation;
  in.displayTimeFactor = m_displayTimeFactor;
  in.params = &m_params;
  in.filter = m_filter;
  in.wiggleMinIntertrace = m_settings.wiggleMinIntertrace;
  in.evenSpacingBelow = m_settings.evenSpacingBelow;
  in.displayThreads = m_settings.displayThreads;
  return in;
}

void VTracePlotter::Redraw() {
  m_placed.clear();
  if (!m_store.HasRaster()) return;
  m_store.Clear(kSchemeBackground);
  if (m_count <= 0 || m_traces == nullptr) return;
  TraceRendererInput in = MakeRendererInput();
  if (m_params.m_useFreqFilter && m_filter != nullptr && in.count > 0) {
    // Filter what this redraw shows in blocks on the view's team; the drawers
    // then only read the copies.
    m_filtered.Fill(*m_filter, in.traces, TraceRenderer::TracesDrawn(m_store, in), m_settings.displayThreads);
    in.filtered = &m_filtered;
  }
  if (TraceRenderer::DrawTraces(m_store, in) != 0) return;
  if (m_showLabels) m_labels.Draw(m_store, in, m_metrics, m_text, m_baseTimeFactor, &m_placed);
  if (m_timeAxis) TimeAxis::DrawTimeAxis(m_store, in, m_metrics, m_text, m_layout.visibleSpan, &m_placed);
  DrawSelection(in);
  if (m_focused) DrawFocusLine(kSchemeSelection);
  if (m_headerPlot.Shown()) m_headerPlot.Draw(m_store, in, m_metrics, m_text, m_baseTop, &m_placed);
}

// The rubber band while one is dragged, else the selection clipped to the plot.
void VTracePlotter::DrawSelection(const TraceRendererInput& in) {
  RasterPainter painter(m_store);
  painter.SetLineIndex(kSchemeSelection);
  if (!m_rubberBand.Empty()) {
    painter.FrameRect(m_rubberBand);
    return;
  }
  if (!m_selection.valid) return;
  const Selection& s = m_selection;
  const double ppt = m_params.m_pixPerTrace, first = m_params.m_firstTrace;
  PixelRect r{in.plotLeft + PixelTrunc((s.firstTrace - first) * ppt + 0.0001), in.TimeToRow(s.firstTime),
              in.plotLeft + PixelTrunc((s.lastTrace - first + 1.0) * ppt + 0.0001), in.TimeToRow(s.lastTime)};
  PixelRect plot{in.plotLeft, in.plotTop, in.plotLeft + in.plotWidth, in.plotTop + in.plotHeight};
  if (r.Intersect(plot).Empty()) return;
  painter.SetClip(plot);
  painter.FrameRect(r);
}

void VTracePlotter::DrawFocusLine(int colorIndex) {
  RasterPainter painter(m_store);
  painter.SetLineIndex(colorIndex);
  painter.Line(m_baseLeft, m_baseTop - 1, m_baseLeft, m_baseTop + m_clientHeight - 1);
}
