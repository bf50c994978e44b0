// The header plot: a band above the traces in which up to three header words
// are drawn as curves across the traces of the page (red, blue, green), with
// the scale of one of them and a legend of their names in the left margin.
// Each curve's range is taken over the whole section when it is chosen or a
// section is attached.
#pragma once

#include <vector>

#include "display/AxisLayout.h"
#include "display/BackingStore.h"
#include "display/HeaderPlotSettings.h"
#include "display/LabelLane.h"
#include "display/PixelRect.h"
#include "display/RasterPainter.h"
#include "display/TraceRendererInput.h"

class HeaderPlot {
 public:
  static constexpr int kCurves = 3;

  struct Curve {
    int word = -1;  // label table id, -1 none
    bool visible = false;
    double min = 0.0;
    double max = 0.0;
  };

  // The value a curve plots for a trace (|OFF| for the offset); false for
  // words that cannot be plotted.
  static bool CurveValue(int word, const TraceRecord* trace, double* value);
  // Row of a value inside a band of height h at top with vertical margin m.
  static int CurveRow(int top, int h, int margin, double min, double max, double value);

  // Settings from the "Header Plot" tab; a changed curve word is chosen anew.
  void SetSettings(const HeaderPlotSettings& settings, TraceRecord* const* traces, int count);
  const HeaderPlotSettings& Settings() const { return m_settings; }
  bool Shown() const { return m_settings.m_showPlot != 0; }

  // Chooses word (or -1 "None") for curve 0..2: the curve becomes visible and
  // its range is computed over the traces.
  void ChooseCurve(int curve, int word, TraceRecord* const* traces, int count);
  // Ranges of every chosen curve (a section was attached).
  void ComputeRanges(TraceRecord* const* traces, int count);
  void SetScaleCurve(int curve);
  void ToggleVisible(int curve);
  const Curve& GetCurve(int curve) const { return m_curves[curve]; }
  int ScaleCurve() const { return m_scaleCurve; }
  // Legend rectangles of the last Draw, for mouse hits (empty when not drawn).
  const PixelRect& LegendRect(int curve) const { return m_legend[curve]; }

  // The band at rows bandTop … bandTop + window height, over the plot columns.
  // Scale values and legend names stay inside the band; the texts written
  // are added to *placed when given.
  void Draw(BackingStore& store, const TraceRendererInput& in, const AxisLayout::Metrics& metrics,
            TextRenderer* text, int bandTop, std::vector<PlacedText>* placed = nullptr);

 private:
  void ComputeRange(Curve* curve, TraceRecord* const* traces, int count);
  void DrawScale(RasterPainter& painter, const TraceRendererInput& in, const AxisLayout::Metrics& m, int top,
                 std::vector<PlacedText>* placed);
  void DrawLegend(RasterPainter& painter, const AxisLayout::Metrics& m, int top,
                  std::vector<PlacedText>* placed);
  void DrawCurves(RasterPainter& painter, const TraceRendererInput& in, int top);

  HeaderPlotSettings m_settings;
  Curve m_curves[kCurves];
  int m_scaleCurve = 0;
  PixelRect m_legend[kCurves];
  std::vector<PixelPoint> m_points;
};
