// The strip under the main trace view that shows the cursor readout: filled
// light grey, the text in the bold face 10 pixels from the left, on a baseline
// one third of the strip's height above its bottom. While a long operation
// runs, a progress bar with its label sits at the strip's right end.
#pragma once

#include <QString>
#include <QWidget>
#include <cstdint>

class QProgressBar;

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
  QProgressBar* ProgressBar() const { return m_bar; }
  static constexpr int kBarWidth = 260;

 public slots:
  void SetText(const QString& text);
  // Matches TraceViewWidget::CursorMoved.
  void ShowReadout(int trace, double time, const QString& text);
  // Shows the bar: label and done of total (total 0: a busy bar without a
  // known end).
  void ShowProgress(const QString& label, qint64 done, qint64 total);
  void HideProgress();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  void PlaceBar();

  QString m_text;
  QProgressBar* m_bar = nullptr;
};
