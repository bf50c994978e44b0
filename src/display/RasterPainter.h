// Drawing on a BackingStore with the results of a classic 2D device context:
// 1-pixel lines that leave out their end pixel (so closed shapes touch every
// pixel once, and XOR drawing is reversible), even-odd polygon fill with the
// outline in the line colour, unfilled rectangles, rectangular clipping,
// pixel inversion and text through a TextRenderer.
//
// Coordinates are raster pixels; any int32 value is accepted and clipped, and
// the work done is bounded by the clip area, never by the length of a line.
// Rectangles include left/top and exclude right/bottom. The clip is always
// inside the raster (stride × client height), whose size is read when the
// painter is made and at every SetClip/RemoveClip: make the painter after
// resizing. A painter belongs to one thread; keep one per thread when drawing
// in parallel. Status codes: 0, kStatusRefused
// nothing drawn (no text renderer), kStatusNoMemory scratch memory could not be grown.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "display/BackingStore.h"
#include "display/PixelPoint.h"
#include "display/PixelRect.h"
#include "display/TextRenderer.h"

enum class RasterOp { kCopy, kInvert };

class RasterPainter {
 public:
  explicit RasterPainter(BackingStore& store);

  // Restricts drawing to rect (intersected with the raster).
  void SetClip(const PixelRect& rect);
  // Drawing may touch the whole raster again.
  void RemoveClip();
  const PixelRect& Clip() const { return m_clip; }

  void SetLineIndex(uint8_t index) { m_lineIndex = index; }
  void SetFillIndex(uint8_t index) { m_fillIndex = index; }
  // Colours (0x00BBGGRR) map to the nearest palette entry.
  void SetLineColor(uint32_t colorref) { m_lineIndex = NearestIndex(colorref); }
  void SetFillColor(uint32_t colorref) { m_fillIndex = NearestIndex(colorref); }
  uint8_t LineIndex() const { return m_lineIndex; }
  uint8_t FillIndex() const { return m_fillIndex; }
  // Line width in pixels (1..32; wider lines stamp a round pen and always
  // copy, never invert).
  void SetPenWidth(int width);
  // kInvert flips every bit of the pixels that lines, frames, fills and
  // PutPixel touch (rubber bands: drawing the same shape twice restores the
  // raster). Text always copies.
  void SetRasterOp(RasterOp op) { m_op = op; }
  void SetTextRenderer(TextRenderer* renderer) { m_text = renderer; }

  // One byte, when inside the clip.
  void PutPixel(int32_t x, int32_t y, uint8_t index);
  // From (x0, y0) up to but not including (x1, y1), in the line colour.
  void Line(int32_t x0, int32_t y0, int32_t x1, int32_t y1);
  // Segments through count points; the last point itself is not drawn.
  void Polyline(const PixelPoint* points, int count);
  // Fills the inside (even-odd) in the fill colour, then outlines the closed
  // shape in the line colour (unless outline is false, for a caller that has
  // just drawn the same outline). Returns 0 or kStatusNoMemory.
  int Polygon(const PixelPoint* points, int count, bool outline = true);
  // Outline of rect in the line colour: columns left and right − 1, rows top
  // and bottom − 1, each pixel once.
  void FrameRect(const PixelRect& rect);
  // Every pixel of rect set to index (copy mode) or inverted.
  void FillRect(const PixelRect& rect, uint8_t index);

  TextExtent MeasureText(std::string_view text, const TextStyle& style);
  // Text with the top-left corner of its unrotated box at (x, y): pixels whose
  // coverage is at least one half take index. Returns 0 or kStatusRefused.
  int DrawText(int32_t x, int32_t y, std::string_view text, const TextStyle& style, uint8_t index);

 private:
  struct Edge {
    int64_t top;     // first row crossed
    int64_t bottom;  // first row no longer crossed
    double x0;       // x at y0
    double y0;
    double slope;  // dx / dy
  };

  uint8_t NearestIndex(uint32_t colorref) const;
  void Plot(int64_t x, int64_t y);
  void Stamp(int64_t x, int64_t y);
  void Span(int64_t y, int64_t x0, int64_t x1, uint8_t index, bool invert);
  void Segment(int64_t x0, int64_t y0, int64_t x1, int64_t y1);
  void SegmentInside(int64_t x0, int64_t y0, int64_t dx, int64_t dy, bool xMajor);
  int FillEvenOdd(const PixelPoint* points, int count);
  void OrderEdges(int64_t rowLo, int64_t rowHi);
  void FillRows(int64_t rowLo, int64_t rowHi);

  BackingStore& m_store;
  PixelRect m_bounds;
  PixelRect m_clip;
  uint8_t m_lineIndex = 0;
  uint8_t m_fillIndex = 0;
  int m_penWidth = 1;
  RasterOp m_op = RasterOp::kCopy;
  TextRenderer* m_text = nullptr;
  std::vector<Edge> m_edges;
  std::vector<uint32_t> m_order;     // edge indexes by first row
  std::vector<uint32_t> m_rowStart;  // start of each row's edges in m_order
  std::vector<uint32_t> m_slot;
  std::vector<const Edge*> m_active;
  std::vector<double> m_crossings;
  TextMask m_mask;
};
