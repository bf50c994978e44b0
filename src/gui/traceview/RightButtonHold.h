// The wait after a right-button press in the main view: a click (released
// within the hold time) does nothing, while holding the button or moving the
// mouse more than a few pixels starts a rubber band. The wait runs on a timer
// so the event loop keeps delivering the release and the moves.
#pragma once

#include <QObject>
#include <QPoint>
#include <QTimer>

class RightButtonHold : public QObject {
  Q_OBJECT

 public:
  static constexpr int kHoldMs = 35 * 10;
  static constexpr int kMoveSlack = 3;  // pixels either way

  explicit RightButtonHold(QObject* parent = nullptr);

  // A press at pos starts the wait; ctrl is kept for the rubber band's kind.
  void Press(QPoint pos, bool ctrl);
  // A release ends the wait without a rubber band; true when one was pending.
  bool Release();
  // A move further than the slack ends the wait at once (emits Started).
  void Move(QPoint pos, bool ctrl);
  bool Waiting() const { return m_timer.isActive(); }
  // Abandons the wait (focus loss, section change).
  void Cancel() { m_timer.stop(); }

 signals:
  // The wait ended by holding or moving: start the rubber band at the press.
  void Started(QPoint pressPos, bool ctrl);

 private:
  void Fire();

  QTimer m_timer;
  QPoint m_pressPos;
  bool m_ctrl = false;
};
