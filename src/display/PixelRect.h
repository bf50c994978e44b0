// A rectangle in raster pixels: left and top inclusive, right and bottom
// exclusive. Empty when right <= left or bottom <= top.
#pragma once

#include <algorithm>
#include <cstdint>

struct PixelRect {
  int32_t left = 0;
  int32_t top = 0;
  int32_t right = 0;
  int32_t bottom = 0;

  bool Empty() const { return right <= left || bottom <= top; }
  bool Contains(int32_t x, int32_t y) const { return x >= left && x < right && y >= top && y < bottom; }
  PixelRect Intersect(const PixelRect& o) const {
    return {std::max(left, o.left), std::max(top, o.top), std::min(right, o.right),
            std::min(bottom, o.bottom)};
  }
  bool operator==(const PixelRect&) const = default;
};
