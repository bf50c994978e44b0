// kxtool stack end to end: three generated shot files of 24 traces (NVS 1)
// stacked into NVS 3 sums, exclusions of one trace and of a whole gather, the
// refusals, the output format following the shots, and the SEG-Y output read
// by segyio when it is installed.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "formats/LoadFileList.h"
#include "formats/Seg2Writer.h"
#include "formats/SegyWriter.h"
#include "section/SeismicSection.h"
#include "support/PeerCheck.h"
#include "support/TempDir.h"

namespace fs = std::filesystem;

namespace {
constexpr int kSamples = 64;

struct ToolRun {
  int status;
  std::string text;  // standard output and error
};

ToolRun Tool(const std::string& args) {
  std::string cmd = std::string(KX_KXTOOL) + " " + args + " 2>&1";
  FILE* p = popen(cmd.c_str(), "r");
  std::string text;
  std::array<char, 4096> buf{};
  std::size_t n;
  while ((n = std::fread(buf.data(), 1, buf.size(), p)) > 0) text.append(buf.data(), n);
  int rc = pclose(p);
  return {WIFEXITED(rc) ? WEXITSTATUS(rc) : -1, text};
}

// Sample i of channel c (1-based) of shot f: values that differ everywhere.
float Value(int f, int c, int i) {
  return static_cast<float>(std::sin(0.1 * i * f + c) * (10.0 + f) + 0.25 * c);
}

std::unique_ptr<SeismicSection> Load(const std::string& path) {
  auto s = std::make_unique<SeismicSection>();
  LoadParams p;
  if (LoadFileList(*s, {path}, p) != 0 || s->Scan() <= 0) return nullptr;
  return s;
}

class KxtoolStack : public ::testing::Test {
 protected:
  // Writes shot f with the channels in reverse order (the stack sorts them).
  std::string Shot(int f, int channels, const std::string& ext) {
    SeismicSection s;
    for (int c = channels; c >= 1; --c) {
      TraceRecord* t = TraceRecord::Allocate(kSamples);
      t->DT = 0.0005;
      t->CHAN = c;
      t->TRACF = c;
      t->NVS = 1;
      t->TRID = 1;
      for (int i = 0; i < kSamples; ++i) t->Samples()[i] = Value(f, c, i);
      t->UpdatePeak();
      s.AppendTrace(t, 1, -1);
    }
    s.Scan();
    std::string path = File("shot_" + std::to_string(f) + ext);
    SaveOptions o;
    int rc = ext == ".sg2" ? SaveAsSeg2(s, path, o) : SaveAsSegyRev1(s, path, o);
    EXPECT_EQ(rc, 0);
    return path;
  }
  std::string Shots(const std::string& ext) {
    return Shot(1, 24, ext) + " " + Shot(2, 24, ext) + " " + Shot(3, 24, ext);
  }
  std::string File(const std::string& name) const { return (m_dir / name).string(); }

  // The stack read back equals the float sum, in file order, of the shots
  // not left out of each channel.
  void ExpectStack(const std::string& path, const std::vector<std::vector<int>>& filesOfChannel) {
    auto s = Load(path);
    ASSERT_TRUE(s);
    ASSERT_EQ(s->Count(), 24);
    for (int j = 0; j < 24; ++j) {
      const TraceRecord* t = s->Trace(j);
      const std::vector<int>& files = filesOfChannel[j];
      EXPECT_EQ(t->CHAN, j + 1);
      EXPECT_EQ(t->NVS, static_cast<int>(files.size())) << j;
      ASSERT_EQ(t->NS, kSamples);
      for (int i = 0; i < kSamples; ++i) {
        float sum = 0.0f;
        for (int f : files) sum += Value(f, j + 1, i);
        ASSERT_EQ(t->Samples()[i], sum) << j << "," << i;
      }
    }
  }

  kxtest::TempDir m_tmp{"kx_stack"};
  fs::path m_dir{m_tmp.Path()};
};

std::vector<std::vector<int>> AllThree() {
  return std::vector<std::vector<int>>(24, std::vector<int>{1, 2, 3});
}
}  // namespace

TEST_F(KxtoolStack, ThreeShotsGiveSumsOfFoldThree) {
  ToolRun r = Tool("stack " + Shots(".sgy") + " -o " + File("stacked"));
  ASSERT_EQ(r.status, 0) << r.text;
  ASSERT_TRUE(fs::exists(File("stacked.segy")));  // the default extension
  ExpectStack(File("stacked.segy"), AllThree());
}

TEST_F(KxtoolStack, ExcludedTraceAndGather) {
  std::string shots = Shots(".sgy");
  ASSERT_EQ(Tool("stack " + shots + " -o " + File("t.sgy") + " --exclude-trace 2:5").status, 0);
  auto files = AllThree();
  files[4] = {1, 3};
  ExpectStack(File("t.sgy"), files);

  // Gather 1 excluded, and channel 7 of gather 3: channel 7 keeps shot 2 only.
  ASSERT_EQ(
      Tool("stack " + shots + " -o " + File("g.sgy") + " --exclude-gather 1 --exclude-trace 3:7").status, 0);
  files = std::vector<std::vector<int>>(24, std::vector<int>{2, 3});
  files[6] = {2};
  ExpectStack(File("g.sgy"), files);

  for (const char* bad : {"--exclude-gather 4", "--exclude-trace 2:25", "--exclude-trace 2:0",
                          "--exclude-trace 2", "--exclude-gather x"}) {
    ToolRun r = Tool("stack " + shots + " -o " + File("bad.sgy") + " " + bad);
    EXPECT_NE(r.status, 0) << bad;
    EXPECT_FALSE(fs::exists(File("bad.sgy"))) << bad;
  }
}

TEST_F(KxtoolStack, Refusals) {
  std::string one = Shot(1, 24, ".sgy");
  ToolRun single = Tool("stack " + one + " -o " + File("x.sgy"));
  EXPECT_EQ(single.status, 1);
  EXPECT_NE(single.text.find("ERROR: Single shot or missing FFID/file number"), std::string::npos)
      << single.text;

  ToolRun unequal = Tool("stack " + one + " " + Shot(2, 48, ".sgy") + " -o " + File("x.sgy"));
  EXPECT_EQ(unequal.status, 1);
  EXPECT_NE(unequal.text.find("ERROR: Not all files have the same number of traces"), std::string::npos)
      << unequal.text;

  // SEG-Y shots give SEG-Y stacks: an output name of another format is refused.
  ToolRun su = Tool("stack " + Shots(".sgy") + " -o " + File("x.su"));
  EXPECT_EQ(su.status, 1);
  EXPECT_NE(su.text.find("SEG-Y rev 1"), std::string::npos) << su.text;
  EXPECT_FALSE(fs::exists(File("x.sgy")) || fs::exists(File("x.su")));
  EXPECT_EQ(Tool("stack " + one).status, 2);  // no output
}

TEST_F(KxtoolStack, Seg2ShotsGiveSeg2Stacks) {
  std::string shots = Shots(".sg2");
  ToolRun r = Tool("stack " + shots + " -o " + File("s2") + " --exclude-trace 1:24");
  ASSERT_EQ(r.status, 0) << r.text;
  auto files = AllThree();
  files[23] = {2, 3};
  ExpectStack(File("s2.seg2"), files);
  EXPECT_EQ(Load(File("s2.seg2"))->FileType(), kFileSeg2);
  EXPECT_EQ(Tool("stack " + shots + " -o " + File("s2.segy")).status, 1);
}

TEST_F(KxtoolStack, SegyioReadsTheStack) {
  KX_REQUIRE_PYTHON("segyio");
  ASSERT_EQ(Tool("stack " + Shots(".sgy") + " -o " + File("p.sgy") + " --exclude-trace 2:3").status, 0);
  std::ofstream(File("peer.py"))
      << "import sys, segyio\n"
         "with segyio.open(sys.argv[1], ignore_geometry=True) as f:\n"
         "    print(f.tracecount, len(f.samples), f.bin[segyio.BinField.Interval])\n"
         "    for i in range(f.tracecount):\n"
         "        h = f.header[i]\n"
         "        print(h[segyio.TraceField.NSummedTraces],\n"
         "              ' '.join(repr(float(v)) for v in f.trace[i]))\n";
  ToolRun peer{0, ""};
  {
    FILE* p = popen(("/usr/bin/python3 " + File("peer.py") + " " + File("p.sgy") + " 2>&1").c_str(), "r");
    std::array<char, 4096> buf{};
    std::size_t n;
    while ((n = std::fread(buf.data(), 1, buf.size(), p)) > 0) peer.text.append(buf.data(), n);
    peer.status = pclose(p);
  }
  ASSERT_EQ(peer.status, 0) << peer.text;
  std::istringstream in(peer.text);
  int count = 0, ns = 0, dtUs = 0;
  in >> count >> ns >> dtUs;
  ASSERT_EQ(count, 24);
  ASSERT_EQ(ns, kSamples);
  EXPECT_EQ(dtUs, 500);
  for (int j = 0; j < 24; ++j) {
    int nvs = 0;
    in >> nvs;
    EXPECT_EQ(nvs, j == 2 ? 2 : 3) << j;
    for (int i = 0; i < kSamples; ++i) {
      double v = 0.0;
      in >> v;
      float sum = 0.0f;
      for (int f : {1, 2, 3})
        if (!(j == 2 && f == 2)) sum += Value(f, j + 1, i);
      ASSERT_EQ(static_cast<float>(v), sum) << j << "," << i;
    }
  }
}
