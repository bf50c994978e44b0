// The main trace view's widget: shows the raster that VTracePlotter composes
// and is the workspace's view of it. It forwards no navigation input yet; the
// interactive view replaces the body of this class, not its place in the
// main window.
#pragma once

#include <QWidget>
#include <memory>

#include "app/TraceViewObserver.h"
#include "display/VTracePlotter.h"
#include "gui/QtTextRenderer.h"

class TraceViewWidget : public QWidget, public TraceViewObserver {
  Q_OBJECT

 public:
  explicit TraceViewWidget(QWidget* parent = nullptr);

  VTracePlotter& Plotter() { return m_plotter; }
  // The application settings changed: re-read what the drawing uses.
  void ReadSettings();

  // TraceViewObserver
  bool HasData() const override { return m_plotter.TraceCount() > 0; }
  int SelectedTrace() const override { return m_plotter.Highlighted(); }
  void SetSelectedTrace(int trace) override { m_plotter.SetHighlighted(trace); }
  DisplayParams& Params() override { return m_plotter.Params(); }
  void Clear() override;
  void RefreshDisplay() override;
  void ShowTraces(const SeismicSection& section) override;
  int TraceCount() const override { return m_plotter.TraceCount(); }
  int SampleCount() const override { return m_samples; }
  void PlotSize(int* width, int* height) override;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  bool EnsureCreated();

  QtTextRenderer m_text;  // outlives the plotter, which keeps a pointer to it
  VTracePlotter m_plotter;
  bool m_created = false;
  int m_samples = 0;
};
