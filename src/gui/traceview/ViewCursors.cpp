#include "gui/traceview/ViewCursors.h"

#include <QPainter>
#include <QPixmap>
#include <QPolygon>

#include "display/DisplayParams.h"

QCursor ViewCursors::Make(Shape shape) {
  switch (shape) {
    case kHand:
      return QCursor(Qt::ClosedHandCursor);
    case kZoom:
      return QCursor(Qt::CrossCursor);
    case kSelect:
      return SelectCursor();
    case kHidden:
      return QCursor(Qt::BlankCursor);
    case kArrow:
      break;
  }
  return QCursor(Qt::ArrowCursor);
}

ViewCursors::Shape ViewCursors::ForTool(int zoomTool) {
  if (zoomTool == kZoomRectangle) return kZoom;
  if (zoomTool == kZoomSelect) return kSelect;
  return kArrow;
}

ViewCursors::Shape ViewCursors::ForDrag(int dragMode, int zoomTool) {
  switch (dragMode) {
    case 1:
      return kHand;
    case 2:
      return kZoom;
    case 4:
      return kSelect;
    default:
      return ForTool(zoomTool);
  }
}

// Toolkits offer no selection pointer: an arrow with a dashed frame at its
// lower right, hot spot at the arrow's tip. Made when the shape changes
// (pixmaps must not outlive the application).
QCursor ViewCursors::SelectCursor() {
  QPixmap pixmap(32, 32);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  const QPolygon arrow({QPoint(0, 0), QPoint(0, 15), QPoint(4, 11), QPoint(7, 17), QPoint(9, 16),
                        QPoint(6, 10), QPoint(11, 10)});
  p.setPen(Qt::white);
  p.setBrush(Qt::black);
  p.drawPolygon(arrow);
  p.setBrush(Qt::NoBrush);
  p.setPen(QPen(Qt::black, 1, Qt::DashLine));
  p.drawRect(14, 16, 14, 10);
  p.end();
  return QCursor(pixmap, 0, 0);
}
