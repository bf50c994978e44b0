// The 13 drawing colours of a trace view. Four rows exist: row 0 for wiggles,
// rows 1 to 3 for the colour-density palettes (the highlighted-trace line
// differs between them). Colours are 0x00BBGGRR, red in the low byte. The
// entries land on palette indices 0 to 12, so drawing in entry e writes byte e.
#pragma once

#include <array>
#include <cstdint>

enum SchemeEntry : int {
  kSchemeBackground = 0,     // the raster is cleared to this index
  kSchemeAxes = 1,           // axes, time labels, header labels
  kSchemeTimeLines = 2,      // time lines, zero lines, excluded traces
  kSchemeWiggle = 3,         // wiggle line
  kSchemeFill = 4,           // variable-area fill
  kSchemeHighlightLine = 5,  // highlighted-trace wiggle line
  kSchemeHighlightFill = 6,  // highlighted-trace fill
  kSchemeLabelBackA = 7,     // label row background, header-plot tick lines
  kSchemeLabelBackB = 8,     // label row background, header-plot band
  kSchemeSpare = 9,          // not used by the trace view
  kSchemeSelection = 10,     // selection, rubber band, focus line, first curve
  kSchemeCurve2 = 11,        // second header-plot curve
  kSchemeCurve3 = 12,        // third header-plot curve
};

class ColorScheme {
 public:
  static constexpr int kRows = 4;
  static constexpr int kEntries = 13;

  // The scheme of a row; rows outside 0..3 fall back to the nearest valid row.
  static const ColorScheme& Row(int row);

  // Colour of entry 0..12 (0x00BBGGRR).
  uint32_t Color(int entry) const { return m_colors[entry]; }

  std::array<uint32_t, kEntries> m_colors;
};
