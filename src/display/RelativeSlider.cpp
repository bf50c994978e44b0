#include "display/RelativeSlider.h"

#include <algorithm>

int RelativeSlider::Move(SliderMove move, int position, bool* snapBack) {
  position = std::clamp(position, kMin, kMax);
  if (move == SliderMove::kDrag) {
    int delta = position - m_remembered;
    m_remembered = position;
    *snapBack = false;
    return delta;
  }
  m_remembered = 0;
  *snapBack = true;
  return move == SliderMove::kEndDrag ? 0 : position;
}
