// The modeless " Import SEGY/SU Trace Headers" dialog: rewrites the trace
// headers of a SEG-Y/SU file in place from delimited text, through the core
// import that kxtool headers import runs (all rows checked before any is
// written). Shares its paths with the export dialog through the workspace.
// A successful import hides it; closing hides it too.
#pragma once

#include <QDialog>

class QLineEdit;
class QPushButton;
class Workspace;

class HeaderWordsImportDialog : public QDialog {
  Q_OBJECT

 public:
  explicit HeaderWordsImportDialog(Workspace& workspace, QWidget* parent = nullptr);

  // "Import": 0 when the headers were rewritten; kStatusRefused for a missing
  // path (beep and flash); else the import's code (console raised).
  int Import();

  QLineEdit* TextField() const { return m_text; }
  QLineEdit* SeismicField() const { return m_seismic; }
  QPushButton* ImportButton() const { return m_import; }

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  Workspace& m_workspace;
  QLineEdit* m_text = nullptr;
  QLineEdit* m_seismic = nullptr;
  QPushButton* m_import = nullptr;
};
