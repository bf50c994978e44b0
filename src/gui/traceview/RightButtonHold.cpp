#include "gui/traceview/RightButtonHold.h"

#include <cstdlib>

RightButtonHold::RightButtonHold(QObject* parent) : QObject(parent) {
  m_timer.setSingleShot(true);
  m_timer.setInterval(kHoldMs);
  connect(&m_timer, &QTimer::timeout, this, &RightButtonHold::Fire);
}

void RightButtonHold::Press(QPoint pos, bool ctrl) {
  m_pressPos = pos;
  m_ctrl = ctrl;
  m_timer.start();
}

bool RightButtonHold::Release() {
  bool pending = m_timer.isActive();
  m_timer.stop();
  return pending;
}

void RightButtonHold::Move(QPoint pos, bool ctrl) {
  if (!m_timer.isActive()) return;
  if (std::abs(pos.x() - m_pressPos.x()) <= kMoveSlack && std::abs(pos.y() - m_pressPos.y()) <= kMoveSlack)
    return;
  m_ctrl = ctrl;
  Fire();
}

void RightButtonHold::Fire() {
  m_timer.stop();
  emit Started(m_pressPos, m_ctrl);
}
