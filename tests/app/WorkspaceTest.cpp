#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "app/FakeTraceView.h"
#include "app/SynthSurvey.h"
#include "app/TraceViewObserver.h"
#include "app/Workspace.h"
#include "app/WorkspaceObserver.h"
#include "formats/SaveOptions.h"
#include "formats/SegyWriter.h"
#include "log/Log.h"
#include "section/SeismicSection.h"
#include "support/LogCapture.h"
#include "support/TempDir.h"

namespace fs = std::filesystem;

namespace {
class RecordingWindow : public WorkspaceObserver {
 public:
  void SetTitle(const std::string& t) override { m_title = t; }
  void EnableDataMenus(bool e) override { m_menus.push_back(e); }
  void ShowPanelsAndView() override { ++m_panelsShown; }
  void SetSectionInfo(const std::string& t) override { m_info = t; }
  void SectionLost() override {
    ++m_lost;
    if (m_onLost) m_onLost();
  }

  void LoadRefused(const LoadRefusal& r) override { m_refusals.push_back(r); }

  std::function<void()> m_onLost;
  std::vector<LoadRefusal> m_refusals;
  std::string m_title;
  std::vector<bool> m_menus;
  int m_panelsShown = 0;
  std::string m_info;
  int m_lost = 0;
};

class WorkspaceTest : public ::testing::Test {
 protected:
  void SetUp() override {
    m_ws.AddObserver(&m_window);
    m_ws.SetTraceView(&m_view);
  }

  // A SEG-Y file of one shot with the given channel count (2 ms, 100 samples).
  std::string MakeFile(const char* name, int channels) {
    SeismicSection s;
    SynthParams p;
    p.shots = 1;
    p.channels = channels;
    p.samples = 101;
    EXPECT_EQ(MakeSynthSurvey(s, p), channels);
    std::string path = (m_dir / name).string();
    SaveOptions o;
    EXPECT_EQ(SaveAsSegyRev1(s, path, o), 0);
    return path;
  }

  kxtest::TempDir m_tmp{"kx_ws"};
  fs::path m_dir{m_tmp.Path()};
  Workspace m_ws;
  FakeTraceView m_view;
  RecordingWindow m_window;
};
}  // namespace

TEST_F(WorkspaceTest, TwentyFourTracesSwitchToWigglesAndFit) {
  std::string path = MakeFile("fit24.sgy", 24);
  m_view.m_params.m_displayMode = kDisplayColor;
  ASSERT_EQ(m_ws.LoadDataset({path}, Workspace::DefaultLoadParams()), 0);
  const DisplayParams& p = m_view.m_params;
  EXPECT_EQ(p.m_displayMode, kDisplayWiggle);
  EXPECT_EQ(p.m_firstTrace, 0);
  EXPECT_DOUBLE_EQ(p.m_pixPerTrace, 600.0 / 24);
  EXPECT_DOUBLE_EQ(p.m_pixPerSec, 400.0 / 0.2);  // 101 samples of 2 ms
  EXPECT_DOUBLE_EQ(p.m_startTime, m_ws.Section()->Summary().minTime);
  EXPECT_EQ(m_window.m_panelsShown, 1);  // the first good load ends the splash
  EXPECT_FALSE(m_ws.Splash());
  EXPECT_EQ(m_window.m_menus, std::vector<bool>{true});
  EXPECT_EQ(m_window.m_title, path);
  EXPECT_EQ(m_ws.DisplayName(), "fit24.sgy");
  EXPECT_EQ(m_ws.LastInputDir(), m_dir.string());
}

TEST_F(WorkspaceTest, TwentyFiveTracesKeepTheDisplayModeAndStartAtTheFirstTrace) {
  std::string path = MakeFile("keep25.sgy", 25);
  m_view.m_params.m_displayMode = kDisplayColor;
  m_view.m_params.m_pixPerTrace = 3.5;
  m_view.m_params.m_firstTrace = 7;
  ASSERT_EQ(m_ws.LoadDataset({path}, Workspace::DefaultLoadParams()), 0);
  EXPECT_EQ(m_view.m_params.m_displayMode, kDisplayColor);
  EXPECT_EQ(m_view.m_params.m_firstTrace, 0);
  // The last file's scale does not carry over: the default one.
  EXPECT_DOUBLE_EQ(m_view.m_params.m_pixPerTrace, 5.0);
}

TEST_F(WorkspaceTest, NextFileIsShownByItsOwnRuleNotWithTheLastFilesView) {
  const std::string few = MakeFile("few.sgy", 3), many = MakeFile("many.sgy", 60);
  ASSERT_EQ(m_ws.LoadDataset({few}, Workspace::DefaultLoadParams()), 0);
  EXPECT_DOUBLE_EQ(m_view.m_params.m_pixPerTrace, 600.0 / 3);
  // What the user did to the three traces.
  DisplayParams& p = m_view.m_params;
  p.m_inversePolarity = 1;
  p.m_gainControl = kGainAgc;
  p.m_wiggleGain = p.m_colorGain = 7.0;
  p.m_wiggleGainByMode[2] = 7.0;
  p.m_wiggleClip = 40.0f;
  p.m_startTime = 0.1;
  p.m_palette = 3;
  p.m_zeroLines = 0;
  p.m_agcWindow = 0.05;
  for (int keepView : {0, 1}) {
    SCOPED_TRACE(keepView);
    LoadParams params = Workspace::DefaultLoadParams();
    params.keepViewPosition = keepView;
    ASSERT_EQ(m_ws.LoadDataset({many}, params), 0);
    if (keepView) {
      // The file selector's stepping keeps the view as it is.
      EXPECT_DOUBLE_EQ(p.m_pixPerTrace, 9.0);
      EXPECT_EQ(p.m_inversePolarity, 1);
      continue;
    }
    EXPECT_DOUBLE_EQ(p.m_pixPerTrace, 5.0);
    EXPECT_DOUBLE_EQ(p.m_pixPerSec, 1000.0);
    EXPECT_EQ(p.m_firstTrace, 0);
    EXPECT_EQ(p.m_startTime, 0.0);
    EXPECT_EQ(p.m_inversePolarity, 0);
    EXPECT_EQ(p.m_gainControl, kGainNorm);
    EXPECT_EQ(p.m_wiggleGain, 1.0);
    EXPECT_EQ(p.m_colorGain, 1.0);
    EXPECT_EQ(p.m_wiggleGainByMode[2], 1.0);
    EXPECT_EQ(p.m_wiggleClip, 1000.0f);
    // How the traces are drawn stays the user's.
    EXPECT_EQ(p.m_displayMode, kDisplayWiggle);
    EXPECT_EQ(p.m_palette, 3);
    EXPECT_EQ(p.m_zeroLines, 0);
    EXPECT_DOUBLE_EQ(p.m_agcWindow, 0.05);
    p.m_pixPerTrace = 9.0;
    p.m_inversePolarity = 1;
  }
}

TEST_F(WorkspaceTest, AgcWindowResetWhenItDoesNotSuitTheSection) {
  std::string path = MakeFile("agc.sgy", 30);  // 0.2 s span, 2 ms interval
  m_view.m_params.m_agcWindow = 0.25;          // longer than half the span
  ASSERT_EQ(m_ws.LoadDataset({path}, Workspace::DefaultLoadParams()), 0);
  EXPECT_EQ(m_view.m_params.m_agcWindow, DBLE_UNDEF);
  m_view.m_params.m_agcWindow = 0.021;  // shorter than 11 intervals
  ASSERT_EQ(m_ws.LoadDataset({path}, Workspace::DefaultLoadParams()), 0);
  EXPECT_EQ(m_view.m_params.m_agcWindow, DBLE_UNDEF);
  m_view.m_params.m_agcWindow = 0.05;
  ASSERT_EQ(m_ws.LoadDataset({path}, Workspace::DefaultLoadParams()), 0);
  EXPECT_DOUBLE_EQ(m_view.m_params.m_agcWindow, 0.05);
}

TEST_F(WorkspaceTest, KeepViewPositionRestoresTheViewAndSelection) {
  std::string path = MakeFile("keep.sgy", 30);
  ASSERT_EQ(m_ws.LoadDataset({path}, Workspace::DefaultLoadParams()), 0);
  m_view.m_params.m_firstTrace = 12;
  m_view.m_params.m_startTime = 0.05;
  m_view.m_params.m_pixPerTrace = 9.0;
  m_view.m_selected = 14;
  LoadParams keep = Workspace::DefaultLoadParams();
  keep.keepViewPosition = 1;
  ASSERT_EQ(m_ws.LoadDataset({path}, keep), 0);
  EXPECT_EQ(m_view.m_params.m_firstTrace, 12);
  EXPECT_DOUBLE_EQ(m_view.m_params.m_startTime, 0.05);
  EXPECT_DOUBLE_EQ(m_view.m_params.m_pixPerTrace, 9.0);
  EXPECT_EQ(m_view.m_selected, 14);
}

TEST_F(WorkspaceTest, TwoFilesGoIntoOneSectionInOrder) {
  std::string a = MakeFile("a.sgy", 10);
  std::string b = MakeFile("b.sgy", 12);
  ASSERT_EQ(m_ws.LoadDataset({a, b}, Workspace::DefaultLoadParams()), 0);
  const SeismicSection* s = m_ws.Section();
  ASSERT_EQ(s->Count(), 22);
  EXPECT_EQ(s->Trace(0)->TRF, 1);
  EXPECT_EQ(s->Trace(9)->TRF, 1);
  EXPECT_EQ(s->Trace(10)->TRF, 2);
  EXPECT_EQ(m_window.m_title, a + "  " + b);
  EXPECT_EQ(m_ws.DisplayName(), "a.sgy");
}

TEST_F(WorkspaceTest, FileWithoutDataIsRefusedBeforeTheSectionOnScreenGoes) {
  std::string good = MakeFile("good.sgy", 5);
  std::string bad = (m_dir / "empty.sgy").string();
  std::ofstream(bad) << "not seismic";
  // Without a section the failed load ends as it always did.
  EXPECT_EQ(m_ws.LoadDataset({bad}, Workspace::DefaultLoadParams()), -1);
  EXPECT_EQ(m_window.m_lost, 1);
  ASSERT_EQ(m_window.m_refusals.size(), 1u);
  EXPECT_FALSE(m_window.m_refusals[0].sectionKept);
  EXPECT_EQ(m_window.m_refusals[0].paths, std::vector<std::string>{bad});

  ASSERT_EQ(m_ws.LoadDataset({good}, Workspace::DefaultLoadParams()), 0);
  SeismicSection* shown = m_ws.Section();
  m_view.m_params.m_inversePolarity = 1;
  const std::string info = m_window.m_info;
  kxtest::LogCapture log(LogStep);
  for (const std::string& path : {bad, (m_dir / "missing.sgy").string()}) {
    SCOPED_TRACE(path);
    EXPECT_EQ(m_ws.LoadDataset({path}, Workspace::DefaultLoadParams()), -1);
    EXPECT_EQ(m_ws.Section(), shown);
    EXPECT_EQ(m_view.m_count, 5);
    EXPECT_EQ(m_view.m_params.m_inversePolarity, 1);
    EXPECT_EQ(m_window.m_lost, 1);
    EXPECT_EQ(m_window.m_menus, (std::vector<bool>{false, true}));
    EXPECT_EQ(m_window.m_info, info);
    EXPECT_EQ(m_window.m_title, good);
    const LoadRefusal& r = m_window.m_refusals.back();
    EXPECT_TRUE(r.sectionKept);
    EXPECT_EQ(r.paths, std::vector<std::string>{path});
    EXPECT_FALSE(r.params.tolerant);
    ASSERT_FALSE(r.reasons.empty());
    // Each reason is one of the lines the console shows.
    EXPECT_TRUE(log.Contains(r.reasons[0])) << r.reasons[0];
  }
  EXPECT_EQ(m_window.m_refusals.size(), 3u);
  EXPECT_TRUE(log.Contains("the section on screen (5 traces) is kept"));
  EXPECT_FALSE(log.Contains("deleted SeismicSection"));
}

TEST_F(WorkspaceTest, OneReadableFileAmongSeveralIsEnoughAndRetriesAreTolerant) {
  std::string good = MakeFile("good.sgy", 5);
  std::string bad = (m_dir / "junk.sgy").string();
  std::ofstream(bad) << "not seismic";
  ASSERT_EQ(m_ws.LoadDataset({bad, good}, Workspace::DefaultLoadParams()), 0);
  EXPECT_EQ(m_ws.Section()->Count(), 5);
  EXPECT_TRUE(m_window.m_refusals.empty());
  // The refused load again, tolerantly: the same files and parameters, with the flag.
  LoadParams asked = Workspace::DefaultLoadParams();
  asked.takeNameDigits = 1;
  asked.tolerantIntervalUs = 2500;
  EXPECT_EQ(m_ws.LoadDataset({bad}, asked), -1);
  ASSERT_EQ(m_window.m_refusals.size(), 1u);
  EXPECT_EQ(m_ws.LoadAgainTolerantly(m_window.m_refusals[0]), -1);
  ASSERT_EQ(m_window.m_refusals.size(), 2u);
  const LoadRefusal& again = m_window.m_refusals[1];
  EXPECT_TRUE(again.params.tolerant);
  EXPECT_EQ(again.params.tolerantIntervalUs, 2500);
  EXPECT_EQ(again.params.takeNameDigits, 1);
  EXPECT_EQ(again.paths, std::vector<std::string>{bad});
  EXPECT_TRUE(again.sectionKept);
  EXPECT_EQ(m_ws.Section()->Count(), 5);
}

TEST_F(WorkspaceTest, EveryObserverIsToldUntilItIsRemovedEvenDuringANotification) {
  RecordingWindow tool, other;
  m_ws.AddObserver(&tool);
  m_ws.AddObserver(&tool);  // added twice: told once
  m_ws.AddObserver(&other);
  std::string good = MakeFile("good.sgy", 5);
  std::string bad = (m_dir / "empty.sgy").string();
  std::ofstream(bad) << "not seismic";
  ASSERT_EQ(m_ws.LoadDataset({good}, Workspace::DefaultLoadParams()), 0);
  EXPECT_EQ(tool.m_menus, std::vector<bool>{true});
  EXPECT_EQ(other.m_menus, std::vector<bool>{true});
  // Refused with the section kept: nothing is lost.
  EXPECT_EQ(m_ws.LoadDataset({bad}, Workspace::DefaultLoadParams()), -1);
  EXPECT_EQ(tool.m_lost, 0);
  EXPECT_EQ(tool.m_refusals.size(), 1u);
  // The tool closes on a lost section and takes the other window with it.
  Workspace fresh;
  fresh.AddObserver(&tool);
  fresh.AddObserver(&other);
  tool.m_onLost = [&] {
    fresh.RemoveObserver(&other);
    fresh.RemoveObserver(&tool);
  };
  EXPECT_EQ(fresh.LoadDataset({bad}, Workspace::DefaultLoadParams()), -1);
  EXPECT_EQ(tool.m_lost, 1);
  EXPECT_EQ(other.m_lost, 0);
  EXPECT_EQ(tool.m_menus, std::vector<bool>{true});
  EXPECT_EQ(other.m_menus, std::vector<bool>{true});
  EXPECT_EQ(tool.m_refusals.size(), 1u);
  fresh.RemoveObserver(&tool);  // again: nothing happens
  ASSERT_EQ(fresh.LoadDataset({good}, Workspace::DefaultLoadParams()), 0);
  EXPECT_EQ(tool.m_menus.size(), 1u);
  EXPECT_EQ(m_window.m_menus, (std::vector<bool>{true}));
}

TEST_F(WorkspaceTest, LoadCommandRemembersFilterAndDialogFolder) {
  std::string path = MakeFile("cmd.sgy", 3);
  EXPECT_EQ(m_ws.LoadChosenFiles({path}, 3), 0);
  EXPECT_EQ(m_ws.LastFilter(), 3);
  EXPECT_EQ(m_ws.DialogStartFolder(), m_dir.string() + "/");
  m_ws.SetLastFilter(9);  // out of range: kept
  EXPECT_EQ(m_ws.LastFilter(), 3);
  m_ws.SetLastInputDir((m_dir / "gone").string());
  EXPECT_EQ(m_ws.DialogStartFolder(), "");
}

TEST_F(WorkspaceTest, DumpCommandsNeedAFileOrASection) {
  EXPECT_EQ(m_ws.DumpHeadersCommand((m_dir / "missing.sgy").string(), 0x12, 1, 1), -101);
  EXPECT_EQ(m_ws.DumpHeadersCommand((m_dir / "missing.sgy").string(), 0x40, 1, 1), 0);  // no dump bit
  EXPECT_EQ(m_ws.DumpCurrentHeaders(true, false), -1);
  std::string path = MakeFile("dump.sgy", 8);
  EXPECT_EQ(m_ws.DumpHeadersCommand(path, 0x10, 5, 7), 0);
  ASSERT_EQ(m_ws.LoadDataset({path}, Workspace::DefaultLoadParams()), 0);
  EXPECT_EQ(m_ws.DumpCurrentHeaders(false, false), 0);
}

TEST_F(WorkspaceTest, LoadCommandRemembersTheFolderEvenWhenNothingLoads) {
  fs::create_directories(m_dir / "other");
  std::ofstream(m_dir / "other" / "junk.sgy") << "junk";
  EXPECT_EQ(m_ws.LoadChosenFiles({(m_dir / "other" / "junk.sgy").string()}, 5), -1);
  EXPECT_EQ(m_ws.LastInputDir(), (m_dir / "other").string());
  EXPECT_EQ(m_ws.LastFilter(), 5);
}

TEST_F(WorkspaceTest, RelativePathsAreRememberedAsAbsoluteFolders) {
  std::string path = MakeFile("rel.sgy", 2);
  fs::path old = fs::current_path();
  fs::current_path(m_dir);
  int rc = m_ws.LoadDataset({"rel.sgy"}, Workspace::DefaultLoadParams());
  fs::current_path(old);
  ASSERT_EQ(rc, 0);
  EXPECT_EQ(fs::path(m_ws.LastInputDir()), fs::path(m_dir));
  EXPECT_EQ(m_ws.DisplayName(), "rel.sgy");
}

TEST_F(WorkspaceTest, LoadLogsItsStepsAndTheMissingData) {
  std::string good = MakeFile("logged.sgy", 6);
  kxtest::LogCapture log(LogStep);
  EXPECT_EQ(m_ws.LoadChosenFiles({good}, 1), 0);
  EXPECT_EQ(m_ws.LoadChosenFiles({good}, 1), 0);  // this one deletes the first section
  EXPECT_EQ(m_ws.LoadDataset({(m_dir / "none.sgy").string()}, Workspace::DefaultLoadParams()), -1);
  std::string text = log.Text();
  std::size_t read = text.find("6 traces read in ");
  std::size_t stats = text.find("max smp=101  Tmin=0.000ms  Tmax=200.000ms  max|Amp|=");
  std::size_t total = text.find("Total load & display time = ");
  std::size_t timing = text.find("Load Dataset in ");
  std::size_t deleted = text.find("\ndeleted SeismicSection in ");
  std::size_t none = text.find("\n\nNO SEISMIC DATA loaded\n");
  ASSERT_NE(read, std::string::npos);
  ASSERT_NE(none, std::string::npos);
  EXPECT_LT(read, stats);
  EXPECT_LT(stats, total);
  EXPECT_LT(total, timing);  // the command's timing follows the load's own lines
  EXPECT_LT(timing, deleted);
  EXPECT_LT(deleted, none);
  EXPECT_NE(text.find("(file count=1)"), std::string::npos);
}

// Correct once the readers read tolerantly; skipped before.
TEST_F(WorkspaceTest, SuFileWithoutIntervalOpensOnlyWhenAskedTolerantly) {
  const std::string su = std::string(KX_TEST_DATA_DIR) + "/su/segyio/small.su";  // DT 0 in every trace
  ASSERT_EQ(m_ws.LoadDataset({MakeFile("before.sgy", 5)}, Workspace::DefaultLoadParams()), 0);
  LoadParams strict = Workspace::DefaultLoadParams();
  strict.tolerantIntervalUs = 2000;
  EXPECT_EQ(m_ws.LoadDataset({su}, strict), -1);
  ASSERT_EQ(m_window.m_refusals.size(), 1u);
  EXPECT_EQ(m_ws.Section()->Count(), 5);
  ASSERT_EQ(m_ws.LoadAgainTolerantly(m_window.m_refusals[0]), 0);
  ASSERT_EQ(m_ws.Section()->Count(), 25);
  EXPECT_DOUBLE_EQ(m_ws.Section()->Trace(0)->DT, 0.002);
}
