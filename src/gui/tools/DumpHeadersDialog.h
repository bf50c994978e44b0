// The modeless " Dump Headers on console" dialog: which headers to print and
// the trace range, then either a file chosen in an open dialog ("Open File")
// or the loaded section's own header copies ("Current File"). It observes the
// workspace from construction to destruction.
#pragma once

#include <QDialog>
#include <functional>

#include "app/WorkspaceObserver.h"

class QCheckBox;
class QLineEdit;
class QPushButton;
class Workspace;

class DumpHeadersDialog : public QDialog, public WorkspaceObserver {
  Q_OBJECT

 public:
  // chooseFile asks for the file to dump (empty: cancelled); tests replace it.
  using FileChooser = std::function<QString()>;
  DumpHeadersDialog(Workspace& workspace, QWidget* parent = nullptr);
  ~DumpHeadersDialog() override;

  void SetFileChooser(FileChooser chooser) { m_chooseFile = std::move(chooser); }
  // "Current File" is offered only with a loaded section.
  void UpdateCurrentFileButton();
  void OpenFile();
  void CurrentFile();

  QCheckBox* TextualBox() const { return m_textual; }
  QCheckBox* BinaryBox() const { return m_binary; }
  QCheckBox* TracesBox() const { return m_traces; }
  QLineEdit* FromField() const { return m_from; }
  QLineEdit* ToField() const { return m_to; }
  QPushButton* CurrentFileButton() const { return m_current; }

  // WorkspaceObserver
  void SectionLoaded(const SeismicSection&, const LoadParams&) override { UpdateCurrentFileButton(); }
  void SectionLost() override { UpdateCurrentFileButton(); }

 private:
  QString ChooseWithDialog();

  Workspace& m_workspace;
  FileChooser m_chooseFile;
  QCheckBox* m_textual = nullptr;
  QCheckBox* m_binary = nullptr;
  QCheckBox* m_traces = nullptr;
  QLineEdit* m_from = nullptr;
  QLineEdit* m_to = nullptr;
  QPushButton* m_open = nullptr;
  QPushButton* m_current = nullptr;
};
