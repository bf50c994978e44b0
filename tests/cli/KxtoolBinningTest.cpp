// kxtool bin end to end on a synthetic survey, its refusals, and the name
// the binned section is saved under.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <string>

#include "formats/BinningSave.h"
#include "formats/LoadFileList.h"
#include "formats/ProfileText.h"
#include "section/SeismicSection.h"
#include "support/TempDir.h"

namespace {
int Kxtool(const std::string& args) {
  std::string cmd = std::string(KX_KXTOOL) + " " + args + " >/dev/null 2>&1";
  int rc = std::system(cmd.c_str());
  return WIFEXITED(rc) ? WEXITSTATUS(rc) : -1;
}

std::unique_ptr<SeismicSection> LoadFile(const std::string& path) {
  auto s = std::make_unique<SeismicSection>();
  LoadParams p;
  p.flags = kLoadKeepHeaders;
  if (LoadFileList(*s, {path}, p) != 0 || s->Count() == 0) return nullptr;
  return s;
}

// The synthetic survey's line: from (512000, 6715000) at 30 degrees from east.
constexpr double kX0 = 512000.0, kY0 = 6715000.0;
const double kC = std::cos(0.5235987755982988), kS = std::sin(0.5235987755982988);
}  // namespace

TEST(BinningCli, SynthSurveyBinnedAlongItsLine) {
  kxtest::TempDir dir;
  ASSERT_TRUE(dir.Ok());
  std::string in = dir.File("in.segy"), prof = dir.File("line.txt"), out = dir.File("bin.segy");
  ASSERT_EQ(Kxtool("synth -o " + in + " --shots 10 --channels 24 --samples 100 --dt 2"), 0);
  ASSERT_EQ(SaveProfileText(prof, {{kX0 - 50 * kC, kY0 - 50 * kS}, {kX0 + 600 * kC, kY0 + 600 * kS}}), 0);
  ASSERT_EQ(Kxtool("bin " + in + " --profile " + prof + " --bin-size 10 --max-offset 200 -o " + out), 0);
  auto input = LoadFile(in);
  auto binned = LoadFile(out);
  ASSERT_TRUE(input && binned);
  int expected = 0;
  double firstAlong = 1e9;  // the first midpoint's distance from the line's origin
  for (int i = 0; i < input->Count(); ++i) {
    const TraceRecord* t = input->Trace(i);
    if (std::hypot(t->RX - t->SX, t->RY - t->SY) > 200.0) continue;
    ++expected;
    double mx = (t->SX + t->RX) / 2 - kX0, my = (t->SY + t->RY) / 2 - kY0;
    firstAlong = std::min(firstAlong, mx * kC + my * kS);
  }
  ASSERT_GT(expected, 100);
  ASSERT_LT(expected, input->Count());
  ASSERT_EQ(binned->Count(), expected);
  for (int i = 0; i < binned->Count(); ++i) {
    const TraceRecord* t = binned->Trace(i);
    const TraceRecord* prev = i ? binned->Trace(i - 1) : nullptr;
    ASSERT_GE(t->CDP, 1);
    if (prev) {
      ASSERT_GE(t->CDP, prev->CDP) << i;
      if (t->CDP == prev->CDP) {
        EXPECT_EQ(t->CDPT, prev->CDPT + 1) << i;
        EXPECT_GE(t->OFF, prev->OFF) << i;
      }
    }
    if (!prev || t->CDP != prev->CDP) {
      EXPECT_EQ(t->CDPT, 1) << i;
    }
    EXPECT_GT(t->OFF, 0.0f);  // sources lie behind their midpoints along the line
    EXPECT_LE(t->OFF, 200.0f);
    // The bin centre lies on the line, at its bin's distance from the first midpoint.
    double along = (t->CDPX - kX0) * kC + (t->CDPY - kY0) * kS;
    double across = (t->CDPY - kY0) * kC - (t->CDPX - kX0) * kS;
    EXPECT_NEAR(across, 0.0, 1.0) << i;
    EXPECT_NEAR(along, firstAlong + (t->CDP - 0.5) * 10.0, 1.0) << i;
  }
}

TEST(BinningCli, RefusesBadArgumentsAndShortProfiles) {
  kxtest::TempDir dir;
  std::string in = dir.File("in.segy"), prof = dir.File("line.txt"), out = dir.File("bin.segy");
  ASSERT_EQ(Kxtool("synth -o " + in + " --shots 2 --channels 4 --samples 50"), 0);
  ASSERT_EQ(SaveProfileText(prof, {{kX0, kY0}, {kX0 + 30 * kC, kY0 + 30 * kS}}), 0);
  EXPECT_EQ(Kxtool("bin " + in + " --profile " + prof + " -o " + out), 2);
  EXPECT_EQ(Kxtool("bin " + in + " --profile " + prof + " --bin-size 0 -o " + out), 2);
  EXPECT_EQ(Kxtool("bin " + in + " --profile " + prof + " --bin-size 5 --max-offset x -o " + out), 2);
  EXPECT_EQ(Kxtool("bin " + in + " --profile " + prof + " --bin-size 40 -o " + out), 1);
  EXPECT_EQ(Kxtool("bin " + in + " --profile " + dir.File("none.txt") + " --bin-size 5 -o " + out), 1);
  EXPECT_FALSE(std::ifstream(out).good());
  EXPECT_EQ(Kxtool("bin " + in + " --profile " + prof + " --bin-size 5 -o " + out), 0);
  EXPECT_TRUE(std::ifstream(out).good());
}

TEST(BinningSave, AppendsSegyExtensionOnlyWithoutOne) {
  EXPECT_EQ(BinnedSavePath("/d/binned"), "/d/binned.segy");
  EXPECT_EQ(BinnedSavePath("/d/binned.sgy"), "/d/binned.sgy");
  EXPECT_EQ(BinnedSavePath("/d.x/binned"), "/d.x/binned.segy");
}

// The map of a crooked survey with its profile, and the refusals of the command.
TEST(BinningCli, BasemapOfACrookedSurvey) {
  kxtest::TempDir dir;
  ASSERT_TRUE(dir.Ok());
  const std::string in = dir.File("crooked.segy"), prof = dir.File("line.txt"), png = dir.File("map.png");
  ASSERT_EQ(Kxtool("synth -o " + in + " --shots 8 --channels 12 --samples 20 --crooked"), 0);
  ASSERT_EQ(SaveProfileText(prof, {{kX0, kY0}, {kX0 + 100.0, kY0 + 80.0}}), 0);
  ASSERT_EQ(Kxtool("basemap " + in + " --profile " + prof + " --size 640x480 -o " + png), 0);
  std::ifstream f(png, std::ios::binary);
  std::string head(24, '\0');
  ASSERT_TRUE(f.read(head.data(), 24));
  EXPECT_EQ(head.substr(1, 3), "PNG");
  // IHDR width and height, big-endian; the image leaves out one raster column.
  auto word = [&](int at) {
    return (static_cast<unsigned char>(head[at]) << 24) | (static_cast<unsigned char>(head[at + 1]) << 16) |
           (static_cast<unsigned char>(head[at + 2]) << 8) | static_cast<unsigned char>(head[at + 3]);
  };
  EXPECT_EQ(word(16), 639);
  EXPECT_EQ(word(20), 480);
  EXPECT_EQ(Kxtool("basemap " + in + " --size 10x10 -o " + png), 2);
  EXPECT_EQ(Kxtool("basemap " + in + " --profile " + dir.File("none.txt") + " -o " + png), 1);
  EXPECT_EQ(Kxtool("basemap -o " + png), 2);
}
