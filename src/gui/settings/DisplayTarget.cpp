#include "gui/settings/DisplayTarget.h"

#include <QWidget>

#include "app/AppSettings.h"

void ReturnFocusToView(DisplayTarget* view, const QWidget* page, bool afterSlider) {
  if (!view || !Settings().FocusReturnsToView(afterSlider)) return;
  QWidget* target = view->FocusWidget();
  if (!target) return;
  if (target->window() != page->window()) target->activateWindow();
  target->setFocus(Qt::OtherFocusReason);
}
