#include "gui/tools/SectionToolDialog.h"

#include <QPushButton>

#include "app/Workspace.h"

SectionToolDialog::SectionToolDialog(Workspace& workspace, const char* resource, QWidget* parent)
    : QDialog(parent), m_workspace(workspace), m_resource(resource) {
  setModal(false);
  m_workspace.AddObserver(this);
}

SectionToolDialog::~SectionToolDialog() {
  m_workspace.RemoveObserver(this);
}

bool SectionToolDialog::HasCloseBox() const {
  return windowFlags().testFlag(Qt::WindowCloseButtonHint);
}

void SectionToolDialog::SetCloseBox(bool on) {
  const bool shown = isVisible();
  setWindowFlag(Qt::CustomizeWindowHint, true);
  setWindowFlag(Qt::WindowTitleHint, true);
  setWindowFlag(Qt::WindowCloseButtonHint, on);
  // Changing the flags hides a window.
  if (shown) show();
}

void SectionToolDialog::BeginRun(QPushButton* button, const char* busyText) {
  m_running = true;
  m_runButton = button;
  m_buttonText = button->text();
  button->setEnabled(false);
  button->setText(busyText);
  SetCloseBox(false);
}

void SectionToolDialog::RunRefused() {
  m_running = false;
  if (m_runButton) {
    m_runButton->setText(m_buttonText);
    m_runButton->setEnabled(true);
  }
  SetCloseBox(true);
}

void SectionToolDialog::BusyChanged(bool busy) {
  if (busy || !m_running) return;
  m_running = false;
  QDialog::reject();
}

void SectionToolDialog::reject() {
  // Escape and the window manager's close wait for the run to end.
  if (!m_running) QDialog::reject();
}
