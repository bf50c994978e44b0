// What the trace view draws on the window over the presented raster and never
// into it: the zoom rectangle by pixel inversion, the cross-lines cursor and
// the header-word popup. Each is painted after the raster on every paint, so
// presenting the raster again erases it.
#pragma once

#include <QColor>
#include <QImage>
#include <QPoint>
#include <QRect>
#include <QVector>

#include "display/PixelRect.h"

class QPainter;
class TextRenderer;
class VTracePlotter;
struct HeaderWordPopup;

class TraceViewOverlay {
 public:
  static QColor FromColorref(uint32_t c) { return QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF); }

  // Inverts the outline of r (columns left and right − 1, rows top and
  // bottom − 1) on what the painter has drawn so far.
  static void InvertFrame(QPainter& painter, const PixelRect& r);

  // Cross lines through pos over the plot (a horizontal one when pos lies
  // below the plot top, a vertical one when right of the plot left, and one
  // through the header plot band when it is shown), thickness pixels wide.
  static void CrossLines(QPainter& painter, VTracePlotter& plotter, QPoint pos, int thickness);
  // The pixels those lines cover.
  static QVector<QRect> CrossLineRects(VTracePlotter& plotter, QPoint pos, int thickness);
  // True when pos lies over the plot rectangle (the pointer is hidden there
  // while the cross lines are on).
  static bool OverPlot(const VTracePlotter& plotter, QPoint pos);

  static QRect ToQRect(const PixelRect& r);
  // The header-word popup's pixels: its box filled with the popup colour and
  // its lines in the bold face in scheme entry 1, centred, one label row
  // each, rasterised as the view's own text is.
  static QImage RenderPopup(const HeaderWordPopup& popup, VTracePlotter& plotter, TextRenderer* text);
};
