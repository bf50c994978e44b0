// A modeless tool dialog whose one button changes the loaded section in a
// background run of the workspace (resampling, time shift). While the run
// goes on the button is disabled and reads its busy text, the dialog has no
// close box and refuses to close; when the workspace gives the section back
// (BusyChanged(false)) the dialog closes. The main window, which stays
// disabled while such a dialog is open, deletes it on QDialog::finished.
#pragma once

#include <QDialog>

#include "app/WorkspaceObserver.h"

class QPushButton;
class Workspace;

class SectionToolDialog : public QDialog, public WorkspaceObserver {
  Q_OBJECT

 public:
  // resource: the name the main window logs when it deletes the dialog.
  SectionToolDialog(Workspace& workspace, const char* resource, QWidget* parent);
  ~SectionToolDialog() override;

  const char* Resource() const { return m_resource; }
  bool Running() const { return m_running; }
  bool HasCloseBox() const;

  // WorkspaceObserver
  void BusyChanged(bool busy) override;

 public slots:
  void reject() override;

 protected:
  // The run starts: button disabled showing busyText, no close box.
  void BeginRun(QPushButton* button, const char* busyText);
  // The workspace refused to start it: button and close box come back.
  void RunRefused();

  Workspace& m_workspace;

 private:
  void SetCloseBox(bool on);

  const char* m_resource;
  QPushButton* m_runButton = nullptr;
  QString m_buttonText;
  bool m_running = false;
};
