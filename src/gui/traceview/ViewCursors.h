// Pointer shapes of the trace view: the arrow, the closed hand while the image
// is dragged, a cross for the zoom rectangle, an arrow with a small frame for
// the selection rectangle, and none over the plot while the cross lines show.
#pragma once

#include <QCursor>

class ViewCursors {
 public:
  enum Shape { kArrow, kHand, kZoom, kSelect, kHidden };

  static QCursor Make(Shape shape);
  // The pointer while no drag runs, for a zoom tool (1 none, 2 ZR, 4 SR).
  static Shape ForTool(int zoomTool);
  // The pointer during a drag mode (1 hand, 2 zoom, 4 selection; 0 none).
  static Shape ForDrag(int dragMode, int zoomTool);

 private:
  static QCursor SelectCursor();
};
