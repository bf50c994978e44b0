#include "display/Palette.h"

#include <algorithm>

#include "display/ColorScheme.h"
#include "log/Log.h"

namespace {

// Anchor colours (R, G, B) at indices 13, 134 and 255 per density palette.
constexpr uint8_t kAnchors[kDensityPalettes][3][3] = {
    {{250, 250, 250}, {129, 129, 129}, {7, 7, 7}},     // grey scale
    {{190, 0, 0}, {255, 255, 255}, {40, 40, 40}},      // Red-Black
    {{255, 40, 40}, {255, 255, 255}, {40, 40, 255}},   // Red-Blue
    {{31, 55, 191}, {144, 144, 142}, {244, 219, 56}},  // Blue-Yellow
};

uint8_t RampChannel(int j, float inverseSpan, uint8_t c0, uint8_t c1) {
  // Single precision on purpose: the ramps must match colour for colour.
  float slope = static_cast<float>(static_cast<int>(c1) - static_cast<int>(c0)) * inverseSpan;
  float value = static_cast<float>(j) * slope + static_cast<float>(c0);
  return static_cast<uint8_t>(static_cast<int>(value));
}

}  // namespace

void Palette::SetSchemeRow(int row) {
  const ColorScheme& scheme = ColorScheme::Row(row);
  for (int i = 0; i < ColorScheme::kEntries; ++i) SetEntry(i, scheme.Color(i));
}

void Palette::LayDensityRamps(int densityPalette) {
  const auto& anchors = kAnchors[std::clamp(densityPalette, 0, kDensityPalettes - 1)];
  for (int i = kDensityNegativeIndex; i < kSize; ++i) m_entries[i] = PaletteEntry{0, 255, 0, 0};
  LayRamp(kDensityNegativeIndex, kDensityZeroIndex, anchors[0], anchors[1]);
  LayRamp(kDensityZeroIndex, kDensityPositiveIndex, anchors[1], anchors[2]);
}

void Palette::LayRamp(int from, int to, const uint8_t* c0, const uint8_t* c1) {
  float inverseSpan = 1.0f / static_cast<float>(to - from);
  for (int j = 0; j <= to - from; ++j) {
    int i = from + j;
    if (i > 255) {
      LogPrint(LogError, "i>255");
      continue;
    }
    m_entries[i].red = RampChannel(j, inverseSpan, c0[0], c1[0]);
    m_entries[i].green = RampChannel(j, inverseSpan, c0[1], c1[1]);
    m_entries[i].blue = RampChannel(j, inverseSpan, c0[2], c1[2]);
    m_entries[i].reserved = 0;
  }
}

void Palette::SetEntry(int i, uint32_t colorref) {
  m_entries[i] = PaletteEntry{static_cast<uint8_t>(colorref >> 16), static_cast<uint8_t>(colorref >> 8),
                              static_cast<uint8_t>(colorref), 0};
}

uint32_t Palette::Colorref(int i) const {
  const PaletteEntry& e = m_entries[i];
  return static_cast<uint32_t>(e.red) | static_cast<uint32_t>(e.green) << 8 |
         static_cast<uint32_t>(e.blue) << 16;
}

int Palette::NearestIndex(uint32_t colorref) const {
  int r = colorref & 0xFF, g = (colorref >> 8) & 0xFF, b = (colorref >> 16) & 0xFF;
  int best = 0;
  int bestDistance = 1 << 30;
  for (int i = 0; i < kSize && bestDistance > 0; ++i) {
    const PaletteEntry& e = m_entries[i];
    int dr = e.red - r, dg = e.green - g, db = e.blue - b;
    int distance = dr * dr + dg * dg + db * db;
    if (distance < bestDistance) {
      bestDistance = distance;
      best = i;
    }
  }
  return best;
}
