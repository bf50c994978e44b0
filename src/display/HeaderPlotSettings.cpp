#include "display/HeaderPlotSettings.h"

#include <algorithm>

void HeaderPlotSettings::Limit(int viewClientHeight) {
  if (m_windowHeight < 50) {
    m_windowHeight = 50;
  } else {
    m_windowHeight = std::max(std::min(m_windowHeight, viewClientHeight - 50), 50);
  }
  m_verticalMargin = std::clamp(m_verticalMargin, 0, m_windowHeight / 10);
  if (m_penThickness <= 0) m_penThickness = 1;
  m_penThickness = std::min(m_penThickness, 5);
  if (m_majorTicks < 0) m_majorTicks = 0;
  // Ticks closer than 12 pixels would crowd the scale labels.
  if (m_majorTicks > 0 && static_cast<float>(m_windowHeight) / static_cast<float>(m_majorTicks) < 12.0f) {
    m_majorTicks = static_cast<int32_t>(static_cast<float>(m_windowHeight) * 0.083333336f + 0.5f);
  }
}
