#include "display/BlockTextRenderer.h"

#include <algorithm>
#include <cmath>

int BlockTextRenderer::CellWidth(const TextStyle& style) {
  return std::max(style.pixelHeight / 2, 1);
}

int BlockTextRenderer::CountCharacters(std::string_view text) {
  int count = 0;
  for (char c : text) {
    if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++count;
  }
  return count;
}

TextExtent BlockTextRenderer::Measure(std::string_view text, const TextStyle& style) {
  return {CountCharacters(text) * CellWidth(style), std::max(style.pixelHeight, 1)};
}

namespace {

// The unrotated coverage: one solid block per non-blank character.
std::vector<uint8_t> Blocks(std::string_view text, int cell, int width, int height) {
  std::vector<uint8_t> pixels(static_cast<std::size_t>(width) * height, 0);
  int index = -1;
  for (std::size_t i = 0; i < text.size(); ++i) {
    unsigned char c = static_cast<unsigned char>(text[i]);
    if ((c & 0xC0) == 0x80) continue;
    ++index;
    if (c == ' ') continue;
    for (int y = 0; y < height; ++y) {
      std::fill_n(pixels.begin() + static_cast<std::ptrdiff_t>(y) * width + index * cell, cell - 1, 255);
    }
  }
  return pixels;
}

}  // namespace

int BlockTextRenderer::Rasterize(std::string_view text, const TextStyle& style, TextMask* mask) {
  TextExtent extent = Measure(text, style);
  int w = extent.width, h = extent.height;
  std::vector<uint8_t> flat = Blocks(text, CellWidth(style), w, h);
  int turns = static_cast<int>(std::lround(style.angle / 90.0)) % 4;
  if (turns < 0) turns += 4;
  bool sideways = turns % 2 == 1;
  mask->width = sideways ? h : w;
  mask->height = sideways ? w : h;
  const int lefts[4] = {0, 0, -w, -h}, tops[4] = {0, -w, -h, 0};
  mask->left = lefts[turns];
  mask->top = tops[turns];
  mask->coverage.assign(flat.size(), 0);
  for (int v = 0; v < h; ++v) {
    for (int u = 0; u < w; ++u) {
      // Text-space pixel (u, v) after turning counter-clockwise about the anchor.
      const int cols[4] = {u, v, w - 1 - u, h - 1 - v}, rows[4] = {v, w - 1 - u, h - 1 - v, u};
      mask->coverage[static_cast<std::size_t>(rows[turns]) * mask->width + cols[turns]] =
          flat[static_cast<std::size_t>(v) * w + u];
    }
  }
  return 0;
}
