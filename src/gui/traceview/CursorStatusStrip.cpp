#include "gui/traceview/CursorStatusStrip.h"

#include <QFontMetrics>
#include <QPainter>

CursorStatusStrip::CursorStatusStrip(QWidget* parent) : QWidget(parent) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  QFont bold = font();
  bold.setBold(true);
  setFont(bold);
  setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
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
