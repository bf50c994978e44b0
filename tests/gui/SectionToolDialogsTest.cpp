// The " Resample Traces" and " Time Shift All Traces" dialogs driven through
// the main window: their results equal the core's with the same arguments,
// bad fields flash and change nothing, and the busy rules and the progress
// bar hold while the run goes on.
#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QLineEdit>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "GuiTestFiles.h"
#include "app/AppSettings.h"
#include "app/SettingsFile.h"
#include "app/Workspace.h"
#include "formats/LoadFileList.h"
#include "gui/console/ConsoleWidget.h"
#include "gui/mainwindow/MainWindow.h"
#include "gui/mainwindow/Startup.h"
#include "gui/settings/SettingsPanel.h"
#include "gui/tools/BadInputFlash.h"
#include "gui/tools/ResampleDialog.h"
#include "gui/tools/ShiftDialog.h"
#include "gui/traceview/CursorStatusStrip.h"
#include "gui/traceview/TraceViewWidget.h"
#include "log/ConsoleLineStore.h"
#include "log/Log.h"
#include "processing/Resample.h"
#include "processing/TimeShift.h"
#include "section/SeismicSection.h"

namespace {
int g_beeps = 0;

bool ConsoleHas(const std::string& text) {
  bool found = false;
  ConsoleAccess([&](ConsoleLineStore& s) {
    for (const std::u16string& l : s.Lines())
      if (Utf16ToUtf8(l).find(text) != std::string::npos) found = true;
  });
  return found;
}

class SectionToolDialogs : public ::testing::Test {
 protected:
  void SetUp() override {
    g_beeps = 0;
    BadInputFlash::SetBeeper([] { ++g_beeps; });
    m_path = m_files.Segy("tools.sgy", 30);
    m_window = StartMainWindow(m_ws, &m_console, {}, {"kestrix", QString::fromStdString(m_path)},
                               QRect(0, 0, 1280, 1024));
    ASSERT_NE(m_ws.Section(), nullptr);
  }
  void TearDown() override { BadInputFlash::SetBeeper(nullptr); }

  template <typename Dialog>
  Dialog* Open(int command) {
    m_window->Action(command)->trigger();
    return qobject_cast<Dialog*>(m_window->SectionTool());
  }
  // The menus, the panel and the view; the strip stays enabled for its bar.
  bool InputEnabled() const {
    return m_window->menuBar()->isEnabled() && m_window->Panel()->isEnabled() &&
           m_window->TraceView()->isEnabled();
  }
  // The busy rules while a run goes on, then its end: the dialog deleted with
  // its log line, the window enabled again, the bar gone.
  void ExpectRunThenEnd(SectionToolDialog* d, QPushButton* button, const char* busyText,
                        const char* resource) {
    EXPECT_EQ(button->text(), busyText);
    EXPECT_FALSE(button->isEnabled());
    EXPECT_FALSE(d->HasCloseBox());
    EXPECT_TRUE(m_window->Busy());
    EXPECT_FALSE(m_window->TraceView()->isEnabled());
    EXPECT_FALSE(m_window->StatusStrip()->ProgressBar()->isHidden());
    EXPECT_TRUE(m_window->StatusStrip()->ProgressBar()->isEnabled());
    EXPECT_FALSE(d->close());         // no closing while it runs
    EXPECT_FALSE(m_window->close());  // nor the main window
    EXPECT_TRUE(
        QTest::qWaitFor([&] { return m_window->SectionTool() == nullptr && !m_window->Busy(); }, 20000));
    EXPECT_TRUE(ConsoleHas(std::string("main: deleting ") + resource));
    EXPECT_TRUE(InputEnabled());
    EXPECT_TRUE(m_window->TraceView()->isEnabled());
    EXPECT_TRUE(m_window->StatusStrip()->ProgressBar()->isHidden());
    EXPECT_EQ(m_window->TraceView()->SampleCount(), m_ws.Section()->Summary().maxSamples);
  }
  std::unique_ptr<SeismicSection> Copy() const {
    auto s = std::make_unique<SeismicSection>();
    LoadParams p;
    EXPECT_EQ(LoadFileList(*s, {m_path}, p), 0);
    s->Scan();
    return s;
  }
  void ExpectSectionEquals(const SeismicSection& ref) const {
    const SeismicSection& s = *m_ws.Section();
    ASSERT_EQ(s.Count(), ref.Count());
    for (int t = 0; t < s.Count(); ++t) {
      ASSERT_EQ(s.Trace(t)->NS, ref.Trace(t)->NS) << t;
      ASSERT_EQ(s.Trace(t)->DT, ref.Trace(t)->DT) << t;
      ASSERT_EQ(s.Trace(t)->DELAY, ref.Trace(t)->DELAY) << t;
      for (int i = 0; i < s.Trace(t)->NS; ++i)
        ASSERT_EQ(s.Trace(t)->Samples()[i], ref.Trace(t)->Samples()[i]) << t << "," << i;
    }
  }

  GuiTestFiles m_files;
  std::string m_path;
  Workspace m_ws;
  ConsoleWidget m_console;
  std::unique_ptr<MainWindow> m_window;
};
}  // namespace

TEST_F(SectionToolDialogs, ResampleMatchesTheCoreAndHandsTheSectionBack) {
  auto* d = Open<ResampleDialog>(kCmdResample);
  ASSERT_NE(d, nullptr);
  EXPECT_EQ(d->windowTitle(), " Resample Traces");
  EXPECT_EQ(d->CurrentField()->text(), "2");
  EXPECT_EQ(d->NewField()->text(), "");
  EXPECT_FALSE(InputEnabled());
  d->NewField()->setText("3");
  QTest::mouseClick(d->ResampleButton(), Qt::LeftButton);
  ExpectRunThenEnd(d, d->ResampleButton(), "resampling ...", "IDD_TRACE_RESAMPLE");

  auto ref = Copy();
  ASSERT_EQ(ResampleSection(*ref, 0.003, 1, Settings().numThreads), 0);
  ExpectSectionEquals(*ref);
  // The next opening shows the new interval twice.
  auto* again = Open<ResampleDialog>(kCmdResample);
  ASSERT_NE(again, nullptr);
  EXPECT_EQ(again->CurrentField()->text(), "3");
  EXPECT_EQ(again->NewField()->text(), "3");
  again->close();
  EXPECT_EQ(m_window->SectionTool(), nullptr);
}

TEST_F(SectionToolDialogs, ShiftMatchesTheCoreAndKeepsItsSettings) {
  auto* d = Open<ShiftDialog>(kCmdShiftTraces);
  ASSERT_NE(d, nullptr);
  EXPECT_EQ(d->windowTitle(), " Time Shift All Traces");
  EXPECT_EQ(d->ShiftField()->text(), "");
  EXPECT_EQ(d->TaperField()->text(), "8");
  EXPECT_TRUE(d->DelrtButton(1)->isChecked());
  EXPECT_TRUE(d->KeepLengthBox()->isChecked());
  d->ShiftField()->setText("10.5");
  d->DelrtButton(2)->setChecked(true);
  d->TaperField()->setText("2");
  d->KeepLengthBox()->setChecked(false);
  QTest::mouseClick(d->OkButton(), Qt::LeftButton);
  EXPECT_EQ(d->TaperField()->text(), "4");
  ExpectRunThenEnd(d, d->OkButton(), "shifting ...", "IDD_SHIFT_TRACES");

  ShiftSettings set;
  set.shiftTime = 0.0105;
  set.delrtMode = kDelrtFollowsShift;
  set.taper = 4;
  set.keepLength = 0;
  auto ref = Copy();
  ASSERT_EQ(ShiftSection(*ref, set, Settings().numThreads), 0);
  ExpectSectionEquals(*ref);
  EXPECT_EQ(m_ws.Section()->Trace(0)->NS, 106);  // 101 samples grown by 5

  auto* again = Open<ShiftDialog>(kCmdShiftTraces);
  ASSERT_NE(again, nullptr);
  EXPECT_EQ(again->ShiftField()->text(), "10.5");
  EXPECT_EQ(again->TaperField()->text(), "4");
  EXPECT_TRUE(again->DelrtButton(2)->isChecked());
  EXPECT_FALSE(again->KeepLengthBox()->isChecked());
  again->close();
}

TEST_F(SectionToolDialogs, BadFieldsFlashAndChangeNothing) {
  const TraceRecord* first = m_ws.Section()->Trace(0);
  const float sample = first->Samples()[50];
  auto* r = Open<ResampleDialog>(kCmdResample);
  ASSERT_NE(r, nullptr);
  for (const char* bad : {"0", "-2", "abc", ""}) {
    r->NewField()->setText(bad);
    r->Resample();
  }
  EXPECT_EQ(g_beeps, 4);
  EXPECT_EQ(r->ResampleButton()->text(), "Resample");
  EXPECT_TRUE(r->HasCloseBox());
  EXPECT_EQ(m_ws.Resampling().newInterval, DBLE_UNDEF);
  EXPECT_FALSE(m_window->Busy());
  r->close();
  EXPECT_TRUE(ConsoleHas("main: deleting IDD_TRACE_RESAMPLE"));
  EXPECT_TRUE(InputEnabled());

  auto* s = Open<ShiftDialog>(kCmdShiftTraces);
  ASSERT_NE(s, nullptr);
  // A shift of 0 is refused unless DELRT is reset; the choices are taken anyway.
  s->DelrtButton(2)->setChecked(true);
  s->KeepLengthBox()->setChecked(false);
  s->TaperField()->setText("2");
  for (const char* bad : {"abc", "0", ""}) {
    s->ShiftField()->setText(bad);
    s->Apply();
  }
  EXPECT_EQ(g_beeps, 7);
  EXPECT_EQ(m_ws.Shifting().delrtMode, kDelrtFollowsShift);
  EXPECT_EQ(m_ws.Shifting().keepLength, 0);
  EXPECT_EQ(m_ws.Shifting().taper, 8);
  EXPECT_EQ(m_ws.Shifting().shiftTime, 0.0);
  EXPECT_EQ(s->TaperField()->text(), "2");
  EXPECT_EQ(s->OkButton()->text(), "OK");
  s->close();
  EXPECT_EQ(m_ws.Section()->Trace(0), first);
  EXPECT_EQ(first->Samples()[50], sample);
}
