#include "gui/traceview/TraceViewOverlay.h"

#include <QPainter>
#include <algorithm>
#include <string>

#include "display/ColorScheme.h"
#include "display/TextRenderer.h"
#include "display/TraceNavigator.h"
#include "display/VTracePlotter.h"

void TraceViewOverlay::InvertFrame(QPainter& painter, const PixelRect& r) {
  if (r.Empty()) return;
  painter.save();
  // White minus each channel: every colour bit flipped, alpha untouched.
  painter.setCompositionMode(QPainter::CompositionMode_Difference);
  const QColor white(255, 255, 255);
  const int w = r.right - r.left, h = r.bottom - r.top;
  // Four disjoint strips, so that no pixel is inverted twice.
  painter.fillRect(QRect(r.left, r.top, w, 1), white);
  if (h > 1) painter.fillRect(QRect(r.left, r.bottom - 1, w, 1), white);
  if (h > 2) {
    painter.fillRect(QRect(r.left, r.top + 1, 1, h - 2), white);
    if (w > 1) painter.fillRect(QRect(r.right - 1, r.top + 1, 1, h - 2), white);
  }
  painter.restore();
}

bool TraceViewOverlay::OverPlot(const VTracePlotter& plotter, QPoint pos) {
  const AxisLayout::Result& g = plotter.Geometry();
  return pos.x() >= g.plotLeft && pos.x() < g.plotLeft + g.plotWidth && pos.y() >= g.plotTop &&
         pos.y() < g.plotTop + g.plotHeight;
}

QVector<QRect> TraceViewOverlay::CrossLineRects(VTracePlotter& plotter, QPoint pos, int thickness) {
  const AxisLayout::Result& g = plotter.Geometry();
  const int t = std::max(thickness, 1), before = (t - 1) / 2;
  const int right = g.plotLeft + g.plotWidth, bottom = g.plotTop + g.plotHeight;
  QVector<QRect> rects;
  if (pos.y() > g.plotTop) rects.append(QRect(g.plotLeft, pos.y() - before, right - g.plotLeft, t));
  if (pos.x() <= g.plotLeft) return rects;
  rects.append(QRect(pos.x() - before, g.plotTop, t, bottom - g.plotTop));
  // The header plot band sits at the top of the client area.
  const HeaderPlot& plot = plotter.GetHeaderPlot();
  if (plot.Shown()) rects.append(QRect(pos.x() - before, 0, t, plot.Settings().m_windowHeight));
  return rects;
}

void TraceViewOverlay::CrossLines(QPainter& painter, VTracePlotter& plotter, QPoint pos, int thickness) {
  const QColor color = FromColorref(VTracePlotter::CrossCursorColor(plotter.Params().SchemeRow()));
  for (const QRect& r : CrossLineRects(plotter, pos, thickness)) painter.fillRect(r, color);
}

QRect TraceViewOverlay::ToQRect(const PixelRect& r) {
  return r.Empty() ? QRect() : QRect(r.left, r.top, r.right - r.left, r.bottom - r.top);
}

QImage TraceViewOverlay::RenderPopup(const HeaderWordPopup& popup, VTracePlotter& plotter,
                                     TextRenderer* text) {
  const QRect box = ToQRect(popup.box);
  if (box.isEmpty()) return {};
  QImage image(box.size(), QImage::Format_RGB32);
  image.fill(FromColorref(VTracePlotter::kPopupColor));
  if (text == nullptr) return image;
  const AxisLayout::Metrics& m = plotter.Metrics();
  const QRgb ink = FromColorref(plotter.Store().GetPalette().Colorref(kSchemeAxes)).rgb();
  TextMask mask;
  for (std::size_t r = 0; r < popup.lines.size(); ++r) {
    const std::string& label = popup.lines[r];
    if (label.empty() || text->Rasterize(label, m.bold, &mask) != 0) continue;
    const int x0 = (box.width() - text->Measure(label, m.bold).width) / 2 + mask.left;
    const int y0 = static_cast<int>(r) * popup.rowHeight + (popup.rowHeight - m.textHeight) / 2 + mask.top;
    for (int y = 0; y < mask.height; ++y) {
      for (int x = 0; x < mask.width; ++x) {
        const int px = x0 + x, py = y0 + y;
        if (mask.coverage[static_cast<std::size_t>(y) * mask.width + x] >= 128 &&
            image.rect().contains(px, py))
          image.setPixel(px, py, ink);
      }
    }
  }
  return image;
}
