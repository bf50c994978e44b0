// A point in raster pixels. Eight bytes, so point buffers and column tables
// can share one scratch buffer.
#pragma once

#include <cstdint>

struct PixelPoint {
  int32_t x = 0;
  int32_t y = 0;
  bool operator==(const PixelPoint&) const = default;
};
static_assert(sizeof(PixelPoint) == 8);
