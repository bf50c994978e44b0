#include "gui/tools/HeaderWordsExportDialog.h"

#include <QComboBox>
#include <QHeaderView>
#include <QTreeWidget>

#include "app/Workspace.h"
#include "app/tools/HeaderWordsFields.h"
#include "formats/HeaderWordsExport.h"
#include "gui/tools/BadInputFlash.h"
#include "gui/tools/HeaderWordsPaths.h"
#include "log/Log.h"
#include "log/Status.h"
#include "section/SegyWordTable.h"

using namespace headerwords;

HeaderWordsExportDialog::HeaderWordsExportDialog(Workspace& workspace, QWidget* parent)
    : QDialog(parent), m_workspace(workspace) {
  setWindowTitle(" Export SEGY/SU Trace Headers");
  setModal(false);
  auto* grid = new QGridLayout(this);
  QPushButton *setSeismic = nullptr, *setText = nullptr;
  m_seismic = AddPathRow(this, grid, 0, "From Seismic File", &setSeismic);
  m_text = AddPathRow(this, grid, 2, "To Header Words Text File", &setText);
  m_separator = new QComboBox(this);
  for (const SeparatorItem& item : kHeaderWordsSeparators)
    m_separator->addItem(item.text, int(item.separator));
  m_first = new QLineEdit(this);
  m_last = new QLineEdit(this);
  grid->addWidget(new QLabel("Field Separator", this), 4, 0);
  grid->addWidget(m_separator, 4, 1);
  grid->addWidget(new QLabel("Export from trace", this), 5, 0);
  grid->addWidget(m_first, 5, 1);
  grid->addWidget(new QLabel("to", this), 5, 2, Qt::AlignRight);
  grid->addWidget(m_last, 5, 3);
  m_words = new QTreeWidget(this);
  m_words->setHeaderLabels({"SEGY Word", "Description"});
  m_words->setRootIsDecorated(false);
  m_words->setMinimumHeight(280);
  for (int w = 1; w <= kSegyWordSegb; ++w) {
    const SegyWordRow* row = FindSegyWord(w);
    auto* item = new QTreeWidgetItem(m_words, {row->mnemonic, row->description});
    item->setData(0, Qt::UserRole, w);
  }
  m_words->header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
  grid->addWidget(m_words, 6, 0, 1, 4);
  auto* all = new QPushButton("Select All", this);
  auto* none = new QPushButton("Clear All", this);
  m_export = new QPushButton("Export", this);
  grid->addWidget(all, 7, 0);
  grid->addWidget(none, 7, 1);
  grid->addWidget(m_export, 7, 3);
  connect(setSeismic, &QPushButton::clicked, this, &HeaderWordsExportDialog::ChooseSeismic);
  connect(setText, &QPushButton::clicked, this, &HeaderWordsExportDialog::ChooseText);
  connect(all, &QPushButton::clicked, this, [this] { SelectAll(true); });
  connect(none, &QPushButton::clicked, this, [this] { SelectAll(false); });
  connect(m_export, &QPushButton::clicked, this, [this] { Export(); });
  // Both dialogs show the same two paths: an edit here is the other's too.
  connect(m_seismic, &QLineEdit::textChanged, this,
          [this](const QString& t) { m_workspace.HeaderWords().seismicPath = t.toStdString(); });
  connect(m_text, &QLineEdit::textChanged, this,
          [this](const QString& t) { m_workspace.HeaderWords().textPath = t.toStdString(); });
  move(50, 50);
  ShowChoices();
}

void HeaderWordsExportDialog::ShowChoices() {
  const HeaderWordsChoices& c = m_workspace.HeaderWords();
  m_seismic->setText(Q(c.seismicPath));
  m_text->setText(Q(c.textPath));
  m_separator->setCurrentIndex(std::max(0, m_separator->findData(int(c.separator))));
  m_first->setText(c.firstTrace > 0 ? QString::number(c.firstTrace) : QString());
  m_last->setText(c.lastTrace > 0 ? QString::number(c.lastTrace) : QString());
  for (int i = 0; i < m_words->topLevelItemCount(); ++i) {
    QTreeWidgetItem* item = m_words->topLevelItem(i);
    item->setCheckState(0,
                        c.words.Selected(item->data(0, Qt::UserRole).toInt()) ? Qt::Checked : Qt::Unchecked);
  }
}

void HeaderWordsExportDialog::showEvent(QShowEvent* event) {
  // The import dialog may have changed the shared paths meanwhile.
  const HeaderWordsChoices& c = m_workspace.HeaderWords();
  m_seismic->setText(Q(c.seismicPath));
  m_text->setText(Q(c.textPath));
  QDialog::showEvent(event);
}

void HeaderWordsExportDialog::SelectAll(bool selected) {
  for (int i = 0; i < m_words->topLevelItemCount(); ++i)
    m_words->topLevelItem(i)->setCheckState(0, selected ? Qt::Checked : Qt::Unchecked);
}

void HeaderWordsExportDialog::ChooseSeismic() {
  ChooseInto(this, m_seismic, false, kSeismicTitle, kSeismicFilter);
}

void HeaderWordsExportDialog::ChooseText() {
  ChooseInto(this, m_text, true, kTextTitle, kTextFilter);
}

int HeaderWordsExportDialog::Export() {
  ExportFieldTexts texts;
  texts.seismicPath = m_seismic->text().toStdString();
  texts.textPath = m_text->text().toStdString();
  texts.separator = static_cast<char>(m_separator->currentData().toInt());
  texts.firstTrace = m_first->text().toStdString();
  texts.lastTrace = m_last->text().toStdString();
  for (int i = 0; i < m_words->topLevelItemCount(); ++i) {
    QTreeWidgetItem* item = m_words->topLevelItem(i);
    texts.words.Set(item->data(0, Qt::UserRole).toInt(), item->checkState(0) == Qt::Checked);
  }
  HeaderWordsChoices& c = m_workspace.HeaderWords();
  int errors = ReadExportFields(texts, &c);
  if (errors != 0) {
    if (errors & kExportBadFirst) m_first->clear();
    if (errors & kExportBadLast) m_last->clear();
    BadInputFlash::Signal(this);
    return kStatusRefused;
  }
  int rc = ExportHeaderWords(c.seismicPath, c.textPath, c.words, c.separator, c.firstTrace, c.lastTrace);
  if (rc != 0) {
    ConsoleRaise();
    return rc;
  }
  hide();
  return 0;
}
