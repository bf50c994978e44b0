#include "gui/mainwindow/SplashWidget.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <cmath>

namespace {
QImage MakeSplashImage() {
  QImage image(SplashWidget::kWidth, SplashWidget::kHeight, QImage::Format_RGB32);
  QPainter p(&image);
  QLinearGradient g(0, 0, SplashWidget::kWidth, 0);
  g.setColorAt(0.0, QColor(24, 52, 92));
  g.setColorAt(1.0, QColor(70, 130, 180));
  p.fillRect(image.rect(), g);
  // A few wiggles as the mark of the program.
  p.setPen(QPen(QColor(255, 255, 255, 120), 1.5));
  for (int t = 0; t < 12; ++t) {
    QPainterPath path;
    double x0 = 470 + t * 20;
    path.moveTo(x0, 10);
    for (int y = 10; y < SplashWidget::kHeight - 10; y += 3)
      path.lineTo(x0 + 6 * std::sin(y * 0.12 + t * 0.6) * std::exp(-std::abs(y - 77 - t * 2) / 30.0), y);
    p.drawPath(path);
  }
  p.setPen(Qt::white);
  QFont title("Tahoma");
  title.setStyleHint(QFont::SansSerif);
  title.setPixelSize(56);
  title.setBold(true);
  p.setFont(title);
  p.drawText(QRect(30, 20, 440, 70), Qt::AlignLeft | Qt::AlignVCenter, "Kestrix");
  QFont sub("Tahoma");
  sub.setStyleHint(QFont::SansSerif);
  sub.setPixelSize(18);
  p.setFont(sub);
  p.drawText(QRect(32, 95, 440, 40), Qt::AlignLeft | Qt::AlignVCenter, "seismic trace viewer and editor");
  return image;
}
}  // namespace

SplashWidget::SplashWidget(QWidget* parent) : QWidget(parent), m_image(MakeSplashImage()) {
  setAttribute(Qt::WA_OpaquePaintEvent);
}

QRect SplashWidget::ImageRect(const QSize& client) {
  int w = client.width() < kWidth ? client.width() : kWidth;
  int x = (client.width() - w) / 2;
  int y = (client.height() - kHeight) / 2;
  return QRect(x, y, w, kHeight);
}

void SplashWidget::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.fillRect(rect(), Qt::white);
  p.setRenderHint(QPainter::SmoothPixmapTransform);
  p.drawImage(ImageRect(size()), m_image);
}
