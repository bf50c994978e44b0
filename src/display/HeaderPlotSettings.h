// Settings of the header plot band above the traces, edited on the "Header
// Plot" tab and copied to the view. Sizes are pixels.
#pragma once

#include <cstdint>

struct HeaderPlotSettings {
  int32_t m_showPlot = 0;
  int32_t m_windowHeight = 150;
  int32_t m_verticalMargin = 5;
  int32_t m_penThickness = 1;
  int32_t m_majorTicks = 5;
  int32_t m_tickLines = 1;
  int32_t m_blackBackground = 0;
  int32_t m_curveWord[3] = {-1, -1, -1};  // catalogue rows of red, blue, green; -1 "None"

  // Brings entered values into range; viewClientHeight bounds the band height.
  void Limit(int viewClientHeight);

  bool operator==(const HeaderPlotSettings&) const = default;
};
