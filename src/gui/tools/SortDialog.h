// The modeless " Traces Sorting" dialog: up to three sort keys, each
// ascending or descending, the |offset| class width while that key is chosen,
// "Sort" and "Revert". It opens with the keys the workspace kept from the
// last sort. The File Selector uses its key check and has it sort each newly
// loaded shot.
#pragma once

#include <QDialog>
#include <memory>

#include "app/tools/SortFields.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class Workspace;

class SortDialog : public QDialog {
  Q_OBJECT

 public:
  explicit SortDialog(Workspace& workspace, QWidget* parent = nullptr);

  // Reads the keys into the workspace's kept parameters; false on bad input
  // (nothing else happens then).
  bool CheckKeys();
  // CheckKeys, and on bad input the dialog is shown, beeps and flashes.
  bool CheckKeysOrSignal();
  // "Sort": the keys read, then the section sorted; bad input beeps and
  // flashes. Returns the sort's status, kStatusRefused on bad input.
  int Sort();
  // "Revert": back to the load order; the kept keys stay.
  int Revert();
  // Sorts the section just loaded with the kept keys.
  int SortNewSection();

  QComboBox* KeyChoice(int i) const { return m_key[i]; }
  QComboBox* DirectionChoice(int i) const { return m_direction[i]; }
  QLineEdit* WidthField() const { return m_width; }
  QPushButton* SortButton() const { return m_sort; }
  QPushButton* RevertButton() const { return m_revert; }
  const SortFields& Fields() const { return *m_fields; }

 private:
  void KeyChosen(int choice);
  void ShowWidthField();

  Workspace& m_workspace;
  std::unique_ptr<SortFields> m_fields;
  QComboBox* m_key[kMaxSortKeys] = {};
  QComboBox* m_direction[kMaxSortKeys] = {};
  QLabel* m_widthLabel = nullptr;
  QLineEdit* m_width = nullptr;
  QPushButton* m_sort = nullptr;
  QPushButton* m_revert = nullptr;
};
