// The process-wide log: levels and threshold, the console store behind it, the log
// file with pause and resume, LogSystemError, LogBlankLines, the hooks and the standard-error echo.
// ConsoleClose is final for the process, so the test that closes the log runs in a child process
// (LogCloseTest.cpp); everything here leaves the log open.
#include <gtest/gtest.h>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "log/ConsoleLineStore.h"
#include "log/Log.h"
#include "log/LogErrorCount.h"
#include "support/TempDir.h"

namespace {
std::atomic<int> g_raises{0};
void CountRaise() {
  ++g_raises;
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

std::vector<std::string> ConsoleLines() {
  std::vector<std::string> out;
  EXPECT_TRUE(ConsoleAccess([&out](ConsoleLineStore& s) {
    for (const auto& l : s.Lines()) out.push_back(Utf16ToUtf8(l));
  }));
  return out;
}

std::vector<std::string> VisibleConsoleLines() {
  std::vector<std::string> out;
  EXPECT_TRUE(ConsoleAccess([&out](ConsoleLineStore& s) {
    for (const auto& l : s.VisibleLines()) out.push_back(Utf16ToUtf8(l));
  }));
  return out;
}

using Lines = std::vector<std::string>;

class LogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_FALSE(LogIsClosed());
    ASSERT_EQ(ConsoleOpen(), 0);
    ASSERT_TRUE(ConsoleIsOpen());
    LogFileClose();
    LogSetThreshold(kLogDefaultThreshold);
    LogSetStderrEcho(false);
    ConsoleSetRaiseHook(CountRaise);
    ConsoleSetChangeHook(nullptr);
    g_raises = 0;
    ASSERT_TRUE(ConsoleAccess([](ConsoleLineStore& s) {
      s.Resize(ConsoleLineStore::kDefaultRows, ConsoleLineStore::kDefaultCols);
      s.ClearAll();
    }));
  }
  void TearDown() override {
    LogFileClose();
    ConsoleSetRaiseHook(nullptr);
    ConsoleSetChangeHook(nullptr);
    LogSetThreshold(kLogDefaultThreshold);
  }
  kxtest::TempDir m_dir{"kx_log"};
  std::string m_path = m_dir / "log.txt";
};
}  // namespace

TEST_F(LogTest, ThresholdFiltersConsoleAndFile) {
  ASSERT_TRUE(LogFileOpen(m_path));
  EXPECT_EQ(LogGetThreshold(), 7);
  LogPrint(LogInfo, "info %d", 10);  // 10 > 7: neither shown nor written
  LogPrint(LogStep, "step %d", 7);
  LogPrint(LogAlways, "always");
  LogSetThreshold(LogError);
  LogPrint(LogWarning, "warning");
  LogPrint(LogAlways, "always at 1");
  LogSetThreshold(-5);
  LogPrint(LogAlways, "hidden below zero");
  LogSetThreshold(LogTrace);
  LogPrint(LogTrace, "trace");
  EXPECT_EQ(ConsoleLines(), (Lines{"step 7", "always", "always at 1", "trace"}));
  EXPECT_EQ(ReadFile(m_path), "step 7\nalways\nalways at 1\ntrace\n");
}

TEST_F(LogTest, MultiLineMessageIsOneTextInTheFile) {
  ASSERT_TRUE(LogFileOpen(m_path));
  LogPrint(LogError, "\nERROR: %s", "bad header");
  LogPrint(LogStep, "a\r\nb");
  EXPECT_EQ(ConsoleLines(), (Lines{"", "ERROR: bad header", "a", "b"}));
  EXPECT_EQ(ReadFile(m_path), "\nERROR: bad header\na\r\nb\n");
}

TEST_F(LogTest, PauseKeepsMessagesOutOfTheFileOnly) {
  ASSERT_TRUE(LogFileOpen(m_path));
  EXPECT_TRUE(LogFileIsOpen());
  LogPrint(LogStep, "one");
  LogFilePause(true);
  EXPECT_TRUE(LogFileIsPaused());
  LogPrint(LogStep, "two");
  LogSystemError(0, 0);
  LogBlankLines();
  LogFilePause(false);
  LogPrint(LogStep, "three");
  EXPECT_EQ(ReadFile(m_path), "one\nthree\n");
  EXPECT_EQ(ConsoleLines(), (Lines{"one", "two", "", "", "", "", "three"}));
}

TEST_F(LogTest, SecondFileOpenKeepsTheFirstFile) {
  ASSERT_TRUE(LogFileOpen(m_path));
  std::string other = m_path + ".other";
  EXPECT_TRUE(LogFileOpen(other));
  LogPrint(LogStep, "x");
  EXPECT_EQ(ReadFile(m_path), "x\n");
  EXPECT_FALSE(std::ifstream(other).good());
  LogFileClose();
  EXPECT_FALSE(LogFileIsOpen());
  EXPECT_FALSE(LogFileOpen("/nonexistent-dir-kx/x.log"));
  EXPECT_FALSE(LogFileIsOpen());
}

TEST_F(LogTest, SystemErrorCodeZeroAddsOneEmptyLineAndDoesNotRaise) {
  ASSERT_TRUE(LogFileOpen(m_path));
  LogSystemError(0, 1);
  EXPECT_EQ(ConsoleLines(), (Lines{""}));
  EXPECT_EQ(g_raises, 0);
  EXPECT_EQ(ReadFile(m_path), "\n");
  LogSystemError(-3, 1);
  EXPECT_EQ(ConsoleLines().size(), 2u);
  EXPECT_EQ(g_raises, 0);
}

TEST_F(LogTest, SystemErrorShowsTheTextIgnoringThresholdAndRaises) {
  ASSERT_TRUE(LogFileOpen(m_path));
  LogSetThreshold(-1);
  std::string expected = std::string("       ") + std::strerror(ENOENT);
  LogSystemError(ENOENT, 0);
  EXPECT_EQ(g_raises, 0);
  LogSystemError(ENOENT, 1);
  EXPECT_EQ(g_raises, 1);
  EXPECT_EQ(ConsoleLines(), (Lines{expected, expected}));
  EXPECT_EQ(ReadFile(m_path), expected + "\n" + expected + "\n");
  ConsoleShow();
  EXPECT_EQ(g_raises, 2);
}

TEST_F(LogTest, BlankLinesAreThreeEmptyLinesUnlessThresholdNegative) {
  ASSERT_TRUE(LogFileOpen(m_path));
  LogBlankLines();
  EXPECT_EQ(ConsoleLines(), (Lines{"", "", ""}));
  EXPECT_EQ(ReadFile(m_path), "\n\n\n");
  LogSetThreshold(-1);
  LogBlankLines();
  EXPECT_EQ(ConsoleLines().size(), 3u);
}

TEST_F(LogTest, ClearAllThenMessageShowsOnTheFirstRow) {
  for (int i = 0; i < 200; ++i) LogPrint(LogStep, "filler %d", i);
  ConsoleAccess([](ConsoleLineStore& s) { s.ScrollTo(5); });
  ConsoleClearAll();
  LogPrint(LogStep, "first after clear");
  EXPECT_EQ(VisibleConsoleLines(), (Lines{"first after clear"}));
  ConsoleAccess([](ConsoleLineStore& s) {
    EXPECT_EQ(s.ScrollPosition(), 1);
    EXPECT_EQ(s.FirstVisibleIndex(), 0u);
  });
}

TEST_F(LogTest, LongMessagesCutAt511BytesOnACharacterBoundary) {
  ASSERT_TRUE(LogFileOpen(m_path));
  LogPrint(LogStep, "%s", std::string(600, 'a').c_str());
  LogPrint(LogStep, "%s\xC3\xA9", std::string(510, 'b').c_str());          // é would take bytes 510-511
  LogPrint(LogStep, "%s\xE2\x82\xAC", std::string(509, 'c').c_str());      // € would take 509-511
  LogPrint(LogStep, "%s\xE2\x82\xAC", std::string(508, 'd').c_str());      // € fits at 508-510
  LogPrint(LogStep, "%s\xF0\x9F\x98\x80", std::string(508, 'e').c_str());  // 4 bytes at 508-511
  std::string expected = std::string(511, 'a') + "\n" + std::string(510, 'b') + "\n" + std::string(509, 'c') +
                         "\n" + std::string(508, 'd') + "\xE2\x82\xAC\n" + std::string(508, 'e') + "\n";
  EXPECT_EQ(ReadFile(m_path), expected);
  Lines console = ConsoleLines();
  ASSERT_EQ(console.size(), 5u);
  EXPECT_EQ(console[0], std::string(254, 'a'));  // the console cuts at 254 units
}

TEST_F(LogTest, ChangeHookIsToldUnderTheLockAndMayNotReenter) {
  ASSERT_TRUE(LogFileOpen(m_path));
  std::vector<ConsoleChange> seen;
  bool tryAccessInside = true;
  ConsoleSetChangeHook([&](ConsoleChange what) {
    seen.push_back(what);
    // Inside the hook the lock is held by this thread: access refuses, logging skips the console.
    tryAccessInside = ConsoleTryAccess([](ConsoleLineStore&) {});
    if (seen.size() == 1) LogPrint(LogStep, "from the hook");
  });
  LogPrint(LogStep, "a\nb");
  LogPrint(LogInfo, "filtered");
  ConsoleClearAll();
  ConsoleSetChangeHook(nullptr);
  LogPrint(LogStep, "no hook");
  EXPECT_EQ(seen, (std::vector<ConsoleChange>{ConsoleChange::kLinesAppended, ConsoleChange::kCleared}));
  EXPECT_FALSE(tryAccessInside);
  EXPECT_EQ(ConsoleLines(), (Lines{"no hook"}));
  EXPECT_EQ(ReadFile(m_path), "a\nb\nfrom the hook\nno hook\n");
}

TEST_F(LogTest, TryAccessSkipsWhileAWriterHoldsTheLock) {
  std::atomic<bool> holding{false}, release{false};
  std::thread writer([&] {
    ConsoleAccess([&](ConsoleLineStore&) {
      holding = true;
      while (!release) std::this_thread::yield();
    });
  });
  while (!holding) std::this_thread::yield();
  bool ran = false;
  EXPECT_FALSE(ConsoleTryAccess([&](ConsoleLineStore&) { ran = true; }));
  EXPECT_FALSE(ran);
  release = true;
  writer.join();
  EXPECT_TRUE(ConsoleTryAccess([&](ConsoleLineStore&) { ran = true; }));
  EXPECT_TRUE(ran);
}

TEST_F(LogTest, AccessCallbackMayNotLogIntoTheStoreItReads) {
  ASSERT_TRUE(LogFileOpen(m_path));
  EXPECT_TRUE(ConsoleAccess([](ConsoleLineStore&) { LogPrint(LogStep, "inside"); }));
  bool nested = true;
  EXPECT_TRUE(ConsoleAccess([&](ConsoleLineStore&) { nested = ConsoleAccess([](ConsoleLineStore&) {}); }));
  EXPECT_FALSE(nested);
  EXPECT_TRUE(ConsoleLines().empty());
  EXPECT_EQ(ReadFile(m_path), "inside\n");
}

TEST_F(LogTest, SecondConsoleOpenKeepsTheStore) {
  LogPrint(LogStep, "kept");
  LogSetThreshold(LogTrace);
  EXPECT_EQ(ConsoleOpen(), 0);
  EXPECT_EQ(LogGetThreshold(), LogTrace);  // only the first open sets the threshold to 7
  EXPECT_EQ(ConsoleLines(), (Lines{"kept"}));
}

// kxtool's channel: with the echo on, every kept message (and nothing else) reaches standard error.
TEST(LogEchoDeathTest, EchoWritesKeptMessagesToStandardError) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(
      {
        LogSetStderrEcho(true);
        LogPrint(LogStep, "kept %d", 1);
        LogPrint(LogInfo, "dropped");
        LogSystemError(0, 0);
        LogPrint(LogError, "\nERROR: two\nlines");
        std::fflush(stderr);
        std::exit(0);
      },
      ::testing::ExitedWithCode(0), "^kept 1\n\n\nERROR: two\nlines\n$");
}

// kxtool's exit status 3 rests on this count: error reports only, shown or not.
TEST_F(LogTest, ErrorCountCountsErrorReportsWhateverTheThreshold) {
  struct Case {
    int threshold, level;
    const char* text;
    long long counted;
  } cases[] = {
      {7, LogError, "\nERROR: Failed to read trace data", 1},
      {0, LogError, "\n\nERROR: malloc failure", 1},  // below the threshold: still counted
      {-1, LogError, "ERROR: no leading break", 1},
      {7, LogError, "Total load & display time", 0},  // level 1 without ERROR is a note
      {7, LogWarning, "WARNING: 3 non-finite samples", 0},
      {7, LogAlways, "ERROR shown in a dump", 0},
  };
  for (const Case& c : cases) {
    LogSetThreshold(c.threshold);
    long long before = LogErrorCount();
    LogPrint(c.level, "%s", c.text);
    EXPECT_EQ(LogErrorCount() - before, c.counted) << c.text;
  }
}

TEST_F(LogTest, HeldMessagesWaitForReleaseAndAreDroppedOtherwise) {
  ASSERT_TRUE(LogFileOpen(m_path));
  for (bool release : {false, true}) {
    SCOPED_TRACE(release);
    ConsoleClearAll();
    const long long before = LogErrorCount();
    {
      LogHold hold;
      LogPrint(LogError, "\nERROR: held %d", 1);
      LogPrint(LogInfo, "below the threshold");
      LogSystemError(ENOENT, 1);
      {
        LogHold inner;  // holds nothing of its own: the outer one keeps it
        LogPrint(LogWarning, "WARNING: inner");
      }
      // Another thread's messages pass.
      std::thread([] { LogPrint(LogStep, "other thread"); }).join();
      EXPECT_EQ(ConsoleLines(), (Lines{"other thread"}));
      EXPECT_EQ(LogErrorCount(), before);
      EXPECT_EQ(g_raises, 0);
      ASSERT_EQ(hold.Messages().size(), 3u);
      EXPECT_EQ(hold.Messages()[2].text, "WARNING: inner");
      if (release) hold.Release();
      LogPrint(LogStep, "after");  // released: passes at once
    }
    const std::string system = std::string("       ") + std::strerror(ENOENT);
    if (release) {
      EXPECT_EQ(ConsoleLines(),
                (Lines{"other thread", "", "ERROR: held 1", system, "WARNING: inner", "after"}));
      EXPECT_EQ(LogErrorCount(), before + 1);
    } else {
      EXPECT_EQ(ConsoleLines(), (Lines{"other thread"}));
      EXPECT_EQ(LogErrorCount(), before);
    }
    EXPECT_EQ(g_raises, 0);
  }
}
