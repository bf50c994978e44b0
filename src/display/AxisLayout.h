// The trace view's text metrics and layout: where the plot sits inside the
// client area (time axis on the left, header-word label rows and the header
// plot band above), how many traces fill a page, and the scale guards that
// keep the view scrollable. Pure arithmetic; the view calls it on every
// resize, scroll and parameter change.
#pragma once

#include <cstdint>

#include "display/DisplayParams.h"
#include "display/Graduation.h"
#include "display/TextRenderer.h"

class AxisLayout {
 public:
  // Fonts and sizes measured once per view.
  struct Metrics {
    int charHeight = 12;      // font cell height for the display dpi
    int textHeight = 12;      // measured height of a line
    int gap = 4;              // text height ÷ 3
    int labelRowHeight = 14;  // text height + 2
    int charWidth = 6;        // width of " 9999999999 " ÷ 11
    int timeAxisMargin = 80;  // that width + gap + 4
    TextStyle light;          // values
    TextStyle bold;           // names and the unit
    TextStyle rotated;        // header plot legend, reading bottom to top
  };

  struct Input {
    int clientWidth = 0;
    int clientHeight = 0;
    int baseLeft = 0;
    int baseTop = 0;
    bool timeAxis = true;
    bool headerLabels = true;
    int labelRows = 1;  // chosen header words
    bool headerPlot = false;
    int headerPlotHeight = 150;
    int traceCount = 0;
    int maxSamples = 0;
    double sectionStart = 0.0;  // s
    double sectionEnd = 0.0;    // s
    double displayTimeFactor = 1000.0;
    int vgrad = 2;  // 0..4
  };

  struct Result {
    int plotLeft = 0;
    int plotTop = 0;
    int plotWidth = 2;
    int plotHeight = 2;
    int tracesPerPage = 1;
    double visibleSpan = 0.0;         // s
    int64_t verticalScrollRange = 0;  // pixels of the whole section
    bool timeScaleChanged = false;    // the guard changed m_pixPerSec: refresh the panel field
    Graduation timeGraduation;        // display units
  };

  // Metrics of a display of dpi dots per inch measured with the renderer (a
  // null renderer keeps the defaults of 150 dpi block text).
  static Metrics MeasureMetrics(TextRenderer* text, int dpi);

  // Plot rectangle, page, scale guards and time graduation. Adjusts
  // m_firstTrace, m_pixPerSec and m_startTime in *params, and clears
  // *highlighted when it lies off the page.
  static Result Compute(const Input& in, const Metrics& metrics, DisplayParams* params, int* highlighted);

  // Scroll range of the section at a time scale: ceil(span × pixels per second).
  static double ScrollPixels(double span, double pixPerSec);
};
