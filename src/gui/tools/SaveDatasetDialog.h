// The modeless " Save Dataset" dialog: what part of the loaded section to
// write (offset limit, time window, trace crop by one of five criteria) and
// in which format. "Save" reads the fields (bad ones beep and flash), runs
// every check of the save before a file name is asked for, then writes
// through the safe writers. A failed write raises the console and keeps the
// dialog; a successful one emits Finished and the main window deletes it.
// The choices live in the workspace (SaveChoices) for the run.
#pragma once

#include <QDialog>
#include <array>
#include <functional>

#include "app/WorkspaceObserver.h"

class QCheckBox;
class QComboBox;
class QGridLayout;
class QLabel;
class QLineEdit;
class QPushButton;
class Workspace;
struct SaveDatasetFields;
struct SaveFileChoice;

class SaveDatasetDialog : public QDialog, public WorkspaceObserver {
  Q_OBJECT

 public:
  // Asks for the file to write (empty: cancelled); tests replace it.
  using NameChooser = std::function<QString(const SaveFileChoice& choice)>;
  // Shows a refusal's message box; tests replace it.
  using MessageShower = std::function<void(const QString& caption, const QString& text)>;

  // Resets the ranges from the workspace's section; the mode, format, filter
  // choice and steps keep their last values.
  explicit SaveDatasetDialog(Workspace& workspace, QWidget* parent = nullptr);
  ~SaveDatasetDialog() override;

  void SetNameChooser(NameChooser chooser) { m_chooseName = std::move(chooser); }
  void SetMessageShower(MessageShower shower) { m_showMessage = std::move(shower); }

  // "Reset To Full Range": the ranges from the section.
  void ResetFromSection();
  // "Save": 0 when a file was written; else the refusal or the writer's code.
  int Save();
  bool Saving() const { return m_saving; }

  QCheckBox* OffsetBox() const { return m_offsetOn; }
  QLineEdit* OffsetField() const { return m_offset; }
  QCheckBox* TimeBox() const { return m_timeOn; }
  QLineEdit* TimeFromField() const { return m_timeFrom; }
  QLineEdit* TimeToField() const { return m_timeTo; }
  QCheckBox* TraceBox() const { return m_traceOn; }
  QComboBox* ModeChoice() const { return m_mode; }
  // row 0 or 1; column 0 from, 1 to, 2 step
  QLineEdit* RangeField(int row, int column) const { return m_range[row][column]; }
  QLabel* RowTitle(int row) const { return m_rowTitle[row]; }
  QComboBox* FormatChoice() const { return m_format; }
  QCheckBox* FilterBox() const { return m_filter; }
  QPushButton* SaveButton() const { return m_save; }
  QPushButton* ResetButton() const { return m_reset; }

  // WorkspaceObserver
  // A new section's ranges replace the old ones.
  void SectionLoaded(const SeismicSection&, const LoadParams&) override { ResetFromSection(); }
  void SectionLost() override;
  void BusyChanged(bool busy) override;

 signals:
  // A file was written.
  void Finished();
  // The write's progress: positions of the trace list handled and its length.
  // Emitted on the user-interface thread while Save runs.
  void Progress(qint64 done, qint64 total);

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void BuildOffsetAndTime(QGridLayout* grid);
  void BuildTraceCrop(QGridLayout* grid);
  void BuildFormatAndButtons(QGridLayout* grid);
  void ShowFields(const SaveDatasetFields& f);
  SaveDatasetFields TakeFields() const;
  void ModeChanged();
  void SetSavingState(bool saving);
  QString ChooseWithDialog(const SaveFileChoice& choice);

  Workspace& m_workspace;
  NameChooser m_chooseName;
  MessageShower m_showMessage;
  bool m_saving = false;
  Qt::WindowFlags m_flags;  // before the saving state took the close box
  int m_shownMode = 0;
  QCheckBox* m_offsetOn = nullptr;
  QLineEdit* m_offset = nullptr;
  QLabel* m_distanceUnit = nullptr;
  QCheckBox* m_timeOn = nullptr;
  QLineEdit* m_timeFrom = nullptr;
  QLineEdit* m_timeTo = nullptr;
  QLabel* m_timeUnit = nullptr;
  QCheckBox* m_traceOn = nullptr;
  QComboBox* m_mode = nullptr;
  std::array<QLabel*, 2> m_rowTitle{};
  std::array<std::array<QLineEdit*, 3>, 2> m_range{};
  std::array<std::array<QLabel*, 3>, 2> m_rangeLabel{};
  QComboBox* m_format = nullptr;
  QCheckBox* m_filter = nullptr;
  QPushButton* m_save = nullptr;
  QPushButton* m_reset = nullptr;
};
