// Saving the selective stack: SEG-Y and SU shots give SEG-Y rev 1 stacks,
// SEG-2 shots give SEG-2 stacks, read back with the program's readers and
// compared with the stack list; the name rule, the options and the failures.
#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "app/SaveStacks.h"
#include "formats/LoadFileList.h"
#include "formats/Seg2Writer.h"
#include "formats/SegyWriter.h"
#include "processing/SelectiveStack.h"
#include "section/ByteOrder.h"
#include "section/SeismicSection.h"
#include "support/ByteWriter.h"
#include "support/LogCapture.h"
#include "support/TempDir.h"

namespace fs = std::filesystem;

namespace {
constexpr int kChannels = 24;
constexpr int kSamples = 50;

// Shot file number f: sample i of channel c holds f * 100 + c + i / 16.
std::unique_ptr<SeismicSection> Shot(int f) {
  auto s = std::make_unique<SeismicSection>();
  for (int c = 1; c <= kChannels; ++c) {
    TraceRecord* t = TraceRecord::Allocate(kSamples);
    t->DT = 0.001;
    t->CHAN = c;
    t->TRACF = c;
    t->FLDR = 7;  // ignored: the file names give the gather numbers
    t->NVS = 1;
    t->TRID = 1;
    for (int i = 0; i < kSamples; ++i) t->Samples()[i] = static_cast<float>(f * 100 + c + i / 16.0);
    t->UpdatePeak();
    s->AppendTrace(t, 1, -1);
  }
  s->Scan();
  return s;
}

std::unique_ptr<SeismicSection> Load(const std::vector<std::string>& paths, bool nameDigits) {
  auto s = std::make_unique<SeismicSection>();
  LoadParams p;
  p.takeNameDigits = nameDigits ? 1 : 0;
  if (LoadFileList(*s, paths, p) != 0 || s->Scan() <= 0) return nullptr;
  return s;
}

// Three shot files of the given type loaded and stacked as the command does.
std::unique_ptr<SeismicSection> StackedShots(const fs::path& dir, const std::string& ext) {
  std::vector<std::string> paths;
  for (int f = 1; f <= 3; ++f) {
    std::string path = (dir / ("shot_" + std::to_string(f) + ext)).string();
    SaveOptions o;
    auto shot = Shot(f);
    int rc = ext == ".su"    ? SaveAsSu(*shot, path, o)
             : ext == ".sg2" ? SaveAsSeg2(*shot, path, o)
                             : SaveAsSegyRev1(*shot, path, o);
    if (rc != 0) return nullptr;
    paths.push_back(path);
  }
  auto s = Load(paths, true);
  std::vector<Gather> g;
  const char* refusal = nullptr;
  if (!s || AssignGatherNumbers(*s) != 0 || PrepareStack(*s, &g, &refusal) != 0) return nullptr;
  s->Trace(g[1].first + 4)->TSKIP = 1;  // channel 5 of the second shot left out
  if (AllocateStackList(*s, g[0].count, s->Trace(0)->NS) != 0 || StackGathers(*s, g, 2) != 0) return nullptr;
  return s;
}

struct StackCase {
  const char* ext;
  int savedType;
  const char* outName;
};

class StackSave : public ::testing::TestWithParam<StackCase> {
 protected:
  kxtest::TempDir m_tmp{"kx_stacksave"};
  fs::path m_dir{m_tmp.Path()};
};
}  // namespace

TEST_P(StackSave, WritesTheStackListInTheShotsFormat) {
  auto s = StackedShots(m_dir, GetParam().ext);
  ASSERT_TRUE(s);
  ASSERT_EQ(StackSaveFormat(s->FileType()), GetParam().savedType);
  std::string out = StackSavePath((m_dir / "stacked").string(), s->FileType());
  EXPECT_EQ(out, (m_dir / GetParam().outName).string());
  ASSERT_EQ(SaveStacks(*s, out), 0);

  std::vector<uint8_t> bytes = kxtest::ReadFileBytes(out);
  ASSERT_GT(bytes.size(), 3600u);
  if (GetParam().savedType == kFileSeg2) {
    EXPECT_EQ(LoadLE<uint16_t>(bytes.data()), 0x3a55);
    EXPECT_EQ(LoadLE<uint16_t>(bytes.data() + 4), 4 * kChannels);  // pointer subblock sized by the count
    EXPECT_EQ(LoadLE<uint16_t>(bytes.data() + 6), kChannels);      // traces in the file
  } else {
    EXPECT_EQ(LoadBE<uint16_t>(bytes.data() + 3224), 5);       // IEEE floats
    EXPECT_EQ(LoadBE<uint16_t>(bytes.data() + 3500), 0x0100);  // revision 1
  }
  auto back = Load({out}, false);
  ASSERT_TRUE(back);
  EXPECT_EQ(back->FileType(), GetParam().savedType);
  ASSERT_EQ(back->Count(), kChannels);
  for (int j = 0; j < kChannels; ++j) {
    const TraceRecord* a = s->Stack()[j];
    const TraceRecord* b = back->Trace(j);
    EXPECT_EQ(b->NVS, j == 4 ? 2 : 3) << j;
    EXPECT_EQ(b->CHAN, j + 1);
    ASSERT_EQ(b->NS, kSamples);
    for (int i = 0; i < kSamples; ++i) ASSERT_EQ(b->Samples()[i], a->Samples()[i]) << j << "," << i;
  }
  // Sums of files 1..3, channel 5 without file 2.
  EXPECT_EQ(back->Trace(0)->Samples()[16], 100.0f + 200.0f + 300.0f + 3.0f + 3.0f);
  EXPECT_EQ(back->Trace(4)->Samples()[0], 100.0f + 300.0f + 10.0f);
}

INSTANTIATE_TEST_SUITE_P(Formats, StackSave,
                         ::testing::Values(StackCase{".segy", kFileSegy, "stacked.segy"},
                                           StackCase{".su", kFileSegy, "stacked.segy"},
                                           StackCase{".sg2", kFileSeg2, "stacked.seg2"}),
                         [](const auto& info) { return std::string(info.param.ext + 1); });

TEST(StackSavePath, AppendsTheDefaultExtensionOnlyWithoutOne) {
  EXPECT_EQ(StackSavePath("/d/out", kFileSegy), "/d/out.segy");
  EXPECT_EQ(StackSavePath("/d/out", kFileSu), "/d/out.segy");
  EXPECT_EQ(StackSavePath("/d/out", kFileSeg2), "/d/out.seg2");
  EXPECT_EQ(StackSavePath("/d.v2/out", kFileSeg2), "/d.v2/out.seg2");  // a dot in a folder is no extension
  EXPECT_EQ(StackSavePath("/d/out.sgy", kFileSegy), "/d/out.sgy");
  EXPECT_EQ(StackSavePath("/d/out.sg2", kFileSeg2), "/d/out.sg2");
  EXPECT_EQ(StackSavePath("/d/out", kFileKxf), "/d/out");
  EXPECT_EQ(StackSaveFormat(kFileQlmVms), kFileUnknown);
}

TEST(StackSaveOptions, AreTheFixedSetWithTheSeg2Count) {
  SeismicSection s;
  s.m_binaryHeader[kBfhFileTypePos] = kFileSeg2;
  ASSERT_EQ(AllocateStackList(s, 48, 2), 0);
  SaveOptions o = StackSaveOptions(s);
  EXPECT_EQ(o.timeCrop, 0);
  EXPECT_EQ(o.t0, DBLE_UNDEF);
  EXPECT_EQ(o.t1, DBLE_UNDEF);
  EXPECT_EQ(o.traceList, 1);
  EXPECT_EQ(o.filter, nullptr);
  EXPECT_EQ(o.revision, 1);
  EXPECT_EQ(o.flags, 0);
  EXPECT_EQ(o.seg2TraceCount, 48);
  s.m_binaryHeader[kBfhFileTypePos] = kFileSu;
  EXPECT_EQ(StackSaveOptions(s).seg2TraceCount, 0);
}

TEST(StackSaveFailures, LeaveNothingBehind) {
  kxtest::TempDir tmp("kx_stackfail");
  fs::path dir = tmp.Path();
  auto s = StackedShots(dir, ".sg2");
  ASSERT_TRUE(s);
  // A folder that does not exist: the log names the file and the cause.
  std::string missing = (dir / "nope" / "out.seg2").string();
  {
    kxtest::LogCapture log(dir / "log.txt");
    EXPECT_EQ(SaveStacks(*s, missing), -101);
    std::string text = log.Text();
    EXPECT_NE(text.find("ERROR: cannot create \"" + missing + "\""), std::string::npos) << text;
    EXPECT_NE(text.find(std::strerror(ENOENT)), std::string::npos) << text;
  }
  EXPECT_FALSE(fs::exists(missing));

  // A file of another type saves nothing; an existing file stays as it was.
  std::string existing = (dir / "keep.seg2").string();
  kxtest::WriteFileBytes(existing, {1, 2, 3});
  s->m_binaryHeader[kBfhFileTypePos] = kFileKxf;
  EXPECT_EQ(SaveStacks(*s, existing), kStackSaveNoFormat);
  s->m_binaryHeader[kBfhFileTypePos] = kFileSeg2;
  s->TakeStack();
  EXPECT_EQ(SaveStacks(*s, existing), kStackSaveNoStack);
  EXPECT_EQ(kxtest::ReadFileBytes(existing), (std::vector<uint8_t>{1, 2, 3}));
}

TEST(StackSaveFailures, AStackOfMarkedTracesIsWrittenWhole) {
  kxtest::TempDir tmp("kx_stackomit");
  fs::path dir = tmp.Path();
  auto s = StackedShots(dir, ".segy");
  ASSERT_TRUE(s);
  // A save of the section marked some shots' traces; a restack must not carry that.
  std::vector<Gather> g;
  ASSERT_EQ(BuildGatherTable(*s, &g), 0);
  for (int i = 0; i < 5; ++i) s->Trace(g[0].first + i)->OMIT = 1;
  ASSERT_EQ(StackGathers(*s, g, 2), 0);
  std::string out = (dir / "omit.segy").string();
  ASSERT_EQ(SaveStacks(*s, out), 0);
  auto back = Load({out}, false);
  ASSERT_TRUE(back);
  EXPECT_EQ(back->Count(), kChannels);
}
