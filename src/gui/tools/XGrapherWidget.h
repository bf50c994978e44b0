// The curve plotter's window: paints the plotter's raster and turns Qt mouse
// and key events into XGrapher calls; the owner hears moves, clicks and
// Escape through signals. The plotter belongs to the owner.
#pragma once

#include <QWidget>

class XGrapher;

class XGrapherWidget : public QWidget {
  Q_OBJECT

 public:
  XGrapherWidget(XGrapher& graph, QWidget* parent = nullptr);
  XGrapher& Graph() { return m_graph; }
  // Cursor after a change of drag mode or click zoom.
  void UpdateCursor();

 signals:
  void MouseMoved();
  void Clicked();
  void Escaped();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;
  void leaveEvent(QEvent* event) override;

 private:
  void Handle(uint32_t result);

  XGrapher& m_graph;
};
