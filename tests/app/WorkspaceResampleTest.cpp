// Resampling as a workspace command: the worker thread gives the same traces
// as the synchronous resampling, holds the busy flag until its completion has
// run on the user-interface thread, keeps other commands off the section
// meanwhile, and leaves the section as it was when the run fails.
#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <deque>
#include <filesystem>
#include <functional>
#include <future>
#include <limits>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "app/FakeTraceView.h"
#include "app/SynthSurvey.h"
#include "app/TraceViewObserver.h"
#include "app/Workspace.h"
#include "app/WorkspaceObserver.h"
#include "formats/LoadFileList.h"
#include "formats/SegyWriter.h"
#include "processing/ActiveFilter.h"
#include "section/SeismicSection.h"
#include "support/SectionCompare.h"
#include "support/TempDir.h"

namespace fs = std::filesystem;

namespace {
using kxtest::ExpectSameTraces;
using kxtest::LoadCopy;
// Records the calls and the thread each came on.
class Window : public WorkspaceObserver {
 public:
  void BusyChanged(bool busy) override {
    m_busy.push_back(busy);
    m_threads.push_back(std::this_thread::get_id());
  }
  void TracesChanged(const SeismicSection&) override {
    ++m_tracesChanged;
    m_threads.push_back(std::this_thread::get_id());
  }
  void ActiveFilterChanged() override { ++m_filterChanged; }

  std::vector<bool> m_busy;
  std::vector<std::thread::id> m_threads;
  int m_tracesChanged = 0, m_filterChanged = 0;
};

// The test thread plays the user-interface thread: posted tasks wait here
// until RunNext runs them.
class UiQueue {
 public:
  UiPoster Poster() {
    return [this](std::function<void()> task) {
      std::lock_guard<std::mutex> lock(m_mutex);
      m_tasks.push_back(std::move(task));
      m_cv.notify_all();
    };
  }
  // Runs the posted tasks (progress reports, then the completion) until the
  // workspace's background command has finished.
  bool RunUntilFinished(const Workspace& ws) {
    while (ws.WorkerActive())
      if (!RunNext()) return false;
    return true;
  }
  bool RunNext() {
    std::unique_lock<std::mutex> lock(m_mutex);
    if (!m_cv.wait_for(lock, std::chrono::seconds(60), [this] { return !m_tasks.empty(); })) return false;
    std::function<void()> task = std::move(m_tasks.front());
    m_tasks.pop_front();
    lock.unlock();
    task();
    return true;
  }

 private:
  std::mutex m_mutex;
  std::condition_variable m_cv;
  std::deque<std::function<void()>> m_tasks;
};

class WorkspaceResample : public ::testing::Test {
 protected:
  void SetUp() override {
    SeismicSection s;
    SynthParams p;
    p.shots = 2;
    p.channels = 24;
    p.samples = 1000;
    p.dtMs = 1.0;
    ASSERT_EQ(MakeSynthSurvey(s, p), 48);
    m_path = (m_dir / "in.sgy").string();
    SaveOptions o;
    ASSERT_EQ(SaveAsSegyRev1(s, m_path, o), 0);
    m_ws.AddObserver(&m_window);
    m_ws.SetTraceView(&m_view);
    ASSERT_EQ(m_ws.LoadDataset({m_path}, Workspace::DefaultLoadParams()), 0);
    ASSERT_DOUBLE_EQ(ActiveFilter().Nyquist, 500.0);
  }

  kxtest::TempDir m_tmp{"kx_wsres"};
  fs::path m_dir{m_tmp.Path()};
  std::string m_path;
  FakeTraceView m_view;
  Window m_window;
  Workspace m_ws;
};
}  // namespace

TEST_F(WorkspaceResample, WithoutAPosterFinishesBeforeReturningAndMatchesTheDirectRun) {
  std::thread::id worker;
  auto progress = [&](int32_t, int32_t) { worker = std::this_thread::get_id(); };
  ASSERT_EQ(m_ws.ResampleTraces(0.002, progress), 0);
  EXPECT_FALSE(m_ws.Busy());
  EXPECT_EQ(m_ws.LastResampleStatus(), 0);
  EXPECT_NE(worker, std::thread::id());
  EXPECT_NE(worker, std::this_thread::get_id());

  auto ref = LoadCopy(m_path);
  ASSERT_TRUE(ref);
  ASSERT_EQ(ResampleSection(*ref, 0.002, 1, 1), 0);
  ExpectSameTraces(*m_ws.Section(), *ref);
  EXPECT_EQ(m_ws.Section()->Trace(0)->NS, 500);

  EXPECT_EQ(m_window.m_busy, (std::vector<bool>{true, false}));
  EXPECT_EQ(m_window.m_tracesChanged, 1);
  EXPECT_DOUBLE_EQ(ActiveFilter().Nyquist, 250.0);
  EXPECT_EQ(m_view.m_samples, 500);
  EXPECT_DOUBLE_EQ(m_ws.Resampling().currentInterval, 0.002);
}

TEST_F(WorkspaceResample, BusyUntilTheCompletionRanOnTheUiThread) {
  UiQueue ui;
  m_ws.SetUiPoster(ui.Poster());
  std::promise<void> release;
  std::shared_future<void> gate = release.get_future().share();
  std::promise<bool> busySeen;
  bool first = true;
  auto progress = [&](int32_t, int32_t) {
    if (first) busySeen.set_value(m_ws.Busy());
    first = false;
    gate.wait();  // holds the worker inside the run
  };
  SeismicSection* before = m_ws.Section();
  ASSERT_EQ(m_ws.ResampleTraces(0.0005, progress), 0);
  EXPECT_TRUE(busySeen.get_future().get());
  EXPECT_TRUE(m_ws.Busy());
  EXPECT_TRUE(m_ws.WorkerActive());
  // Other commands stay off the section while the worker owns it.
  EXPECT_EQ(m_ws.ResampleTraces(0.004), -1);
  EXPECT_EQ(m_ws.LoadDataset({m_path}, Workspace::DefaultLoadParams()), -1);
  EXPECT_EQ(m_ws.Section(), before);
  release.set_value();

  ASSERT_TRUE(ui.RunUntilFinished(m_ws));
  EXPECT_FALSE(m_ws.Busy());
  EXPECT_FALSE(m_ws.WorkerActive());
  EXPECT_EQ(m_ws.Section()->Trace(3)->NS, 1999);
  EXPECT_DOUBLE_EQ(ActiveFilter().Nyquist, 1000.0);
  ASSERT_EQ(m_window.m_threads.size(), 3u);
  for (std::thread::id id : m_window.m_threads) EXPECT_EQ(id, std::this_thread::get_id());

  // The next run starts once the last one finished; the view sees its result.
  ASSERT_EQ(m_ws.ResampleTraces(0.001), 0);
  ASSERT_TRUE(ui.RunUntilFinished(m_ws));
  EXPECT_EQ(m_view.m_samples, 1000);  // int(1998 * 0.5 + 0.001) + 1
  m_ws.SetUiPoster({});
}

TEST_F(WorkspaceResample, RefusedWhileTheWindowIsBusy) {
  m_ws.SetBusy(true);
  EXPECT_EQ(m_ws.ResampleTraces(0.002), -1);
  EXPECT_EQ(m_ws.Section()->Trace(0)->NS, 1000);
  EXPECT_TRUE(m_window.m_busy.empty());
  m_ws.SetBusy(false);
}

TEST_F(WorkspaceResample, AFailedRunLeavesTheSectionAsItWas) {
  UiQueue ui;
  m_ws.SetUiPoster(ui.Poster());
  for (double bad : {0.0, -0.002, std::numeric_limits<double>::infinity()}) {
    ASSERT_EQ(m_ws.ResampleTraces(bad), 0);
    ASSERT_TRUE(ui.RunUntilFinished(m_ws));
    EXPECT_EQ(m_ws.LastResampleStatus(), -1);
    EXPECT_FALSE(m_ws.Busy());
  }
  auto ref = LoadCopy(m_path);
  ASSERT_TRUE(ref);
  ExpectSameTraces(*m_ws.Section(), *ref);
  EXPECT_EQ(m_window.m_tracesChanged, 0);
  EXPECT_DOUBLE_EQ(ActiveFilter().Nyquist, 500.0);
  EXPECT_DOUBLE_EQ(m_ws.Resampling().currentInterval, 0.001);
  m_ws.SetUiPoster({});
}
