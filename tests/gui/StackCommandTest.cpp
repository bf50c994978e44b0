#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QTest>
#include <filesystem>
#include <vector>

#include "GuiTestFiles.h"
#include "app/SaveStacks.h"
#include "app/SynthSurvey.h"
#include "app/Workspace.h"
#include "formats/LoadFileList.h"
#include "formats/SaveOptions.h"
#include "formats/Seg2Writer.h"
#include "formats/SegyWriter.h"
#include "gui/console/ConsoleWidget.h"
#include "gui/mainwindow/MainWindow.h"
#include "gui/mainwindow/Startup.h"
#include "gui/tools/StackCommand.h"
#include "gui/traceview/TraceViewWidget.h"
#include "section/SeismicSection.h"

namespace {
const QRect kScreen(0, 0, 1280, 1024);
using Samples = std::vector<std::vector<float>>;  // [channel][sample]

class StackCommandTest : public ::testing::Test {
 protected:
  void SetUp() override {
    m_window = StartMainWindow(m_ws, &m_console, {}, {"kestrix"}, kScreen);
    Stack()->SetMessageShower([this](const QString& title, const QString& text) {
      m_titles << title;
      m_messages << text;
    });
  }
  void TearDown() override {
    m_window.reset();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }

  StackCommand* Stack() const { return m_window->Stack(); }
  TraceViewWidget* MainView() const { return m_window->TraceView(); }
  bool FunctionsOn() const { return m_window->FunctionsMenu()->menuAction()->isEnabled(); }

  // One shot of `channels` traces named shot_<number><ext> (the file number),
  // its noise seeded by the number; returns its samples per channel. A name
  // makes the file name instead (no file number), fldr >= 0 its FFID.
  Samples WriteShot(int number, int channels, const char* ext = ".sgy", const char* name = nullptr,
                    int fldr = -1) {
    SeismicSection s;
    SynthParams p;
    p.shots = 1;
    p.channels = channels;
    p.samples = 101;
    p.noiseLevel = 0.5;
    p.seed = 1000u + static_cast<uint32_t>(number);
    EXPECT_EQ(MakeSynthSurvey(s, p), channels);
    if (fldr >= 0)
      for (int i = 0; i < s.Count(); ++i) s.Trace(i)->FLDR = fldr;
    std::string path =
        m_files.Dir() + "/" + (name ? std::string(name) : "shot_" + std::to_string(number) + ext);
    SaveOptions o;
    if (std::string(ext) == ".sg2")
      EXPECT_EQ(SaveAsSeg2(s, path, o), 0);
    else
      EXPECT_EQ(SaveAsSegyRev1(s, path, o), 0);
    m_paths << QString::fromStdString(path);
    Samples out;
    for (int i = 0; i < s.Count(); ++i) {
      const TraceRecord* r = s.Trace(i);
      out.emplace_back(r->Samples(), r->Samples() + r->NS);
    }
    return out;
  }
  int RunStack(const QStringList& files) {
    Stack()->SetFilesChooser([files](const QString&) { return files; });
    return Stack()->StackGathers();
  }
  // Three shots of 24 channels stacked; m_expected holds their float sums.
  void StackThreeShots() {
    std::vector<Samples> shots = {WriteShot(3, 24), WriteShot(1, 24), WriteShot(2, 24)};
    // Gathers go by file number: 1, 2, 3 (written 3 first).
    m_expected = shots[1];
    for (std::size_t j = 0; j < m_expected.size(); ++j)
      for (std::size_t k = 0; k < m_expected[j].size(); ++k)
        m_expected[j][k] = (shots[1][j][k] + shots[2][j][k]) + shots[0][j][k];
    m_shots = {shots[1], shots[2], shots[0]};
    ASSERT_EQ(RunStack(m_paths), 0);
    ASSERT_NE(Stack()->StackView(), nullptr);
  }
  const TraceRecord* Stacked(int j) const { return Stack()->StackView()->Plotter().SectionTrace(j); }
  // A column and row inside the main view's plot over trace t.
  QPoint PointOnTrace(int t) {
    VTracePlotter& p = MainView()->Plotter();
    PixelRect plot = p.PlotRect();
    std::vector<int> xs;
    for (int x = plot.left; x < plot.right; ++x)
      if (p.TraceAtColumn(x) == t) xs.push_back(x);
    EXPECT_FALSE(xs.empty()) << "trace " << t << " is not on the page";
    return {xs.empty() ? -1 : xs[xs.size() / 2], (plot.top + plot.bottom) / 2};
  }
  void Click(int trace, Qt::KeyboardModifiers mods) {
    QTest::mouseClick(MainView(), Qt::LeftButton, mods, PointOnTrace(trace));
  }
  void ExpectChannel(int j, int nvs, const std::vector<const Samples*>& included) {
    const TraceRecord* r = Stacked(j);
    ASSERT_NE(r, nullptr);
    EXPECT_EQ(r->NVS, nvs) << "channel " << j;
    for (int k = 0; k < r->NS; ++k) {
      float sum = 0.0f;
      for (const Samples* s : included) sum += (*s)[static_cast<std::size_t>(j)][static_cast<std::size_t>(k)];
      ASSERT_FLOAT_EQ(r->Samples()[k], sum) << "channel " << j << " sample " << k;
    }
  }

  Workspace m_ws;
  ConsoleWidget m_console;
  GuiTestFiles m_files;
  std::unique_ptr<MainWindow> m_window;
  QStringList m_paths, m_titles, m_messages;
  Samples m_expected;
  std::vector<Samples> m_shots;  // in gather order
};
}  // namespace

TEST_F(StackCommandTest, ThreeShotsStackIntoTwentyFourSummedTracesBesideTheSection) {
  EXPECT_TRUE(m_window->Action(kCmdSelectiveStack)->isEnabled());
  StackThreeShots();
  TraceViewWidget* view = Stack()->StackView();
  EXPECT_EQ(view->windowTitle(), QString(" STACK"));
  EXPECT_TRUE(view->isVisible());
  EXPECT_TRUE(view->isWindow());
  EXPECT_EQ(view->ViewNumber(), 2);
  ASSERT_EQ(view->TraceCount(), 24);
  EXPECT_EQ(view->SampleCount(), 101);
  for (int j = 0; j < 24; ++j) {
    EXPECT_EQ(Stacked(j)->NVS, 3);
    EXPECT_EQ(Stacked(j)->FLDR, 1);  // the header of gather 0
    for (int k = 0; k < 101; ++k) ASSERT_EQ(Stacked(j)->Samples()[k], m_expected[j][k]);
  }
  // The section sorted into gathers 1, 2, 3 by file number.
  ASSERT_EQ(Stack()->Gathers().size(), 3u);
  EXPECT_EQ(m_ws.Section()->Trace(0)->FLDR, 1);
  EXPECT_EQ(m_ws.Section()->Trace(71)->FLDR, 3);
  const std::vector<int> labels = {10, 12, 14};
  EXPECT_EQ(view->LabelWords(), labels);
  EXPECT_EQ(MainView()->LabelWords(), labels);
  EXPECT_EQ(MainView()->ViewRole(), 2);
  EXPECT_EQ(MainView()->Plotter().ViewRole(), 2);
  EXPECT_FALSE(FunctionsOn());
  EXPECT_TRUE(m_messages.isEmpty());
  EXPECT_EQ(Stack()->LastFolder(), QString::fromStdString(m_files.Dir()));
  EXPECT_EQ(Stack()->StartFolder(), QString::fromStdString(m_files.Dir()) + "/");
}

TEST_F(StackCommandTest, ShiftAndCtrlClicksInTheSectionViewRestack) {
  StackThreeShots();
  const Samples &g0 = m_shots[0], &g1 = m_shots[1], &g2 = m_shots[2];
  // Channel 5 of gather 2 (trace 53) leaves the stack, then comes back.
  Click(53, Qt::ShiftModifier);
  EXPECT_NE(m_ws.Section()->Trace(53)->TSKIP, 0);
  ExpectChannel(5, 2, {&g0, &g1});
  ExpectChannel(6, 3, {&g0, &g1, &g2});
  Click(53, Qt::ShiftModifier);
  ExpectChannel(5, 3, {&g0, &g1, &g2});
  // Channel 7 of gather 0 excluded: its samples start from zero.
  Click(7, Qt::ShiftModifier);
  ExpectChannel(7, 2, {&g1, &g2});
  EXPECT_EQ(Stacked(7)->TSKIP, 0);

  // Gather 1 partly excluded: Ctrl-click excludes all of it, again includes all.
  Click(30, Qt::ShiftModifier);
  Click(25, Qt::ControlModifier);
  for (int t = 24; t < 48; ++t) EXPECT_NE(m_ws.Section()->Trace(t)->TSKIP, 0) << t;
  ExpectChannel(0, 2, {&g0, &g2});
  ExpectChannel(6, 2, {&g0, &g2});
  ExpectChannel(7, 1, {&g2});
  Click(47, Qt::ControlModifier);
  for (int t = 24; t < 48; ++t) EXPECT_EQ(m_ws.Section()->Trace(t)->TSKIP, 0) << t;
  ExpectChannel(6, 3, {&g0, &g1, &g2});
  ExpectChannel(7, 2, {&g1, &g2});
  // A plain click only starts a drag: no toggle.
  QTest::mouseClick(MainView(), Qt::LeftButton, Qt::NoModifier, PointOnTrace(3));
  EXPECT_EQ(m_ws.Section()->Trace(3)->TSKIP, 0);
}

TEST_F(StackCommandTest, RefusalsKeepTheLoadedShotsInRoleOne) {
  WriteShot(1, 24);
  ASSERT_EQ(RunStack(m_paths), -1);
  ASSERT_EQ(m_messages.size(), 1);
  EXPECT_EQ(m_messages[0], QString(" Single shot or missing FFID/file number"));
  EXPECT_EQ(m_titles[0], QString(" ERROR"));
  EXPECT_EQ(Stack()->StackView(), nullptr);
  ASSERT_NE(m_ws.Section(), nullptr);
  EXPECT_EQ(m_ws.Section()->Count(), 24);

  m_paths.clear();
  WriteShot(4, 24);
  WriteShot(5, 48);
  ASSERT_EQ(RunStack(m_paths), -1);
  ASSERT_EQ(m_messages.size(), 2);
  EXPECT_EQ(m_messages[1], QString(" Not all files have the same number of traces"));
  EXPECT_EQ(m_ws.Section()->Count(), 72);
  EXPECT_EQ(Stack()->StackView(), nullptr);
  EXPECT_EQ(MainView()->ViewRole(), 1);
  EXPECT_TRUE(FunctionsOn());

  // A cancelled dialog changes nothing.
  EXPECT_EQ(RunStack({}), -1);
  EXPECT_EQ(m_ws.Section()->Count(), 72);
  EXPECT_EQ(m_messages.size(), 2);
}

TEST_F(StackCommandTest, BusyProgramIgnoresTheCommand) {
  WriteShot(1, 24);
  WriteShot(2, 24);
  bool asked = false;
  Stack()->SetFilesChooser([&](const QString&) {
    asked = true;
    return m_paths;
  });
  m_window->SetBusy(true);
  EXPECT_EQ(Stack()->StackGathers(), -1);
  m_window->SetBusy(false);
  EXPECT_FALSE(asked);
  EXPECT_EQ(m_ws.Section(), nullptr);
}

TEST_F(StackCommandTest, SaveStacksWritesSegyRev1ThatReadsBackAsTheStack) {
  StackThreeShots();
  Click(50, Qt::ShiftModifier);  // channel 2 of gather 2 out
  QString asked;
  Stack()->SetSaveNameChooser([&](const QString& title, const QString& filter, const QString& start) {
    asked = title + "|" + filter + "|" + start;
    return QString::fromStdString(m_files.Dir() + "/stacked");
  });
  emit MainView()->SaveStacksRequested();  // the role-2 popup's "Save Stacks "
  EXPECT_TRUE(asked.startsWith("Save stacked shots as SEG-Y rev 1 file|SEG-Y (*.segy,*.sgy)"))
      << asked.toStdString();
  const std::string path = m_files.Dir() + "/stacked.segy";
  ASSERT_TRUE(std::filesystem::exists(path));

  SeismicSection back;
  LoadParams params;
  LoadFileList(back, {path}, params);
  ASSERT_EQ(back.Scan(), 24);
  EXPECT_EQ(back.FileType(), kFileSegy);
  EXPECT_EQ(back.m_binaryHeader[kBfhFixedLengthPos] != 0, true);
  for (int j = 0; j < 24; ++j) {
    const TraceRecord* r = back.Trace(j);
    EXPECT_EQ(r->NVS, j == 2 ? 2 : 3);
    ASSERT_EQ(r->NS, 101);
    for (int k = 0; k < 101; ++k) ASSERT_EQ(r->Samples()[k], Stacked(j)->Samples()[k]) << j << " " << k;
  }
  // A cancelled save writes nothing.
  Stack()->SetSaveNameChooser([](const QString&, const QString&, const QString&) { return QString(); });
  EXPECT_EQ(Stack()->SaveStacksCommand(), -1);
}

TEST_F(StackCommandTest, LoadingAnotherDatasetEndsTheStack) {
  const std::vector<int> labels = MainView()->LabelWords();
  StackThreeShots();
  const std::string other = m_files.Segy("other.sgy", 30);
  m_window->SetFilesChooser([&](int* filter) {
    *filter = 2;
    return QStringList{QString::fromStdString(other)};
  });
  ASSERT_EQ(m_window->LoadDatasetCommand(), 0);
  EXPECT_EQ(Stack()->StackView(), nullptr);
  // The stack's label rows went with it.
  EXPECT_EQ(MainView()->LabelWords(), labels);
  EXPECT_EQ(MainView()->ViewRole(), 1);
  EXPECT_EQ(MainView()->Plotter().ViewRole(), 1);
  EXPECT_TRUE(FunctionsOn());
  EXPECT_EQ(MainView()->TraceCount(), 30);
  // Role 1 again: Shift-click highlights, it asks for no toggle.
  Click(4, Qt::ShiftModifier);
  EXPECT_EQ(MainView()->SelectedTrace(), 4);
  EXPECT_EQ(m_ws.Section()->Trace(4)->TSKIP, 0);
}

TEST_F(StackCommandTest, StackViewDrawsAsTheSectionDoesAndFitsItsWindow) {
  for (int mode : {kDisplayColor, kDisplayWiggle}) {
    SCOPED_TRACE(mode);
    m_paths.clear();
    for (int n : {1, 2}) WriteShot(n, 24);
    // The shots load (48 traces keep the display mode), then the user sets up the section.
    ASSERT_EQ(m_ws.LoadDataset({m_paths[0].toStdString(), m_paths[1].toStdString()},
                               Workspace::DefaultLoadParams()),
              0);
    MainView()->Params().m_displayMode = mode;
    MainView()->Params().m_palette = 2;
    // The stack's own load keeps the section's drawing choices.
    Stack()->SetFilesChooser([this](const QString&) { return m_paths; });
    ASSERT_EQ(Stack()->StackGathers(), 0);
    DisplayParams& section = MainView()->Params();
    const DisplayParams& stack = Stack()->StackView()->Params();
    EXPECT_EQ(section.m_displayMode, mode);
    EXPECT_EQ(stack.m_displayMode, mode);
    EXPECT_EQ(stack.m_palette, 2);
    EXPECT_EQ(stack.m_gainControl, section.m_gainControl);
    EXPECT_EQ(stack.m_colorGain, section.m_colorGain);
    EXPECT_EQ(stack.m_wiggleGain, section.m_wiggleGain);
    int width = 0, height = 0;
    Stack()->StackView()->PlotSize(&width, &height);
    EXPECT_DOUBLE_EQ(stack.m_pixPerTrace, (width - 1) / 24.0);
    EXPECT_DOUBLE_EQ(stack.m_pixPerSec, (height - 1) / 0.2);  // 101 samples of 2 ms
    EXPECT_EQ(stack.m_firstTrace, 0);
  }
}

TEST_F(StackCommandTest, ClosingTheStackViewGivesTheMainViewItsLabelsBack) {
  MainView()->SetLabelWords({20}, 3);
  StackThreeShots();
  EXPECT_EQ(MainView()->LabelWords(), (std::vector<int>{10, 12, 14}));
  Stack()->StackView()->close();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_EQ(MainView()->LabelWords(), std::vector<int>{20});
  EXPECT_EQ(MainView()->LabelGraduationStep(), 3);
}

TEST_F(StackCommandTest, ClosingTheStackViewReturnsTheSectionViewToRoleOne) {
  StackThreeShots();
  QPointer<TraceViewWidget> view = Stack()->StackView();
  view->close();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_TRUE(view.isNull());
  EXPECT_EQ(Stack()->StackView(), nullptr);
  EXPECT_EQ(MainView()->ViewRole(), 1);
  EXPECT_TRUE(FunctionsOn());
  // The shots stay loaded; the command can run again on new files.
  EXPECT_EQ(m_ws.Section()->Count(), 72);
  ASSERT_EQ(RunStack(m_paths), 0);
  EXPECT_EQ(Stack()->StackView()->TraceCount(), 24);
  EXPECT_EQ(Stacked(0)->NVS, 3);
}

TEST_F(StackCommandTest, WithoutFileNumbersTheFfidsMakeTheGathers) {
  Samples a = WriteShot(1, 12, ".sgy", "near.sgy", 7);
  Samples b = WriteShot(2, 12, ".sgy", "far.sgy", 5);
  ASSERT_EQ(RunStack(m_paths), 0);
  ASSERT_EQ(Stack()->Gathers().size(), 2u);
  EXPECT_EQ(m_ws.Section()->Trace(0)->FLDR, 5);  // sorted by FFID
  ExpectChannel(11, 2, {&b, &a});
  EXPECT_EQ(Stacked(11)->FLDR, 5);

  // FFID 0 and no file numbers: nothing to group by.
  m_paths.clear();
  WriteShot(3, 12, ".sgy", "one.sgy", 0);
  WriteShot(4, 12, ".sgy", "two.sgy", 0);
  ASSERT_EQ(RunStack(m_paths), -1);
  ASSERT_EQ(m_messages.size(), 1);
  EXPECT_EQ(m_messages[0], QString(" Missing file numbers and internal FFIDs\n Can not go on"));
  EXPECT_EQ(m_titles[0], QString(" ERROR"));
  EXPECT_EQ(Stack()->StackView(), nullptr);
  EXPECT_EQ(MainView()->ViewRole(), 1);
  EXPECT_TRUE(FunctionsOn());
}

TEST_F(StackCommandTest, SegTwoShotsSaveSegTwoStacks) {
  Samples a = WriteShot(1, 24, ".sg2");
  Samples b = WriteShot(2, 24, ".sg2");
  ASSERT_EQ(RunStack(m_paths), 0);
  ExpectChannel(3, 2, {&a, &b});
  QString title;
  Stack()->SetSaveNameChooser([&](const QString& t, const QString& filter, const QString&) {
    title = t + "|" + filter;
    return QString::fromStdString(m_files.Dir() + "/out/stacked");
  });
  std::filesystem::create_directories(m_files.Dir() + "/out");
  ASSERT_EQ(Stack()->SaveStacksCommand(), 0);
  EXPECT_TRUE(title.startsWith("Save stacked shots as SEG-2 file|SEG-2 (*.seg2,*.sg2)"))
      << title.toStdString();
  const std::string path = m_files.Dir() + "/out/stacked.seg2";
  SeismicSection back;
  LoadParams params;
  LoadFileList(back, {path}, params);
  ASSERT_EQ(back.Scan(), 24);
  EXPECT_EQ(back.FileType(), kFileSeg2);
  for (int k = 0; k < 101; ++k) ASSERT_EQ(back.Trace(3)->Samples()[k], a[3][k] + b[3][k]) << k;
  // The save dialog starts where the stacks went last.
  EXPECT_EQ(Stack()->LastFolder(), QString::fromStdString(m_files.Dir() + "/out"));
}
