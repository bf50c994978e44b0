#include "gui/traceview/CursorStatusStrip.h"

#include <QFontMetrics>
#include <QPainter>
#include <QProgressBar>
#include <algorithm>

CursorStatusStrip::CursorStatusStrip(QWidget* parent) : QWidget(parent) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  QFont bold = font();
  bold.setBold(true);
  setFont(bold);
  setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
  m_bar = new QProgressBar(this);
  m_bar->setFont(QFont());  // the strip's bold face is for the readout
  m_bar->setTextVisible(true);
  m_bar->hide();
}

void CursorStatusStrip::ShowProgress(const QString& label, qint64 done, qint64 total) {
  // The bar counts in int: large byte counts are scaled to per mille.
  if (total > 0) {
    m_bar->setRange(0, 1000);
    m_bar->setValue(static_cast<int>(std::clamp<qint64>(done, 0, total) * 1000 / total));
  } else {
    m_bar->setRange(0, 0);
  }
  m_bar->setFormat(label + "  %p%");
  if (m_bar->isHidden()) {
    PlaceBar();
    m_bar->show();
  }
}

void CursorStatusStrip::HideProgress() {
  m_bar->hide();
}

void CursorStatusStrip::PlaceBar() {
  const int w = std::min(kBarWidth, width() / 2);
  m_bar->setGeometry(width() - w - 2, 1, w, height() - 2);
}

void CursorStatusStrip::resizeEvent(QResizeEvent*) {
  PlaceBar();
}

QSize CursorStatusStrip::sizeHint() const {
  // Room for the text with a third of the height below its baseline.
  const int h = QFontMetrics(font()).ascent() * 3 / 2 + 4;
  return {200, h};
}

void CursorStatusStrip::SetText(const QString& text) {
  if (text == m_text) return;
  m_text = text;
  update();
}

void CursorStatusStrip::ShowReadout(int, double, const QString& text) {
  SetText(text);
}

void CursorStatusStrip::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.fillRect(rect(), QColor(kFill & 0xFF, (kFill >> 8) & 0xFF, (kFill >> 16) & 0xFF));
  p.setPen(Qt::black);
  p.drawText(kTextLeft, Baseline(), m_text);
}
