#include "gui/tools/DumpHeadersDialog.h"

#include <QCheckBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "app/OpenFilters.h"
#include "app/Workspace.h"
#include "app/tools/DumpHeadersFields.h"
#include "gui/mainwindow/OpenDialog.h"
#include "log/Log.h"

DumpHeadersDialog::DumpHeadersDialog(Workspace& workspace, QWidget* parent)
    : QDialog(parent), m_workspace(workspace) {
  setWindowTitle(" Dump Headers on console");
  setModal(false);
  auto* grid = new QGridLayout(this);
  m_textual = new QCheckBox(" SEG-Y Textual File Header", this);
  m_binary = new QCheckBox(" SEG-Y Binary File Header", this);
  m_traces = new QCheckBox(" Trace Headers", this);
  m_from = new QLineEdit(this);
  m_to = new QLineEdit(this);
  m_open = new QPushButton("Open File", this);
  m_current = new QPushButton("Current File", this);
  grid->addWidget(m_textual, 0, 0, 1, 4);
  grid->addWidget(m_binary, 1, 0, 1, 4);
  grid->addWidget(m_traces, 2, 0, 1, 4);
  grid->addWidget(new QLabel("from trace", this), 3, 0);
  grid->addWidget(m_from, 3, 1);
  grid->addWidget(new QLabel("to", this), 3, 2);
  grid->addWidget(m_to, 3, 3);
  grid->addWidget(m_open, 4, 0, 1, 2);
  grid->addWidget(m_current, 4, 2, 1, 2);
  connect(m_open, &QPushButton::clicked, this, &DumpHeadersDialog::OpenFile);
  connect(m_current, &QPushButton::clicked, this, &DumpHeadersDialog::CurrentFile);
  m_chooseFile = [this] { return ChooseWithDialog(); };
  move(50, 50);
  UpdateCurrentFileButton();
  m_workspace.AddObserver(this);
}

DumpHeadersDialog::~DumpHeadersDialog() {
  m_workspace.RemoveObserver(this);
}

void DumpHeadersDialog::UpdateCurrentFileButton() {
  m_current->setEnabled(m_workspace.Section() != nullptr);
}

QString DumpHeadersDialog::ChooseWithDialog() {
  return QFileDialog::getOpenFileName(this, kDumpDialogTitle,
                                      QString::fromStdString(m_workspace.DialogStartFolder()),
                                      OpenDialogFilters().join(";;"), nullptr);
}

void DumpHeadersDialog::OpenFile() {
  DumpRequest r = MakeDumpRequest(m_textual->isChecked(), m_binary->isChecked(), m_traces->isChecked(),
                                  m_from->text().toStdString(), m_to->text().toStdString());
  QString path = m_chooseFile();
  if (path.isEmpty()) return;
  if (m_workspace.DumpHeadersCommand(path.toStdString(), r.flags, r.firstTrace, r.lastTrace) != 0)
    ConsoleRaise();
}

void DumpHeadersDialog::CurrentFile() {
  if (!m_workspace.Section()) return;
  m_workspace.DumpCurrentHeaders(m_textual->isChecked(), m_binary->isChecked());
}
