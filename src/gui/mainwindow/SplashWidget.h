// The splash shown in the main window until the first good load: a 732 x 154
// image centred vertically, at its natural size or squeezed to the width of a
// narrower window.
#pragma once

#include <QImage>
#include <QWidget>

class SplashWidget : public QWidget {
  Q_OBJECT

 public:
  static constexpr int kWidth = 732;
  static constexpr int kHeight = 154;

  explicit SplashWidget(QWidget* parent = nullptr);
  // Where the image is drawn for a client area of this size.
  static QRect ImageRect(const QSize& client);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QImage m_image;
};
