#include "gui/HeaderWordsPage.h"

#include "gui/DisplayTarget.h"

HeaderWordsPage::HeaderWordsPage(QWidget* parent) : QWidget(parent) {}

void HeaderWordsPage::SetTarget(DisplayTarget* view) {
  m_view = view;
}
