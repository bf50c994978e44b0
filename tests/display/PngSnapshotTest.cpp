#include <gtest/gtest.h>
#include <lodepng.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "display/BackingStore.h"
#include "display/DisplayParams.h"
#include "display/PngSnapshot.h"
#include "support/TempDir.h"

namespace {

struct Decoded {
  unsigned error = 0;
  unsigned width = 0, height = 0;
  std::vector<unsigned char> indexes;
  LodePNGState state;
  Decoded() { lodepng_state_init(&state); }
  ~Decoded() { lodepng_state_cleanup(&state); }
};

// Decodes to palette indexes, keeping the file's own palette and chunks.
void DecodeIndexes(const std::vector<unsigned char>& png, Decoded* out) {
  out->state.info_raw.colortype = LCT_PALETTE;
  out->state.info_raw.bitdepth = 8;
  out->state.decoder.color_convert = 0;
  unsigned char* pixels = nullptr;
  out->error = lodepng_decode(&pixels, &out->width, &out->height, &out->state, png.data(), png.size());
  if (pixels) out->indexes.assign(pixels, pixels + std::size_t{out->width} * out->height);
  std::free(pixels);
}

class PngSnapshotTest : public ::testing::Test {
 protected:
  void SetUp() override {
    DisplayParams params;
    params.m_palette = 3;
    ASSERT_EQ(m_store.CreateBackingStore(150, params), 0);
    ASSERT_EQ(m_store.ResizeBackingStore(801, 37), 0);
    for (int y = 0; y < 37; ++y)
      for (int x = 0; x < m_store.Stride(); ++x) m_store.Row(y)[x] = static_cast<uint8_t>(x * 7 + y * 3 + 1);
  }
  void ExpectSameImage(const std::vector<unsigned char>& png) {
    Decoded d;
    DecodeIndexes(png, &d);
    ASSERT_EQ(d.error, 0u) << lodepng_error_text(d.error);
    ASSERT_EQ(d.width, 800u);
    ASSERT_EQ(d.height, 37u);
    EXPECT_EQ(d.state.info_png.color.colortype, LCT_PALETTE);
    EXPECT_EQ(d.state.info_png.color.bitdepth, 8u);
    ASSERT_EQ(d.state.info_png.color.palettesize, 256u);
    for (int i = 0; i < 256; ++i) {
      const PaletteEntry& e = m_store.GetPalette().Entry(i);
      const unsigned char* rgba = d.state.info_png.color.palette + 4 * i;
      ASSERT_EQ(rgba[0], e.red);
      ASSERT_EQ(rgba[1], e.green);
      ASSERT_EQ(rgba[2], e.blue);
      ASSERT_EQ(rgba[3], 255);
    }
    EXPECT_EQ(d.state.info_png.phys_defined, 1u);
    EXPECT_EQ(d.state.info_png.phys_x, 5906u);
    EXPECT_EQ(d.state.info_png.phys_y, 5906u);
    EXPECT_EQ(d.state.info_png.phys_unit, 1u);
    for (unsigned y = 0; y < 37; ++y) {
      EXPECT_EQ(d.indexes[y * 800], 0) << y;  // background whatever the raster holds
      for (unsigned x = 1; x < 800; ++x)
        ASSERT_EQ(d.indexes[y * 800 + x], m_store.Row(y)[x]) << x << "," << y;
    }
  }
  BackingStore m_store;
};

TEST_F(PngSnapshotTest, ReloadGivesTheRasterIndexes) {
  std::vector<unsigned char> png;
  ASSERT_EQ(EncodePngSnapshot(m_store, &png), 0);
  ExpectSameImage(png);
}

TEST_F(PngSnapshotTest, SavedFileMatchesAndLeavesNoTemporaryFile) {
  kxtest::TempDir tmp("kx_png");
  std::filesystem::path folder = tmp.Path();
  auto path = folder / "view.png";
  { std::ofstream(path) << "old"; }
  ASSERT_EQ(SavePngSnapshot(m_store, path.string()), 0);
  std::ifstream in(path, std::ios::binary);
  std::vector<unsigned char> png((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  ExpectSameImage(png);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder), std::filesystem::directory_iterator()),
            1);
  EXPECT_EQ(SavePngSnapshot(m_store, (folder / "missing" / "x.png").string()), -1);
}

TEST(PngSnapshot, NothingToEncodeIsAnError) {
  BackingStore store;
  std::vector<unsigned char> png;
  EXPECT_EQ(EncodePngSnapshot(store, &png), -1);
  DisplayParams params;
  ASSERT_EQ(store.CreateBackingStore(150, params), 0);
  ASSERT_EQ(store.ResizeBackingStore(1, 10), 0);  // zero-width image
  EXPECT_EQ(EncodePngSnapshot(store, &png), -1);
  EXPECT_TRUE(png.empty());
}

}  // namespace
