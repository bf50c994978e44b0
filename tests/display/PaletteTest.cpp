#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "display/BackingStore.h"
#include "display/ColorScheme.h"
#include "display/DensityMapping.h"
#include "display/DisplayParams.h"
#include "display/DisplayRules.h"
#include "display/Palette.h"

namespace {

uint32_t Rgb(int r, int g, int b) {
  return static_cast<uint32_t>(r | g << 8 | b << 16);
}

TEST(Palette, SchemeColoursLandOnTheirOwnEntries) {
  for (int row = 0; row < ColorScheme::kRows; ++row) {
    Palette palette;
    palette.SetSchemeRow(row);
    palette.LayDensityRamps(row);
    for (int e = 0; e < ColorScheme::kEntries; ++e) {
      uint32_t color = ColorScheme::Row(row).Color(e);
      EXPECT_EQ(palette.Colorref(e), color);
      // Duplicated colours (black in the density rows) map to their first entry.
      int nearest = palette.NearestIndex(color);
      EXPECT_LE(nearest, e);
      EXPECT_EQ(palette.Colorref(nearest), color);
    }
  }
  EXPECT_EQ(ColorScheme::Row(3).Color(kSchemeHighlightLine), 0xFF0000u);
  EXPECT_EQ(ColorScheme::Row(-5).Color(kSchemeWiggle), ColorScheme::Row(0).Color(kSchemeWiggle));
  EXPECT_EQ(ColorScheme::Row(9).Color(kSchemeHighlightLine), 0xFF0000u);
}

TEST(Palette, DensityRampsHitAnchorsAndTruncateInSinglePrecision) {
  const uint32_t anchors[4][3] = {{Rgb(250, 250, 250), Rgb(129, 129, 129), Rgb(7, 7, 7)},
                                  {Rgb(190, 0, 0), Rgb(255, 255, 255), Rgb(40, 40, 40)},
                                  {Rgb(255, 40, 40), Rgb(255, 255, 255), Rgb(40, 40, 255)},
                                  {Rgb(31, 55, 191), Rgb(144, 144, 142), Rgb(244, 219, 56)}};
  for (int p = 0; p < kDensityPalettes; ++p) {
    Palette palette;
    palette.LayDensityRamps(p);
    EXPECT_EQ(palette.Colorref(13), anchors[p][0]) << p;
    EXPECT_EQ(palette.Colorref(134), anchors[p][1]) << p;
    EXPECT_EQ(palette.Colorref(255), anchors[p][2]) << p;
  }
  Palette grey;
  grey.LayDensityRamps(0);
  EXPECT_EQ(grey.Colorref(14), Rgb(249, 249, 249));   // slope exactly -1
  EXPECT_EQ(grey.Colorref(135), Rgb(127, 127, 127));  // 127.99 truncated, not rounded
  for (int i = 14; i <= 255; ++i) EXPECT_LE(grey.Entry(i).red, grey.Entry(i - 1).red);
  Palette redBlue;
  redBlue.LayDensityRamps(2);
  EXPECT_EQ(redBlue.Colorref(135), Rgb(253, 253, 255));
}

TEST(Palette, WiggleModeKeepsTheDensityEntries) {
  DisplayParams params;
  SelectDensityPalette(&params, 1);
  BackingStore store;
  ASSERT_EQ(store.CreateBackingStore(150, params), 0);
  EXPECT_EQ(store.GetPalette().Colorref(kSchemeHighlightLine), 0xFF0000u);  // Red-Black: row 3
  uint32_t entry200 = store.GetPalette().Colorref(200);
  params.m_displayMode = kDisplayWiggle;
  store.BuildPalette(params);
  EXPECT_EQ(store.GetPalette().Colorref(kSchemeTimeLines), ColorScheme::Row(0).Color(kSchemeTimeLines));
  EXPECT_EQ(store.GetPalette().Colorref(200), entry200);
}

TEST(DensityMapping, ZeroNoDataAndClips) {
  const double normaliser = 8.0, gain = 2.5;
  double k = DensityScale(gain, normaliser);
  EXPECT_EQ(DensityIndex(0.0 * k), 134);
  EXPECT_EQ(DensityIndex(normaliser / gain * k), 255);
  EXPECT_EQ(DensityIndex(-normaliser / gain * k), 13);
  EXPECT_EQ(DensityIndex(1000.0 * k), 255);
  EXPECT_EQ(DensityIndex(-1000.0 * k), 13);
  // An all-zero trace has normaliser 0: everything is the zero colour.
  EXPECT_EQ(DensityScale(gain, 0.0), 0.0);
  EXPECT_EQ(DensityIndex(5.0 * DensityScale(gain, 0.0)), 134);
  EXPECT_EQ(DensityIndex(std::numeric_limits<double>::quiet_NaN()), 134);
  EXPECT_EQ(DensityIndex(std::numeric_limits<double>::infinity()), 255);
  EXPECT_EQ(DensityIndex(-std::numeric_limits<double>::infinity()), 13);
  EXPECT_EQ(DensityIndex(1e300), 255);
}

TEST(DensityMapping, RoundsHalfAwayFromZeroSymmetrically) {
  EXPECT_EQ(DensityIndex(0.49), 134);
  EXPECT_EQ(DensityIndex(0.5), 135);
  EXPECT_EQ(DensityIndex(-0.5), 133);
  EXPECT_EQ(DensityIndex(120.4), 254);
  EXPECT_EQ(DensityIndex(120.5), 255);
  // Inverse polarity negates w and must mirror the index about 134.
  for (double w = -130.0; w <= 130.0; w += 0.25) EXPECT_EQ(DensityIndex(-w), 268 - DensityIndex(w)) << w;
}

}  // namespace
