#include "gui/settings/ScrolledPage.h"

#include <QScrollArea>
#include <QVBoxLayout>
#include <QWidget>

QWidget* MakeScrolledBody(QWidget* page) {
  auto* layout = new QVBoxLayout(page);
  layout->setContentsMargins(0, 0, 0, 0);
  auto* area = new QScrollArea(page);
  area->setFrameShape(QFrame::NoFrame);
  area->setWidgetResizable(true);
  auto* body = new QWidget;
  area->setWidget(body);
  // The page's own background shows through, as it did without the area.
  area->viewport()->setAutoFillBackground(false);
  body->setAutoFillBackground(false);
  layout->addWidget(area);
  return body;
}
