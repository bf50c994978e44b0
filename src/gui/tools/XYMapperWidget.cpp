#include "gui/tools/XYMapperWidget.h"

#include <QCursor>
#include <QImage>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <cmath>

#include "display/BasemapGraphs.h"
#include "display/DisplayParams.h"
#include "display/RasterPainter.h"

namespace {
constexpr int kDpi = 96;
constexpr int kClickSlop = 2;  // pixels a click may move and still be a click
}  // namespace

XYMapperWidget::XYMapperWidget(QWidget* parent) : QWidget(parent) {
  setMouseTracking(true);
  setFocusPolicy(Qt::StrongFocus);
  setMinimumSize(200, 150);
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void XYMapperWidget::EnsureRaster() {
  if (!m_store.HasDescription()) {
    if (m_store.CreateBackingStore(kDpi, DisplayParams{}) != 0) return;
    BuildMapPalette(m_store.GetPalette());
  }
  const int w = std::max(width(), 2), h = std::max(height(), 2);
  if (m_store.ClientWidth() != w || m_store.ClientHeight() != h) {
    if (m_store.ResizeBackingStore(w, h, 3) != 0) return;
  }
  m_mapper.SetClientSize(w, h);
}

int XYMapperWidget::FitMap(const MapRange& range) {
  EnsureRaster();
  const int status = m_mapper.FitMap(range);
  Redraw();
  return status;
}

void XYMapperWidget::Redraw() {
  EnsureRaster();
  if (!m_store.HasRaster()) return;
  m_rubberShown = false;
  m_mapper.Draw(m_store, {m_graphs, m_status, &m_text});
  update();
}

void XYMapperWidget::SetStatus(const std::string& status) {
  if (status == m_status) return;
  m_status = status;
  if (!m_store.HasRaster()) return;
  m_mapper.DrawStatus(m_store, m_status, &m_text);
  update();
}

void XYMapperWidget::SetTool(MapTool tool) {
  m_tool = tool;
  UpdateCursor(false);
}

void XYMapperWidget::SetDigitizing(bool on) {
  m_digitizing = on;
  UpdateCursor(false);
}

void XYMapperWidget::UpdateCursor(bool shift) {
  if (m_digitizing) return setCursor(Qt::CrossCursor);
  switch (m_tool) {
    case MapTool::kZoom:
      setCursor(shift ? Qt::SizeBDiagCursor : Qt::SizeFDiagCursor);
      break;
    case MapTool::kHand:
      setCursor(m_pressed ? Qt::ClosedHandCursor : Qt::OpenHandCursor);
      break;
    case MapTool::kRectangle:
    case MapTool::kDistance:
      setCursor(Qt::CrossCursor);
      break;
    case MapTool::kPointer:
      unsetCursor();
      break;
  }
}

void XYMapperWidget::paintEvent(QPaintEvent*) {
  QPainter p(this);
  if (!m_store.HasRaster()) {
    p.fillRect(rect(), Qt::white);
    return;
  }
  QImage image(m_store.Pixels(), m_store.ClientWidth(), m_store.ClientHeight(), m_store.Stride(),
               QImage::Format_Indexed8);
  QVector<QRgb> colors(256);
  const Palette& palette = m_store.GetPalette();
  for (int i = 0; i < 256; ++i) {
    const uint32_t c = palette.Colorref(i);
    colors[i] = qRgb(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF);
  }
  image.setColorTable(colors);
  p.drawImage(0, 0, image);
}

void XYMapperWidget::resizeEvent(QResizeEvent*) {
  const MapRange before = m_mapper.Range();
  const bool had = m_store.HasRaster();
  EnsureRaster();
  // A resize keeps the centre and the scale's fit of the range shown before.
  if (had && before.Valid()) m_mapper.FitMap(before);
  Redraw();
}

void XYMapperWidget::ToggleRubber() {
  RasterPainter painter(m_store);
  painter.SetClip(m_mapper.Plot());
  painter.SetRasterOp(RasterOp::kInvert);
  if (m_tool == MapTool::kRectangle) {
    const QRect r = QRect(m_pressAt, m_lastAt).normalized();
    painter.FrameRect({r.left(), r.top(), r.right() + 1, r.bottom() + 1});
  } else {
    painter.Line(m_pressAt.x(), m_pressAt.y(), m_lastAt.x(), m_lastAt.y());
  }
  m_rubberShown = !m_rubberShown;
}

void XYMapperWidget::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  setFocus();
  m_pressed = true;
  m_moved = false;
  m_pressAt = m_lastAt = event->position().toPoint();
  UpdateCursor(event->modifiers() & Qt::ShiftModifier);
}

void XYMapperWidget::mouseMoveEvent(QMouseEvent* event) {
  const QPoint at = event->position().toPoint();
  const double x = m_mapper.MapX(at.x()), y = m_mapper.MapY(at.y());
  if (m_pressed && (at - m_pressAt).manhattanLength() > kClickSlop) m_moved = true;
  const bool dragging = m_pressed && m_moved && !m_digitizing;
  if (dragging && m_tool == MapTool::kHand) {
    m_mapper.Pan(at.x() - m_lastAt.x(), at.y() - m_lastAt.y(), m_panLimit);
    m_lastAt = at;
    Redraw();
    return;
  }
  if (dragging && (m_tool == MapTool::kRectangle || m_tool == MapTool::kDistance)) {
    if (m_rubberShown) ToggleRubber();
    m_lastAt = at;
    ToggleRubber();
    const double x0 = m_mapper.MapX(m_pressAt.x()), y0 = m_mapper.MapY(m_pressAt.y());
    SetStatus(m_tool == MapTool::kRectangle ? RectangleText(x0, y0, x, y) : DistanceText(x0, y0, x, y));
    update();
    return;
  }
  emit MapMoved(x, y);
}

void XYMapperWidget::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton || !m_pressed) return;
  m_pressed = false;
  const QPoint at = event->position().toPoint();
  const bool click = !m_moved;
  const double x = m_mapper.MapX(at.x()), y = m_mapper.MapY(at.y());
  if (m_rubberShown) ToggleRubber();
  UpdateCursor(event->modifiers() & Qt::ShiftModifier);
  if (m_digitizing || m_tool == MapTool::kPointer) {
    if (click) emit MapClicked(x, y);
    update();
    return;
  }
  if (m_tool == MapTool::kZoom && click) {
    const bool out = event->modifiers() & Qt::ShiftModifier;
    m_mapper.ZoomAt(x, y, out ? 1.0 / XYMapper::kZoomFactor : XYMapper::kZoomFactor);
    Redraw();
    QCursor::setPos(mapToGlobal(PixelOf(x, y)));
    return;
  }
  if (m_tool == MapTool::kRectangle && !click &&
      m_mapper.ZoomToRect(m_pressAt.x(), m_pressAt.y(), at.x(), at.y())) {
    Redraw();
    return;
  }
  update();
}

void XYMapperWidget::keyPressEvent(QKeyEvent* event) {
  switch (event->key()) {
    case Qt::Key_Escape:
      emit EscapePressed();
      return;
    case Qt::Key_Backspace:
      emit BackspacePressed();
      return;
    case Qt::Key_Shift:
      UpdateCursor(true);
      return;
    default:
      QWidget::keyPressEvent(event);
  }
}
