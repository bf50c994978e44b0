#include "gui/tools/BadInputFlash.h"

#include <QApplication>
#include <QWidget>

namespace {
BadInputFlash::Beeper g_beeper = nullptr;
}  // namespace

void BadInputFlash::SetBeeper(Beeper beeper) {
  g_beeper = beeper;
}

void BadInputFlash::Signal(QWidget* dialog) {
  if (g_beeper)
    g_beeper();
  else
    QApplication::beep();
  if (!dialog) return;
  auto* flash = dialog->findChild<BadInputFlash*>(QString(), Qt::FindDirectChildrenOnly);
  if (!flash) flash = new BadInputFlash(dialog);
  flash->Start();
}

BadInputFlash::BadInputFlash(QWidget* dialog) : QObject(dialog), m_dialog(dialog) {
  m_timer.setTimerType(Qt::PreciseTimer);
  m_timer.setInterval(kIntervalMs);
  connect(&m_timer, &QTimer::timeout, this, &BadInputFlash::Step);
}

void BadInputFlash::Start() {
  Highlight(false);
  m_toggles = 0;
  Step();
  m_timer.start();
}

// On, off, on, off, on, off: the last toggle leaves the dialog as it was.
void BadInputFlash::Step() {
  Highlight(!m_highlighted);
  if (++m_toggles >= 2 * kFlashes) m_timer.stop();
}

// The window colour takes the highlight colour; the dialog's own palette, or
// the inherited one, comes back afterwards.
void BadInputFlash::Highlight(bool on) {
  if (on == m_highlighted || !m_dialog) return;
  if (on) {
    m_ownPalette = m_dialog->testAttribute(Qt::WA_SetPalette);
    m_saved = m_dialog->palette();
    QPalette lit = m_saved;
    lit.setColor(QPalette::Window, m_saved.color(QPalette::Highlight));
    m_dialog->setPalette(lit);
  } else {
    m_dialog->setPalette(m_ownPalette ? m_saved : QPalette());
  }
  m_highlighted = on;
  emit Toggled(on);
}
