#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QScrollBar>
#include <QTest>
#include <QWheelEvent>
#include <filesystem>
#include <thread>

#include "gui/console/ConsoleWidget.h"
#include "gui/mainwindow/ScreenFit.h"
#include "log/ConsoleLineStore.h"
#include "log/ConsoleMenu.h"
#include "log/Log.h"
#include "support/TempDir.h"

namespace {
struct MenuState {
  QStringList labels;
  QStringList disabled;
};

MenuState Menu(ConsoleWidget& w) {
  std::unique_ptr<QMenu> menu(w.BuildContextMenu(nullptr));
  MenuState s;
  for (QAction* a : menu->actions()) {
    if (a->isSeparator()) continue;
    s.labels << a->text();
    if (!a->isEnabled()) s.disabled << a->text();
  }
  return s;
}

class ConsoleWidgetTest : public ::testing::Test {
 protected:
  void SetUp() override { m_threshold = LogGetThreshold(); }
  void TearDown() override {
    LogSetThreshold(m_threshold);
    LogFileClose();
  }
  int m_threshold = 7;
};
}  // namespace

TEST_F(ConsoleWidgetTest, ContextMenuGreysTheCurrentLevel) {
  ConsoleWidget w;
  LogSetThreshold(LogStep);
  MenuState s = Menu(w);
  EXPECT_EQ(s.labels, (QStringList{"Clear All", "level Trace", "level Debug", "level Info", "level Step",
                                   "level Warning", "level Error", "Log to File"}));
  EXPECT_EQ(s.disabled, QStringList{"level Step"});
  LogSetThreshold(LogTrace);
  EXPECT_EQ(Menu(w).disabled, QStringList{"level Trace"});
  LogSetThreshold(5);  // none of the six
  EXPECT_TRUE(Menu(w).disabled.isEmpty());

  w.RunMenuCommand(kConsoleMenuLevelInfo);
  EXPECT_EQ(LogGetThreshold(), LogInfo);
  EXPECT_EQ(Menu(w).disabled, QStringList{"level Info"});
  w.RunMenuCommand(kConsoleMenuLevelError);
  EXPECT_EQ(LogGetThreshold(), LogError);
}

TEST_F(ConsoleWidgetTest, FileItemFollowsTheLogFileState) {
  ConsoleWidget w;
  kxtest::TempDir dir("kx_console");
  ASSERT_TRUE(LogFileOpen(dir / "log.txt"));
  EXPECT_EQ(Menu(w).labels.last(), "Pause Log");
  w.RunMenuCommand(kConsoleMenuPauseLog);
  EXPECT_TRUE(LogFileIsPaused());
  EXPECT_EQ(Menu(w).labels.last(), "Resume Log");
  w.RunMenuCommand(kConsoleMenuResumeLog);
  EXPECT_FALSE(LogFileIsPaused());
  LogFileClose();
}

TEST_F(ConsoleWidgetTest, ClearAllAndScrollingThroughTheStore) {
  ConsoleWidget w;
  w.resize(400, 10 * w.LineHeight());
  w.show();
  QApplication::processEvents();
  w.RunMenuCommand(kConsoleMenuClearAll);
  LogSetThreshold(LogStep);
  for (int i = 0; i < 50; ++i) LogPrint(LogStep, "line %d", i);
  QApplication::processEvents();
  int rows = 0, pos = 0;
  ConsoleAccess([&](ConsoleLineStore& s) {
    rows = s.Rows();
    pos = s.ScrollPosition();
  });
  EXPECT_EQ(pos, 50 - rows + 1);  // following the tail
  EXPECT_EQ(w.ScrollBar()->value(), pos);
  // The wheel turned forward goes back three lines.
  QWheelEvent wheel(QPointF(10, 10), w.mapToGlobal(QPointF(10, 10)), QPoint(), QPoint(0, 120), Qt::NoButton,
                    Qt::NoModifier, Qt::NoScrollPhase, false);
  QApplication::sendEvent(&w, &wheel);
  ConsoleAccess([&](ConsoleLineStore& s) { EXPECT_EQ(s.ScrollPosition(), pos - 3); });
  EXPECT_EQ(w.ScrollBar()->value(), pos - 3);
  // Page up by the scroll bar moves rows - 1 lines.
  w.ScrollBar()->triggerAction(QAbstractSlider::SliderPageStepSub);
  ConsoleAccess([&](ConsoleLineStore& s) { EXPECT_EQ(s.ScrollPosition(), pos - 3 - (rows - 1)); });
  w.RunMenuCommand(kConsoleMenuClearAll);
  ConsoleAccess([&](ConsoleLineStore& s) { EXPECT_EQ(s.LineCount(), 0); });
}

TEST_F(ConsoleWidgetTest, CloseHidesAndRaiseFromAnotherThreadShows) {
  auto* w = new ConsoleWidget;
  w->InstallRaiseHook();
  w->show();
  QPointer<ConsoleWidget> guard(w);
  w->close();
  EXPECT_TRUE(guard);
  EXPECT_FALSE(w->isVisible());
  std::thread([] { ConsoleRaise(); }).join();
  QApplication::processEvents();
  EXPECT_TRUE(w->isVisible());
  delete w;
  ConsoleRaise();  // no console any more: nothing happens
  QApplication::processEvents();
}

// The console once opened 2,174 px wide on a 1,600 px screen (its width came
// from the widest glyph of a substituted font).
TEST_F(ConsoleWidgetTest, OpensAboutEightyColumnsWideAndInsideTheScreen) {
  ConsoleWidget w;
  QFont font("Courier New");
  font.setStyleHint(QFont::Monospace);
  font.setFixedPitch(true);
  font.setPixelSize(15);
  const int columns = 80 * QFontMetrics(font).averageCharWidth();
  EXPECT_GE(w.width(), columns);
  EXPECT_LE(w.width(), columns + 40);

  const QRect small(0, 0, 1280, 800);
  w.setGeometry(1200, 700, 2174, 900);
  FitInside(&w, small);
  EXPECT_TRUE(small.contains(w.frameGeometry())) << w.frameGeometry().x() << "," << w.frameGeometry().width();
  w.setGeometry(-300, 40, 600, 400);
  FitInside(&w, small);
  EXPECT_EQ(w.geometry(), QRect(0, 40, 600, 400));
}
