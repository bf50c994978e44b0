#include "qttext/QtTextRenderer.h"

#include <QFont>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QString>
#include <QTransform>
#include <cmath>
#include <map>
#include <tuple>

#include "log/Status.h"

// Fonts are built once per (family, pixel height, weight): measuring happens
// for every label of every redraw.
struct QtTextRenderer::Fonts {
  std::map<std::tuple<std::string, int, int>, QFont> fonts;

  const QFont& Get(const TextStyle& style) {
    auto key = std::make_tuple(style.family, style.pixelHeight, style.weight);
    auto it = fonts.find(key);
    if (it != fonts.end()) return it->second;
    QFont font(QString::fromStdString(style.family));
    // Monochrome glyphs: a light face antialiased at 12 pixels has strokes
    // below half coverage, which the raster would drop.
    font.setStyleHint(QFont::SansSerif, QFont::NoAntialias);
    font.setPixelSize(std::max(style.pixelHeight, 1));
    font.setWeight(static_cast<QFont::Weight>(std::clamp(style.weight, 100, 900)));
    return fonts.emplace(key, font).first->second;
  }
};

QtTextRenderer::QtTextRenderer() : m_fonts(std::make_unique<Fonts>()) {}
QtTextRenderer::~QtTextRenderer() = default;

TextExtent QtTextRenderer::Measure(std::string_view text, const TextStyle& style) {
  if (QGuiApplication::instance() == nullptr) return {};
  QFontMetrics metrics(m_fonts->Get(style));
  QString s = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
  return {metrics.horizontalAdvance(s), metrics.height()};
}

int QtTextRenderer::Rasterize(std::string_view text, const TextStyle& style, TextMask* mask) {
  if (QGuiApplication::instance() == nullptr) return kStatusRefused;
  const QFont& font = m_fonts->Get(style);
  QFontMetrics metrics(font);
  QString s = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
  int w = metrics.horizontalAdvance(s), h = metrics.height();
  if (w <= 0 || h <= 0) {
    *mask = TextMask{};
    return 0;
  }
  // Counter-clockwise on screen is a negative angle in Qt's y-down frame.
  QTransform turn;
  turn.rotate(-style.angle);
  QRectF box = turn.mapRect(QRectF(0, 0, w, h));
  int left = static_cast<int>(std::floor(box.left())), top = static_cast<int>(std::floor(box.top()));
  int width = static_cast<int>(std::ceil(box.right())) - left,
      height = static_cast<int>(std::ceil(box.bottom())) - top;
  QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
  if (image.isNull()) return kStatusNoMemory;
  image.fill(Qt::transparent);
  {
    QPainter painter(&image);
    painter.setRenderHint(QPainter::TextAntialiasing, false);
    painter.translate(-left, -top);
    painter.setTransform(turn, true);
    painter.setFont(font);
    painter.setPen(Qt::white);
    painter.drawText(QPointF(0, metrics.ascent()), s);
  }
  mask->left = left;
  mask->top = top;
  mask->width = width;
  mask->height = height;
  mask->coverage.resize(static_cast<std::size_t>(width) * height);
  for (int y = 0; y < height; ++y) {
    const QRgb* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
    for (int x = 0; x < width; ++x)
      mask->coverage[static_cast<std::size_t>(y) * width + x] = static_cast<uint8_t>(qAlpha(row[x]));
  }
  return 0;
}
