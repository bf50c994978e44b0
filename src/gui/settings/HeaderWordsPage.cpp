#include "gui/settings/HeaderWordsPage.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "gui/settings/DisplayTarget.h"
#include "gui/settings/ScrolledPage.h"
#include "section/HeaderLabelTable.h"

namespace {
// Hgrad and Vgrad are shown 1..5 and stored 0..4.
constexpr int kGradMin = 1;
constexpr int kGradMax = 5;
constexpr int kDefaultGrad = 2;

QString ShortLabel(int row) {
  const HeaderLabelRow* r = FindHeaderLabel(row);
  return r ? QString::fromUtf8(r->shortLabel) : QString::number(row);
}

QSpinBox* GradSpin(QWidget* parent, const char* name) {
  auto* s = new QSpinBox(parent);
  s->setObjectName(name);
  s->setRange(kGradMin, kGradMax);
  s->setValue(kDefaultGrad + 1);
  s->setMaximumWidth(70);
  return s;
}
}  // namespace

HeaderWordsPage::HeaderWordsPage(QWidget* parent) : QWidget(parent) {
  auto* layout = new QVBoxLayout(MakeScrolledBody(this));
  layout->addWidget(BuildWordList(), 3);
  m_chosen = new QListWidget(this);
  m_chosen->setObjectName("chosenWords");
  layout->addWidget(m_chosen, 1);
  layout->addWidget(BuildButtons());
  layout->addWidget(BuildGraduation());
  m_words.Assign({kLabelIdx});  // the view's default: the trace index
  CheckListedWords();
  ShowChosen(-1);
}

QWidget* HeaderWordsPage::BuildWordList() {
  m_list = new QTreeWidget(this);
  m_list->setObjectName("headerWords");
  m_list->setColumnCount(2);
  m_list->setHeaderLabels({"Header Word", "Label"});
  m_list->setRootIsDecorated(false);
  for (int row : HeaderWordsListIds()) {
    const HeaderLabelRow* r = FindHeaderLabel(row);
    auto* item =
        new QTreeWidgetItem(m_list, {QString::fromUtf8(r->longLabel), QString::fromUtf8(r->shortLabel)});
    item->setData(0, Qt::UserRole, row);
    item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
    item->setCheckState(0, Qt::Unchecked);
  }
  m_list->header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
  connect(m_list, &QTreeWidget::itemChanged, this, &HeaderWordsPage::ItemChanged);
  return m_list;
}

QWidget* HeaderWordsPage::BuildButtons() {
  auto* box = new QWidget(this);
  auto* row = new QHBoxLayout(box);
  row->setContentsMargins(0, 0, 0, 0);
  m_up = new QPushButton("Up", box);
  m_down = new QPushButton("Down", box);
  m_clear = new QPushButton("Clear", box);
  m_apply = new QPushButton("Apply", box);
  for (QPushButton* b : {m_up, m_down, m_clear, m_apply}) row->addWidget(b);
  m_up->setObjectName("up");
  m_down->setObjectName("down");
  m_clear->setObjectName("clear");
  m_apply->setObjectName("apply");
  connect(m_up, &QPushButton::clicked, this, [this] { MoveChosen(true); });
  connect(m_down, &QPushButton::clicked, this, [this] { MoveChosen(false); });
  connect(m_clear, &QPushButton::clicked, this, &HeaderWordsPage::ClearChosen);
  connect(m_apply, &QPushButton::clicked, this, &HeaderWordsPage::Apply);
  return box;
}

QWidget* HeaderWordsPage::BuildGraduation() {
  auto* box = new QWidget(this);
  auto* form = new QFormLayout(box);
  m_step = new QLineEdit(QString::fromStdString(LabelWordList::FormatGraduateStep(0)), box);
  m_step->setObjectName("graduateStep");
  m_step->setMaximumWidth(70);
  connect(m_step, &QLineEdit::returnPressed, this, &HeaderWordsPage::Apply);
  m_hgrad = GradSpin(box, "hgrad");
  m_vgrad = GradSpin(box, "vgrad");
  connect(m_hgrad, &QSpinBox::valueChanged, this, &HeaderWordsPage::GradChanged);
  connect(m_vgrad, &QSpinBox::valueChanged, this, &HeaderWordsPage::GradChanged);
  form->addRow("Graduate Step", m_step);
  form->addRow("Hgrad", m_hgrad);
  form->addRow("Vgrad", m_vgrad);
  return box;
}

void HeaderWordsPage::SetTarget(DisplayTarget* view) {
  // Ticking a word gives the focus back to the view, which binds the panel
  // again: that must not undo the ticks the user has not applied yet.
  const bool keepChoice = m_choicePending && view == m_view;
  m_view = view;
  if (!m_view) return;
  if (!keepChoice) {
    m_choicePending = false;
    m_words.AssignOffered(m_view->LabelWords());
    CheckListedWords();
    ShowChosen(-1);
  }
  m_step->setText(QString::fromStdString(LabelWordList::FormatGraduateStep(m_view->LabelGraduationStep())));
  QSignalBlocker blockH(m_hgrad);
  QSignalBlocker blockV(m_vgrad);
  m_hgrad->setValue(m_view->LabelHgrad() + 1);
  m_vgrad->setValue(m_view->LabelVgrad() + 1);
}

void HeaderWordsPage::ItemChanged(QTreeWidgetItem* item, int column) {
  if (column != 0) return;
  int row = item->data(0, Qt::UserRole).toInt();
  bool checked = item->checkState(0) == Qt::Checked;
  if (checked == m_words.Contains(row)) return;  // a text change, not a check
  m_choicePending = true;
  if (checked) {
    m_words.Insert(row);
    ShowChosen(0);
  } else {
    m_words.Remove(row);
    ShowChosen(-1);
  }
  ReturnFocus();
}

void HeaderWordsPage::MoveChosen(bool up) {
  int pos = m_chosen->currentRow();
  int moved = up ? m_words.MoveUp(pos) : m_words.MoveDown(pos);
  if (moved >= 0) {
    m_choicePending = true;
    ShowChosen(moved);
  }
  ReturnFocus();
}

void HeaderWordsPage::ClearChosen() {
  m_choicePending = true;  // an empty choice, applied by "Apply"
  m_words.Clear();
  CheckListedWords();
  ShowChosen(-1);
  ReturnFocus();
}

void HeaderWordsPage::Apply() {
  int step = LabelWordList::ParseGraduateStep(m_step->text().toStdString());
  m_step->setText(QString::fromStdString(LabelWordList::FormatGraduateStep(step)));
  m_choicePending = false;
  if (m_view) m_view->SetLabelWords(m_words.AppliedRows(), step);
  ReturnFocus();
}

void HeaderWordsPage::GradChanged() {
  if (m_view) m_view->SetLabelGraduationSteps(m_hgrad->value() - 1, m_vgrad->value() - 1);
  ReturnFocus();
}

void HeaderWordsPage::ShowChosen(int current) {
  m_chosen->clear();
  for (int row : m_words.Rows()) m_chosen->addItem(ShortLabel(row));
  m_chosen->setCurrentRow(current);
}

void HeaderWordsPage::CheckListedWords() {
  QSignalBlocker block(m_list);
  for (int i = 0; i < m_list->topLevelItemCount(); ++i) {
    QTreeWidgetItem* item = m_list->topLevelItem(i);
    bool chosen = m_words.Contains(item->data(0, Qt::UserRole).toInt());
    item->setCheckState(0, chosen ? Qt::Checked : Qt::Unchecked);
  }
}

void HeaderWordsPage::ReturnFocus() {
  ReturnFocusToView(m_view, this, false);  // no sliders on this page
}
