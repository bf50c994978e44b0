// The strip under the main trace view that shows the cursor readout: filled
// light grey, the text in the bold face 10 pixels from the left, on a baseline
// one third of the strip's height above its bottom.
#pragma once

#include <QString>
#include <QWidget>
#include <cstdint>

class CursorStatusStrip : public QWidget {
  Q_OBJECT

 public:
  static constexpr uint32_t kFill = 0xF0F0F0;  // 0x00BBGGRR
  static constexpr int kTextLeft = 10;

  explicit CursorStatusStrip(QWidget* parent = nullptr);

  QString Text() const { return m_text; }
  // Baseline row of the text for the current height.
  int Baseline() const { return height() - height() / 3; }
  QSize sizeHint() const override;

 public slots:
  void SetText(const QString& text);
  // Matches TraceViewWidget::CursorMoved.
  void ShowReadout(int trace, double time, const QString& text);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QString m_text;
};
