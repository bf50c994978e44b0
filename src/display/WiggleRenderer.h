// Wiggle drawing: traces as 1-pixel lines about their zero line, with the
// positive or negative lobes filled, at the view's trace spacing or on an even
// grid (decimating) when traces are packed closer than the application's
// evenSpacingBelow. Also draws the highlighted trace over either display mode.
// Runs on the view's thread; writes DNORM of the traces it draws.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "display/BackingStore.h"
#include "display/PixelPoint.h"
#include "display/RasterPainter.h"
#include "display/TraceRendererInput.h"

class WiggleRenderer {
 public:
  // How one trace is drawn: amplitude scale a (pixels at the normaliser),
  // scheme entries of line and fill, fill mode, zero line, clip (percent of
  // half a trace spacing).
  struct TraceStyle {
    float amplitude = 0.0f;
    uint8_t line = 3;
    uint8_t fill = 4;
    int fillMode = 0;
    bool zeroLine = false;
    float clip = 1000.0f;
  };

  WiggleRenderer(BackingStore& store, const TraceRendererInput& in);

  // Every visible trace; then the highlighted one. Returns 0, or kStatusNoMemory when
  // the point buffer cannot be allocated (logged; nothing drawn).
  int DrawWiggleSection();
  // One trace n with its zero line at column x.
  void DrawWiggleTrace(int n, int x, const TraceStyle& style, const float* samples);
  // The highlighted trace: in colour mode a thin overlay wiggle, in wiggle
  // mode a trace in the highlight colours.
  void DrawHighlightedTrace();

  // Largest excursion in pixels for a clip of wiggleClip percent: at least
  // 1, at most 1000.
  static int ExcursionLimit(float wiggleClip, double pixPerTrace);
  // Integer spacing of wiggles: pixels per trace rounded, at least minSpacing.
  static int WiggleSpacing(double pixPerTrace, int minSpacing);

  // The traces DrawWiggleSection draws (the highlighted one included), in no
  // particular order; nothing is drawn.
  void CollectTraces(std::vector<int>* traces);

 private:
  int AllocatePoints();
  void DrawTraceWithColors(int n, int x, float amplitude);
  // Each trace the section's wiggles draw, in drawing order: visit(n, x).
  void VisitNormalSpacing(const std::function<void(int, int)>& visit);
  void VisitEvenSpacing(const std::function<void(int, int)>& visit);
  float Normaliser(const TraceRecord* trace, const float** samples);
  int CollectPoints(const TraceRecord* trace, int first, int x, float k, int limit, const float* samples);

  const TraceRendererInput& m_in;
  const DisplayParams& m_params;
  RasterPainter m_painter;
  std::vector<PixelPoint> m_points;
  std::vector<float> m_filterBuffer;
  std::vector<float> m_agcBuffer;
};
