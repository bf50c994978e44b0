// A font-free TextRenderer: every character is a cell of pixelHeight ÷ 2 by
// pixelHeight pixels, painted solid unless it is a blank, with the cell's last
// column left empty. Angles are rounded to the nearest quarter turn. Used by
// tests and by headless drawing that has no font engine.
#pragma once

#include "display/TextRenderer.h"

class BlockTextRenderer : public TextRenderer {
 public:
  TextExtent Measure(std::string_view text, const TextStyle& style) override;
  int Rasterize(std::string_view text, const TextStyle& style, TextMask* mask) override;

  static int CellWidth(const TextStyle& style);
  // Characters (UTF-8 code points) of a string.
  static int CountCharacters(std::string_view text);
};
