// The off-screen raster of a trace view: 8 bits per pixel, rows top-down, a
// 256-entry palette. Pixel (x, y) is the byte at y × Stride() + x. The stride
// is always larger than the client width, so one spare column on the right can
// take writes just past the plot's edge.
//
// Drawing code takes Row(y) once and writes bytes directly; RasterPainter adds
// clipped lines, polygons, rectangles and text. Status codes: 0, or kStatusNoMemory when
// memory cannot be allocated (logged). One thread owns the store; the density
// renderer may write disjoint columns or rows from several threads.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

#include "display/Palette.h"

struct DisplayParams;

// The raster description: geometry, resolution and colour table.
struct RasterDescription {
  int32_t width = 0;  // = stride
  int32_t height = 0;
  int32_t xPixelsPerMetre = 0;
  int32_t yPixelsPerMetre = 0;
  Palette palette;
};

class BackingStore {
 public:
  BackingStore() = default;
  BackingStore(const BackingStore&) = delete;
  BackingStore& operator=(const BackingStore&) = delete;

  // Allocates the description for a display of dpi dots per inch and builds
  // the palette from params. Does nothing when it exists. Returns 0 or kStatusNoMemory.
  int CreateBackingStore(int dpi, const DisplayParams& params);

  // Sizes the raster for a client area. An existing raster is kept when it is
  // wider than the client area and at least as tall; otherwise a new one of
  // stride (clientWidth + 4) rounded down to a multiple of 4 and clientHeight
  // rows replaces it (contents undefined). viewNumber only names the view in
  // the failure message. Returns 0 or kStatusNoMemory (no raster then).
  int ResizeBackingStore(int clientWidth, int clientHeight, int viewNumber = 0);

  // Scheme row of the display mode into entries 0..12; in colour mode also the
  // density ramps into 13..255 (in wiggle mode those keep what they held).
  void BuildPalette(const DisplayParams& params);

  // Sets every byte of the client rows to index (0 = background).
  void Clear(uint8_t index = 0);

  bool HasDescription() const { return m_description != nullptr; }
  bool HasRaster() const { return m_pixels != nullptr; }
  uint8_t* Pixels() { return m_pixels.get(); }
  const uint8_t* Pixels() const { return m_pixels.get(); }
  uint8_t* Row(int y) { return m_pixels.get() + static_cast<std::ptrdiff_t>(y) * m_stride; }
  const uint8_t* Row(int y) const { return m_pixels.get() + static_cast<std::ptrdiff_t>(y) * m_stride; }
  int Stride() const { return m_stride; }
  // Allocated rows (at least the client height).
  int Rows() const { return m_rows; }
  int ClientWidth() const { return m_clientWidth; }
  int ClientHeight() const { return m_clientHeight; }

  // The description; null before CreateBackingStore.
  const RasterDescription* Description() const { return m_description.get(); }
  // The colour table (requires the description).
  Palette& GetPalette() { return m_description->palette; }
  const Palette& GetPalette() const { return m_description->palette; }

 private:
  std::unique_ptr<RasterDescription> m_description;
  std::unique_ptr<uint8_t[]> m_pixels;
  int m_stride = 0;
  int m_rows = 0;
  int m_clientWidth = 0;
  int m_clientHeight = 0;
};
