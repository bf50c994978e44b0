#include "gui/tools/XGrapherWidget.h"

#include <QApplication>
#include <QImage>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include "display/XGrapher.h"

XGrapherWidget::XGrapherWidget(XGrapher& graph, QWidget* parent) : QWidget(parent), m_graph(graph) {
  setMouseTracking(true);
  setFocusPolicy(Qt::StrongFocus);
  setMinimumSize(120, 90);
  UpdateCursor();
}

void XGrapherWidget::UpdateCursor() {
  if (m_graph.ClickZoomState() == XGrapher::kClickZoomIn)
    setCursor(Qt::CrossCursor);
  else if (m_graph.ClickZoomState() == XGrapher::kClickZoomOut)
    setCursor(Qt::PointingHandCursor);
  else if (m_graph.DragMode() == XGrapher::kDragZoom)
    setCursor(Qt::CrossCursor);
  else
    setCursor(m_graph.Dragging() ? Qt::ClosedHandCursor : Qt::OpenHandCursor);
}

void XGrapherWidget::paintEvent(QPaintEvent*) {
  QPainter p(this);
  const BackingStore& store = m_graph.Store();
  if (!store.HasRaster() || !store.HasDescription()) {
    p.fillRect(rect(), Qt::white);
    return;
  }
  QImage image(store.Pixels(), store.ClientWidth(), store.ClientHeight(), store.Stride(),
               QImage::Format_Indexed8);
  QVector<QRgb> colors(256);
  const Palette& palette = store.GetPalette();
  for (int i = 0; i < 256; ++i) {
    uint32_t c = palette.Colorref(i);
    colors[i] = qRgb(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF);
  }
  image.setColorTable(colors);
  p.drawImage(0, 0, image);
}

void XGrapherWidget::resizeEvent(QResizeEvent*) {
  m_graph.Layout(width(), height());
  update();
}

void XGrapherWidget::Handle(uint32_t r) {
  if (r & XGrapher::kBeep) QApplication::beep();
  if (r & XGrapher::kWarpCursor) QCursor::setPos(mapToGlobal(QPoint(m_graph.WarpX(), m_graph.WarpY())));
  if (r & XGrapher::kCursorShape) UpdateCursor();
  if (r & XGrapher::kRepaint) update();
  if (r & XGrapher::kMoved) emit MouseMoved();
  if (r & XGrapher::kClicked) emit Clicked();
  if (r & XGrapher::kEscaped) emit Escaped();
}

void XGrapherWidget::mousePressEvent(QMouseEvent* e) {
  setFocus();
  if (e->button() != Qt::LeftButton && e->button() != Qt::RightButton) return;
  const QPoint pos = e->position().toPoint();
  Handle(m_graph.MouseDown(pos.x(), pos.y(),
                           e->button() == Qt::LeftButton ? XGrapher::kLeft : XGrapher::kRight));
}

void XGrapherWidget::mouseMoveEvent(QMouseEvent* e) {
  const QPoint pos = e->position().toPoint();
  const bool wasDragging = m_graph.Dragging();
  Handle(m_graph.MouseMove(pos.x(), pos.y()));
  if (wasDragging) UpdateCursor();
}

void XGrapherWidget::mouseReleaseEvent(QMouseEvent* e) {
  if (e->button() != Qt::LeftButton && e->button() != Qt::RightButton) return;
  const QPoint pos = e->position().toPoint();
  Handle(
      m_graph.MouseUp(pos.x(), pos.y(), e->button() == Qt::LeftButton ? XGrapher::kLeft : XGrapher::kRight));
  UpdateCursor();
}

void XGrapherWidget::keyPressEvent(QKeyEvent* e) {
  if (e->key() == Qt::Key_Shift && !e->isAutoRepeat()) return Handle(m_graph.ShiftKey(true));
  if (e->key() == Qt::Key_Escape) return Handle(m_graph.EscapeKey());
  QWidget::keyPressEvent(e);
}

void XGrapherWidget::keyReleaseEvent(QKeyEvent* e) {
  if (e->key() == Qt::Key_Shift && !e->isAutoRepeat()) return Handle(m_graph.ShiftKey(false));
  QWidget::keyReleaseEvent(e);
}

void XGrapherWidget::leaveEvent(QEvent*) {
  emit MouseMoved();
}
