#include "gui/tools/HeaderMappingDialog.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "app/Workspace.h"
#include "gui/tools/BadInputFlash.h"

namespace {
enum Column { kWordColumn = 0, kByteColumn = 1, kTypeColumn = 2 };

QString CellText(const QTableWidget* table, int row, int column) {
  const QTableWidgetItem* item = table->item(row, column);
  return item ? item->text() : QString();
}
}  // namespace

HeaderMappingDialog::HeaderMappingDialog(Workspace& workspace, QWidget* parent)
    : QDialog(parent), m_workspace(workspace) {
  setWindowTitle("Header Mapping");
  setModal(false);
  auto* layout = new QVBoxLayout(this);
  auto* intro = new QLabel(
      "Trace header words of SEG-Y and SU files read from other bytes\n"
      "(1-based within the 240-byte trace header). Saved files keep the\n"
      "standard positions.",
      this);
  layout->addWidget(intro);
  m_table = new QTableWidget(0, 3, this);
  m_table->setHorizontalHeaderLabels({"Word", "Byte", "Type"});
  m_table->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
  m_table->verticalHeader()->setVisible(true);
  m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
  m_table->setSelectionMode(QAbstractItemView::SingleSelection);
  m_table->setMinimumSize(320, 180);
  layout->addWidget(m_table, 1);
  m_status = new QLabel(this);
  m_status->setWordWrap(true);
  layout->addWidget(m_status);
  auto* buttons = new QHBoxLayout;
  m_add = new QPushButton("Add", this);
  m_remove = new QPushButton("Remove", this);
  m_set = new QPushButton("Set", this);
  auto* close = new QPushButton("Close", this);
  m_set->setDefault(true);
  buttons->addWidget(m_add);
  buttons->addWidget(m_remove);
  buttons->addStretch(1);
  buttons->addWidget(m_set);
  buttons->addWidget(close);
  layout->addLayout(buttons);
  connect(m_add, &QPushButton::clicked, this, &HeaderMappingDialog::AddRow);
  connect(m_remove, &QPushButton::clicked, this, &HeaderMappingDialog::RemoveRow);
  connect(m_set, &QPushButton::clicked, this, &HeaderMappingDialog::Apply);
  connect(close, &QPushButton::clicked, this, &QDialog::close);
  Fill();
}

void HeaderMappingDialog::AppendRow(const HeaderMappingRow& row) {
  int r = m_table->rowCount();
  m_table->insertRow(r);
  m_table->setItem(r, kWordColumn, new QTableWidgetItem(QString::fromStdString(row.word)));
  m_table->setItem(r, kByteColumn, new QTableWidgetItem(QString::fromStdString(row.byte)));
  auto* type = new QComboBox(m_table);
  for (const char* name : HeaderMapTypeNames()) type->addItem(name);
  int at = type->findText(QString::fromStdString(row.type));
  type->setCurrentIndex(at < 0 ? static_cast<int>(HeaderMapType::kI32) : at);
  m_table->setCellWidget(r, kTypeColumn, type);
}

void HeaderMappingDialog::SetRows(const std::vector<HeaderMappingRow>& rows) {
  m_table->setRowCount(0);
  for (const HeaderMappingRow& row : rows) AppendRow(row);
}

std::vector<HeaderMappingRow> HeaderMappingDialog::Rows() const {
  std::vector<HeaderMappingRow> rows;
  for (int r = 0; r < m_table->rowCount(); ++r) {
    auto* type = qobject_cast<QComboBox*>(m_table->cellWidget(r, kTypeColumn));
    rows.push_back({CellText(m_table, r, kWordColumn).trimmed().toStdString(),
                    CellText(m_table, r, kByteColumn).trimmed().toStdString(),
                    type ? type->currentText().toStdString() : std::string()});
  }
  return rows;
}

void HeaderMappingDialog::Fill() {
  SetRows(HeaderMappingRowsFrom(*m_workspace.HeaderMap()));
  m_status->setText(QString::fromStdString(HeaderMappingStatus(*m_workspace.HeaderMap())));
}

void HeaderMappingDialog::AddRow() {
  AppendRow({"", "", "i32"});
  int r = m_table->rowCount() - 1;
  m_table->setCurrentCell(r, kWordColumn);
  m_table->editItem(m_table->item(r, kWordColumn));
}

void HeaderMappingDialog::RemoveRow() {
  int r = m_table->currentRow();
  if (r >= 0) m_table->removeRow(r);
}

bool HeaderMappingDialog::Apply() {
  HeaderByteMap map;
  int badRow = -1;
  std::string message;
  if (ReadHeaderMappingRows(Rows(), &map, &badRow, &message) != 0) {
    m_table->setCurrentCell(badRow, kWordColumn);
    m_status->setText(QString::fromStdString(message));
    BadInputFlash::Signal(this);
    return false;
  }
  m_workspace.SetHeaderMap(std::move(map));
  Fill();
  emit MapApplied();
  return true;
}
