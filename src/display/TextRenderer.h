// Text for the raster: measurement and rasterising at an angle. The desktop
// program implements it with its font engine; the core and its tests can use
// BlockTextRenderer. Text is UTF-8. Implementations are used from the drawing
// thread only.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

struct TextStyle {
  std::string family = "Tahoma";
  int pixelHeight = 12;  // character cell height
  int weight = 400;      // 300 light, 400 normal, 700 bold
  double angle = 0.0;    // degrees counter-clockwise; 90 reads bottom to top
};

struct TextExtent {
  int width = 0;   // advance of the whole string, unrotated
  int height = 0;  // line height
};

// Coverage of a rasterised string, 0..255 per pixel, row-major. (left, top)
// is the position of its first pixel relative to the anchor point, which is
// the top-left corner of the unrotated text box.
struct TextMask {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  std::vector<uint8_t> coverage;
};

class TextRenderer {
 public:
  virtual ~TextRenderer() = default;
  virtual TextExtent Measure(std::string_view text, const TextStyle& style) = 0;
  // Fills mask; returns 0, or a negative status when nothing can be drawn.
  virtual int Rasterize(std::string_view text, const TextStyle& style, TextMask* mask) = 0;
};
