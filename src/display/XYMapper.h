// The map plotter of the basemap: point sets (graphs) drawn with symbols and
// lines on the 8-bit raster, one scale for both axes, framed by graduated
// axes, with a status line at the bottom for the readout.
//
// Map coordinates are the trace headers' units, y growing upwards. The plotter
// keeps the shown range and the plot geometry; the graphs come in with every
// Draw (XYMapperInput) and are not kept. Status codes: 0, kStatusRefused
// (no raster or nothing to fit), kStatusNoMemory. User-interface thread only.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "display/BackingStore.h"
#include "display/PixelRect.h"
#include "display/TextRenderer.h"

// One point of a graph; tag is the trace index it came from (-1 none). A point
// whose x is DBLE_UNDEF is a gap: it is not drawn and breaks the line.
struct MapPoint {
  double x = 0.0;
  double y = 0.0;
  int32_t tag = -1;
};

enum class MapSymbol { kNone, kCircle, kPlus, kCross, kSquare, kDiamond };

// The map's palette entries (BuildMapPalette); entry 255 − i is the
// complement of entry i, so inverted rubber bands stay visible.
enum MapColorIndex : uint8_t {
  kMapBackground = 0,
  kMapInk = 1,  // axes, labels, status text
  kMapCdp = 2,
  kMapReceiver = 3,
  kMapSource = 4,
  kMapProfileInk = 5,
  kMapCdpFill = 6,
  kMapReceiverFill = 7,
  kMapSourceFill = 8,
  kMapStatusBack = 9,
  kMapGrid = 10,
};

struct XYGraph {
  std::vector<MapPoint> points;
  bool visible = true;
  int symbolSize = 5;  // pixels; half size = symbolSize / 2
  MapSymbol symbol = MapSymbol::kCircle;
  bool line = false;  // polyline through consecutive defined points
  bool fill = true;   // symbol interiors take fillIndex
  uint8_t lineIndex = kMapInk;
  uint8_t fillIndex = kMapInk;
};

struct MapRange {
  double xMin = 0.0, xMax = 0.0, yMin = 0.0, yMax = 0.0;
  bool Valid() const { return xMax > xMin && yMax > yMin; }
};

// The extent of the visible graphs' defined points; false when there are none.
bool GraphsExtent(const std::vector<const XYGraph*>& graphs, MapRange* extent);
// range widened by fraction of its width and height on every side, so that
// the symbols at a data extent's edges stay inside the plot.
MapRange WithMargin(const MapRange& range, double fraction);
inline constexpr double kMapExtentMargin = 0.02;

struct XYMapperInput {
  std::vector<const XYGraph*> graphs;  // drawn in order, later on top
  std::string status;                  // the readout line
  TextRenderer* text = nullptr;        // labels and status; none drawn without it
};

// The colours of the map in the raster's palette.
void BuildMapPalette(Palette& palette);

class XYMapper {
 public:
  static constexpr int kLeftMargin = 84;
  static constexpr int kRightMargin = 16;
  static constexpr int kTopMargin = 10;
  static constexpr int kBottomMargin = 28;  // x labels
  static constexpr int kStatusHeight = 18;
  static constexpr double kZoomFactor = 1.25;

  // Lays out the plot inside a client area of width × height pixels.
  void SetClientSize(int width, int height);
  const PixelRect& Plot() const { return m_plot; }
  int PlotWidth() const { return m_plot.right - m_plot.left; }
  int PlotHeight() const { return m_plot.bottom - m_plot.top; }

  // Shows range with one scale for both axes, centred (logs "FitMap(...)").
  // A range degenerate in one direction takes the other's scale; degenerate
  // in both (below 1e-15) it logs "\nINTERNAL ERROR\n" and returns
  // kStatusRefused with the shown range kept.
  int FitMap(const MapRange& range);
  const MapRange& Range() const { return m_range; }
  // Pixels per map unit (the same in x and y after a fit).
  double Scale() const;

  // Pixel of a map point (symbols: +0.5 rounding; lines: +0.4999).
  int32_t PixelX(double x, double round = 0.5) const;
  int32_t PixelY(double y, double round = 0.5) const;
  double MapX(int32_t px) const;
  double MapY(int32_t py) const;

  // Zooms about a map point by factor (> 1 in, < 1 out): the new range is
  // centred on it with half-widths (plot size × 0.5) ÷ (scale × factor).
  void ZoomAt(double x, double y, double factor);
  // Moves the map by a pixel drag, kept inside limit (when valid and larger
  // than the shown range in that direction).
  void Pan(int dxPixels, int dyPixels, const MapRange& limit);
  // Shows the pixel rectangle (corners in any order) when it is more than 3
  // pixels wide and high and at least 0.5 % of the shown range each way;
  // false when refused.
  bool ZoomToRect(int32_t x0, int32_t y0, int32_t x1, int32_t y1);

  // Clears the raster and draws the frame, axes, graphs and status line.
  int Draw(BackingStore& store, const XYMapperInput& in) const;
  // Redraws only the status line.
  void DrawStatus(BackingStore& store, const std::string& status, TextRenderer* text) const;
  // One graph on its own (Draw calls it for each visible graph).
  int DrawGraph(BackingStore& store, const XYGraph& graph) const;

 private:
  void DrawAxes(BackingStore& store, TextRenderer* text) const;
  void DrawSymbols(BackingStore& store, const XYGraph& graph) const;
  int DrawLines(BackingStore& store, const XYGraph& graph) const;

  PixelRect m_plot;
  int m_clientWidth = 0;
  int m_clientHeight = 0;
  MapRange m_range{0.0, 1.0, 0.0, 1.0};
};
