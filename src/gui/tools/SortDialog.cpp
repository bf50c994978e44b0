#include "gui/tools/SortDialog.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "app/MainViewLink.h"
#include "app/Workspace.h"
#include "gui/tools/BadInputFlash.h"
#include "log/Status.h"
#include "section/SeismicSection.h"

SortDialog::SortDialog(Workspace& workspace, QWidget* parent)
    : QDialog(parent), m_workspace(workspace), m_fields(std::make_unique<SortFields>(workspace.Sorting())) {
  setWindowTitle(" Traces Sorting");
  setModal(false);
  auto* grid = new QGridLayout(this);
  const SortDialogFields& f = m_fields->Fields();
  for (int c = 0; c < kMaxSortKeys; ++c) {
    m_key[c] = new QComboBox(this);
    m_key[c]->setObjectName(QString("key%1").arg(c + 1));
    for (const SortKeyRow& row : SortKeyRows()) m_key[c]->addItem(row.label, row.id);
    m_key[c]->setCurrentIndex(m_key[c]->findData(f.keyChoice[c]));
    m_direction[c] = new QComboBox(this);
    m_direction[c]->addItem("Ascending", kSortAscending);
    m_direction[c]->addItem("Descending", kSortDescending);
    m_direction[c]->setCurrentIndex(m_direction[c]->findData(f.direction[c]));
    grid->addWidget(new QLabel(QString("Key %1").arg(c + 1), this), c, 0);
    grid->addWidget(m_key[c], c, 1);
    grid->addWidget(m_direction[c], c, 2);
    connect(m_key[c], &QComboBox::currentIndexChanged, this, [this, c] { KeyChosen(c); });
    connect(m_direction[c], &QComboBox::currentIndexChanged, this,
            [this, c] { m_fields->ChooseDirection(c, m_direction[c]->currentData().toInt()); });
  }
  m_widthLabel = new QLabel("Sort By |offset| Class : Class Width", this);
  m_width = new QLineEdit(QString::fromStdString(f.widthText), this);
  m_width->setMaximumWidth(80);
  grid->addWidget(m_widthLabel, 3, 0, 1, 2);
  grid->addWidget(m_width, 3, 2);
  m_sort = new QPushButton("Sort", this);
  m_revert = new QPushButton("Revert", this);
  m_sort->setAutoDefault(false);
  m_revert->setAutoDefault(false);
  grid->addWidget(m_sort, 4, 1);
  grid->addWidget(m_revert, 4, 2);
  connect(m_sort, &QPushButton::clicked, this, [this] { Sort(); });
  connect(m_revert, &QPushButton::clicked, this, [this] { Revert(); });
  ShowWidthField();
}

void SortDialog::KeyChosen(int choice) {
  m_fields->ChooseKey(choice, m_key[choice]->currentData().toInt());
  ShowWidthField();
}

void SortDialog::ShowWidthField() {
  bool on = m_fields->WidthVisible();
  m_widthLabel->setVisible(on);
  m_width->setVisible(on);
}

bool SortDialog::CheckKeys() {
  m_fields->SetWidthText(m_width->text().toStdString());
  bool ok = m_fields->Read(&m_workspace.Sorting());
  m_width->setText(QString::fromStdString(m_fields->Fields().widthText));
  return ok;
}

bool SortDialog::CheckKeysOrSignal() {
  if (CheckKeys()) return true;
  show();
  raise();
  BadInputFlash::Signal(this);
  return false;
}

int SortDialog::Sort() {
  if (!CheckKeys()) {
    BadInputFlash::Signal(this);
    return kStatusRefused;
  }
  return m_workspace.SortTraces(m_workspace.Sorting());
}

int SortDialog::Revert() {
  return m_workspace.RevertSortTraces();
}

int SortDialog::SortNewSection() {
  // The load left the drawing to the sort; a shot too small to sort is drawn here.
  const SeismicSection* s = m_workspace.Section();
  if (s && s->Count() < 2) {
    if (MainViewLink* view = m_workspace.MainView()) view->RefreshView();
    return kStatusRefused;
  }
  return m_workspace.SortTraces(m_workspace.Sorting());
}
