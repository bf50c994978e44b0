// Bad input in a tool dialog: a beep, then the dialog flashes three times
// (75 ms highlighted, 75 ms as before) and nothing else happens. Every tool
// dialog signals a refused entry this way. User-interface thread only.
#pragma once

#include <QObject>
#include <QPalette>
#include <QPointer>
#include <QTimer>

class QWidget;

class BadInputFlash : public QObject {
  Q_OBJECT

 public:
  static constexpr int kFlashes = 3;
  static constexpr int kIntervalMs = 75;

  // Beeps and flashes dialog; a flash still running on it starts over. The
  // flash lives as a child of the dialog and goes with it.
  static void Signal(QWidget* dialog);
  // What the beep does (tests record it); null restores QApplication::beep.
  using Beeper = void (*)();
  static void SetBeeper(Beeper beeper);

  bool Highlighted() const { return m_highlighted; }

 signals:
  // Each change of the highlight, true when it comes on.
  void Toggled(bool highlighted);

 private:
  explicit BadInputFlash(QWidget* dialog);
  void Start();
  void Step();
  void Highlight(bool on);

  QPointer<QWidget> m_dialog;
  QTimer m_timer;
  QPalette m_saved;
  bool m_ownPalette = false;  // the dialog had a palette of its own
  bool m_highlighted = false;
  int m_toggles = 0;
};
