#include <gtest/gtest.h>
#include <lodepng.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "RenderTestUtil.h"
#include "display/PngSnapshot.h"
#include "support/TempDir.h"

namespace {

namespace fs = std::filesystem;

struct Image {
  unsigned error = 1, width = 0, height = 0;
  std::vector<unsigned char> indexes;
};

Image DecodeIndexes(const std::vector<unsigned char>& png) {
  Image img;
  LodePNGState state;
  lodepng_state_init(&state);
  state.info_raw.colortype = LCT_PALETTE;
  state.info_raw.bitdepth = 8;
  state.decoder.color_convert = 0;
  unsigned char* pixels = nullptr;
  img.error = lodepng_decode(&pixels, &img.width, &img.height, &state, png.data(), png.size());
  if (!img.error) img.indexes.assign(pixels, pixels + std::size_t{img.width} * img.height);
  std::free(pixels);
  lodepng_state_cleanup(&state);
  return img;
}

Image DecodeFile(const std::string& path) {
  std::vector<unsigned char> png;
  if (lodepng::load_file(png, path) != 0) return {};
  return DecodeIndexes(png);
}

// A drawn view saved as a snapshot reloads with the raster's indexes; the
// image leaves out the last client column and shows background in column 0.
TEST(RenderSnapshot, ReloadGivesTheDrawnIndexes) {
  auto s = kxrender::MakeSection(
      40, 300, 0.001, [](int n, int i) { return static_cast<float>((i * 7 + n * 3) % 23) - 11.0f; });
  kxrender::TestView v(801, 240);
  v.Show(*s);
  v.view.SetFocused(true);  // the focus line fills raster column 0
  v.view.Params().m_pixPerTrace = 17.3;
  v.Draw();
  ASSERT_EQ(v.At(0, 100), 10);
  std::vector<unsigned char> png;
  ASSERT_EQ(EncodePngSnapshot(v.view.Store(), &png), 0);
  Image img = DecodeIndexes(png);
  ASSERT_EQ(img.error, 0u);
  ASSERT_EQ(img.width, 800u);
  ASSERT_EQ(img.height, 240u);
  for (unsigned y = 0; y < 240; ++y) {
    ASSERT_EQ(img.indexes[y * 800], 0) << y;
    for (unsigned x = 1; x < 800; ++x)
      ASSERT_EQ(img.indexes[y * 800 + x], v.At(static_cast<int>(x), static_cast<int>(y)));
  }
}

class RenderCli : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(Run("synth -o " + (m_dir / "s.sgy").string() + " --shots 2 --channels 30 --samples 400 --dt 2"),
              0);
  }
  int Run(const std::string& args) {
    // No display: the command picks Qt's offscreen platform itself.
    std::string cmd = "env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM " + std::string(KX_KXTOOL) + " " +
                      args + " --log-level 1 > /dev/null 2>&1";
    int status = std::system(cmd.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }
  kxtest::TempDir m_tmp{"kx_render"};
  fs::path m_dir{m_tmp.Path()};
};

TEST_F(RenderCli, DrawsTheViewAtTheClientSize) {
  std::string out = (m_dir / "v.png").string();
  ASSERT_EQ(Run("render " + (m_dir / "s.sgy").string() + " -o " + out +
                " --size 801x300 --palette red-blue --gain agc:100:rms --labels FLDR,CHAN --header-plot OFF"),
            0);
  Image img = DecodeFile(out);
  ASSERT_EQ(img.error, 0u);
  EXPECT_EQ(img.width, 800u);
  EXPECT_EQ(img.height, 300u);
  int density = 0, background = 0;
  for (unsigned y = 0; y < 300; ++y) {
    EXPECT_EQ(img.indexes[y * 800], 0);
    for (unsigned x = 1; x < 800; ++x) {
      unsigned char i = img.indexes[y * 800 + x];
      density += i >= 13;
      background += i == 0;
    }
  }
  EXPECT_GT(density, 20000);  // 60 traces at 5 pixels under the header plot band
  EXPECT_GT(background, 1000);
}

TEST_F(RenderCli, FewTracesAreFittedAsWiggles) {
  std::string out = (m_dir / "w.png").string();
  ASSERT_EQ(Run("render " + (m_dir / "s.sgy").string() + " -o " + out + " --first-trace 1"), 0);
  ASSERT_EQ(Run("synth -o " + (m_dir / "few.sgy").string() + " --shots 1 --channels 20 --samples 300 --dt 2"),
            0);
  ASSERT_EQ(Run("render " + (m_dir / "few.sgy").string() + " -o " + out + " --size 400x300"), 0);
  Image img = DecodeFile(out);
  ASSERT_EQ(img.error, 0u);
  int density = 0, wiggle = 0;
  for (unsigned char i : img.indexes) {
    density += i >= 13;
    wiggle += i == 3 || i == 4;
  }
  EXPECT_EQ(density, 0);
  EXPECT_GT(wiggle, 2000);
}

TEST_F(RenderCli, RejectsBadOptions) {
  std::string in = (m_dir / "s.sgy").string(), out = (m_dir / "x.png").string();
  EXPECT_EQ(Run("render " + in + " -o " + out + " --size 10x10"), 2);
  EXPECT_EQ(Run("render " + in + " -o " + out + " --gain agc:-5"), 2);
  EXPECT_EQ(Run("render " + in + " -o " + out + " --palette purple"), 2);
  EXPECT_EQ(Run("render " + in + " -o " + out + " --labels NOSUCH"), 2);
  EXPECT_EQ(Run("render " + in + " -o " + out + " --header-plot DT"), 2);  // not a plot word
  EXPECT_EQ(Run("render " + in), 2);
  EXPECT_FALSE(fs::exists(out));
  EXPECT_EQ(Run("render " + (m_dir / "missing.sgy").string() + " -o " + out), 1);
}

}  // namespace
