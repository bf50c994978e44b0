// kxtool resample, shift and sort end to end on a synthetic survey: the
// written files are read back and checked against the input.
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "formats/LoadFileList.h"
#include "section/SeismicSection.h"
#include "support/TempDir.h"

namespace {
int Kxtool(const std::string& args) {
  std::string cmd = std::string(KX_KXTOOL) + " " + args + " >/dev/null 2>&1";
  int rc = std::system(cmd.c_str());
  return WIFEXITED(rc) ? WEXITSTATUS(rc) : -1;
}

std::unique_ptr<SeismicSection> Load(const std::string& path) {
  auto s = std::make_unique<SeismicSection>();
  LoadParams p;
  p.flags = kLoadKeepHeaders;
  if (LoadFileList(*s, {path}, p) != 0 || s->Count() == 0) return nullptr;
  s->Scan();
  return s;
}

class KxtoolProcessing : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(m_dir.Ok());
    m_in = m_dir.File("in.segy");
    ASSERT_EQ(Kxtool("synth -o " + m_in + " --shots 10 --channels 24 --samples 1000 --dt 1"), 0);
    m_input = Load(m_in);
    ASSERT_TRUE(m_input);
    ASSERT_EQ(m_input->Count(), 240);
  }
  kxtest::TempDir m_dir;
  std::string m_in;
  std::unique_ptr<SeismicSection> m_input;
};
}  // namespace

TEST_F(KxtoolProcessing, Resample) {
  std::string out = m_dir.File("r.segy");
  ASSERT_EQ(Kxtool("resample " + m_in + " -o " + out + " --dt 2 --threads 2"), 0);
  auto r = Load(out);
  ASSERT_TRUE(r);
  ASSERT_EQ(r->Count(), 240);
  EXPECT_EQ(r->Trace(17)->NS, 500);
  EXPECT_DOUBLE_EQ(r->Trace(17)->DT, 0.002);
  EXPECT_EQ(Kxtool("resample " + m_in + " -o " + out + " --dt 0"), 2);
  EXPECT_EQ(Kxtool("resample " + m_in + " -o " + out), 2);
}

TEST_F(KxtoolProcessing, Shift) {
  std::string out = m_dir.File("s.su");
  ASSERT_EQ(Kxtool("shift " + m_in + " -o " + out + " --shift 10.5 --taper 2"), 0);
  auto s = Load(out);
  ASSERT_TRUE(s);
  const TraceRecord* a = m_input->Trace(5);
  const TraceRecord* b = s->Trace(5);
  ASSERT_EQ(b->NS, 1000);
  for (int i = 0; i < 10; ++i) EXPECT_EQ(b->Samples()[i], 0.0f);
  for (int i = 14; i < 996; ++i) ASSERT_EQ(b->Samples()[i], a->Samples()[i - 10]) << i;
  EXPECT_EQ(b->Samples()[999], 0.0f);  // taper 2 became 4: the last sample gets weight 0
  ASSERT_EQ(Kxtool("shift " + m_in + " -o " + out + " --shift -20 --grow"), 0);
  EXPECT_EQ(Load(out)->Trace(0)->NS, 980);
  EXPECT_EQ(Kxtool("shift " + m_in + " -o " + out + " --shift 0"), 2);
  EXPECT_EQ(Kxtool("shift " + m_in + " -o " + out + " --shift 5 --delrt sideways"), 2);
}

TEST_F(KxtoolProcessing, Sort) {
  std::string out = m_dir.File("o.segy");
  ASSERT_EQ(Kxtool("sort " + m_in + " -o " + out + " --key FLDR:desc --key CHAN"), 0);
  auto s = Load(out);
  ASSERT_TRUE(s);
  ASSERT_EQ(s->Count(), 240);
  for (int i = 1; i < s->Count(); ++i) {
    const TraceRecord* p = s->Trace(i - 1);
    const TraceRecord* q = s->Trace(i);
    ASSERT_TRUE(p->FLDR > q->FLDR || (p->FLDR == q->FLDR && p->CHAN < q->CHAN)) << i;
  }
  EXPECT_EQ(Kxtool("sort " + m_in + " -o " + out + " --key NOPE"), 2);
  EXPECT_EQ(Kxtool("sort " + m_in + " -o " + out + " --key FLDR --key FLDR"), 2);
  EXPECT_EQ(Kxtool("sort " + m_in + " -o " + out), 2);
}
