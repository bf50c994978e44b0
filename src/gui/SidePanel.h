// The left-hand panel of the main window. It shows the Section Info and the
// selected trace's number until the tabbed settings panel takes its place.
#pragma once

#include <QWidget>

class QLabel;
class QPlainTextEdit;

class SidePanel : public QWidget {
  Q_OBJECT

 public:
  explicit SidePanel(QWidget* parent = nullptr);

  void SetSectionInfo(const QString& text);
  // trace >= 0 names the selected trace; -1 clears.
  void SetTraceInfo(int trace);
  QString SectionInfo() const;

 private:
  QPlainTextEdit* m_info = nullptr;
  QLabel* m_trace = nullptr;
};
