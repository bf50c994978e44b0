// The "Header Words" tab of the settings panel: which header words label the
// traces above the plot, and how densely.
#pragma once

#include <QWidget>

class DisplayTarget;

class HeaderWordsPage : public QWidget {
  Q_OBJECT

 public:
  explicit HeaderWordsPage(QWidget* parent = nullptr);

  // Binds the page to a view (nullptr: none) and refills the controls from
  // the view's settings.
  void SetTarget(DisplayTarget* view);

 private:
  DisplayTarget* m_view = nullptr;
};
