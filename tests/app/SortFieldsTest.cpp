#include <gtest/gtest.h>

#include <string>

#include "app/FakeTraceView.h"
#include "app/SynthSurvey.h"
#include "app/Workspace.h"
#include "app/WorkspaceObserver.h"
#include "app/tools/SortFields.h"
#include "formats/SaveOptions.h"
#include "formats/SegyWriter.h"
#include "log/Status.h"
#include "section/SeismicSection.h"
#include "support/TempDir.h"

namespace {
SortParams Keys(std::initializer_list<std::pair<int, int>> keys) {
  SortParams p;
  for (auto [id, dir] : keys) {
    p.keys[p.keyCount] = id;
    p.directions[p.keyCount++] = dir;
  }
  return p;
}
}  // namespace

TEST(SortFields, OpensWithTheKeptKeysAndTracksWhichChoiceShowsAKey) {
  SortParams kept = Keys({{3, kSortDescending}, {11, kSortAscending}});
  kept.classWidth = 12.5f;
  SortFields f(kept);
  EXPECT_EQ(f.Fields().keyChoice[0], 3);
  EXPECT_EQ(f.Fields().direction[0], kSortDescending);
  EXPECT_EQ(f.Fields().keyChoice[2], 0);
  EXPECT_EQ(f.Fields().widthText, "12.5");
  EXPECT_EQ(f.SlotOf(3), 0);
  EXPECT_EQ(f.SlotOf(11), 1);
  EXPECT_FALSE(f.WidthVisible());
  f.ChooseKey(1, kSortKeyOffsetClass);  // OFFSET leaves choice 2 for the class key
  EXPECT_EQ(f.SlotOf(11), -1);
  EXPECT_EQ(f.SlotOf(kSortKeyOffsetClass), 1);
  EXPECT_TRUE(f.WidthVisible());
  // A new dialog starts from fresh slots.
  EXPECT_EQ(SortFields(SortParams{}).SlotOf(3), -1);
}

TEST(SortFields, BadInputIsRefusedAndLeavesTheKeptKeys) {
  const SortParams kept = Keys({{5, kSortAscending}});
  struct {
    int k0, k1;
    const char* width;
    bool ok;
    const char* widthAfter;
  } cases[] = {
      {0, 0, "25", false, "25"},                    // no key
      {3, 3, "25", false, "25"},                    // a key twice
      {kSortKeyOffsetClass, 0, "-4", false, "25"},  // bad width while shown
      {3, 0, "abc", true, "25"},                    // bad width while hidden: ignored
      {kSortKeyOffsetClass, 3, "12.5 ", true, "12.5 "},
  };
  for (const auto& c : cases) {
    SortParams p = kept;
    SortFields f(p);
    f.ChooseKey(0, c.k0);
    f.ChooseKey(1, c.k1);
    f.SetWidthText(c.width);
    EXPECT_EQ(f.Read(&p), c.ok) << c.k0 << "," << c.k1 << " " << c.width;
    EXPECT_EQ(f.Fields().widthText, c.widthAfter);
    EXPECT_EQ(p.keys[0], c.ok ? c.k0 : 5);
  }
}

namespace {
class ReorderRecorder : public WorkspaceObserver {
 public:
  void TracesReordered(const SeismicSection&) override { ++reorders; }
  void SetTraceInfo(int t) override { traceInfo = t; }
  int reorders = 0;
  int traceInfo = 99;
};

class WorkspaceSortTest : public ::testing::Test {
 protected:
  void SetUp() override {
    m_ws.SetTraceView(&m_view);
    m_ws.AddObserver(&m_recorder);
  }
  void Load(int shots, int channels) {
    SeismicSection s;
    SynthParams p;
    p.shots = shots;
    p.channels = channels;
    p.samples = 51;
    ASSERT_EQ(MakeSynthSurvey(s, p), shots * channels);
    std::string path = m_dir / "survey.sgy";
    SaveOptions o;
    ASSERT_EQ(SaveAsSegyRev1(s, path, o), 0);
    ASSERT_EQ(m_ws.LoadDataset({path}, Workspace::DefaultLoadParams()), 0);
  }
  kxtest::TempDir m_dir{"kx_wsort"};
  FakeTraceView m_view;
  ReorderRecorder m_recorder;
  Workspace m_ws;
};
}  // namespace

TEST_F(WorkspaceSortTest, SortKeepsTheViewWindowAndRevertRestoresTheLoadOrder) {
  Load(4, 6);
  m_view.m_params.m_firstTrace = 5;
  m_view.m_selected = 3;
  ASSERT_EQ(m_ws.SortTraces(Keys({{3, kSortDescending}, {11, kSortDescending}})), 0);
  const SeismicSection& s = *m_ws.Section();
  EXPECT_EQ(s.m_ensembleCount, 4);
  for (int i = 1; i < s.Count(); ++i) EXPECT_GE(s.Traces()[i - 1]->FLDR, s.Traces()[i]->FLDR);
  EXPECT_EQ(m_view.m_params.m_firstTrace, 5);
  EXPECT_EQ(m_view.m_selected, -1);
  EXPECT_EQ(m_recorder.traceInfo, -1);
  EXPECT_EQ(m_recorder.reorders, 1);

  m_ws.Sorting() = Keys({{3, kSortDescending}});
  EXPECT_EQ(m_ws.RevertSortTraces(), kStatusRefused);  // distinct trace numbers: no ensembles
  for (int i = 0; i < s.Count(); ++i) EXPECT_EQ(s.Traces()[i]->TRNO, i + 1);
  EXPECT_EQ(s.m_ensembleCount, 0);
  EXPECT_EQ(m_ws.Sorting().keys[0], 3);
  EXPECT_EQ(m_recorder.reorders, 2);
}

TEST_F(WorkspaceSortTest, RefusedWithoutTwoTracesOrWhileBusy) {
  EXPECT_EQ(m_ws.SortTraces(Keys({{3, kSortAscending}})), kStatusRefused);
  Load(1, 1);
  EXPECT_EQ(m_ws.SortTraces(Keys({{3, kSortAscending}})), kStatusRefused);
  Load(2, 3);
  m_ws.SetBusy(true);
  EXPECT_EQ(m_ws.RevertSortTraces(), kStatusRefused);
  m_ws.SetBusy(false);
  EXPECT_EQ(m_recorder.reorders, 0);
}
