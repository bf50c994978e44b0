#include "display/RasterPainter.h"

#include <algorithm>
#include <cmath>
#include <new>

#include "log/Status.h"

RasterPainter::RasterPainter(BackingStore& store) : m_store(store) {
  RemoveClip();
}

void RasterPainter::RemoveClip() {
  m_bounds = m_store.HasRaster() ? PixelRect{0, 0, m_store.Stride(), m_store.ClientHeight()} : PixelRect{};
  m_clip = m_bounds;
}

void RasterPainter::SetClip(const PixelRect& rect) {
  RemoveClip();
  m_clip = m_bounds.Intersect(rect);
}

void RasterPainter::SetPenWidth(int width) {
  m_penWidth = std::clamp(width, 1, 32);
}

uint8_t RasterPainter::NearestIndex(uint32_t colorref) const {
  return m_store.HasDescription() ? static_cast<uint8_t>(m_store.GetPalette().NearestIndex(colorref)) : 0;
}

void RasterPainter::PutPixel(int32_t x, int32_t y, uint8_t index) {
  if (!m_clip.Contains(x, y)) return;
  uint8_t* p = m_store.Row(y) + x;
  *p = m_op == RasterOp::kInvert ? static_cast<uint8_t>(~*p) : index;
}

// One pixel of a line already known to lie inside the clip.
void RasterPainter::Plot(int64_t x, int64_t y) {
  uint8_t* p = m_store.Row(static_cast<int>(y)) + x;
  *p = m_op == RasterOp::kInvert ? static_cast<uint8_t>(~*p) : m_lineIndex;
}

// A round pen of m_penWidth pixels centred on (x, y): the pixels whose
// centres lie within the pen's circle.
void RasterPainter::Stamp(int64_t x, int64_t y) {
  int w = m_penWidth;
  double r = w * 0.5;
  int64_t x0 = x - (w - 1) / 2, y0 = y - (w - 1) / 2;
  for (int j = 0; j < w; ++j) {
    double dy = j + 0.5 - r;
    double half = std::sqrt(std::max(r * r - dy * dy, 0.0));
    int64_t first = static_cast<int64_t>(std::ceil(r - half - 0.5));
    int64_t last = static_cast<int64_t>(std::floor(r + half - 0.5));
    Span(y0 + j, x0 + first, x0 + last + 1, m_lineIndex, false);
  }
}

// Pixels [x0, x1) of row y, clipped.
void RasterPainter::Span(int64_t y, int64_t x0, int64_t x1, uint8_t index, bool invert) {
  if (y < m_clip.top || y >= m_clip.bottom) return;
  x0 = std::max<int64_t>(x0, m_clip.left);
  x1 = std::min<int64_t>(x1, m_clip.right);
  if (x0 >= x1) return;
  uint8_t* p = m_store.Row(static_cast<int>(y));
  if (invert) {
    for (int64_t x = x0; x < x1; ++x) p[x] = static_cast<uint8_t>(~p[x]);
  } else {
    std::fill(p + x0, p + x1, index);
  }
}

void RasterPainter::Line(int32_t x0, int32_t y0, int32_t x1, int32_t y1) {
  Segment(x0, y0, x1, y1);
}

void RasterPainter::Polyline(const PixelPoint* points, int count) {
  for (int i = 0; i + 1 < count; ++i) Segment(points[i].x, points[i].y, points[i + 1].x, points[i + 1].y);
}

// Steps along the major axis; the minor coordinate of step i is the start plus
// i × minor ÷ major rounded half up, computed directly for the first step
// inside the clip so that clipping never changes which pixels a line sets.
void RasterPainter::Segment(int64_t x0, int64_t y0, int64_t x1, int64_t y1) {
  if (m_clip.Empty()) return;
  int64_t dx = x1 - x0, dy = y1 - y0;
  if (dx == 0 && dy == 0) return;
  bool xMajor = std::llabs(dx) >= std::llabs(dy);
  if (m_penWidth == 1 && m_op == RasterOp::kCopy &&
      m_clip.Contains(static_cast<int32_t>(x0), static_cast<int32_t>(y0)) &&
      m_clip.Contains(static_cast<int32_t>(x1), static_cast<int32_t>(y1))) {
    return SegmentInside(x0, y0, dx, dy, xMajor);
  }
  int64_t a0 = xMajor ? x0 : y0, b0 = xMajor ? y0 : x0;
  int64_t da = xMajor ? dx : dy, db = xMajor ? dy : dx;
  int64_t sa = da > 0 ? 1 : -1, sb = db > 0 ? 1 : (db < 0 ? -1 : 0);
  int64_t n = std::llabs(da), m = std::llabs(db);
  bool wide = m_penWidth > 1;
  int64_t grow = wide ? (m_penWidth - 1) / 2 + 1 : 0;  // a wide pen reaches past the clip
  int64_t lo = (xMajor ? m_clip.left : m_clip.top) - grow,
          hi = (xMajor ? m_clip.right : m_clip.bottom) + grow;
  int64_t blo = (xMajor ? m_clip.top : m_clip.left) - grow,
          bhi = (xMajor ? m_clip.bottom : m_clip.right) + grow;
  int64_t first = sa > 0 ? std::max<int64_t>(0, lo - a0) : std::max<int64_t>(0, a0 - hi + 1);
  int64_t end = sa > 0 ? std::min<int64_t>(n, hi - a0) : std::min<int64_t>(n, a0 - lo + 1);
  if (first >= end) return;
  int64_t q = 0, r = n;
  if (first > 0) {
    // 128 bits: first and m may both approach 2^32.
    __int128 num = static_cast<__int128>(2) * first * m + n;
    q = static_cast<int64_t>(num / (2 * n));
    r = static_cast<int64_t>(num % (2 * n));
  }
  for (int64_t i = first; i < end; ++i) {
    int64_t a = a0 + sa * i, b = b0 + sb * q;
    // The minor coordinate only moves one way: once past the clip, stop.
    if ((sb >= 0 && b >= bhi) || (sb <= 0 && b < blo)) break;
    if (b >= blo && b < bhi) {
      int64_t x = xMajor ? a : b, y = xMajor ? b : a;
      if (wide) {
        Stamp(x, y);
      } else {
        Plot(x, y);
      }
    }
    r += 2 * m;
    if (r >= 2 * n) {
      ++q;
      r -= 2 * n;
    }
  }
}

// The common case of a line wholly inside the clip: the same pixels as
// Segment, stepping a pointer without per-pixel checks.
void RasterPainter::SegmentInside(int64_t x0, int64_t y0, int64_t dx, int64_t dy, bool xMajor) {
  int64_t stride = m_store.Stride();
  int64_t stepX = dx > 0 ? 1 : (dx < 0 ? -1 : 0), stepY = dy > 0 ? stride : (dy < 0 ? -stride : 0);
  int64_t stepMajor = xMajor ? stepX : stepY, stepMinor = xMajor ? stepY : stepX;
  int64_t n = xMajor ? std::llabs(dx) : std::llabs(dy), twoM = 2 * (xMajor ? std::llabs(dy) : std::llabs(dx));
  uint8_t* p = m_store.Row(static_cast<int>(y0)) + x0;
  uint8_t index = m_lineIndex;
  for (int64_t i = 0, r = n; i < n; ++i) {
    *p = index;
    p += stepMajor;
    r += twoM;
    if (r >= 2 * n) {
      r -= 2 * n;
      p += stepMinor;
    }
  }
}

int RasterPainter::Polygon(const PixelPoint* points, int count, bool outline) {
  if (count < 2) return 0;
  int status = FillEvenOdd(points, count);
  if (!outline) return status;
  Polyline(points, count);
  Segment(points[count - 1].x, points[count - 1].y, points[0].x, points[0].y);
  return status;
}

// Scanline fill sampling pixel centres: a row crosses an edge when it lies in
// [top, bottom) of the edge, and a pixel is inside when its column lies in
// [ceil(xa), ceil(xb)) of a crossing pair. Edges are bucketed by their first
// visible row and only the ones crossing the current row are looked at, so
// long polylines (wiggles) fill in time proportional to their size.
int RasterPainter::FillEvenOdd(const PixelPoint* points, int count) {
  if (m_clip.Empty() || count < 3) return 0;
  try {
    m_edges.clear();
    int64_t rowLo = INT64_MAX, rowHi = INT64_MIN;
    for (int i = 0; i < count; ++i) {
      const PixelPoint& a = points[i];
      const PixelPoint& b = points[i + 1 < count ? i + 1 : 0];
      if (a.y == b.y) continue;
      const PixelPoint& lo = a.y < b.y ? a : b;
      const PixelPoint& hi = a.y < b.y ? b : a;
      if (hi.y <= m_clip.top || lo.y >= m_clip.bottom) continue;
      m_edges.push_back(Edge{lo.y, hi.y, static_cast<double>(lo.x), static_cast<double>(lo.y),
                             static_cast<double>(hi.x - lo.x) / static_cast<double>(hi.y - lo.y)});
      rowLo = std::min<int64_t>(rowLo, std::max<int64_t>(lo.y, m_clip.top));
      rowHi = std::max<int64_t>(rowHi, std::min<int64_t>(hi.y, m_clip.bottom));
    }
    if (m_edges.empty()) return 0;
    OrderEdges(rowLo, rowHi);
    m_active.reserve(m_edges.size());
    m_crossings.reserve(m_edges.size());
    FillRows(rowLo, rowHi);
  } catch (const std::bad_alloc&) {
    return kStatusNoMemory;
  }
  return 0;
}

// Counting sort of the edges by their first row inside [rowLo, rowHi).
void RasterPainter::OrderEdges(int64_t rowLo, int64_t rowHi) {
  m_rowStart.assign(static_cast<std::size_t>(rowHi - rowLo) + 1, 0);
  for (const Edge& e : m_edges) ++m_rowStart[std::max(e.top, rowLo) - rowLo + 1];
  for (std::size_t r = 1; r < m_rowStart.size(); ++r) m_rowStart[r] += m_rowStart[r - 1];
  m_order.resize(m_edges.size());
  m_slot.assign(m_rowStart.begin(), m_rowStart.end() - 1);
  for (uint32_t i = 0; i < m_edges.size(); ++i)
    m_order[m_slot[std::max(m_edges[i].top, rowLo) - rowLo]++] = i;
}

void RasterPainter::FillRows(int64_t rowLo, int64_t rowHi) {
  m_active.clear();
  bool invert = m_op == RasterOp::kInvert;
  for (int64_t y = rowLo; y < rowHi; ++y) {
    std::size_t r = static_cast<std::size_t>(y - rowLo);
    for (uint32_t k = m_rowStart[r]; k < m_rowStart[r + 1]; ++k) m_active.push_back(&m_edges[m_order[k]]);
    std::erase_if(m_active, [y](const Edge* e) { return e->bottom <= y; });
    m_crossings.clear();
    for (const Edge* e : m_active) m_crossings.push_back(e->x0 + (static_cast<double>(y) - e->y0) * e->slope);
    // A wiggle's lobes cross a row two or four times: insertion sort there.
    if (m_crossings.size() <= 8) {
      for (std::size_t k = 1; k < m_crossings.size(); ++k)
        for (std::size_t j = k; j > 0 && m_crossings[j] < m_crossings[j - 1]; --j)
          std::swap(m_crossings[j], m_crossings[j - 1]);
    } else {
      std::sort(m_crossings.begin(), m_crossings.end());
    }
    for (std::size_t k = 0; k + 1 < m_crossings.size(); k += 2) {
      Span(y, static_cast<int64_t>(std::ceil(m_crossings[k])),
           static_cast<int64_t>(std::ceil(m_crossings[k + 1])), m_fillIndex, invert);
    }
  }
}

void RasterPainter::FrameRect(const PixelRect& rect) {
  if (rect.Empty()) return;
  bool invert = m_op == RasterOp::kInvert;
  int64_t l = rect.left, t = rect.top, r = rect.right, b = rect.bottom;
  Span(t, l, r, m_lineIndex, invert);
  if (b - 1 > t) Span(b - 1, l, r, m_lineIndex, invert);
  for (int64_t y = std::max<int64_t>(t + 1, m_clip.top); y < std::min<int64_t>(b - 1, m_clip.bottom); ++y) {
    Span(y, l, l + 1, m_lineIndex, invert);
    if (r - 1 > l) Span(y, r - 1, r, m_lineIndex, invert);
  }
}

void RasterPainter::FillRect(const PixelRect& rect, uint8_t index) {
  PixelRect r = m_clip.Intersect(rect);
  if (r.Empty()) return;
  for (int32_t y = r.top; y < r.bottom; ++y) Span(y, r.left, r.right, index, m_op == RasterOp::kInvert);
}

TextExtent RasterPainter::MeasureText(std::string_view text, const TextStyle& style) {
  return m_text ? m_text->Measure(text, style) : TextExtent{};
}

int RasterPainter::DrawText(int32_t x, int32_t y, std::string_view text, const TextStyle& style,
                            uint8_t index) {
  if (!m_text) return kStatusRefused;
  int status = m_text->Rasterize(text, style, &m_mask);
  if (status < 0) return status;
  const TextMask& mask = m_mask;
  if (mask.coverage.size() < static_cast<std::size_t>(mask.width) * static_cast<std::size_t>(mask.height)) {
    return kStatusRefused;
  }
  for (int row = 0; row < mask.height; ++row) {
    int64_t py = static_cast<int64_t>(y) + mask.top + row;
    if (py < m_clip.top || py >= m_clip.bottom) continue;
    const uint8_t* coverage = mask.coverage.data() + static_cast<std::size_t>(row) * mask.width;
    uint8_t* dst = m_store.Row(static_cast<int>(py));
    for (int col = 0; col < mask.width; ++col) {
      int64_t px = static_cast<int64_t>(x) + mask.left + col;
      if (coverage[col] >= 128 && px >= m_clip.left && px < m_clip.right) dst[px] = index;
    }
  }
  return 0;
}
