// The "Header Plot" tab of the settings panel: three curves of header words
// drawn in a band above the traces, and the band's look.
#pragma once

#include <QWidget>

class DisplayTarget;

class HeaderPlotPage : public QWidget {
  Q_OBJECT

 public:
  explicit HeaderPlotPage(QWidget* parent = nullptr);

  // Binds the page to a view (nullptr: none) and refills the controls from
  // the view's settings.
  void SetTarget(DisplayTarget* view);

 private:
  DisplayTarget* m_view = nullptr;
};
