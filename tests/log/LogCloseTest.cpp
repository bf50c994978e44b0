// ConsoleClose is final for the whole process, so it runs in a child process (a death test in the
// "threadsafe" style re-executes this binary for just this test) and the other tests keep an open
// log.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include "log/ConsoleLineStore.h"
#include "log/ConsoleMenu.h"
#include "log/Log.h"
#include "support/TempDir.h"

namespace {
int g_raises = 0;
void CountRaise() {
  ++g_raises;
}

// Runs in the child: everything after ConsoleClose must do nothing and not fail. Returns the
// first broken expectation, or an empty string.
std::string CloseAndKeepCalling(const std::string& path) {
  if (ConsoleOpen() != 0) return "ConsoleOpen failed";
  if (!LogFileOpen(path)) return "LogFileOpen failed";
  ConsoleSetRaiseHook(CountRaise);
  int changes = 0;
  ConsoleSetChangeHook([&changes](ConsoleChange) { ++changes; });
  LogSetStderrEcho(true);
  LogPrint(LogStep, "before close");
  ConsoleClose();

  if (!LogIsClosed()) return "not closed";
  if (LogGetThreshold() != kLogClosed) return "threshold is not 20";
  LogPrint(LogAlways, "after close");
  LogPrint(kLogClosed, "level 20 after close");
  LogSystemError(2, 1);
  LogSystemError(0, 1);
  LogBlankLines();
  LogSetThreshold(LogTrace);
  if (LogGetThreshold() != kLogClosed) return "threshold changed after close";
  ConsoleRaise();
  ConsoleShow();
  if (g_raises != 0) return "raise hook called after close";
  ConsoleClearAll();
  ConsoleMenuExecute(kConsoleMenuClearAll);
  ConsoleMenuExecute(kConsoleMenuLevelTrace);
  ConsoleSetChangeHook([&changes](ConsoleChange) { ++changes; });
  if (changes != 1) return "change hook count " + std::to_string(changes);
  if (ConsoleTryAccess([](ConsoleLineStore&) {})) return "try access succeeded after close";
  if (ConsoleAccess([](ConsoleLineStore&) {})) return "access succeeded after close";
  if (ConsoleOpen() != -1) return "console reopened after close";
  if (ConsoleIsOpen()) return "console open after close";
  if (LogFileIsOpen()) return "file still open";
  if (LogFileOpen(path + ".again")) return "file reopened after close";
  LogFilePause(true);
  LogFileClose();
  ConsoleClose();  // a second close is harmless

  std::ifstream in(path);
  std::stringstream ss;
  ss << in.rdbuf();
  if (ss.str() != "before close\n") return "file holds \"" + ss.str() + "\"";
  return "";
}
}  // namespace

TEST(LogCloseDeathTest, AfterConsoleCloseLogCallsDoNothingAndDoNotFail) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(
      {
        std::string broken;
        {  // std::exit below skips the destructors of the block it leaves
          kxtest::TempDir dir("kx_log_close");
          broken = CloseAndKeepCalling(dir / "log.txt");
        }
        if (!broken.empty()) std::fprintf(stderr, "BROKEN: %s\n", broken.c_str());
        std::fflush(stderr);
        std::exit(broken.empty() ? 0 : 1);
      },
      ::testing::ExitedWithCode(0), "^before close\n$");
}
