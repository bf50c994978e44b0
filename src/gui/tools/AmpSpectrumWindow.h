// The " Amplitude Spectrum" window: the panel (curve check boxes, dB, the
// current trace, the range fields, the plotter buttons, the status line) over
// the curve plotter. It follows the workspace as an observer: the main view's
// highlight picks the trace, its selection the range, the active filter the
// pass band; loads and trace changes recompute; while the workspace is busy
// the window is disabled and its spectra forgotten.
#pragma once

#include <QWidget>

#include "app/WorkspaceObserver.h"
#include "app/tools/AmpSpectrumPlotter.h"
#include "qttext/QtTextRenderer.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class Workspace;
class XGrapherWidget;

class AmpSpectrumWindow : public QWidget, public WorkspaceObserver {
  Q_OBJECT

 public:
  AmpSpectrumWindow(Workspace& workspace, QWidget* parent = nullptr);
  ~AmpSpectrumWindow() override;

  // The "&Spectrum" command: show (first time at its place and size), select
  // the main view's current trace, re-read the range fields.
  void Open();

  AmpSpectrumPlotter& Model() { return m_model; }
  QCheckBox* TraceBox() const { return m_trace; }
  QCheckBox* FilteredBox() const { return m_filtered; }
  QCheckBox* WholeBox() const { return m_whole; }
  QCheckBox* RangeBox() const { return m_range; }
  QCheckBox* DbBox() const { return m_db; }
  QLineEdit* RangeField(int i) const { return m_fields[i]; }
  QPushButton* ZoomButton() const { return m_zoom; }
  QPushButton* DarkButton() const { return m_dark; }
  QPushButton* FullButton() const { return m_full; }
  QLabel* Status() const { return m_status; }
  XGrapherWidget* Plot() const { return m_plot; }

  // WorkspaceObserver
  void HighlightChanged(int absoluteTrace) override;
  void SelectionChanged(const ViewSelection& selection) override;
  void ActiveFilterChanged() override;
  void SectionLoaded(const SeismicSection& section, const LoadParams& params) override;
  void SectionClearing() override;
  void SectionLost() override;
  void BusyChanged(bool busy) override;
  void TracesChanged(const SeismicSection& section) override;
  void TracesReordered(const SeismicSection& section) override;

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  QWidget* BuildPanel();
  const SeismicSection* Section() const;
  int Threads() const;
  // After a load or a change of the traces: set up anew and compute what shows.
  void Refresh();
  void SelectCurrentTrace();
  void ApplyRange();
  void FieldsIn();
  void FieldsOut();
  void ShowStatus(const std::string& text);
  void Repaint();

  Workspace& m_workspace;
  QtTextRenderer m_text;  // outlives the model's plotter, which keeps a pointer
  AmpSpectrumPlotter m_model;
  bool m_placed = false;
  QLabel* m_title = nullptr;
  QCheckBox* m_trace = nullptr;
  QCheckBox* m_filtered = nullptr;
  QCheckBox* m_whole = nullptr;
  QCheckBox* m_range = nullptr;
  QCheckBox* m_db = nullptr;
  QLineEdit* m_traceField = nullptr;
  QLineEdit* m_fields[4] = {};
  QPushButton* m_zoom = nullptr;
  QPushButton* m_dark = nullptr;
  QPushButton* m_full = nullptr;
  QLabel* m_status = nullptr;
  XGrapherWidget* m_plot = nullptr;
};
