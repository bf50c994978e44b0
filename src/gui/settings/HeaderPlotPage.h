// The "Header Plot" tab of the settings panel: three curves of header words
// drawn in a band above the traces, and the band's look. The tab holds a copy
// of the bound view's settings record; a curve choice goes to the view at
// once, everything else when "Set" or a check box reads the fields.
#pragma once

#include <QWidget>

#include "display/HeaderPlotSettings.h"

class DisplayTarget;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;

class HeaderPlotPage : public QWidget {
  Q_OBJECT

 public:
  static constexpr int kCurves = 3;  // red, blue, green

  explicit HeaderPlotPage(QWidget* parent = nullptr);

  // Binds the page to a view (nullptr: none; the page then edits its own
  // record) and refills the controls from the view's settings.
  void SetTarget(DisplayTarget* view);
  DisplayTarget* Target() const { return m_view; }

  // Reads every field and check box into the record, limits it, sends it to
  // the view when anything changed and rewrites the fields. Returns whether
  // the record changed.
  bool Apply();
  const HeaderPlotSettings& PlotSettings() const { return m_settings; }

  // Controls, for tests.
  QComboBox* CurveList(int curve) const { return m_curves[curve]; }
  QLineEdit* WindowHeightField() const { return m_height; }
  QLineEdit* MarginsField() const { return m_margins; }
  QLineEdit* PenField() const { return m_pen; }
  QLineEdit* TicksField() const { return m_ticks; }
  QCheckBox* ShowPlotBox() const { return m_show; }
  QCheckBox* TickLinesBox() const { return m_tickLines; }
  QCheckBox* BlackBackgroundBox() const { return m_black; }
  QPushButton* SetButton() const { return m_set; }

 private:
  QWidget* BuildCurveBox();
  QWidget* BuildFieldBox();
  void CurveChosen(int curve, int index);
  void FillControls();
  void ReturnFocus();

  DisplayTarget* m_view = nullptr;
  HeaderPlotSettings m_settings;
  QComboBox* m_curves[kCurves] = {};
  QLineEdit* m_height = nullptr;
  QLineEdit* m_margins = nullptr;
  QLineEdit* m_pen = nullptr;
  QLineEdit* m_ticks = nullptr;
  QCheckBox* m_show = nullptr;
  QCheckBox* m_tickLines = nullptr;
  QCheckBox* m_black = nullptr;
  QPushButton* m_set = nullptr;
};
