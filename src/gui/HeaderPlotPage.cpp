#include "gui/HeaderPlotPage.h"

#include "gui/DisplayTarget.h"

HeaderPlotPage::HeaderPlotPage(QWidget* parent) : QWidget(parent) {}

void HeaderPlotPage::SetTarget(DisplayTarget* view) {
  m_view = view;
}
