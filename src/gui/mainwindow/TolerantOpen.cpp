#include "gui/mainwindow/TolerantOpen.h"

#include <QDoubleValidator>
#include <QFileDialog>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMessageBox>
#include <QPushButton>

#include "app/LoadRefusalText.h"
#include "gui/mainwindow/OpenDialog.h"
#include "gui/tools/BadInputFlash.h"

namespace {
// The load dialog with the interval field under the file name and filter rows.
// The dialog is Qt's own so that the field can join its layout.
class TolerantFileDialog : public QFileDialog {
 public:
  TolerantFileDialog(QWidget* parent, const QString& startFolder)
      : QFileDialog(parent, QString::fromUtf8(kTolerantDialogTitle), startFolder) {
    setOption(QFileDialog::DontUseNativeDialog);
    setFileMode(QFileDialog::ExistingFiles);
    m_interval = new QLineEdit(this);
    m_interval->setObjectName("tolerantInterval");
    m_interval->setPlaceholderText(QString::fromUtf8(kTolerantIntervalHint));
    auto* validator = new QDoubleValidator(0.0, 2147483.0, 3, m_interval);
    validator->setNotation(QDoubleValidator::StandardNotation);
    validator->setLocale(QLocale::c());
    m_interval->setValidator(validator);
    if (auto* grid = qobject_cast<QGridLayout*>(layout())) {
      int row = grid->rowCount();
      grid->addWidget(new QLabel(QString::fromUtf8(kTolerantIntervalLabel), this), row, 0);
      grid->addWidget(m_interval, row, 1);
    }
  }
  bool Interval(int32_t* us) const { return TolerantIntervalFromField(m_interval->text().toStdString(), us); }

  void accept() override {
    int32_t us = 0;
    if (!Interval(&us)) {
      BadInputFlash::Signal(this);
      return;
    }
    QFileDialog::accept();
  }

 private:
  QLineEdit* m_interval = nullptr;
};
}  // namespace

bool AskAfterLoadRefusal(QWidget* parent, const QString& title, const QString& text, bool offerTolerant) {
  QMessageBox box(QMessageBox::Warning, title, text, QMessageBox::Close, parent);
  QPushButton* tolerant = nullptr;
  if (offerTolerant)
    tolerant = box.addButton(QString::fromUtf8(kOpenTolerantlyButton), QMessageBox::AcceptRole);
  box.setDefaultButton(QMessageBox::Close);
  box.exec();
  return tolerant && box.clickedButton() == tolerant;
}

QStringList ChooseFilesTolerantly(QWidget* parent, const QString& startFolder, int* filterIndex,
                                  int32_t* intervalUs) {
  const QStringList filters = OpenDialogFilters();
  TolerantFileDialog dialog(parent, startFolder);
  dialog.setNameFilters(filters);
  dialog.selectNameFilter(filters.value(*filterIndex - 1));
  if (dialog.exec() != QDialog::Accepted || !dialog.Interval(intervalUs)) return {};
  *filterIndex = static_cast<int>(filters.indexOf(dialog.selectedNameFilter())) + 1;
  return dialog.selectedFiles();
}
