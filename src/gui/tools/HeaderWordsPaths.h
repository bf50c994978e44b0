// What the header word export and import dialogs share: the path rows with
// their "Set" buttons and the file choosers behind them.
#pragma once

#include <QDialog>
#include <QFileDialog>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <string>

namespace headerwords {
inline constexpr const char* kSeismicTitle = "Select SEGY/SU Seismic File";
inline constexpr const char* kSeismicFilter = "SEG-Y (*.sgy *.segy);;SU (*.su);;All files (*)";
inline constexpr const char* kTextTitle = "Select output Text File";
inline constexpr const char* kTextFilter = "text file (*.csv *.txt);;All files (*)";

inline QString Q(const std::string& s) {
  return QString::fromStdString(s);
}

// A path row: title, field, "Set" button.
inline QLineEdit* AddPathRow(QDialog* d, QGridLayout* grid, int row, const char* title, QPushButton** set) {
  auto* field = new QLineEdit(d);
  field->setMinimumWidth(360);
  *set = new QPushButton("Set", d);
  grid->addWidget(new QLabel(title, d), row, 0, 1, 4);
  grid->addWidget(field, row + 1, 0, 1, 3);
  grid->addWidget(*set, row + 1, 3);
  return field;
}

inline void ChooseInto(QWidget* owner, QLineEdit* field, bool save, const char* title, const char* filter) {
  QString start = field->text();
  QString path = save ? QFileDialog::getSaveFileName(owner, title, start, filter)
                      : QFileDialog::getOpenFileName(owner, title, start, filter);
  if (!path.isEmpty()) field->setText(path);
}
}  // namespace headerwords
