#include "gui/settings/WrapTabBar.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QStyleOptionTab>
#include <QStylePainter>
#include <QTabBar>
#include <QTabWidget>
#include <algorithm>

WrapTabBar::WrapTabBar(QTabWidget* tabs, QWidget* parent) : QWidget(parent), m_tabs(tabs) {
  setFocusPolicy(Qt::TabFocus);
  setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
  m_tabs->tabBar()->hide();
  connect(m_tabs, &QTabWidget::currentChanged, this, qOverload<>(&QWidget::update));
  SyncTabs();
}

void WrapTabBar::SyncTabs() {
  Relayout();
  updateGeometry();
  update();
}

QSize WrapTabBar::TabSize(int index) const {
  QStyleOptionTab option;
  option.initFrom(this);
  option.shape = QTabBar::RoundedNorth;
  option.text = m_tabs->tabText(index);
  const QFontMetrics& metrics = fontMetrics();
  const int hspace = style()->pixelMetric(QStyle::PM_TabBarTabHSpace, &option, this);
  const int vspace = style()->pixelMetric(QStyle::PM_TabBarTabVSpace, &option, this);
  const QSize contents(metrics.horizontalAdvance(option.text) + hspace, metrics.height() + vspace);
  return style()->sizeFromContents(QStyle::CT_TabBarTab, &option, contents, this);
}

QVector<QRect> WrapTabBar::LayoutTabs(int width) const {
  QVector<QRect> rects;
  QVector<int> rowStarts;
  int x = 0, y = 0, rowHeight = 0;
  for (int i = 0; i < m_tabs->count(); ++i) {
    const QSize size = TabSize(i);
    if (i == 0 || (x > 0 && x + size.width() > width)) {
      if (i > 0) y += rowHeight;
      x = 0;
      rowHeight = 0;
      rowStarts.append(i);
    }
    rects.append(QRect(QPoint(x, y), size));
    x += size.width();
    rowHeight = std::max(rowHeight, size.height());
  }
  if (rowStarts.size() < 2) return rects;
  // Several rows: each spread over the whole width, the spare pixels shared
  // out from the left, so the rows line up as one block.
  rowStarts.append(static_cast<int>(rects.size()));
  for (int r = 0; r + 1 < rowStarts.size(); ++r) {
    const int first = rowStarts[r], end = rowStarts[r + 1], n = end - first;
    const int spare = std::max(width - (rects[end - 1].right() + 1), 0);
    int shift = 0;
    for (int i = first; i < end; ++i) {
      const int extra = spare / n + (i - first < spare % n ? 1 : 0);
      rects[i].translate(shift, 0);
      rects[i].setWidth(rects[i].width() + extra);
      shift += extra;
    }
  }
  return rects;
}

void WrapTabBar::Relayout() {
  m_rects = LayoutTabs(width());
}

QRect WrapTabBar::TabRect(int index) const {
  return index >= 0 && index < m_rects.size() ? m_rects[index] : QRect();
}

int WrapTabBar::TabAt(QPoint pos) const {
  for (int i = 0; i < m_rects.size(); ++i)
    if (m_rects[i].contains(pos)) return i;
  return -1;
}

int WrapTabBar::RowCount() const {
  int rows = 0, lastTop = -1;
  for (const QRect& r : m_rects) {
    if (r.top() != lastTop) ++rows;
    lastTop = r.top();
  }
  return rows;
}

int WrapTabBar::heightForWidth(int width) const {
  int bottom = 0;
  for (const QRect& r : LayoutTabs(width)) bottom = std::max(bottom, r.bottom() + 1);
  return bottom;
}

// The bar takes the width of what it stands in and grows rows to fit, so it
// asks for no more than its widest tab.
QSize WrapTabBar::sizeHint() const {
  return minimumSizeHint();
}

QSize WrapTabBar::minimumSizeHint() const {
  int width = 0;
  for (int i = 0; i < m_tabs->count(); ++i) width = std::max(width, TabSize(i).width());
  return {width, heightForWidth(width)};
}

void WrapTabBar::paintEvent(QPaintEvent*) {
  QStylePainter painter(this);
  const int current = m_tabs->currentIndex();
  // The current tab last, so that its raised shape lies over its neighbours.
  QVector<int> order;
  for (int i = 0; i < m_rects.size(); ++i)
    if (i != current) order.append(i);
  if (current >= 0 && current < m_rects.size()) order.append(current);
  for (int i : order) {
    QStyleOptionTab option;
    option.initFrom(this);
    option.shape = QTabBar::RoundedNorth;
    option.rect = m_rects[i];
    option.text = m_tabs->tabText(i);
    option.row = 0;
    const bool rowStart = i == 0 || m_rects[i - 1].top() != m_rects[i].top();
    const bool rowEnd = i + 1 == m_rects.size() || m_rects[i + 1].top() != m_rects[i].top();
    option.position = rowStart && rowEnd ? QStyleOptionTab::OnlyOneTab
                      : rowStart         ? QStyleOptionTab::Beginning
                      : rowEnd           ? QStyleOptionTab::End
                                         : QStyleOptionTab::Middle;
    option.selectedPosition = !rowStart && i - 1 == current ? QStyleOptionTab::PreviousIsSelected
                              : !rowEnd && i + 1 == current ? QStyleOptionTab::NextIsSelected
                                                            : QStyleOptionTab::NotAdjacent;
    option.state &= ~(QStyle::State_HasFocus | QStyle::State_MouseOver);
    if (i == current) {
      option.state |= QStyle::State_Selected;
      if (hasFocus()) option.state |= QStyle::State_HasFocus;
    }
    if (!m_tabs->isTabEnabled(i)) option.state &= ~QStyle::State_Enabled;
    // A style grows the current tab down over the base line below it; in an
    // upper row that would cover the tabs under it.
    QRect clip = m_rects[i].adjusted(-2, -2, 2, 0);
    if (m_rects[i].top() == m_rects.back().top()) clip.setBottom(height());
    painter.save();
    painter.setClipRect(clip);
    painter.drawControl(QStyle::CE_TabBarTab, option);
    painter.restore();
  }
}

void WrapTabBar::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  Relayout();
}

void WrapTabBar::mousePressEvent(QMouseEvent* event) {
  const int index = event->button() == Qt::LeftButton ? TabAt(event->position().toPoint()) : -1;
  if (index < 0 || !m_tabs->isTabEnabled(index)) {
    event->ignore();
    return;
  }
  m_tabs->setCurrentIndex(index);
}

void WrapTabBar::keyPressEvent(QKeyEvent* event) {
  const int step = event->key() == Qt::Key_Left ? -1 : event->key() == Qt::Key_Right ? 1 : 0;
  if (step == 0 || m_tabs->count() == 0) {
    QWidget::keyPressEvent(event);
    return;
  }
  for (int i = m_tabs->currentIndex() + step; i >= 0 && i < m_tabs->count(); i += step) {
    if (!m_tabs->isTabEnabled(i)) continue;
    m_tabs->setCurrentIndex(i);
    break;
  }
}

void WrapTabBar::changeEvent(QEvent* event) {
  QWidget::changeEvent(event);
  if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange) SyncTabs();
}
