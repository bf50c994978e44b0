// Texts around the trace plot are kept wholly inside the raster: a label
// whose box would cross its lane's bounds slides inside them (a value at the
// edge of the view stays next to its tick instead of being cut), and a label
// that would then cover the label placed before it in the same lane is left
// out. A lane is one row of header labels or one column of axis values; its
// labels are placed in drawing order.
#pragma once

#include <string>

#include "display/PixelRect.h"

// A text the last redraw wrote, with its box (the unrotated text extent).
struct PlacedText {
  std::string text;
  PixelRect box;
};

class LabelLane {
 public:
  // spacing: pixels kept free between neighbouring labels.
  explicit LabelLane(const PixelRect& bounds, int spacing = 0) : m_bounds(bounds), m_spacing(spacing) {}

  // Moves *box inside the bounds. Returns false, *box unchanged, when it does
  // not fit them or would come closer than the spacing to the previous label.
  bool Place(PixelRect* box);

 private:
  PixelRect m_bounds;
  int m_spacing;
  PixelRect m_last;  // empty until a label is placed
};
