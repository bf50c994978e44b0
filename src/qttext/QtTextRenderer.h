// TextRenderer on Qt's font engine: fonts by family with a sans-serif
// fallback, measured with QFontMetrics and rasterised without antialiasing
// into a coverage mask (the raster takes pixels of at least half coverage).
// Needs a QGuiApplication; works with the offscreen platform. GUI thread only.
#pragma once

#include <memory>

#include "display/TextRenderer.h"

class QtTextRenderer : public TextRenderer {
 public:
  QtTextRenderer();
  ~QtTextRenderer() override;
  QtTextRenderer(const QtTextRenderer&) = delete;
  QtTextRenderer& operator=(const QtTextRenderer&) = delete;

  TextExtent Measure(std::string_view text, const TextStyle& style) override;
  int Rasterize(std::string_view text, const TextStyle& style, TextMask* mask) override;

 private:
  struct Fonts;
  std::unique_ptr<Fonts> m_fonts;
};
