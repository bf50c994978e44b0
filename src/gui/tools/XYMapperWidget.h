// The map area of the basemap window: shows the XYMapper's raster, runs the
// map tools (zoom in/out with Shift, hand, rectangle zoom, distance) and, in
// digitizing mode, reports clicks and moves in map coordinates to its owner.
// Drawing and the range arithmetic live in the Qt-free XYMapper; this widget
// only translates events. User-interface thread only.
#pragma once

#include <QPoint>
#include <QWidget>
#include <functional>
#include <string>
#include <vector>

#include "display/BackingStore.h"
#include "display/XYMapper.h"
#include "qttext/QtTextRenderer.h"

enum class MapTool { kPointer, kZoom, kHand, kRectangle, kDistance };

class XYMapperWidget : public QWidget {
  Q_OBJECT

 public:
  explicit XYMapperWidget(QWidget* parent = nullptr);

  // The graphs to draw, in order (owned by the caller, read at every redraw).
  void SetGraphs(std::vector<const XYGraph*> graphs) { m_graphs = std::move(graphs); }
  // The range the hand tool stays in (the data extent or the user range).
  void SetPanLimit(const MapRange& limit) { m_panLimit = limit; }
  void SetTool(MapTool tool);
  MapTool Tool() const { return m_tool; }
  // Digitizing: clicks and moves go to the owner instead of the tools.
  void SetDigitizing(bool on);
  bool Digitizing() const { return m_digitizing; }

  int FitMap(const MapRange& range);
  // Redraws the whole map (graphs changed).
  void Redraw();
  void SetStatus(const std::string& status);
  const std::string& Status() const { return m_status; }

  XYMapper& Mapper() { return m_mapper; }
  const BackingStore& Store() const { return m_store; }
  // Pixel of a map point (for tests and for moving the pointer).
  QPoint PixelOf(double x, double y) const { return {m_mapper.PixelX(x), m_mapper.PixelY(y)}; }

 signals:
  // A click (released without moving) at a map position: digitizing or the
  // plain pointer.
  void MapClicked(double x, double y);
  // The mouse moved over the map with no tool drag.
  void MapMoved(double x, double y);
  void EscapePressed();
  void BackspacePressed();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void EnsureRaster();
  void ToggleRubber();  // inverts the current rubber band (twice restores)
  void UpdateCursor(bool shift);

  XYMapper m_mapper;
  BackingStore m_store;
  QtTextRenderer m_text;
  std::vector<const XYGraph*> m_graphs;
  MapRange m_panLimit;
  MapTool m_tool = MapTool::kPointer;
  bool m_digitizing = false;
  std::string m_status;
  bool m_pressed = false;
  bool m_moved = false;
  bool m_rubberShown = false;
  QPoint m_pressAt;
  QPoint m_lastAt;
};
