// The modeless " Export SEGY/SU Trace Headers" dialog: a range of trace
// headers of a SEG-Y/SU file to delimited text, through the core export that
// kxtool headers export runs, with the same reading rule. Its paths are shared
// with the import dialog through the workspace (HeaderWords), kept for the run.
// A successful export hides it; closing hides it too.
#pragma once

#include <QDialog>

class QComboBox;
class QLineEdit;
class QPushButton;
class QTreeWidget;
class Workspace;

class HeaderWordsExportDialog : public QDialog {
  Q_OBJECT

 public:
  explicit HeaderWordsExportDialog(Workspace& workspace, QWidget* parent = nullptr);

  // "Export": 0 when the text file was written; kStatusRefused for bad fields
  // (beep and flash); else the export's code (console raised).
  int Export();
  void SelectAll(bool selected);

  QLineEdit* SeismicField() const { return m_seismic; }
  QLineEdit* TextField() const { return m_text; }
  QComboBox* SeparatorChoice() const { return m_separator; }
  QLineEdit* FirstField() const { return m_first; }
  QLineEdit* LastField() const { return m_last; }
  QTreeWidget* WordList() const { return m_words; }
  QPushButton* ExportButton() const { return m_export; }

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void ShowChoices();
  void ChooseSeismic();
  void ChooseText();

  Workspace& m_workspace;
  QLineEdit* m_seismic = nullptr;
  QLineEdit* m_text = nullptr;
  QComboBox* m_separator = nullptr;
  QLineEdit* m_first = nullptr;
  QLineEdit* m_last = nullptr;
  QTreeWidget* m_words = nullptr;
  QPushButton* m_export = nullptr;
};
