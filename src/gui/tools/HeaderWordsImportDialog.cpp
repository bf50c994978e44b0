#include "gui/tools/HeaderWordsImportDialog.h"

#include "app/Workspace.h"
#include "app/tools/HeaderWordsFields.h"
#include "formats/HeaderWordsExport.h"
#include "gui/tools/BadInputFlash.h"
#include "gui/tools/HeaderWordsPaths.h"
#include "log/Log.h"
#include "log/Status.h"

using namespace headerwords;

HeaderWordsImportDialog::HeaderWordsImportDialog(Workspace& workspace, QWidget* parent)
    : QDialog(parent), m_workspace(workspace) {
  setWindowTitle(" Import SEGY/SU Trace Headers");
  setModal(false);
  auto* grid = new QGridLayout(this);
  QPushButton *setText = nullptr, *setSeismic = nullptr;
  m_text = AddPathRow(this, grid, 0, "Header Words Text File", &setText);
  m_seismic = AddPathRow(this, grid, 2, "Seismic File ( in place modification )", &setSeismic);
  m_import = new QPushButton("Import", this);
  grid->addWidget(m_import, 4, 3);
  connect(setText, &QPushButton::clicked, this,
          [this] { ChooseInto(this, m_text, false, kTextTitle, kTextFilter); });
  connect(setSeismic, &QPushButton::clicked, this,
          [this] { ChooseInto(this, m_seismic, false, kSeismicTitle, kSeismicFilter); });
  connect(m_import, &QPushButton::clicked, this, [this] { Import(); });
  // Both dialogs show the same two paths: an edit here is the other's too.
  connect(m_seismic, &QLineEdit::textChanged, this,
          [this](const QString& t) { m_workspace.HeaderWords().seismicPath = t.toStdString(); });
  connect(m_text, &QLineEdit::textChanged, this,
          [this](const QString& t) { m_workspace.HeaderWords().textPath = t.toStdString(); });
  move(50, 50);
}

void HeaderWordsImportDialog::showEvent(QShowEvent* event) {
  const HeaderWordsChoices& c = m_workspace.HeaderWords();
  m_text->setText(Q(c.textPath));
  m_seismic->setText(Q(c.seismicPath));
  QDialog::showEvent(event);
}

int HeaderWordsImportDialog::Import() {
  if (!ReadImportPaths(m_text->text().toStdString(), m_seismic->text().toStdString(),
                       &m_workspace.HeaderWords())) {
    BadInputFlash::Signal(this);
    return kStatusRefused;
  }
  const HeaderWordsChoices& c = m_workspace.HeaderWords();
  int rc = ImportHeaderWords(c.textPath, c.seismicPath);
  if (rc != 0) {
    ConsoleRaise();
    return rc;
  }
  hide();
  return 0;
}
