// Several threads log at once while the console store wraps many times and a "widget" thread
// paints and scrolls through ConsoleTryAccess. The store must stay consistent (walked forwards
// and backwards), every message must stay whole and in its thread's order, and the log file must
// hold every message exactly once.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <fstream>
#include <map>
#include <random>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "log/ConsoleLineStore.h"
#include "log/Log.h"
#include "support/TempDir.h"

namespace {
constexpr int kWriters = 4;
constexpr int kMessagesPerWriter = 3000;

// Message m of thread t: "T<t> <m> a <padding>" and, for odd m, a second line "T<t> <m> b". The
// padding makes some first lines longer than 254 units (cut in the console, whole in the file).
std::string Message(int t, int m) {
  std::string text = "T" + std::to_string(t) + " " + std::to_string(m) + " a ";
  text.append(static_cast<std::size_t>((m * 37 + t * 11) % 300), static_cast<char>('a' + t));
  if (m % 2 == 1) text += "\nT" + std::to_string(t) + " " + std::to_string(m) + " b";
  return text;
}

struct Parsed {
  int thread = -1;
  int message = -1;
  char part = '?';
};
Parsed Parse(const std::string& line) {
  Parsed p;
  char part = 0;
  if (std::sscanf(line.c_str(), "T%d %d %c", &p.thread, &p.message, &part) == 3) p.part = part;
  return p;
}
}  // namespace

TEST(LogConcurrency, ThreadsLogWhileTheStoreWrapsAndTheWidgetReads) {
  ASSERT_EQ(ConsoleOpen(), 0);
  LogSetThreshold(kLogDefaultThreshold);
  ConsoleClearAll();
  ConsoleAccess([](ConsoleLineStore& s) { s.Resize(40, 80); });
  kxtest::TempDir dir("kx_log_concurrency");
  std::string path = dir / "log.txt";
  LogFileClose();
  ASSERT_TRUE(LogFileOpen(path));
  std::atomic<int> notified{0};
  ConsoleSetChangeHook([&notified](ConsoleChange) { notified.fetch_add(1, std::memory_order_relaxed); });

  std::atomic<bool> done{false};
  std::atomic<int> paints{0}, skipped{0}, invalid{0};
  std::string firstProblem;
  std::thread widget([&] {
    std::mt19937 rng(7);
    while (!done.load()) {
      bool ran = ConsoleTryAccess([&](ConsoleLineStore& s) {
        std::string why;
        if (!s.Validate(&why)) {
          if (invalid++ == 0) firstProblem = why;
        }
        std::size_t units = 0;
        s.ForEachVisibleLine([&units](int, std::u16string_view text) { units += text.size(); });
        switch (rng() % 6) {
          case 0:
            s.ScrollTo(static_cast<int>(rng() % 2000));
            break;
          case 1:
            s.Wheel(static_cast<int>(rng() % 5) - 2, rng() % 2 == 0);
            break;
          case 2:
            s.PageDown();
            break;
          case 3:
            s.Resize(20 + static_cast<int>(rng() % 40), 80);
            break;
          default:
            break;
        }
      });
      ++(ran ? paints : skipped);
      std::this_thread::yield();
    }
  });

  std::vector<std::thread> writers;
  for (int t = 0; t < kWriters; ++t) {
    writers.emplace_back([t] {
      for (int m = 0; m < kMessagesPerWriter; ++m) {
        LogPrint(LogStep, "%s", Message(t, m).c_str());
        LogPrint(LogInfo, "filtered T%d %d", t, m);  // above the threshold: never stored
      }
    });
  }
  for (auto& w : writers) w.join();
  done = true;
  widget.join();
  ConsoleSetChangeHook(nullptr);
  LogFileClose();

  EXPECT_EQ(invalid.load(), 0) << firstProblem;
  EXPECT_GT(paints.load(), 0);
  EXPECT_EQ(notified.load(), kWriters * kMessagesPerWriter);

  // The store after the storm: consistent, much wrapped, each thread's lines whole, in order and
  // without gaps (only the oldest lines are ever dropped), the two lines of a message adjacent.
  std::vector<std::string> lines;
  ASSERT_TRUE(ConsoleAccess([&lines](ConsoleLineStore& s) {
    std::string why;
    EXPECT_TRUE(s.Validate(&why)) << why;
    for (const auto& l : s.Lines()) lines.push_back(Utf16ToUtf8(l));
    s.Resize(ConsoleLineStore::kDefaultRows, ConsoleLineStore::kDefaultCols);
  }));
  ASSERT_GT(lines.size(), 1000u);
  // The messages took several times the store's capacity: it wrapped again and again.
  std::size_t unitsLogged = 0;
  for (int t = 0; t < kWriters; ++t)
    for (int m = 0; m < kMessagesPerWriter; ++m)
      unitsLogged += std::min<std::size_t>(Message(t, m).size(), 256) + 2;
  EXPECT_GT(unitsLogged, 5 * ConsoleLineStore::kCapacity);
  std::map<int, int> lastMessage;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    Parsed p = Parse(lines[i]);
    ASSERT_TRUE(p.thread >= 0 && p.thread < kWriters && (p.part == 'a' || p.part == 'b')) << lines[i];
    std::string whole = Message(p.thread, p.message);
    std::string expected = p.part == 'a' ? whole.substr(0, std::min<std::size_t>(whole.find('\n'), 254))
                                         : whole.substr(whole.find('\n') + 1);
    ASSERT_EQ(lines[i], expected);
    if (p.part == 'b' && i > 0) {
      ASSERT_EQ(lines[i - 1].substr(0, lines[i - 1].find(" a ")), lines[i].substr(0, lines[i].find(" b")));
    }
    if (p.part == 'a') {
      auto it = lastMessage.find(p.thread);
      if (it != lastMessage.end()) {
        ASSERT_EQ(p.message, it->second + 1) << lines[i];
      }
      lastMessage[p.thread] = p.message;
    }
  }

  // The file: every message exactly once, whole (not cut at 254), in each thread's order.
  std::ifstream in(path);
  std::string line;
  std::map<int, int> next;
  int fileLines = 0;
  while (std::getline(in, line)) {
    ++fileLines;
    Parsed p = Parse(line);
    ASSERT_TRUE(p.thread >= 0 && p.thread < kWriters) << line;
    std::string whole = Message(p.thread, p.message);
    if (p.part == 'a') {
      ASSERT_EQ(p.message, next[p.thread]) << line;
      ASSERT_EQ(line, whole.substr(0, whole.find('\n')));
      if (p.message % 2 == 1) {
        ASSERT_TRUE(std::getline(in, line));  // the second line follows at once
        ++fileLines;
        ASSERT_EQ(line, whole.substr(whole.find('\n') + 1));
      }
      ++next[p.thread];
    } else {
      FAIL() << "second line out of place: " << line;
    }
  }
  EXPECT_EQ(fileLines, kWriters * kMessagesPerWriter * 3 / 2);
  for (int t = 0; t < kWriters; ++t) EXPECT_EQ(next[t], kMessagesPerWriter);
}

// Clear All, resizes and scrolls from several threads while others log: only consistency counts.
TEST(LogConcurrency, ClearAllAndScrollingRaceWithWriters) {
  ASSERT_EQ(ConsoleOpen(), 0);
  LogSetThreshold(kLogDefaultThreshold);
  std::atomic<bool> done{false};
  std::atomic<int> invalid{0};
  std::vector<std::thread> threads;
  for (int t = 0; t < 3; ++t) {
    threads.emplace_back([t] {
      for (int m = 0; m < 4000; ++m) LogPrint(LogStep, "w%d %d %s", t, m, std::string(m % 200, 'x').c_str());
    });
  }
  threads.emplace_back([&] {
    std::mt19937 rng(3);
    while (!done.load()) {
      if (rng() % 50 == 0) ConsoleClearAll();
      ConsoleAccess([&](ConsoleLineStore& s) {
        if (!s.Validate()) ++invalid;
        s.ScrollTo(static_cast<int>(rng() % 500));
        if (rng() % 10 == 0) s.Resize(1 + static_cast<int>(rng() % 60), 80);
      });
    }
  });
  for (int t = 0; t < 3; ++t) threads[static_cast<std::size_t>(t)].join();
  done = true;
  threads.back().join();
  EXPECT_EQ(invalid.load(), 0);
  ConsoleAccess([](ConsoleLineStore& s) {
    std::string why;
    EXPECT_TRUE(s.Validate(&why)) << why;
    s.Resize(ConsoleLineStore::kDefaultRows, ConsoleLineStore::kDefaultCols);
  });
  ConsoleClearAll();
}
