#include "display/XYMapper.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "display/Graduation.h"
#include "display/RasterPainter.h"
#include "log/Log.h"
#include "log/Status.h"
#include "section/SeismicSection.h"

namespace {
constexpr double kDegenerate = 1e-15;

bool Defined(const MapPoint& p) {
  return p.x != DBLE_UNDEF;
}

// Symbol cells of a (2B + 1)² stamp: 0 empty, 1 outline, 2 interior.
std::vector<uint8_t> SymbolStamp(MapSymbol symbol, int b) {
  const int n = 2 * b + 1;
  std::vector<uint8_t> cells(static_cast<std::size_t>(n * n), 0);
  const double outer = (b + 0.5) * (b + 0.5), inner = (b - 0.5) * (b - 0.5);
  for (int dy = -b; dy <= b; ++dy) {
    for (int dx = -b; dx <= b; ++dx) {
      const int ax = std::abs(dx), ay = std::abs(dy);
      const double d2 = dx * dx + dy * dy;
      uint8_t c = 0;
      switch (symbol) {
        case MapSymbol::kCircle:
          c = d2 <= inner ? 2 : (d2 <= outer ? 1 : 0);
          break;
        case MapSymbol::kPlus:
          c = (dx == 0 || dy == 0) ? 1 : 0;
          break;
        case MapSymbol::kCross:
          c = ax == ay ? 1 : 0;
          break;
        case MapSymbol::kSquare:
          c = std::max(ax, ay) == b ? 1 : 2;
          break;
        case MapSymbol::kDiamond:
          c = ax + ay == b ? 1 : (ax + ay < b ? 2 : 0);
          break;
        case MapSymbol::kNone:
          break;
      }
      cells[static_cast<std::size_t>((dy + b) * n + dx + b)] = c;
    }
  }
  return cells;
}

uint32_t Complement(uint32_t c) {
  return ~c & 0xFFFFFFu;
}
}  // namespace

bool GraphsExtent(const std::vector<const XYGraph*>& graphs, MapRange* extent) {
  bool any = false;
  MapRange r;
  for (const XYGraph* g : graphs) {
    if (!g) continue;
    for (const MapPoint& p : g->points) {
      if (!Defined(p)) continue;
      if (!any) r = {p.x, p.x, p.y, p.y};
      r.xMin = std::min(r.xMin, p.x), r.xMax = std::max(r.xMax, p.x);
      r.yMin = std::min(r.yMin, p.y), r.yMax = std::max(r.yMax, p.y);
      any = true;
    }
  }
  if (any) *extent = r;
  return any;
}

MapRange WithMargin(const MapRange& r, double fraction) {
  const double mx = fraction * (r.xMax - r.xMin), my = fraction * (r.yMax - r.yMin);
  return {r.xMin - mx, r.xMax + mx, r.yMin - my, r.yMax + my};
}

void BuildMapPalette(Palette& palette) {
  const uint32_t colors[] = {0xFFFFFF, 0x000000, 0x46A51E, 0x0000FF, 0xFF0000, 0xC000C0,
                             0xA8E8A0, 0xB0B0FF, 0xFFC8A0, 0xF0F0F0, 0xD8D8D8};
  for (int i = 0; i < Palette::kSize; ++i) palette.SetEntry(i, 0x808080);
  for (int i = 0; i < static_cast<int>(std::size(colors)); ++i) {
    palette.SetEntry(i, colors[i]);
    palette.SetEntry(255 - i, Complement(colors[i]));
  }
}

void XYMapper::SetClientSize(int width, int height) {
  m_clientWidth = width;
  m_clientHeight = height;
  m_plot = {kLeftMargin, kTopMargin, std::max(kLeftMargin + 2, width - kRightMargin),
            std::max(kTopMargin + 2, height - kStatusHeight - kBottomMargin)};
}

double XYMapper::Scale() const {
  return (PlotWidth() - 1) / (m_range.xMax - m_range.xMin);
}

int XYMapper::FitMap(const MapRange& r) {
  LogPrint(LogError, "FitMap(%.3lf, %.3lf, %.3lf %.3lf)", r.xMin, r.xMax, r.yMin, r.yMax);
  const double w = PlotWidth() - 1.0, h = PlotHeight() - 1.0;
  const double dx = r.xMax - r.xMin, dy = r.yMax - r.yMin;
  const bool xOk = dx >= kDegenerate, yOk = dy >= kDegenerate;
  if ((!xOk && !yOk) || !std::isfinite(dx) || !std::isfinite(dy)) {
    LogPrint(LogError, "\nINTERNAL ERROR\n");
    return kStatusRefused;
  }
  double scale = xOk && yOk ? std::min(w / dx, h / dy) : (xOk ? w / dx : h / dy);
  const double cx = 0.5 * (r.xMin + r.xMax), cy = 0.5 * (r.yMin + r.yMax);
  const double hx = w * 0.5 / scale, hy = h * 0.5 / scale;
  m_range = {cx - hx, cx + hx, cy - hy, cy + hy};
  return 0;
}

int32_t XYMapper::PixelX(double x, double round) const {
  return m_plot.left +
         static_cast<int32_t>((x - m_range.xMin) * (PlotWidth() - 1) / (m_range.xMax - m_range.xMin) + round);
}

int32_t XYMapper::PixelY(double y, double round) const {
  return m_plot.top + static_cast<int32_t>(
                          (m_range.yMax - y) * (PlotHeight() - 1) / (m_range.yMax - m_range.yMin) + round);
}

double XYMapper::MapX(int32_t px) const {
  return m_range.xMin + (px - m_plot.left) * (m_range.xMax - m_range.xMin) / (PlotWidth() - 1);
}

double XYMapper::MapY(int32_t py) const {
  return m_range.yMax - (py - m_plot.top) * (m_range.yMax - m_range.yMin) / (PlotHeight() - 1);
}

void XYMapper::ZoomAt(double x, double y, double factor) {
  const double sx = (PlotWidth() - 1) / (m_range.xMax - m_range.xMin);
  const double sy = (PlotHeight() - 1) / (m_range.yMax - m_range.yMin);
  const double hx = PlotWidth() * 0.5 / (sx * factor), hy = PlotHeight() * 0.5 / (sy * factor);
  m_range = {x - hx, x + hx, y - hy, y + hy};
}

namespace {
// Shifts [lo, hi] by d, kept inside [limLo, limHi] when that is wider.
void ShiftWithin(double* lo, double* hi, double d, double limLo, double limHi) {
  double a = *lo + d, b = *hi + d;
  if (limHi - limLo > b - a) {
    if (a < limLo) b += limLo - a, a = limLo;
    if (b > limHi) a -= b - limHi, b = limHi;
  } else {
    // The shown range is wider than the limit: the limit stays in view.
    if (a > limLo) b -= a - limLo, a = limLo;
    if (b < limHi) a += limHi - b, b = limHi;
  }
  *lo = a, *hi = b;
}
}  // namespace

void XYMapper::Pan(int dxPixels, int dyPixels, const MapRange& limit) {
  const double ux = (m_range.xMax - m_range.xMin) / (PlotWidth() - 1);
  const double uy = (m_range.yMax - m_range.yMin) / (PlotHeight() - 1);
  const double dx = -dxPixels * ux, dy = dyPixels * uy;
  if (!limit.Valid()) {
    m_range.xMin += dx, m_range.xMax += dx, m_range.yMin += dy, m_range.yMax += dy;
    return;
  }
  ShiftWithin(&m_range.xMin, &m_range.xMax, dx, limit.xMin, limit.xMax);
  ShiftWithin(&m_range.yMin, &m_range.yMax, dy, limit.yMin, limit.yMax);
}

bool XYMapper::ZoomToRect(int32_t x0, int32_t y0, int32_t x1, int32_t y1) {
  if (std::abs(x1 - x0) <= 3 || std::abs(y1 - y0) <= 3) return false;
  const double ax = MapX(x0), bx = MapX(x1), ay = MapY(y0), by = MapY(y1);
  const MapRange r{std::min(ax, bx), std::max(ax, bx), std::min(ay, by), std::max(ay, by)};
  if (r.xMax - r.xMin < 0.005 * (m_range.xMax - m_range.xMin) ||
      r.yMax - r.yMin < 0.005 * (m_range.yMax - m_range.yMin))
    return false;
  return FitMap(r) == 0;
}

int XYMapper::Draw(BackingStore& store, const XYMapperInput& in) const {
  if (!store.HasRaster()) return kStatusRefused;
  store.Clear(kMapBackground);
  DrawAxes(store, in.text);
  for (const XYGraph* g : in.graphs) {
    if (!g || !g->visible) continue;
    if (int s = DrawGraph(store, *g); s != 0) return s;
  }
  DrawStatus(store, in.status, in.text);
  return 0;
}

int XYMapper::DrawGraph(BackingStore& store, const XYGraph& graph) const {
  if (graph.line)
    if (int s = DrawLines(store, graph); s != 0) return s;
  if (graph.symbol != MapSymbol::kNone) DrawSymbols(store, graph);
  return 0;
}

void XYMapper::DrawSymbols(BackingStore& store, const XYGraph& graph) const {
  const int b = std::max(0, graph.symbolSize / 2);
  const int n = 2 * b + 1;
  const std::vector<uint8_t> stamp = SymbolStamp(graph.symbol, b);
  const uint8_t ink[3] = {0, graph.lineIndex, graph.fill ? graph.fillIndex : uint8_t{0}};
  const bool paintInterior = graph.fill;
  // Pixel mapping hoisted: the same arithmetic as PixelX/PixelY.
  const double kx = (PlotWidth() - 1) / (m_range.xMax - m_range.xMin);
  const double ky = (PlotHeight() - 1) / (m_range.yMax - m_range.yMin);
  const double loX = m_plot.left + b, hiX = m_plot.right - 1 - b;
  const double loY = m_plot.top + b, hiY = m_plot.bottom - 1 - b;
  for (const MapPoint& p : graph.points) {
    if (!Defined(p)) continue;
    const double fx = (p.x - m_range.xMin) * kx + 0.5, fy = (m_range.yMax - p.y) * ky + 0.5;
    if (!(fx >= 0.0 && fy >= 0.0 && fx < 1e9 && fy < 1e9)) continue;
    const int32_t px = m_plot.left + static_cast<int32_t>(fx), py = m_plot.top + static_cast<int32_t>(fy);
    if (px < loX || px > hiX || py < loY || py > hiY) continue;
    const uint8_t* cell = stamp.data();
    for (int r = 0; r < n; ++r) {
      uint8_t* row = store.Row(py - b + r) + (px - b);
      for (int c = 0; c < n; ++c, ++cell) {
        if (*cell == 1 || (*cell == 2 && paintInterior)) row[c] = ink[*cell];
      }
    }
  }
}

int XYMapper::DrawLines(BackingStore& store, const XYGraph& graph) const {
  RasterPainter painter(store);
  painter.SetClip(m_plot);
  painter.SetLineIndex(graph.lineIndex);
  painter.SetPenWidth(2);
  const MapPoint* prev = nullptr;
  for (const MapPoint& p : graph.points) {
    if (!Defined(p)) {
      prev = nullptr;
      continue;
    }
    if (prev) {
      // Far-off points are clamped so the pixel arithmetic stays in int32.
      auto clampPx = [](double v) { return static_cast<int32_t>(std::clamp(v, -1e8, 1e8)); };
      const double kx = (PlotWidth() - 1) / (m_range.xMax - m_range.xMin);
      const double ky = (PlotHeight() - 1) / (m_range.yMax - m_range.yMin);
      painter.Line(m_plot.left + clampPx((prev->x - m_range.xMin) * kx + 0.4999),
                   m_plot.top + clampPx((m_range.yMax - prev->y) * ky + 0.4999),
                   m_plot.left + clampPx((p.x - m_range.xMin) * kx + 0.4999),
                   m_plot.top + clampPx((m_range.yMax - p.y) * ky + 0.4999));
    }
    prev = &p;
  }
  return 0;
}

void XYMapper::DrawAxes(BackingStore& store, TextRenderer* text) const {
  RasterPainter painter(store);
  painter.SetLineIndex(kMapInk);
  painter.SetTextRenderer(text);
  painter.FrameRect({m_plot.left - 1, m_plot.top - 1, m_plot.right + 1, m_plot.bottom + 1});
  TextStyle style;
  style.pixelHeight = 12;
  char label[64];
  Graduation gx;
  gx.targetCount = std::max(1.0, PlotWidth() / 140.0);
  gx.Compute(m_range.xMin, m_range.xMax);
  for (int i = 0; gx.step > 0.0 && i < 200; ++i) {
    const double v = gx.firstTick + i * gx.step;
    if (v > gx.lastTick + 1e-9 * gx.step) break;
    const int32_t px = PixelX(v);
    painter.Line(px, m_plot.bottom, px, m_plot.bottom + 5);
    if (!text) continue;
    std::snprintf(label, sizeof label, "%.*f", gx.decimals, v);
    const TextExtent e = painter.MeasureText(label, style);
    painter.DrawText(px - e.width / 2, m_plot.bottom + 7, label, style, kMapInk);
  }
  Graduation gy;
  gy.targetCount = std::max(1.0, PlotHeight() / 90.0);
  gy.Compute(m_range.yMin, m_range.yMax);
  for (int i = 0; gy.step > 0.0 && i < 200; ++i) {
    const double v = gy.firstTick + i * gy.step;
    if (v > gy.lastTick + 1e-9 * gy.step) break;
    const int32_t py = PixelY(v);
    painter.Line(m_plot.left - 6, py, m_plot.left - 1, py);
    if (!text) continue;
    std::snprintf(label, sizeof label, "%.*f", gy.decimals, v);
    const TextExtent e = painter.MeasureText(label, style);
    painter.DrawText(m_plot.left - 8 - e.width, py - e.height / 2, label, style, kMapInk);
  }
}

void XYMapper::DrawStatus(BackingStore& store, const std::string& status, TextRenderer* text) const {
  if (!store.HasRaster()) return;
  RasterPainter painter(store);
  const int top = std::max(0, m_clientHeight - kStatusHeight);
  painter.FillRect({0, top, m_clientWidth, m_clientHeight}, kMapStatusBack);
  if (!text || status.empty()) return;
  painter.SetTextRenderer(text);
  TextStyle style;
  style.pixelHeight = 12;
  painter.DrawText(6, top + 3, status, style, kMapInk);
}
