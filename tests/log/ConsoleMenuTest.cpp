// The console context menu as data: identifiers, order, the greyed level item, the file item.
#include <gtest/gtest.h>

#include <string>

#include "log/ConsoleLineStore.h"
#include "log/ConsoleMenu.h"
#include "log/Log.h"

TEST(ConsoleMenu, ItemsInOrderWithTheCurrentLevelGreyed) {
  auto items = ConsoleMenuItems(LogStep, false, false);
  ASSERT_EQ(items.size(), 8u);
  const int ids[] = {32700, 32701, 32702, 32705, 32706, 32707, 32708, 32720};
  const char* labels[] = {"Clear All",  "level Trace",   "level Debug", "level Info",
                          "level Step", "level Warning", "level Error", "Log to File"};
  for (std::size_t i = 0; i < items.size(); ++i) {
    EXPECT_EQ(items[i].id, ids[i]);
    EXPECT_EQ(std::string(items[i].label), labels[i]);
    EXPECT_EQ(items[i].enabled, items[i].id != kConsoleMenuLevelStep) << labels[i];
  }
}

TEST(ConsoleMenu, DisabledLevelItemAndFileItem) {
  EXPECT_EQ(ConsoleMenuDisabledLevelItem(16), kConsoleMenuLevelTrace);
  EXPECT_EQ(ConsoleMenuDisabledLevelItem(13), kConsoleMenuLevelDebug);
  EXPECT_EQ(ConsoleMenuDisabledLevelItem(10), kConsoleMenuLevelInfo);
  EXPECT_EQ(ConsoleMenuDisabledLevelItem(7), kConsoleMenuLevelStep);
  EXPECT_EQ(ConsoleMenuDisabledLevelItem(4), kConsoleMenuLevelWarning);
  EXPECT_EQ(ConsoleMenuDisabledLevelItem(1), kConsoleMenuLevelError);
  for (int t : {-1, 0, 2, 8, 20}) {
    EXPECT_EQ(ConsoleMenuDisabledLevelItem(t), 0) << t;
    for (const auto& item : ConsoleMenuItems(t, false, false)) EXPECT_TRUE(item.enabled) << t;
  }
  EXPECT_EQ(ConsoleMenuFileItem(false, false), kConsoleMenuLogToFile);
  EXPECT_EQ(ConsoleMenuFileItem(false, true), kConsoleMenuLogToFile);
  EXPECT_EQ(ConsoleMenuFileItem(true, false), kConsoleMenuPauseLog);
  EXPECT_EQ(ConsoleMenuFileItem(true, true), kConsoleMenuResumeLog);
  EXPECT_EQ(std::string(ConsoleMenuItems(7, true, false).back().label), "Pause Log");
  EXPECT_EQ(std::string(ConsoleMenuItems(7, true, true).back().label), "Resume Log");
}

TEST(ConsoleMenu, ExecuteSetsLevelsPausesAndClears) {
  ASSERT_EQ(ConsoleOpen(), 0);
  EXPECT_TRUE(ConsoleMenuExecute(kConsoleMenuLevelDebug));
  EXPECT_EQ(LogGetThreshold(), 13);
  EXPECT_TRUE(ConsoleMenuExecute(kConsoleMenuLevelError));
  EXPECT_EQ(LogGetThreshold(), 1);
  EXPECT_TRUE(ConsoleMenuExecute(kConsoleMenuPauseLog));
  EXPECT_TRUE(LogFileIsPaused());
  EXPECT_TRUE(ConsoleMenuExecute(kConsoleMenuResumeLog));
  EXPECT_FALSE(LogFileIsPaused());
  LogPrint(LogAlways, "x");
  EXPECT_TRUE(ConsoleMenuExecute(kConsoleMenuClearAll));
  int count = -1;
  ConsoleAccess([&count](ConsoleLineStore& s) { count = s.LineCount(); });
  EXPECT_EQ(count, 0);
  EXPECT_FALSE(ConsoleMenuExecute(kConsoleMenuLogToFile));  // the widget asks for a file name
  EXPECT_FALSE(ConsoleMenuExecute(12345));
  EXPECT_EQ(ConsoleMenuLevel(kConsoleMenuLevelInfo), 10);
  EXPECT_EQ(ConsoleMenuLevel(kConsoleMenuClearAll), -1);
  LogSetThreshold(kLogDefaultThreshold);
}
