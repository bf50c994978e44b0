// A slider that changes a value relative to where it was: the thumb rests at
// 0 and every move reports a change Δ in slider units. While the thumb is
// dragged the change is measured from the last drag position; a line or page
// move, or the end of a drag, puts the slider back to 0. One memory per
// slider, shared by every view.
#pragma once

enum class SliderMove { kDrag, kLine, kPage, kEndDrag };

class RelativeSlider {
 public:
  static constexpr int kMin = -112;
  static constexpr int kMax = 112;
  static constexpr int kLineStep = 1;
  static constexpr int kPageStep = 10;

  // position: the control's position after the move. Returns Δ (0 at the end
  // of a drag). *snapBack is set when the control must be moved back to 0.
  int Move(SliderMove move, int position, bool* snapBack);
  int Remembered() const { return m_remembered; }

 private:
  int m_remembered = 0;
};
