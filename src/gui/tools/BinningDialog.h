// The " Binning" dialog: the three binning fields, "Compute" (midpoints and
// offsets shown on the basemap), "Show" (the retained midpoints and their
// count) and "2D Binning" (bin along the basemap's profile, save the binned
// traces and open them in a new instance of the program; shown in a
// " 2D Binning" trace view when the save is cancelled or fails). The
// parameters live as long as the dialog, which the main window keeps.
//
// The save dialog and the process start go through replaceable functions so
// that tests check what would be run. User-interface thread only.
#pragma once

#include <QDialog>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

#include "app/WorkspaceObserver.h"
#include "processing/Binning.h"

class Basemap;
struct DisplayParams;
class QLabel;
class QLineEdit;
class QPushButton;
class SeismicSection;
class TraceViewWidget;
class Workspace;

inline constexpr const char* kBinningTitle = " Binning";
inline constexpr const char* kBinnedViewTitle = " 2D Binning";
inline constexpr const char* kBinnedSaveTitle = "Save Binned Traces as SEG-Y rev 1 file";
inline constexpr const char* kBinnedSaveFilter = "SEG-Y (*.segy,*.sgy)";

class BinningDialog : public QDialog, public WorkspaceObserver {
  Q_OBJECT

 public:
  // Returns the chosen name (empty: cancelled).
  using SaveChooser = std::function<QString(const QString& title, const QString& filter)>;
  // Starts program with args detached; false when it could not be started.
  using ProcessStarter = std::function<bool(const QString& program, const QStringList& args)>;

  BinningDialog(Workspace& workspace, Basemap* basemap, QWidget* parent = nullptr);
  ~BinningDialog() override;

  void SetSaveChooser(SaveChooser chooser) { m_chooseSave = std::move(chooser); }
  void SetProcessStarter(ProcessStarter starter) { m_startProcess = std::move(starter); }
  // The main view's display parameters, copied into the " 2D Binning" view.
  void SetViewParams(std::function<const DisplayParams*()> source) { m_viewParams = std::move(source); }

  // The buttons. Each returns 0 when done, kStatusRefused when refused
  // (flash) or nothing to do, else a failure status.
  int Compute();
  int Show();
  int Bin2D();

  const BinningParams& Params() const { return m_params; }
  QLineEdit* MaxOffsetField() const { return m_maxOffset; }
  QLineEdit* MaxDistanceField() const { return m_maxDistance; }
  QLineEdit* BinSizeField() const { return m_binSize; }
  QLabel* RetainedLabel() const { return m_retained; }
  QPushButton* BinButton() const { return m_binButton; }
  TraceViewWidget* BinnedView() const { return m_view; }

  // WorkspaceObserver
  void SectionClearing() override;
  void BusyChanged(bool busy) override { setEnabled(!busy); }

 private:
  bool ReadFields();
  void ShowFields();
  int ShowRetained(const SeismicSection& section);
  int SaveOrShow(std::unique_ptr<SeismicSection> binned);
  void ShowBinnedView(std::unique_ptr<SeismicSection> binned);
  void CloseBinnedView();

  Workspace& m_workspace;
  Basemap* m_basemap;
  BinningParams m_params;
  QLineEdit* m_maxOffset = nullptr;
  QLineEdit* m_maxDistance = nullptr;
  QLineEdit* m_binSize = nullptr;
  QLabel* m_retained = nullptr;
  QPushButton* m_binButton = nullptr;
  TraceViewWidget* m_view = nullptr;
  std::unique_ptr<SeismicSection> m_binned;  // the traces the view shows
  SaveChooser m_chooseSave;
  ProcessStarter m_startProcess;
  std::function<const DisplayParams*()> m_viewParams;
};
