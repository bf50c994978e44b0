// The modeless "Header Mapping" dialog: rows of trace header word, first byte
// and type that make the later loads of SEG-Y/SU files read those words from
// other bytes. "Set" reads the rows through the core's parser into the
// workspace's map (kept in the settings file at exit); a refused row is
// selected, its reason shown, and the dialog flashes.
#pragma once

#include <QDialog>
#include <vector>

#include "app/tools/HeaderMappingFields.h"

class QLabel;
class QPushButton;
class QTableWidget;
class Workspace;

class HeaderMappingDialog : public QDialog {
  Q_OBJECT

 public:
  explicit HeaderMappingDialog(Workspace& workspace, QWidget* parent = nullptr);

  // Shows the workspace's map in the rows.
  void Fill();
  // "Add": a new row (word and byte empty, type i32), its word cell being edited.
  void AddRow();
  // "Remove": the current row.
  void RemoveRow();
  // "Set": true when the rows were read and the workspace's map replaced.
  bool Apply();

  // The rows as shown; for tests and Apply.
  std::vector<HeaderMappingRow> Rows() const;
  // Replaces the rows, for tests.
  void SetRows(const std::vector<HeaderMappingRow>& rows);

  QTableWidget* Table() const { return m_table; }
  QLabel* StatusLabel() const { return m_status; }
  QPushButton* SetButton() const { return m_set; }

 signals:
  // The workspace's map was replaced.
  void MapApplied();

 private:
  void AppendRow(const HeaderMappingRow& row);

  Workspace& m_workspace;
  QTableWidget* m_table = nullptr;
  QLabel* m_status = nullptr;
  QPushButton* m_add = nullptr;
  QPushButton* m_remove = nullptr;
  QPushButton* m_set = nullptr;
};
