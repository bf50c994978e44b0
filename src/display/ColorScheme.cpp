#include "display/ColorScheme.h"

#include <algorithm>

namespace {

// Rows 1 to 3 share everything except the highlighted-trace line.
constexpr ColorScheme DensityRow(uint32_t highlightLine) {
  return ColorScheme{{0xFFFFFF, 0x4B4B4B, 0x9B9B9B, 0x000000, 0x000000, highlightLine, 0x000000, 0xC8C8C8,
                      0xE1E1E1, 0x28EB32, 0x241CED, 0xCC483F, 0x4CB122}};
}

constexpr ColorScheme kSchemes[ColorScheme::kRows] = {
    ColorScheme{{0xFFFFFF, 0x4B4B4B, 0xC3C3C3, 0x0F0F0F, 0x555555, 0x0000FF, 0x6969FF, 0xC8C8C8, 0xE1E1E1,
                 0x28EB32, 0x241CED, 0xCC483F, 0x4CB122}},
    DensityRow(0x0000FF),
    DensityRow(0x000000),
    DensityRow(0xFF0000),
};

}  // namespace

const ColorScheme& ColorScheme::Row(int row) {
  return kSchemes[std::clamp(row, 0, kRows - 1)];
}
