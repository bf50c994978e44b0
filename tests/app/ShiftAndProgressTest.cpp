// The resample and shift dialogs' texts and reading, the time shift as a
// background workspace command, and the progress reports the main window's
// bar follows.
#include <gtest/gtest.h>

#include <deque>
#include <filesystem>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "app/FakeTraceView.h"
#include "app/SynthSurvey.h"
#include "app/Workspace.h"
#include "app/WorkspaceObserver.h"
#include "app/tools/ResampleFields.h"
#include "app/tools/ShiftFields.h"
#include "formats/LoadFileList.h"
#include "formats/SegyWriter.h"
#include "section/SeismicSection.h"
#include "support/SectionBuilder.h"
#include "support/SectionCompare.h"
#include "support/TempDir.h"

namespace {
using kxtest::ExpectSameTraces;
using kxtest::LoadCopy;
// Records what a tool window and the main window's bar hear, in order.
class Recorder : public WorkspaceObserver {
 public:
  void BusyChanged(bool busy) override { events.push_back(busy ? "busy" : "idle"); }
  void TracesChanged(const SeismicSection&) override { events.push_back("traces"); }
  void SetTraceInfo(int trace) override { events.push_back("info " + std::to_string(trace)); }
  void ProgressChanged(const ProgressInfo& info) override {
    progress.push_back(info);
    threads.push_back(std::this_thread::get_id());
  }

  std::vector<std::string> events;
  std::vector<ProgressInfo> progress;
  std::vector<std::thread::id> threads;
};

class WorkspaceShift : public ::testing::Test {
 protected:
  void SetUp() override {
    SeismicSection s;
    SynthParams p;
    p.shots = 2;
    p.samples = 500;
    ASSERT_EQ(MakeSynthSurvey(s, p), 48);
    m_path = m_tmp.Path() + "/in.sgy";
    SaveOptions o;
    ASSERT_EQ(SaveAsSegyRev1(s, m_path, o), 0);
    m_ws.SetTraceView(&m_view);
    m_ws.AddObserver(&m_rec);
    ASSERT_EQ(m_ws.LoadDataset({m_path}, Workspace::DefaultLoadParams()), 0);
    m_rec.events.clear();
    m_rec.progress.clear();
  }

  kxtest::TempDir m_tmp{"kx_wsshift"};
  std::string m_path;
  FakeTraceView m_view;
  Recorder m_rec;
  Workspace m_ws;
};
}  // namespace

TEST(DialogFields, TimesShowAtMostFourDecimalsInTheSectionsUnit) {
  auto s = kxtest::MakeSection(2, 100, 0.002);
  const DialogTimeUnit ms = DialogTimeUnitOf(s.get());
  EXPECT_EQ(ms.name, "ms");
  EXPECT_EQ(DialogTimeUnitOf(nullptr).name, "sec");
  const struct {
    double seconds;
    const char* text;
  } rows[] = {{0.002, "2"}, {0.0005, "0.5"}, {1.0 / 3000.0, "0.3333"}, {-0.004, "-4"}, {1e-9, "0"}};
  for (const auto& r : rows) EXPECT_EQ(DialogTimeText(r.seconds, ms), r.text) << r.seconds;
  EXPECT_EQ(DialogTimeText(0.25, DialogTimeUnitOf(nullptr)), "0.25");

  ResampleSettings rs;
  rs.currentInterval = 0.002;
  EXPECT_EQ(ResampleTextsOf(rs, ms).current, "2");
  EXPECT_EQ(ResampleTextsOf(rs, ms).next, "");  // undefined until a run asked for one
  ShiftSettings ss;
  EXPECT_EQ(ShiftTextsOf(ss, ms).shift, "");  // 0 shows empty
  EXPECT_EQ(ShiftTextsOf(ss, ms).delrtChoice, 1);
  ss.shiftTime = 0.0105;
  ss.delrtMode = kDelrtFollowsShift;
  EXPECT_EQ(ShiftTextsOf(ss, ms).shift, "10.5");
  EXPECT_EQ(ShiftTextsOf(ss, ms).delrtChoice, 2);
}

TEST_F(WorkspaceShift, WithoutAPosterShiftsLikeTheCoreAndTellsToolsInOrder) {
  ShiftSettings set;
  set.shiftTime = 0.0105;
  set.taper = 4;
  set.delrtMode = kDelrtFollowsShift;
  ASSERT_EQ(m_ws.ShiftTraces(set), 0);
  EXPECT_FALSE(m_ws.Busy());
  EXPECT_EQ(m_ws.LastShiftStatus(), 0);
  EXPECT_EQ(m_ws.Shifting().taper, 4);  // kept for the next opening
  auto ref = LoadCopy(m_path);
  ASSERT_TRUE(ref);
  ASSERT_EQ(ShiftSection(*ref, set, 1), 0);
  ExpectSameTraces(*m_ws.Section(), *ref);
  EXPECT_EQ(m_rec.events, (std::vector<std::string>{"busy", "info -1", "info -1", "traces", "idle"}));
  EXPECT_EQ(m_view.TraceCount(), 48);
  EXPECT_EQ(m_view.SelectedTrace(), -1);
  ASSERT_FALSE(m_rec.progress.empty());
  EXPECT_EQ(m_rec.progress.front().label, "shifting");
  EXPECT_FALSE(m_rec.progress.back().running);
}

TEST_F(WorkspaceShift, RefusedWhileBusyOrWithoutSectionAndAZeroShiftWithLeftAs) {
  ShiftSettings set;
  set.shiftTime = 0.004;
  m_ws.SetBusy(true);
  EXPECT_EQ(m_ws.ShiftTraces(set), Workspace::kResampleRefused);
  m_ws.SetBusy(false);
  set.shiftTime = 0.0;  // only Reset To Zero may shift by 0
  ASSERT_EQ(m_ws.ShiftTraces(set), 0);
  EXPECT_NE(m_ws.LastShiftStatus(), 0);
  auto ref = LoadCopy(m_path);
  ExpectSameTraces(*m_ws.Section(), *ref);
  Workspace empty;
  EXPECT_EQ(empty.ShiftTraces(set), Workspace::kResampleRefused);
}

TEST_F(WorkspaceShift, WithAPosterTheWorkerReportsThroughItAndFinishesThere) {
  std::deque<std::function<void()>> posted;
  std::mutex mutex;
  m_ws.SetUiPoster([&](std::function<void()> task) {
    std::lock_guard<std::mutex> lock(mutex);
    posted.push_back(std::move(task));
  });
  ShiftSettings set;
  set.shiftTime = -0.004;
  ASSERT_EQ(m_ws.ShiftTraces(set), 0);
  EXPECT_TRUE(m_ws.Busy());
  // The completion comes last; progress posts, if any, before it.
  for (int spins = 0; spins < 6000 && m_ws.Busy(); ++spins) {
    std::function<void()> task;
    {
      std::lock_guard<std::mutex> lock(mutex);
      if (!posted.empty()) {
        task = std::move(posted.front());
        posted.pop_front();
      }
    }
    if (task)
      task();
    else
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  EXPECT_FALSE(m_ws.Busy());
  EXPECT_EQ(m_rec.events.back(), "idle");
  for (std::thread::id t : m_rec.threads) EXPECT_EQ(t, std::this_thread::get_id());
  for (const ProgressInfo& p : m_rec.progress) EXPECT_FALSE(p.blocking);
  m_ws.SetUiPoster(nullptr);
}

TEST(WorkspaceProgress, SameThreadReportsAreSpacedAndStaleCallbacksSilent) {
  Workspace ws;
  Recorder rec;
  ws.AddObserver(&rec);
  ws.BeginProgress("saving");
  auto report = ws.ProgressCallback();
  // A burst of reports far faster than the spacing shows only a few of them.
  for (int i = 1; i < 1000; ++i) report(i, 1000);
  report(1000, 1000);  // the end always shows
  ASSERT_GE(rec.progress.size(), 3u);
  EXPECT_LE(rec.progress.size(), 6u);
  EXPECT_EQ(rec.progress[1].done, 1);
  EXPECT_EQ(rec.progress.back().done, 1000);
  for (std::size_t i = 1; i < rec.progress.size(); ++i) EXPECT_TRUE(rec.progress[i].blocking);
  rec.progress.erase(rec.progress.begin() + 1, rec.progress.end() - 1);
  ws.EndProgress();
  report(500, 1000);  // after the end: nothing
  ws.BeginProgress("loading");
  report(60, 100);                                                    // a callback of the earlier run
  std::thread([cb = ws.ProgressCallback()] { cb(70, 100); }).join();  // no poster: dropped
  ws.EndProgress();
  std::vector<std::string> seen;
  for (const ProgressInfo& p : rec.progress)
    seen.push_back(p.label + (p.running ? " " + std::to_string(p.done) + (p.blocking ? " b" : "") : " end"));
  EXPECT_EQ(seen, (std::vector<std::string>{"saving 0", "saving 1000 b", "saving end", "loading 0",
                                            "loading end"}));
}

TEST(WorkspaceProgress, LoadReportsTheBytesOfItsFiles) {
  kxtest::TempDir tmp{"kx_loadprog"};
  SeismicSection s;
  SynthParams p;
  p.shots = 20;
  ASSERT_EQ(MakeSynthSurvey(s, p), 480);
  const std::string path = tmp.Path() + "/big.sgy";
  SaveOptions o;
  ASSERT_EQ(SaveAsSegyRev1(s, path, o), 0);
  Workspace ws;
  Recorder rec;
  ws.AddObserver(&rec);
  ASSERT_EQ(ws.LoadDataset({path}, Workspace::DefaultLoadParams()), 0);
  ASSERT_GE(rec.progress.size(), 3u);
  EXPECT_EQ(rec.progress.front().label, "loading");
  const ProgressInfo& last = rec.progress[rec.progress.size() - 2];
  EXPECT_TRUE(last.blocking);
  EXPECT_EQ(last.total, static_cast<int64_t>(std::filesystem::file_size(path)));
  EXPECT_EQ(last.done, last.total);
  EXPECT_FALSE(rec.progress.back().running);
}
