#include "display/LabelLane.h"

namespace {

// The shift that brings [lo, hi) inside [min, max), the low edge first when
// it cannot fit.
int32_t ShiftInto(int32_t lo, int32_t hi, int32_t min, int32_t max) {
  if (hi > max) return max - hi;
  if (lo < min) return min - lo;
  return 0;
}

}  // namespace

bool LabelLane::Place(PixelRect* box) {
  const int32_t dx = ShiftInto(box->left, box->right, m_bounds.left, m_bounds.right);
  const int32_t dy = ShiftInto(box->top, box->bottom, m_bounds.top, m_bounds.bottom);
  const PixelRect moved{box->left + dx, box->top + dy, box->right + dx, box->bottom + dy};
  if (moved.Intersect(m_bounds) != moved) return false;  // larger than the lane
  if (!m_last.Empty()) {
    const PixelRect near{m_last.left - m_spacing, m_last.top - m_spacing, m_last.right + m_spacing,
                         m_last.bottom + m_spacing};
    if (!near.Intersect(moved).Empty()) return false;
  }
  m_last = moved;
  *box = moved;
  return true;
}
