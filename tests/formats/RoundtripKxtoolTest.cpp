// kxtool end to end: synth, convert with the save options, headers export and
// import, through the built executable.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cmath>
#include <cstdlib>

#include "SegyWriterTestUtil.h"

using namespace writertest;

namespace {
int Kxtool(const std::string& args) {
  std::string cmd = std::string(KX_KXTOOL) + " " + args + " --log-level 0 >/dev/null 2>&1";
  int status = std::system(cmd.c_str());
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

class KxtoolWrite : public testing::Test {
 protected:
  void SetUp() override {
    m_survey = m_dir / "survey.segy";
    ASSERT_EQ(Kxtool("synth -o " + m_survey + " --shots 4 --channels 12 --samples 400 --dt 2"), 0);
  }
  TempDir m_dir;
  std::string m_survey;
};

TEST_F(KxtoolWrite, SynthChoosesTheFormatByExtension) {
  ASSERT_EQ(Kxtool("synth -o " + (m_dir / "s.seg2") + " --shots 4 --channels 12 --samples 400 --dt 2"), 0);
  auto segy = Load({m_survey});
  auto seg2 = Load({m_dir / "s.seg2"});
  ASSERT_EQ(seg2->Count(), 48);
  EXPECT_EQ(seg2->FileType(), kFileSeg2);
  EXPECT_EQ(std::memcmp(seg2->Trace(47)->Samples(), segy->Trace(47)->Samples(), 1600), 0);
  EXPECT_EQ(Kxtool("synth -o " + (m_dir / "s.txt")), 1);
  EXPECT_EQ(Kxtool("synth -o " + (m_dir / "s.segy") + " --dt 0"), 2);
}

TEST_F(KxtoolWrite, ConvertAppliesCropSelectionAndOffsetLimit) {
  std::string out = m_dir / "sel.seg2";
  ASSERT_EQ(Kxtool("convert " + m_survey + " -o " + out + " --crop 100:500 --select 4:1002:1004:2:1:6:1"), 0);
  auto s = Load({out});
  ASSERT_EQ(s->Count(), 12);  // FFID 1002 and 1004, channels 1-6
  for (int t = 0; t < s->Count(); ++t) {
    EXPECT_TRUE(s->Trace(t)->FLDR == 1002 || s->Trace(t)->FLDR == 1004);
    EXPECT_LE(s->Trace(t)->CHAN, 6);
    EXPECT_EQ(s->Trace(t)->NS, 201);
    EXPECT_NEAR(s->Trace(t)->DELAY, 0.1, 1e-9);
  }
  ASSERT_EQ(Kxtool("convert " + m_survey + " -o " + (m_dir / "near.su") + " --offset-limit 50"), 0);
  auto near = Load({m_dir / "near.su"});
  ASSERT_EQ(near->Count(), 16);
  for (int t = 0; t < near->Count(); ++t) EXPECT_LE(std::fabs(near->Trace(t)->OFF), 50.0f);
  // --format wins over the extension.
  ASSERT_EQ(Kxtool("convert " + m_survey + " -o " + (m_dir / "f.dat") + " --format segy"), 0);
  EXPECT_EQ(ReadFileBytes(m_dir / "f.dat").size(), 3600u + 48 * (240 + 1600));
}

TEST_F(KxtoolWrite, ConvertRefusalsLeaveNoFile) {
  EXPECT_EQ(Kxtool("convert " + m_survey + " -o " + (m_dir / "e.segy") + " --select 5:1000:2000:1"), 1);
  EXPECT_EQ(Kxtool("convert " + m_survey + " -o " + (m_dir / "e.segy") + " --select 9:1:2:1"), 2);
  EXPECT_EQ(Kxtool("convert " + m_survey + " -o " + (m_dir / "e.segy") + " --crop 1:x"), 2);
  EXPECT_EQ(Kxtool("convert " + m_survey + " -o " + (m_dir / "e.segy") + " --offset-limit -3"), 2);
  EXPECT_EQ(Kxtool("convert " + m_survey + " -o " + (m_dir / "e.kxf") + " --crop 1:2"), 2);
  EXPECT_EQ(Kxtool("convert " + m_survey + " -o " + (m_dir / "e.xyz")), 2);
  EXPECT_EQ(m_dir.Files(), std::vector<std::string>{"survey.segy"});
  ASSERT_EQ(Kxtool("convert " + m_survey + " -o " + (m_dir / "whole.kxf")), 0);
  EXPECT_EQ(Load({m_dir / "whole.kxf"})->Count(), 48);
}

TEST_F(KxtoolWrite, ConvertFiltersTheWrittenSamples) {
  ASSERT_EQ(
      Kxtool("convert " + m_survey + " -o " + (m_dir / "lp.segy") + " --filter lowpass:butterworth:6:15"), 0);
  auto raw = Load({m_survey});
  auto lp = Load({m_dir / "lp.segy"});
  ASSERT_EQ(lp->Count(), raw->Count());
  // A 15 Hz low pass removes most of the energy of 20-40 Hz reflections and the noise.
  double eRaw = 0, eLp = 0;
  for (int i = 0; i < 400; ++i) {
    eRaw += raw->Trace(40)->Samples()[i] * raw->Trace(40)->Samples()[i];
    eLp += lp->Trace(40)->Samples()[i] * lp->Trace(40)->Samples()[i];
  }
  EXPECT_LT(eLp, 0.8 * eRaw);
  EXPECT_GT(eLp, 0.0);
}

TEST_F(KxtoolWrite, HeadersExportAndImportThroughTheTool) {
  std::vector<uint8_t> before = ReadFileBytes(m_survey);
  std::string text = m_dir / "h.txt";
  ASSERT_EQ(
      Kxtool("headers export " + m_survey + " " + text + " --words FLDR,TRACF,CDP,OFFSET,SX,GX --sep tab"),
      0);
  std::vector<uint8_t> t = ReadFileBytes(text);
  std::string s(t.begin(), t.end());
  EXPECT_EQ(s.substr(0, s.find('\n')), "idx\tFLDR\tTRACF\tCDP\tOFFSET\tSX\tGX");
  ASSERT_EQ(Kxtool("headers import " + text + " " + m_survey), 0);
  EXPECT_EQ(ReadFileBytes(m_survey), before);
  ASSERT_EQ(Kxtool("headers export " + m_survey + " " + text + " --words cdp --from 3 --to 4"), 0);
  t = ReadFileBytes(text);
  EXPECT_EQ(std::count(t.begin(), t.end(), '\n'), 3);
  WriteFileBytes(text, {'i', 'd', 'x', ';', 'C', 'D', 'P', '\n', '2', ';', '9', '9', '\n'});
  ASSERT_EQ(Kxtool("headers import " + text + " " + m_survey), 0);
  EXPECT_EQ(Load({m_survey})->Trace(1)->CDP, 99);
  EXPECT_EQ(Kxtool("headers export " + m_survey + " " + text + " --words NOPE"), 2);
  EXPECT_EQ(Kxtool("headers export " + m_survey + " " + text + " --words CDP --from 5 --to 2"), 2);
}
}  // namespace
