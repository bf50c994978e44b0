// The 256-entry colour table of an indexed raster. Entries 0..12 hold the
// active ColorScheme row; in colour mode entries 13..255 hold the density ramp
// of one of four palettes, with the zero (and no-data) colour at index 134.
#pragma once

#include <array>
#include <cstdint>

// One colour table entry, stored blue, green, red, reserved.
struct PaletteEntry {
  uint8_t blue = 0;
  uint8_t green = 0;
  uint8_t red = 0;
  uint8_t reserved = 0;
};
static_assert(sizeof(PaletteEntry) == 4);

// Density ramp anchors: most negative, zero, most positive.
inline constexpr int kDensityNegativeIndex = 13;
inline constexpr int kDensityZeroIndex = 134;
inline constexpr int kDensityPositiveIndex = 255;
inline constexpr int kDensityPalettes = 4;

class Palette {
 public:
  static constexpr int kSize = 256;

  // Copies the 13 colours of a scheme row into entries 0..12.
  void SetSchemeRow(int row);
  // Entries 13..255 become the ramps of density palette 0..3 ("grey scale",
  // "Red-Black", "Red-Blue", "Blue-Yellow"; others clamp): 13 -> 134 and
  // 134 -> 255, each channel interpolated in single precision and truncated.
  void LayDensityRamps(int densityPalette);

  const PaletteEntry& Entry(int i) const { return m_entries[i]; }
  void SetEntry(int i, uint32_t colorref);
  // Entry i as 0x00BBGGRR.
  uint32_t Colorref(int i) const;
  // The entry closest to a colour (squared RGB distance); the lowest index wins
  // ties, so a scheme colour always maps to its own entry 0..12.
  int NearestIndex(uint32_t colorref) const;

  const std::array<PaletteEntry, kSize>& Entries() const { return m_entries; }

 private:
  void LayRamp(int from, int to, const uint8_t* c0, const uint8_t* c1);

  std::array<PaletteEntry, kSize> m_entries{};
};
