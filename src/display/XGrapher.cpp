#include "display/XGrapher.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <new>

#include "display/DisplayParams.h"
#include "display/RasterPainter.h"
#include "log/Log.h"
#include "log/Status.h"
#include "section/SeismicSection.h"

namespace {

bool Defined(double v) {
  return v != DBLE_UNDEF;
}

// 0x00BBGGRR by colour-table index; 1 and 21 have no colour of their own: 1
// is the dark-mode pass band, so it must stand out from the dark plot.
constexpr uint32_t Rgb(int r, int g, int b) {
  return static_cast<uint32_t>(r | (g << 8) | (b << 16));
}
constexpr uint32_t kTable[kGraphColors] = {
    Rgb(255, 255, 255), Rgb(95, 95, 120),   Rgb(235, 235, 235), Rgb(195, 195, 195), Rgb(127, 127, 127),
    Rgb(255, 0, 0),     Rgb(0, 255, 0),     Rgb(0, 0, 255),     Rgb(0, 205, 0),     Rgb(0, 162, 232),
    Rgb(255, 35, 35),   Rgb(185, 122, 87),  Rgb(255, 0, 255),   Rgb(255, 128, 0),   Rgb(255, 242, 0),
    Rgb(255, 242, 0),   Rgb(255, 202, 202), Rgb(255, 170, 170), Rgb(245, 235, 200), Rgb(242, 228, 183),
    Rgb(255, 255, 255), Rgb(0, 0, 0),       Rgb(65, 65, 65),    Rgb(125, 125, 125), Rgb(15, 15, 15),
    Rgb(195, 195, 195), Rgb(55, 55, 55),    Rgb(255, 242, 0),   Rgb(0, 0, 0),       Rgb(0, 0, 0),
    Rgb(0, 0, 0),       Rgb(0, 0, 0)};

// Pixel positions far outside the raster still clip correctly as int32.
int ToPixel(double v) {
  v = std::clamp(v, -1.0e8, 1.0e8);
  return static_cast<int>(v);
}

double Seconds(std::chrono::steady_clock::time_point a, std::chrono::steady_clock::time_point b) {
  return std::chrono::duration<double>(b - a).count();
}

}  // namespace

void CurveGraph::SetPoints(std::span<const CurvePoint> pts) {
  points.assign(pts.begin(), pts.end());
  first = 0;
  last = static_cast<int>(points.size()) - 1;
  xMin = xMax = yMin = yMax = DBLE_UNDEF;
  for (const CurvePoint& p : points) {
    if (p.y == 0.0f) continue;
    if (!Defined(xMin)) {
      xMin = xMax = p.x;
      yMin = yMax = p.y;
      continue;
    }
    xMin = std::min<double>(xMin, p.x);
    xMax = std::max<double>(xMax, p.x);
    yMin = std::min<double>(yMin, p.y);
    yMax = std::max<double>(yMax, p.y);
  }
}

bool CurveGraph::HasRange() const {
  return Defined(xMin);
}

uint32_t XGrapher::TableColor(int index) {
  return index >= 0 && index < kGraphColors ? kTable[index] : 0;
}

XGrapher::XGrapher() {
  m_font.family = "Tahoma";
  m_font.pixelHeight = 13;
  m_font.weight = 400;
  m_dataXmin = m_dataXmax = m_userXL = m_userXR = m_viewXL = m_viewXR = DBLE_UNDEF;
  for (int a = 0; a < 2; ++a)
    m_dataYmin[a] = m_dataYmax[a] = m_userYD[a] = m_userYU[a] = m_viewYD[a] = m_viewYU[a] = DBLE_UNDEF;
}

int XGrapher::Create(int width, int height, TextRenderer* text) {
  m_text = text;
  if (int s = m_store.CreateBackingStore(96, DisplayParams{}); s != 0) return s;
  SetPalette();
  LogPrint(LogDebug, "Xgrapher constructor: initial wnd client area w=%d h=%d", width, height);
  return Layout(width, height);
}

// The table at 0..31 and its complement at 255..224, so that inverting a
// pixel (rubber band) shows the opposite colour and inverting again restores it.
void XGrapher::SetPalette() {
  Palette& pal = m_store.GetPalette();
  for (int i = 0; i < Palette::kSize; ++i) pal.SetEntry(i, 0);
  for (int i = 0; i < kGraphColors; ++i) {
    pal.SetEntry(i, kTable[i]);
    pal.SetEntry(255 - i, ~kTable[i] & 0xffffffu);
  }
}

void XGrapher::SetMargins(int left, int top, int right, int bottom, int titleBand) {
  m_marginL = std::max(0, left);
  m_marginT = std::max(0, top);
  m_marginR = std::max(0, right);
  m_marginB = std::max(0, bottom);
  m_titleBand = std::max(0, titleBand);
}

CurveGraph* XGrapher::PushCurve(int yAxis, int slot, std::span<const CurvePoint> points) {
  LogPrint(LogDebug, "PushCurve slot %d, npts=%d", slot, static_cast<int>(points.size()));
  if (points.empty() || !Valid(slot)) return nullptr;
  auto& cell = m_curves[static_cast<std::size_t>(slot)];
  if (cell) {
    LogPrint(LogError,
             "\nERROR: XGrapher[%d]::PushCurve(Yview=%d) at index %d failed, slot already occupied\n", 1,
             yAxis, slot);
    return nullptr;
  }
  cell.reset(new (std::nothrow) CurveGraph);
  if (!cell) {
    LogPrint(LogError,
             "\nERROR: XGrapher[%d]::PushCurve(Yview=%d) at index %d failed, new CurveGraph() failed\n", 1,
             yAxis, slot);
    return nullptr;
  }
  cell->yAxis = std::clamp(yAxis, 0, 1);
  cell->SetPoints(points);
  LogPrint(LogDebug,
           "PushCurve(Yview=%d slot=%d)  this curve  Xmin=%.3lf  Xmax=%.3lf   Ymin=%.3lf  Ymax=%.3lf", yAxis,
           slot, cell->xMin, cell->xMax, cell->yMin, cell->yMax);
  RecomputeDataRange();
  return cell.get();
}

void XGrapher::SetCurvePoints(int slot, std::span<const CurvePoint> points) {
  if (CurveGraph* c = Curve(slot)) {
    c->SetPoints(points);
    RecomputeDataRange();
  }
}

void XGrapher::SetCurveVisible(int slot, bool visible) {
  if (CurveGraph* c = Curve(slot)) {
    c->visible = visible;
    RecomputeDataRange();
  }
}

void XGrapher::RemoveCurve(int slot) {
  if (!Valid(slot) || !m_curves[static_cast<std::size_t>(slot)]) return;
  LogPrint(LogDebug, "CurveGraph destructor (points freeable=%d)", 1);
  m_curves[static_cast<std::size_t>(slot)].reset();
  RecomputeDataRange();
}

int XGrapher::CurveCount() const {
  return static_cast<int>(
      std::count_if(m_curves.begin(), m_curves.end(), [](const auto& c) { return c != nullptr; }));
}

void XGrapher::RecomputeDataRange() {
  m_dataXmin = m_dataXmax = DBLE_UNDEF;
  for (int a = 0; a < 2; ++a) m_dataYmin[a] = m_dataYmax[a] = DBLE_UNDEF;
  for (const auto& c : m_curves) {
    if (!c || !c->visible || !c->HasRange()) continue;
    if (!Defined(m_dataXmin)) {
      m_dataXmin = c->xMin;
      m_dataXmax = c->xMax;
    } else {
      m_dataXmin = std::min(m_dataXmin, c->xMin);
      m_dataXmax = std::max(m_dataXmax, c->xMax);
    }
    int a = c->yAxis;
    if (!Defined(m_dataYmin[a])) {
      m_dataYmin[a] = c->yMin;
      m_dataYmax[a] = c->yMax;
    } else {
      m_dataYmin[a] = std::min(m_dataYmin[a], c->yMin);
      m_dataYmax[a] = std::max(m_dataYmax[a], c->yMax);
    }
  }
}

void XGrapher::SetXAxis(int flags, int gradFlags, double target, double factor, const std::string& unit) {
  LogPrint(LogDebug, "XGrapher::SetXaxisParam");
  m_xAxis.flags = flags;
  m_xAxis.grad.flags = gradFlags;
  m_xAxis.grad.targetCount = target;
  m_xAxis.factor = factor;
  m_xAxis.name = unit;
}

void XGrapher::SetYAxis(int index, int flags, int gradFlags, double target, double factor,
                        const std::string& title) {
  if (index < 0 || index > 1) return;
  LogPrint(LogDebug, "XGrapher::SetYaxisParam[%d]", index);
  GraphAxis& a = m_yAxis[index];
  a.flags = flags;
  a.grad.flags = gradFlags;
  a.grad.targetCount = target;
  a.factor = factor;
  a.name = title;
}

void XGrapher::SetXRange(double xl, double xr) {
  if (xl == xr) return;
  LogPrint(LogDebug, "XGrapher::SetXaxisRange:niceXG call");
  double f = m_xAxis.factor;
  m_xAxis.grad.Compute(f * xl, f * xr);
  if ((m_xAxis.grad.flags & kGraduationOutward) && m_xAxis.grad.step > 0.0 && f != 0.0) {
    xl = m_xAxis.grad.firstTick / f;
    xr = m_xAxis.grad.lastTick / f;
  }
  m_userXL = m_viewXL = xl;
  m_userXR = m_viewXR = xr;
  LogPrint(LogDebug, "Xaxis      XL=%.3lf  XR=%.3lf", xl, xr);
}

void XGrapher::SetYRange(int index, double yd, double yu) {
  if (index < 0 || index > 1 || yd == yu) return;
  LogPrint(LogDebug, "XGrapher::SetYaxisRange:niceYG[%d] call", index);
  GraphAxis& a = m_yAxis[index];
  a.grad.Compute(a.factor * yd, a.factor * yu);
  if ((a.grad.flags & kGraduationOutward) && a.grad.step > 0.0 && a.factor != 0.0) {
    yd = a.grad.firstTick / a.factor;
    yu = a.grad.lastTick / a.factor;
  }
  m_userYD[index] = m_viewYD[index] = yd;
  m_userYU[index] = m_viewYU[index] = yu;
  LogPrint(LogDebug, "Y axis     YD=%.3lf YU=%.3lf", yd, yu);
}

int XGrapher::Layout(int width, int height) {
  LogPrint(LogDebug, "\nXGrapher::Layout() enterted, mapScale at input=%.9lf", 1.0);
  int pw = std::max(5, width - m_marginL - m_marginR);
  int ph = std::max(5, height - m_marginT - m_marginB - m_titleBand);
  m_clientW = std::max(width, m_marginL + pw + m_marginR);
  m_clientH = std::max(height, m_marginT + ph + m_marginB + m_titleBand);
  m_plot = {m_marginL, m_marginT, m_marginL + pw, m_marginT + ph};
  if (!m_store.HasRaster() || m_clientW >= m_store.Stride() || m_clientH > m_store.Rows())
    LogPrint(LogDebug, "create new DIB : CX=%d  CY=%d", m_clientW, m_clientH);
  if (int s = m_store.ResizeBackingStore(m_clientW, m_clientH, 1); s != 0) return s;
  m_rubberShown = false;
  Redraw();
  return 0;
}

double XGrapher::LimitLo(int axis) const {
  if (axis < 0) return Defined(m_userXL) ? std::min(m_userXL, m_userXR) : m_dataXmin;
  return Defined(m_userYD[axis]) ? std::min(m_userYD[axis], m_userYU[axis]) : m_dataYmin[axis];
}

double XGrapher::LimitHi(int axis) const {
  if (axis < 0) return Defined(m_userXL) ? std::max(m_userXL, m_userXR) : m_dataXmax;
  return Defined(m_userYD[axis]) ? std::max(m_userYD[axis], m_userYU[axis]) : m_dataYmax[axis];
}

void XGrapher::EnsureViewRange() {
  if (!Defined(m_viewXL)) {
    LogPrint(LogDebug, "DRAW ALL: m_viewXL == DBLE_UNDEF  crvXmin=%f  Xmax=%f", m_dataXmin, m_dataXmax);
    m_viewXL = m_dataXmin;
    m_viewXR = m_dataXmax;
  }
  for (int a = 0; a < 2; ++a) {
    if (!Defined(m_viewYD[a])) {
      m_viewYD[a] = m_dataYmin[a];
      m_viewYU[a] = m_dataYmax[a];
    }
  }
}

void XGrapher::ResetView() {
  m_viewXL = Defined(m_userXL) ? m_userXL : m_dataXmin;
  m_viewXR = Defined(m_userXL) ? m_userXR : m_dataXmax;
  for (int a = 0; a < 2; ++a) {
    m_viewYD[a] = Defined(m_userYD[a]) ? m_userYD[a] : m_dataYmin[a];
    m_viewYU[a] = Defined(m_userYD[a]) ? m_userYU[a] : m_dataYmax[a];
  }
  Redraw();
}

void XGrapher::SetDarkMode(bool dark) {
  m_dark = dark;
  Redraw();
}

int XGrapher::PixelX(double x) const {
  double w = m_viewXR - m_viewXL;
  if (w == 0.0 || !Defined(m_viewXL)) return m_plot.left;
  return m_plot.left + ToPixel((x - m_viewXL) * (m_plot.right - m_plot.left - 1) / w + 0.5);
}

int XGrapher::PixelY(double y, int axis) const {
  double h = m_viewYD[axis] - m_viewYU[axis];
  if (h == 0.0 || !Defined(m_viewYD[axis])) return m_plot.top;
  return m_plot.top + ToPixel((y - m_viewYU[axis]) * (m_plot.bottom - m_plot.top - 1) / h + 0.5);
}

double XGrapher::DataX(int px) const {
  return m_viewXL + (px - m_plot.left) * (m_viewXR - m_viewXL) / std::max(1, m_plot.right - m_plot.left - 1);
}

double XGrapher::DataY(int py, int axis) const {
  return m_viewYU[axis] +
         (py - m_plot.top) * (m_viewYD[axis] - m_viewYU[axis]) / std::max(1, m_plot.bottom - m_plot.top - 1);
}

bool XGrapher::InPlot(int px, int py) const {
  return m_plot.Contains(px, py);
}

void XGrapher::Redraw() {
  if (!m_store.HasRaster()) return;
  m_rubberShown = false;
  m_store.Clear(kGraphBackground);
  RasterPainter p(m_store);
  p.SetTextRenderer(m_text);
  if (m_style & kGraphFrame) {
    p.SetLineIndex(kGraphFrameColor);
    p.FrameRect({0, 0, m_clientW, m_clientH});
  }
  if (m_dark) p.FillRect(m_plot, kGraphDarkPlot);
  if (CurveCount() == 0) return;
  EnsureViewRange();
  if (!Defined(m_viewXL) || !Defined(m_viewYD[0])) return;
  DrawAxes(p);
  for (const auto& c : m_curves)
    if (c && c->visible) DrawCurve(p, *c);
  DrawGrid();
  if ((m_style & kGraphTitleBand) && !m_title.empty() && m_text) {
    p.RemoveClip();
    TextExtent e = p.MeasureText(m_title, m_font);
    p.DrawText(m_plot.left + (m_plot.right - m_plot.left - e.width) / 2,
               m_clientH - m_titleBand + (m_titleBand - e.height) / 2, m_title, m_font, kGraphAxis);
  }
}

namespace {

// Visits the tick values of a graduation in increasing order.
template <typename F>
void ForEachTick(const Graduation& g, F f) {
  if (!(g.step > 0.0)) return;
  double lo = std::min(g.firstTick, g.lastTick), hi = std::max(g.firstTick, g.lastTick);
  int n = static_cast<int>(std::floor((hi - lo) / g.step + 1e-6));
  if (n > 1000) return;
  for (int k = 0; k <= n; ++k) {
    double v = lo + k * g.step;
    if (std::fabs(v) < g.step * 1e-9) v = 0.0;
    f(v);
  }
}

std::string TickText(const Graduation& g, double v) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.*f", g.decimals, v);
  return buf;
}

}  // namespace

void XGrapher::DrawAxes(RasterPainter& p) {
  p.RemoveClip();
  p.SetLineIndex(kGraphAxis);
  p.SetPenWidth(1);
  const int textH = m_text ? p.MeasureText("0", m_font).height : 0;
  // x axes
  GraphAxis& xa = m_xAxis;
  xa.grad.Compute(xa.factor * m_viewXL, xa.factor * m_viewXR);
  for (int side = 0; side < 2; ++side) {
    if (!(xa.flags & (side == 0 ? kAxisBottom : kAxisTop))) continue;
    int y = side == 0 ? m_plot.bottom : m_plot.top - 1;
    int dir = side == 0 ? 1 : -1;
    p.Line(m_plot.left - 1, y, m_plot.right + 1, y);
    int labelRight = m_plot.left;
    ForEachTick(xa.grad, [&](double v) {
      int x = PixelX(v / xa.factor);
      if (x < m_plot.left || x >= m_plot.right) return;
      p.Line(x, y + dir, x, y + dir * (kTick + 1));
      if (!(xa.flags & kAxisLabels) || !m_text) return;
      std::string t = TickText(xa.grad, v);
      TextExtent e = p.MeasureText(t, m_font);
      int ty = side == 0 ? y + kTick + 2 : y - kTick - 2 - e.height;
      p.DrawText(x - e.width / 2, ty, t, m_font, kGraphAxis);
      labelRight = x + (e.width + 1) / 2;
    });
    if (!xa.name.empty() && m_text) {
      TextExtent e = p.MeasureText(xa.name, m_font);
      int ty = side == 0 ? y + kTick + 2 : y - kTick - 2 - e.height;
      if (e.width + 6 <= m_marginR)
        p.DrawText(m_plot.right + 6, ty, xa.name, m_font, kGraphAxis);
      else
        p.DrawText(std::max(labelRight + 4, m_plot.right - e.width), ty + textH, xa.name, m_font, kGraphAxis);
    }
  }
  // y axes
  for (int a = 0; a < 2; ++a) {
    GraphAxis& ya = m_yAxis[a];
    if (!(ya.flags & (kAxisBottom | kAxisTop)) || !Defined(m_viewYD[a])) continue;
    ya.grad.Compute(ya.factor * m_viewYD[a], ya.factor * m_viewYU[a]);
    bool left = (ya.flags & kAxisBottom) != 0;
    int x = left ? m_plot.left - 1 : m_plot.right;
    int dir = left ? -1 : 1;
    p.Line(x, m_plot.top - 1, x, m_plot.bottom + 1);
    ForEachTick(ya.grad, [&](double v) {
      int y = PixelY(v / ya.factor, a);
      if (y < m_plot.top || y >= m_plot.bottom) return;
      p.Line(x + dir, y, x + dir * (kTick + 1), y);
      if (!(ya.flags & kAxisLabels) || !m_text) return;
      std::string t = TickText(ya.grad, v);
      TextExtent e = p.MeasureText(t, m_font);
      // A label wider than the margin stays on the raster rather than losing its sign.
      int tx = left ? std::max(1, x - kTick - 2 - e.width) : x + kTick + 2;
      p.DrawText(tx, y - e.height / 2, t, m_font, kGraphAxis);
    });
    if (!ya.name.empty() && m_text) {
      TextExtent e = p.MeasureText(ya.name, m_font);
      p.DrawText(std::max(0, x - e.width / 2), std::max(0, m_plot.top - e.height - 6), ya.name, m_font,
                 kGraphAxis);
    }
  }
}

// Grid lines go over the plot background and bands only, never over a curve.
void XGrapher::DrawGrid() {
  bool under[256] = {};
  under[m_dark ? kGraphDarkPlot : kGraphBackground] = true;
  for (const auto& c : m_curves)
    if (c && c->visible && (c->style & kCurveFillMask)) under[c->fillColor] = true;
  auto put = [&](int x, int y) {
    uint8_t* px = m_store.Row(y) + x;
    if (under[*px]) *px = kGraphGrid;
  };
  if (m_xAxis.flags & kAxisGrid) {
    ForEachTick(m_xAxis.grad, [&](double v) {
      int x = PixelX(v / m_xAxis.factor);
      if (x <= m_plot.left || x >= m_plot.right - 1) return;
      for (int y = m_plot.top; y < m_plot.bottom; ++y) put(x, y);
    });
  }
  for (int a = 0; a < 2; ++a) {
    if (!(m_yAxis[a].flags & kAxisGrid) || !Defined(m_viewYD[a])) continue;
    ForEachTick(m_yAxis[a].grad, [&](double v) {
      int y = PixelY(v / m_yAxis[a].factor, a);
      if (y <= m_plot.top || y >= m_plot.bottom - 1) return;
      for (int x = m_plot.left; x < m_plot.right; ++x) put(x, y);
    });
  }
}

void XGrapher::DrawCurve(RasterPainter& p, const CurveGraph& c) {
  int n = c.last - c.first + 1;
  if (n <= 0 || c.last >= static_cast<int>(c.points.size())) return;
  auto t0 = std::chrono::steady_clock::now();
  std::vector<PixelPoint> pts;
  pts.reserve(static_cast<std::size_t>(n) + 3);
  if (m_style & kGraphClip)
    p.SetClip(m_plot);
  else
    p.RemoveClip();
  const CurvePoint* cp = c.points.data() + c.first;
  const int axis = c.yAxis;
  if (c.style & kCurveFillMask) {
    const double w = m_viewXR - m_viewXL, h = m_viewYD[axis] - m_viewYU[axis];
    auto fx = [&](double x) {
      return m_plot.left + ToPixel((x - m_viewXL) * (m_plot.right - m_plot.left - 1) / w + 0.45);
    };
    auto fy = [&](double y) {
      return m_plot.top + ToPixel((y - m_viewYU[axis]) * (m_plot.bottom - m_plot.top - 1) / h + 0.45);
    };
    const bool band = (c.style & kCurveFillMask) != kCurveFillUnder;
    pts.push_back({std::max(fx(cp[0].x), m_plot.left + 1), m_plot.bottom});
    for (int i = 0; i < n; ++i) {
      int y = band ? m_plot.top : std::clamp(fy(cp[i].y), m_plot.top, m_plot.bottom);
      pts.push_back({std::max(fx(cp[i].x), m_plot.left + 1), y});
    }
    pts.push_back({std::max(fx(cp[n - 1].x), m_plot.left + 1), m_plot.bottom});
    p.SetFillIndex(c.fillColor);
    p.Polygon(pts.data(), static_cast<int>(pts.size()), false);
    pts.clear();
  }
  if (!(c.style & kCurveLine)) return;
  auto t1 = std::chrono::steady_clock::now();
  p.SetLineIndex(c.lineColor);
  p.SetPenWidth(c.lineWidth);
  // A y of 0 is a missing value: it ends the run; a lone point draws nothing.
  auto flush = [&] {
    if (pts.size() >= 2) {
      p.Polyline(pts.data(), static_cast<int>(pts.size()));
      p.PutPixel(pts.back().x, pts.back().y, c.lineColor);
    }
    pts.clear();
  };
  for (int i = 0; i < n; ++i) {
    if (cp[i].y == 0.0f) {
      flush();
      continue;
    }
    pts.push_back({PixelX(cp[i].x), PixelY(cp[i].y, axis)});
  }
  flush();
  p.SetPenWidth(1);
  auto t2 = std::chrono::steady_clock::now();
  if (c.symbolFlags != 0 && c.symbolSize > 0) {
    const int half = c.symbolSize / 2;
    for (int i = 0; i < n; ++i) {
      int x = PixelX(cp[i].x), y = PixelY(cp[i].y, axis);
      if (x < m_plot.left - half || x >= m_plot.right + half || y < m_plot.top - half ||
          y >= m_plot.bottom + half)
        continue;
      DrawSymbol(p, c, x, y);
    }
  }
  auto t3 = std::chrono::steady_clock::now();
  LogPrint(LogTrace, "\nprepare : %.6lf s", Seconds(t0, t1));
  LogPrint(LogTrace, "polyline: %.6lf s", Seconds(t1, t2));
  LogPrint(LogTrace, "symbol  : %.6lf s\n", Seconds(t2, t3));
}

void XGrapher::DrawSymbol(RasterPainter& p, const CurveGraph& c, int x, int y) {
  const int h = c.symbolSize / 2;
  const bool filled = (c.symbolFlags & kSymbolFilled) != 0;
  p.SetLineIndex(c.symbolOutline);
  p.SetFillIndex(c.symbolFill);
  if (c.symbolFlags & kSymbolCircle) {
    PixelPoint ring[16];
    for (int k = 0; k < 16; ++k) {
      double a = k * 6.283185307179586 / 16.0;
      ring[k] = {x + static_cast<int>(std::lround(h * std::cos(a))),
                 y + static_cast<int>(std::lround(h * std::sin(a)))};
    }
    if (filled) {
      p.Polygon(ring, 16, true);
    } else {
      p.Polyline(ring, 16);
      p.Line(ring[15].x, ring[15].y, ring[0].x, ring[0].y);
    }
  }
  if (c.symbolFlags & kSymbolPlus) {
    p.Line(x - h, y, x + h + 1, y);
    p.Line(x, y - h, x, y + h + 1);
  }
  if (c.symbolFlags & kSymbolCross) {
    p.Line(x - h, y - h, x + h + 1, y + h + 1);
    p.Line(x - h, y + h, x + h + 1, y - h - 1);
  }
  if (c.symbolFlags & kSymbolSquare) {
    if (filled) p.FillRect({x - h, y - h, x + h + 1, y + h + 1}, c.symbolFill);
    p.FrameRect({x - h, y - h, x + h + 1, y + h + 1});
  }
  if (c.symbolFlags & kSymbolDiamond) {
    PixelPoint d[4] = {{x, y - h}, {x + h, y}, {x, y + h}, {x - h, y}};
    if (filled) {
      p.Polygon(d, 4, true);
    } else {
      p.Polyline(d, 4);
      p.Line(d[3].x, d[3].y, d[0].x, d[0].y);
    }
  }
}

// ---- mouse and keys ----

void XGrapher::SetDragMode(int mode) {
  LogPrint(LogDebug, "SET_MOUSEDRAG %d", mode);
  if (mode == kDragPan || mode == kDragZoom) m_dragMode = mode;
}

void XGrapher::SetClickZoom(int state) {
  LogPrint(LogDebug, "SET_CLICKZOOM  %d", state);
  if (state >= kClickZoomOff && state <= kClickZoomOut) m_clickZoom = state;
}

uint32_t XGrapher::MouseDown(int x, int y, Button button) {
  if (button == kRight && (m_dragMode == kDragZoom || m_clickZoom != kClickZoomOff)) return kBeep;
  if (m_drag != kNoDrag) return kNone;
  m_drag = kPress;
  m_dragButton = button;
  m_downX = m_lastX = x;
  m_downY = m_lastY = y;
  return kNone;
}

void XGrapher::InvertRubber() {
  RasterPainter p(m_store);
  p.SetClip(m_plot);
  p.SetRasterOp(RasterOp::kInvert);
  p.FrameRect({std::min(m_downX, m_rubberX), std::min(m_downY, m_rubberY), std::max(m_downX, m_rubberX) + 1,
               std::max(m_downY, m_rubberY) + 1});
  m_rubberShown = !m_rubberShown;
}

uint32_t XGrapher::MouseMove(int x, int y) {
  uint32_t r = kNone;
  if (InPlot(x, y) && CurveCount() > 0) {
    m_mouseX = DataX(x);
    m_mouseY = DataY(y);
    r |= kMoved;
  }
  if (m_drag == kPress && (std::abs(x - m_downX) > kDragThreshold || std::abs(y - m_downY) > kDragThreshold))
    m_drag = (m_dragButton == kLeft && m_dragMode == kDragPan) ? kPanning : kRubber;
  if (m_drag == kPanning) {
    PanPixels(x - m_lastX, y - m_lastY);
    r |= kRepaint;
  } else if (m_drag == kRubber) {
    if (m_rubberShown) InvertRubber();
    m_rubberX = x;
    m_rubberY = y;
    InvertRubber();
    r |= kRepaint;
  }
  m_lastX = x;
  m_lastY = y;
  return r;
}

uint32_t XGrapher::MouseUp(int x, int y, Button button) {
  if (m_drag == kNoDrag || button != m_dragButton) return kNone;
  LogPrint(LogDebug, "LB UP drag=%d  zoom=%d", static_cast<int>(m_drag), m_clickZoom);
  Drag drag = m_drag;
  m_drag = kNoDrag;
  uint32_t r = kNone;
  if (drag == kRubber) {
    if (m_rubberShown) InvertRubber();
    ZoomToPixels(m_downX, m_downY, x, y);
    return kRepaint;
  }
  if (drag == kPress && button == kLeft && InPlot(x, y) && CurveCount() > 0) {
    double dx = DataX(x), dy = DataY(y);
    if (m_clickZoom != kClickZoomOff) {
      ClickZoomAt(dx, dy, m_clickZoom == kClickZoomIn);
      m_warpX = PixelX(dx);
      m_warpY = PixelY(dy);
      return kRepaint | kWarpCursor;
    }
    m_mouseX = dx;
    m_mouseY = dy;
    r |= kClicked;
  }
  return r;
}

uint32_t XGrapher::ShiftKey(bool /*down*/) {
  if (m_clickZoom == kClickZoomOff) return kNone;
  m_clickZoom = m_clickZoom == kClickZoomIn ? kClickZoomOut : kClickZoomIn;
  return kCursorShape;
}

uint32_t XGrapher::EscapeKey() {
  if (m_rubberShown) InvertRubber();
  m_drag = kNoDrag;
  m_dragMode = kDragPan;
  m_clickZoom = kClickZoomOff;
  ResetView();
  return kEscaped | kRepaint | kCursorShape;
}

void XGrapher::ClickZoomAt(double x, double y, bool zoomIn) {
  const double k = zoomIn ? 1.0 / kZoomFactor : kZoomFactor;
  auto zoom = [&](double c, double& lo, double& hi, int axis) {
    double span = (hi - lo) * k;
    double full = LimitHi(axis) - LimitLo(axis);
    if (!zoomIn && Defined(LimitLo(axis)) && std::fabs(span) >= full) {
      // Zooming out past everything shows everything, in the axis' orientation.
      bool up = hi >= lo;
      lo = up ? LimitLo(axis) : LimitHi(axis);
      hi = up ? LimitHi(axis) : LimitLo(axis);
      return;
    }
    lo = c - span / 2.0;
    hi = c + span / 2.0;
  };
  zoom(x, m_viewXL, m_viewXR, -1);
  zoom(y, m_viewYU[0], m_viewYD[0], 0);
  Redraw();
}

void XGrapher::PanPixels(int dx, int dy) {
  auto shift = [&](double s, double& a, double& b, int axis) {
    double lo = LimitLo(axis), hi = LimitHi(axis);
    if (!Defined(lo)) return;
    double vmin = std::min(a, b), vmax = std::max(a, b);
    if (s < 0.0) s = std::max(s, std::min(0.0, lo - vmin));
    if (s > 0.0) s = std::min(s, std::max(0.0, hi - vmax));
    a += s;
    b += s;
  };
  shift(-dx * (m_viewXR - m_viewXL) / std::max(1, m_plot.right - m_plot.left - 1), m_viewXL, m_viewXR, -1);
  for (int a = 0; a < 2; ++a) {
    if (!Defined(m_viewYD[a])) continue;
    shift(-dy * (m_viewYD[a] - m_viewYU[a]) / std::max(1, m_plot.bottom - m_plot.top - 1), m_viewYU[a],
          m_viewYD[a], a);
  }
  Redraw();
}

void XGrapher::ZoomToPixels(int x0, int y0, int x1, int y1) {
  x0 = std::clamp(x0, m_plot.left, m_plot.right - 1);
  x1 = std::clamp(x1, m_plot.left, m_plot.right - 1);
  y0 = std::clamp(y0, m_plot.top, m_plot.bottom - 1);
  y1 = std::clamp(y1, m_plot.top, m_plot.bottom - 1);
  if (std::abs(x1 - x0) < 2 || std::abs(y1 - y0) < 2) {
    Redraw();
    return;
  }
  auto limit = [&](double v, int axis) {
    double lo = LimitLo(axis), hi = LimitHi(axis);
    return Defined(lo) ? std::clamp(v, lo, hi) : v;
  };
  // Left and top pixels stay the left and top values: each axis keeps its orientation.
  double xl = limit(DataX(std::min(x0, x1)), -1), xr = limit(DataX(std::max(x0, x1)), -1);
  for (int a = 0; a < 2; ++a) {
    if (!Defined(m_viewYD[a])) continue;
    double yu = limit(DataY(std::min(y0, y1), a), a), yd = limit(DataY(std::max(y0, y1), a), a);
    if (yu != yd) {
      m_viewYU[a] = yu;
      m_viewYD[a] = yd;
    }
  }
  if (xl != xr) {
    m_viewXL = xl;
    m_viewXR = xr;
  }
  Redraw();
}
