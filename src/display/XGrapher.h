// The curve plotter: up to eight curves in numbered slots drawn into an 8-bit
// raster with axes, graduations and grid, and the mouse and key rules that pan
// and zoom it. No window: a widget forwards its events here and paints Store().
//
// Curves copy the points they are given; a y of exactly 0 marks a missing
// value (it breaks the line and stays out of the data range). The view range
// maps XL to the plot's left column and YU to its top row.
//
// User-interface thread only.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "display/BackingStore.h"
#include "display/Graduation.h"
#include "display/PixelRect.h"
#include "display/TextRenderer.h"
#include "processing/AmpSpectrum.h"

// Curve style bits.
inline constexpr int kCurveLine = 0x1;
inline constexpr int kCurveFillUnder = 0x100;
inline constexpr int kCurveFillBand = 0x200;  // any other value of 0xf00
inline constexpr int kCurveFillMask = 0xf00;

// Symbol flags.
inline constexpr int kSymbolPlus = 0x1;
inline constexpr int kSymbolCross = 0x2;
inline constexpr int kSymbolSquare = 0x10;
inline constexpr int kSymbolDiamond = 0x20;
inline constexpr int kSymbolCircle = 0x40;
inline constexpr int kSymbolFilled = 0x1000;

// Axis flags.
inline constexpr int kAxisBottom = 0x1;  // left for a y axis
inline constexpr int kAxisTop = 0x2;     // right for a y axis
inline constexpr int kAxisLabels = 0x100;
inline constexpr int kAxisGrid = 0x1000;

// Plotter style flags.
inline constexpr int kGraphClip = 0x1;
inline constexpr int kGraphTitleBand = 0x100;
inline constexpr int kGraphFrame = 0x10;

// Colour-table indexes with a fixed role.
inline constexpr uint8_t kGraphBandLight = 2;
inline constexpr uint8_t kGraphBandDark = 1;
inline constexpr uint8_t kGraphBackground = 20;
inline constexpr uint8_t kGraphAxis = 22;
inline constexpr uint8_t kGraphGrid = 23;
inline constexpr uint8_t kGraphFrameColor = 25;
inline constexpr uint8_t kGraphDarkPlot = 26;
inline constexpr int kGraphColors = 32;

struct CurveGraph {
  std::vector<CurvePoint> points;
  int first = 0;
  int last = -1;
  int yAxis = 0;
  bool visible = true;
  double xMin, xMax, yMin, yMax;  // DBLE_UNDEF until a point with y != 0 exists
  int style = kCurveLine;
  int lineWidth = 1;
  uint8_t lineColor = 1, fillColor = 2, symbolOutline = 1, symbolFill = 0;
  int symbolFlags = 0;
  int symbolSize = 7;

  // Takes the points and recomputes the data range.
  void SetPoints(std::span<const CurvePoint> pts);
  bool HasRange() const;
};

struct GraphAxis {
  int flags = 0;
  Graduation grad;
  double factor = 1.0;  // multiplies values for labels
  std::string name;     // unit (x) or title (y)
};

class XGrapher {
 public:
  static constexpr int kSlots = 8;
  static constexpr double kZoomFactor = 1.25;
  enum DragMode { kDragPan = 1, kDragZoom = 2 };
  enum ClickZoom { kClickZoomOff = 0, kClickZoomIn = 1, kClickZoomOut = 2 };
  enum Button { kLeft, kRight };

  // What an event asks of the widget and the owner.
  enum Result : uint32_t {
    kNone = 0,
    kRepaint = 0x1,      // the raster changed
    kMoved = 0x2,        // the mouse moved over the plot: MouseData() holds its data point
    kClicked = 0x4,      // a plain click at MouseData()
    kEscaped = 0x8,      // Escape: pan mode, click zoom off, full view
    kBeep = 0x10,        // refused
    kWarpCursor = 0x20,  // put the cursor at WarpTo() (on the clicked data point)
    kCursorShape = 0x40  // mode or click zoom changed
  };

  XGrapher();
  // Sizes the raster for the client area; text may be null (no labels). Returns 0 or kStatusNoMemory.
  int Create(int width, int height, TextRenderer* text);
  void SetMargins(int left, int top, int right, int bottom, int titleBand = 0);
  void SetStyle(int style) { m_style = style; }
  void SetTitle(const std::string& title) { m_title = title; }

  // Null for no points, a slot outside 0..7 or an occupied slot (logged).
  CurveGraph* PushCurve(int yAxis, int slot, std::span<const CurvePoint> points);
  // Refills a pushed curve; the data ranges follow.
  void SetCurvePoints(int slot, std::span<const CurvePoint> points);
  void SetCurveVisible(int slot, bool visible);
  void RemoveCurve(int slot);
  CurveGraph* Curve(int slot) {
    return Valid(slot) ? m_curves[static_cast<std::size_t>(slot)].get() : nullptr;
  }
  int CurveCount() const;

  void SetXAxis(int flags, int gradFlags, double target, double factor, const std::string& unit);
  void SetYAxis(int index, int flags, int gradFlags, double target, double factor, const std::string& title);
  // User and view range; with an outward graduation the view snaps to its ticks.
  void SetXRange(double xl, double xr);
  void SetYRange(int index, double yd, double yu);

  // New client size (plot at least 5 x 5) and redraw.
  int Layout(int width, int height);
  void Redraw();
  // Back to the user ranges (data ranges where none is set) and redraw.
  void ResetView();
  void SetDarkMode(bool dark);
  bool DarkMode() const { return m_dark; }

  void SetDragMode(int mode);
  void SetClickZoom(int state);
  int DragMode() const { return m_dragMode; }
  int ClickZoomState() const { return m_clickZoom; }

  uint32_t MouseDown(int x, int y, Button button);
  uint32_t MouseMove(int x, int y);
  uint32_t MouseUp(int x, int y, Button button);
  uint32_t ShiftKey(bool down);
  uint32_t EscapeKey();
  bool Dragging() const { return m_drag != kNoDrag; }

  // Zoom about a data point (x, y on axis 0) by 1.25, in or out.
  void ClickZoomAt(double x, double y, bool zoomIn);
  // Pans by a pixel motion, never past the limits in that direction.
  void PanPixels(int dx, int dy);
  // Zooms to a pixel rectangle (corners in any order).
  void ZoomToPixels(int x0, int y0, int x1, int y1);

  int PixelX(double x) const;
  int PixelY(double y, int axis = 0) const;
  double DataX(int px) const;
  double DataY(int py, int axis = 0) const;
  bool InPlot(int px, int py) const;

  double ViewXL() const { return m_viewXL; }
  double ViewXR() const { return m_viewXR; }
  double ViewYD(int axis = 0) const { return m_viewYD[axis]; }
  double ViewYU(int axis = 0) const { return m_viewYU[axis]; }
  const PixelRect& Plot() const { return m_plot; }
  const GraphAxis& XAxis() const { return m_xAxis; }
  const GraphAxis& YAxis(int axis = 0) const { return m_yAxis[axis]; }
  double MouseDataX() const { return m_mouseX; }
  double MouseDataY() const { return m_mouseY; }
  int WarpX() const { return m_warpX; }
  int WarpY() const { return m_warpY; }
  BackingStore& Store() { return m_store; }
  const BackingStore& Store() const { return m_store; }
  // Colour-table entry as 0x00BBGGRR.
  static uint32_t TableColor(int index);

 private:
  enum Drag { kNoDrag, kPress, kPanning, kRubber };
  static constexpr int kTick = 4;
  static constexpr int kDragThreshold = 3;

  bool Valid(int slot) const { return slot >= 0 && slot < kSlots; }
  void RecomputeDataRange();
  double LimitLo(int axis) const;  // axis -1: x
  double LimitHi(int axis) const;
  void EnsureViewRange();
  void DrawAxes(class RasterPainter& p);
  void DrawGrid();
  void DrawCurve(RasterPainter& p, const CurveGraph& c);
  void DrawSymbol(RasterPainter& p, const CurveGraph& c, int x, int y);
  void InvertRubber();
  void SetPalette();

  BackingStore m_store;
  TextRenderer* m_text = nullptr;
  TextStyle m_font;
  int m_style = kGraphClip;
  int m_clientW = 0, m_clientH = 0;
  int m_marginL = 32, m_marginT = 30, m_marginR = 45, m_marginB = 35, m_titleBand = 0;
  PixelRect m_plot;
  std::array<std::unique_ptr<CurveGraph>, kSlots> m_curves;
  double m_dataXmin, m_dataXmax;
  double m_dataYmin[2], m_dataYmax[2];
  double m_userXL, m_userXR;
  double m_userYD[2], m_userYU[2];
  double m_viewXL, m_viewXR;
  double m_viewYD[2], m_viewYU[2];
  GraphAxis m_xAxis;
  GraphAxis m_yAxis[2];
  std::string m_title;
  bool m_dark = false;
  int m_dragMode = kDragPan;
  int m_clickZoom = kClickZoomOff;
  Drag m_drag = kNoDrag;
  Button m_dragButton = kLeft;
  int m_downX = 0, m_downY = 0, m_lastX = 0, m_lastY = 0;
  bool m_rubberShown = false;
  int m_rubberX = 0, m_rubberY = 0;
  double m_mouseX = 0.0, m_mouseY = 0.0;
  int m_warpX = 0, m_warpY = 0;
};
