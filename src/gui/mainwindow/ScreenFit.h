// Keeps top-level windows inside the usable area of their screen: a window
// sized from a font or restored from settings must not open with its close box
// or scroll bar off-screen.
#pragma once

#include <QObject>
#include <QRect>

class QWidget;

// Moves and, if it is too big, shrinks window so that its frame lies inside
// available (the screen less task bars).
void FitInside(QWidget* window, const QRect& available);

// Installed once on the application: fits every top-level widget to its
// screen's available area when it is shown.
class ScreenFitFilter : public QObject {
 public:
  using QObject::QObject;
  bool eventFilter(QObject* watched, QEvent* event) override;
};
