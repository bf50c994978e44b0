// Whole views of small synthetic sections compared with stored snapshots,
// palette index by palette index. Text uses the font-free renderer so the
// images do not depend on installed fonts. To accept a deliberate change of
// the drawing, run with KX_UPDATE_GOLDEN=1 and review the new PNGs.
#include <gtest/gtest.h>
#include <lodepng.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "RenderTestUtil.h"
#include "display/DisplayRules.h"
#include "display/PngSnapshot.h"
#include "section/HeaderLabelTable.h"

namespace {

using kxrender::MakeSection;
using kxrender::TestView;

// A wavelet from arithmetic alone (no libm), so every platform agrees.
float Wavelet(int n, int i) {
  float t0 = 20.0f + 2.5f * static_cast<float>(n) + 0.04f * static_cast<float>(n * n);
  float u = (static_cast<float>(i) - t0) * (static_cast<float>(i) - t0) / 30.0f;
  float second = (static_cast<float>(i) - 70.0f + static_cast<float>(n)) / 6.0f;
  return (1.0f - 2.0f * u) / ((1.0f + u) * (1.0f + u)) * (n % 3 == 0 ? 1.0f : 0.6f) -
         0.5f / (1.0f + second * second);
}

std::unique_ptr<SeismicSection> Survey() {
  auto s = MakeSection(24, 120, 0.002, Wavelet);
  for (int n = 0; n < 24; ++n) {
    s->Trace(n)->CHAN = 1 + n % 12;
    s->Trace(n)->FLDR = 500 + n / 12;
    s->Trace(n)->OFF = 25.0f * static_cast<float>(n % 12) - 140.0f;
  }
  s->Scan();
  return s;
}

struct Decoded {
  unsigned width = 0, height = 0;
  std::vector<unsigned char> indexes, palette;
};

bool Decode(const std::vector<unsigned char>& png, Decoded* out) {
  LodePNGState state;
  lodepng_state_init(&state);
  state.info_raw.colortype = LCT_PALETTE;
  state.info_raw.bitdepth = 8;
  state.decoder.color_convert = 0;
  unsigned char* pixels = nullptr;
  unsigned error = lodepng_decode(&pixels, &out->width, &out->height, &state, png.data(), png.size());
  if (!error) {
    out->indexes.assign(pixels, pixels + std::size_t{out->width} * out->height);
    out->palette.assign(state.info_png.color.palette,
                        state.info_png.color.palette + 4 * state.info_png.color.palettesize);
  }
  std::free(pixels);
  lodepng_state_cleanup(&state);
  return error == 0;
}

void CompareWithGolden(TestView& v, const std::string& name) {
  std::vector<unsigned char> png;
  ASSERT_EQ(EncodePngSnapshot(v.view.Store(), &png), 0);
  std::string path = std::string(KX_SOURCE_DIR) + "/tests/display/golden/" + name + ".png";
  const char* update = std::getenv("KX_UPDATE_GOLDEN");
  if (update && std::string(update) == "1") {
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(png.data()), static_cast<std::streamsize>(png.size()));
    GTEST_SKIP() << "wrote " << path;
  }
  std::ifstream in(path, std::ios::binary);
  ASSERT_TRUE(in) << "missing golden image " << path;
  std::vector<unsigned char> stored((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  Decoded want, got;
  ASSERT_TRUE(Decode(stored, &want));
  ASSERT_TRUE(Decode(png, &got));
  ASSERT_EQ(got.width, want.width);
  ASSERT_EQ(got.height, want.height);
  EXPECT_EQ(got.palette, want.palette);
  int differing = 0, first = -1;
  for (std::size_t i = 0; i < want.indexes.size(); ++i) {
    if (got.indexes[i] != want.indexes[i]) {
      if (first < 0) first = static_cast<int>(i);
      ++differing;
    }
  }
  EXPECT_EQ(differing, 0) << name << ": first difference at x=" << first % static_cast<int>(want.width)
                          << " y=" << first / static_cast<int>(want.width);
}

TEST(GoldenImage, WiggleWithFill) {
  auto s = Survey();
  TestView v(321, 220);
  v.Show(*s);
  DisplayParams& p = v.view.Params();
  p.m_displayMode = kDisplayWiggle;
  p.m_pixPerTrace = 16.0;
  p.m_wiggleGain = 1.5;
  v.view.SetHighlighted(7);
  v.Draw();
  CompareWithGolden(v, "wiggle_fill");
}

// Negative lobes at a gain that overlaps neighbours, up to the plot's right
// edge, where the last lobes are cut.
TEST(GoldenImage, WiggleNegativeFillOverlapping) {
  auto s = Survey();
  TestView v(321, 220);
  v.Show(*s);
  DisplayParams& p = v.view.Params();
  p.m_displayMode = kDisplayWiggle;
  p.m_fillMode = kFillNegative;
  p.m_pixPerTrace = 12.0;
  p.m_wiggleGain = 4.0;
  p.m_firstTrace = 1;
  v.view.SetHighlighted(9);
  v.Draw();
  CompareWithGolden(v, "wiggle_fill_negative");
}

TEST(GoldenImage, DensityPalettes) {
  auto s = Survey();
  const char* names[kDensityPalettes] = {"density_grey", "density_red_black", "density_red_blue",
                                         "density_blue_yellow"};
  for (int palette = 0; palette < kDensityPalettes; ++palette) {
    TestView v(201, 180);
    v.Show(*s);
    DisplayParams& p = v.view.Params();
    SelectDensityPalette(&p, palette);
    p.m_pixPerTrace = 4.5;
    p.m_colorGain = 1.5;
    p.m_timeLinesColor = palette % 2;
    v.Draw();
    CompareWithGolden(v, names[palette]);
  }
}

TEST(GoldenImage, LabelsAndHeaderPlot) {
  auto s = Survey();
  TestView v(361, 300);
  int fldr = -1, chan = -1, off = -1;
  for (const HeaderLabelRow& r : HeaderLabelRows()) {
    std::string name = r.shortLabel;
    if (name == "FLDR") fldr = r.id;
    if (name == "CHAN") chan = r.id;
    if (name == "OFF") off = r.id;
  }
  v.view.SetLabelWords({fldr, chan});
  v.Show(*s);
  HeaderPlotSettings hp;
  hp.m_showPlot = 1;
  hp.m_windowHeight = 80;
  hp.m_majorTicks = 4;
  hp.m_curveWord[0] = off;
  hp.m_curveWord[1] = chan;
  v.view.SetHeaderPlot(hp);
  v.view.Params().m_pixPerTrace = 11.0;
  v.view.Params().m_gainControl = kGainNone;
  v.Draw();
  CompareWithGolden(v, "labels_header_plot");
}

}  // namespace
