// The main window's trace view and settings panel as the window changes size
// or the panel collapses: the view keeps its place among the traces and never
// shows blank space past the last trace while earlier ones are hidden, every
// panel tab stays in sight, and a small window keeps a usable view.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTabWidget>
#include <QTest>

#include "GuiTestFiles.h"
#include "app/SettingsFile.h"
#include "app/Workspace.h"
#include "gui/console/ConsoleWidget.h"
#include "gui/mainwindow/MainWindow.h"
#include "gui/mainwindow/Startup.h"
#include "gui/settings/DisplaySettingsPage.h"
#include "gui/settings/SettingsPanel.h"
#include "gui/settings/WrapTabBar.h"
#include "gui/traceview/TraceViewWidget.h"

namespace {

const QRect kScreen(0, 0, 1600, 1000);
constexpr int kTraces = 600;

class ViewLayoutTest : public ::testing::Test {
 protected:
  // The window at the settings file's default placement, a file loaded.
  std::unique_ptr<MainWindow> Start(int traces = kTraces) {
    const QString file = QString::fromStdString(m_files.Segy("layout.sgy", traces));
    auto w = StartMainWindow(m_ws, &m_console, SettingsFileValues{}, {"kestrix", file}, kScreen);
    EXPECT_TRUE(QTest::qWaitForWindowExposed(w.get()));
    Settle();
    return w;
  }
  static void Settle() {
    for (int i = 0; i < 3; ++i) QApplication::processEvents();
  }
  static void Resize(MainWindow& w, int width, int height) {
    w.resize(width, height);
    Settle();
  }
  static int First(MainWindow& w) { return w.TraceView()->Params().m_firstTrace; }
  static int PerPage(MainWindow& w) { return w.TraceView()->Plotter().TracesPerPage(); }
  // Every tab wholly inside the bar, and the bar inside the panel.
  static void ExpectAllTabsInSight(MainWindow& w, const char* where) {
    SettingsPanel* panel = w.Panel();
    WrapTabBar* bar = panel->TabBar();
    ASSERT_TRUE(bar->isVisible()) << where;
    EXPECT_TRUE(panel->rect().contains(QRect(bar->mapTo(panel, QPoint(0, 0)), bar->size()))) << where;
    ASSERT_EQ(panel->Tabs()->count(), 5) << where;
    for (int i = 0; i < 5; ++i) {
      const QRect r = bar->TabRect(i);
      EXPECT_FALSE(r.isEmpty()) << where << " tab " << i;
      EXPECT_TRUE(bar->rect().contains(r)) << where << " tab " << i;
      EXPECT_EQ(bar->TabAt(r.center()), i) << where << " tab " << i;
    }
  }

  Workspace m_ws;
  ConsoleWidget m_console;
  GuiTestFiles m_files;
};

}  // namespace

TEST_F(ViewLayoutTest, WideningAtTheEndShowsEarlierTracesAndNarrowingKeepsThePlace) {
  auto w = Start();
  TraceViewWidget* view = w->TraceView();
  view->Params().m_pixPerTrace = 3.0;
  view->RefreshDisplay();
  view->setFocus();
  QTest::keyClick(view, Qt::Key_End);
  const int atEnd = First(*w);
  ASSERT_GT(atEnd, 0);
  ASSERT_EQ(atEnd + PerPage(*w), kTraces);

  // Collapsing the panel widens the view: the page still ends at the last
  // trace, so earlier traces come into sight instead of blank space.
  w->Panel()->CollapseButton()->click();
  Settle();
  const int widened = First(*w);
  EXPECT_LT(widened, atEnd);
  EXPECT_EQ(widened + PerPage(*w), kTraces);
  EXPECT_EQ(view->HorizontalBar()->value(), widened);
  // The rightmost plot columns hold the last trace, not background.
  EXPECT_EQ(view->Plotter().TraceAtColumn(view->Plotter().ClientWidth() - 2), kTraces - 1);

  // Expanding narrows it again: back to the page it showed before.
  w->Panel()->CollapseButton()->click();
  Settle();
  EXPECT_EQ(First(*w), atEnd);
  EXPECT_EQ(view->HorizontalBar()->value(), atEnd);

  // In the middle of the section, narrowing and widening the window keep it.
  QTest::keyClick(view, Qt::Key_Home);
  for (int i = 0; i < 7; ++i) QTest::keyClick(view, Qt::Key_Right, Qt::ShiftModifier);
  ASSERT_EQ(First(*w), 70);
  const QSize size = w->size();
  Resize(*w, 600, size.height());
  EXPECT_EQ(First(*w), 70);
  Resize(*w, size.width() + 300, size.height());
  EXPECT_EQ(First(*w), 70);
  Resize(*w, size.width(), size.height());
  EXPECT_EQ(First(*w), 70);
}

TEST_F(ViewLayoutTest, EveryPanelTabIsInSightAndAnswersAClick) {
  auto w = Start(40);
  EXPECT_EQ(w->size(), QSize(SettingsFileValues{}.wndW, SettingsFileValues{}.wndH));
  ExpectAllTabsInSight(*w, "default size");
  WrapTabBar* bar = w->Panel()->TabBar();
  QTabWidget* tabs = w->Panel()->Tabs();
  for (int i : {4, 3, 0}) {
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->TabRect(i).center());
    EXPECT_EQ(tabs->currentIndex(), i);
  }
  // The detached page's tab goes and comes back in its place.
  w->Panel()->DetachDisplayPage();
  EXPECT_TRUE(bar->TabRect(4).isEmpty());
  EXPECT_EQ(bar->TabAt(bar->TabRect(0).center()), 0);
  w->Panel()->AttachDisplayPage();
  ExpectAllTabsInSight(*w, "attached again");
}

TEST_F(ViewLayoutTest, SmallestWindowKeepsAUsableViewAndScrollsThePanel) {
  auto w = Start();
  const int expanded = w->Panel()->width();
  Resize(*w, MainWindow::kMinWidth, MainWindow::kMinHeight);
  ASSERT_EQ(w->size(), QSize(MainWindow::kMinWidth, MainWindow::kMinHeight));
  TraceViewWidget* view = w->TraceView();
  EXPECT_GE(view->width(), MainWindow::kMinWidth - SettingsPanel::kMinPanelWidth);
  EXPECT_GE(view->Plotter().Geometry().plotWidth, 100);
  EXPECT_LT(w->Panel()->width(), expanded);
  EXPECT_GE(w->Panel()->width(), SettingsPanel::kMinPanelWidth);
  ExpectAllTabsInSight(*w, "smallest window");
  // The display page scrolls rather than squeezing its controls.
  auto* area = w->Panel()->DisplayPage()->findChild<QScrollArea*>();
  ASSERT_NE(area, nullptr);
  EXPECT_GT(area->verticalScrollBar()->maximum(), 0);
  EXPECT_GE(area->widget()->height(), area->widget()->minimumSizeHint().height());

  // Back to the default size the panel has its full width again.
  Resize(*w, SettingsFileValues{}.wndW, SettingsFileValues{}.wndH);
  EXPECT_EQ(w->Panel()->width(), expanded);
}
