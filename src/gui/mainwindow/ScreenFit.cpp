#include "gui/mainwindow/ScreenFit.h"

#include <QEvent>
#include <QScreen>
#include <QWidget>
#include <algorithm>

#include "app/SettingsFile.h"

void FitInside(QWidget* window, const QRect& available) {
  if (!window || available.isEmpty()) return;
  // Before the window manager has framed the window the two rectangles are
  // equal; afterwards the frame's margins are kept out of the client size.
  const QRect frame = window->frameGeometry();
  const QRect client = window->geometry();
  const int extraW = frame.width() - client.width();
  const int extraH = frame.height() - client.height();
  const ScreenRect fitted =
      ClampWindowRect({frame.x(), frame.y(), frame.width(), frame.height()},
                      {available.x(), available.y(), available.width(), available.height()});
  if (fitted.width != frame.width() || fitted.height != frame.height())
    window->resize(std::max(1, fitted.width - extraW), std::max(1, fitted.height - extraH));
  if (fitted.left != frame.x() || fitted.top != frame.y()) window->move(fitted.left, fitted.top);
}

bool ScreenFitFilter::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::Show && watched->isWidgetType()) {
    auto* widget = static_cast<QWidget*>(watched);
    const Qt::WindowType type = widget->windowType();
    // Menus, tips and pop-ups place themselves.
    if ((type == Qt::Window || type == Qt::Dialog) && widget->screen())
      FitInside(widget, widget->screen()->availableGeometry());
  }
  return QObject::eventFilter(watched, event);
}
