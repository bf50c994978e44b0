// The settings panel's tab bar: its tabs wrap onto as many rows as the width
// needs, so every page is in sight at once, however narrow the panel. It
// stands above a QTabWidget whose own bar it hides, and mirrors it: titles,
// enabled states and the current tab come from the widget, and a click or an
// arrow key makes a tab current there. Rows keep their order whichever tab is
// current. User-interface thread only.
#pragma once

#include <QVector>
#include <QWidget>

class QTabWidget;

class WrapTabBar : public QWidget {
  Q_OBJECT

 public:
  explicit WrapTabBar(QTabWidget* tabs, QWidget* parent = nullptr);

  // Tabs were added, removed or renamed in the widget.
  void SyncTabs();
  // Tab index's rectangle in this bar (empty when there is no such tab).
  QRect TabRect(int index) const;
  // The tab under pos, or -1.
  int TabAt(QPoint pos) const;
  int RowCount() const;

  bool hasHeightForWidth() const override { return true; }
  int heightForWidth(int width) const override;
  QSize sizeHint() const override;
  QSize minimumSizeHint() const override;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  QSize TabSize(int index) const;
  // Tab rectangles for a bar of that width: filled row by row, and when
  // there is more than one row each row stretched to the full width.
  QVector<QRect> LayoutTabs(int width) const;
  void Relayout();

  QTabWidget* m_tabs;
  QVector<QRect> m_rects;
};
