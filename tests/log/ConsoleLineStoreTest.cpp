// The console line store on its own (no process-wide log): record format, CR/LF splitting, the
// 254-unit cut, wrapping with oldest-line dropping, and the view state.
#include <gtest/gtest.h>

#include <deque>
#include <random>
#include <string>
#include <vector>

#include "log/ConsoleLineStore.h"

namespace {
std::vector<std::string> Utf8Lines(const std::vector<std::u16string>& lines) {
  std::vector<std::string> out;
  for (const auto& l : lines) out.push_back(Utf16ToUtf8(l));
  return out;
}
std::vector<std::string> AllLines(const ConsoleLineStore& s) {
  return Utf8Lines(s.Lines());
}
std::vector<std::string> Visible(const ConsoleLineStore& s) {
  return Utf8Lines(s.VisibleLines());
}

void ExpectValid(const ConsoleLineStore& s) {
  std::string why;
  EXPECT_TRUE(s.Validate(&why)) << why;
}

// A line of exactly `width` characters that starts with its number.
std::string NumberedLine(int n, std::size_t width) {
  std::string s = "line " + std::to_string(n) + " ";
  s.resize(width, '.');
  return s;
}

using Lines = std::vector<std::string>;
}  // namespace

TEST(ConsoleLineStore, RecordIsLengthCharsLength) {
  ConsoleLineStore s;
  EXPECT_EQ(s.Capacity(), 262144u);
  EXPECT_EQ(s.AppendUtf8("abc"), 1);
  const auto& u = s.Units();
  EXPECT_EQ(u[0], 3);
  EXPECT_EQ(u[1], u'a');
  EXPECT_EQ(u[3], u'c');
  EXPECT_EQ(u[4], 3);
  EXPECT_EQ(s.WriteIndex(), 5u);
  s.AppendUtf8("");
  EXPECT_EQ(u[5], 0);
  EXPECT_EQ(u[6], 0);
  EXPECT_EQ(s.NewestIndex(), 5u);
  EXPECT_EQ(s.Prev(5), 0u);
  EXPECT_EQ(s.Next(0), 5u);
  ExpectValid(s);
}

TEST(ConsoleLineStore, CrDroppedAndLfSplits) {
  ConsoleLineStore s;
  EXPECT_EQ(s.AppendUtf8("a\r\nb"), 2);
  EXPECT_EQ(AllLines(s), (Lines{"a", "b"}));
  s.ClearAll();
  EXPECT_EQ(s.AppendUtf8("\n\nX"), 3);
  EXPECT_EQ(AllLines(s), (Lines{"", "", "X"}));
  s.ClearAll();
  EXPECT_EQ(s.AppendUtf8("tail\n"), 2);
  EXPECT_EQ(AllLines(s), (Lines{"tail", ""}));
  s.ClearAll();
  s.AppendUtf8("c\ra\rr");  // CR dropped wherever it stands
  s.AppendUtf8("");         // an empty message is one empty line
  EXPECT_EQ(AllLines(s), (Lines{"car", ""}));
  ExpectValid(s);
}

TEST(ConsoleLineStore, LongLineCutAt254AndNextLineKept) {
  ConsoleLineStore s;
  std::string longLine;
  for (int i = 0; i < 300; ++i) longLine.push_back(static_cast<char>('a' + i % 26));
  EXPECT_EQ(s.AppendUtf8(longLine + "\nnext"), 2);
  Lines lines = AllLines(s);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0], longLine.substr(0, 254));
  EXPECT_EQ(lines[1], "next");
  EXPECT_EQ(s.Units()[0], 254);
  // Exactly 254 is not cut; CRs past the cut do not count.
  s.ClearAll();
  s.AppendUtf8(longLine.substr(0, 254) + "\r\r\n");
  EXPECT_EQ(AllLines(s)[0], longLine.substr(0, 254));
  ExpectValid(s);
}

TEST(ConsoleLineStore, CutNeverSplitsASurrogatePair) {
  ConsoleLineStore s;
  // 253 ASCII units, then U+1F600 (a surrogate pair, units 254 and 255).
  std::string text(253, 'x');
  text +=
      "\xF0\x9F\x98\x80"
      "zz";
  s.AppendUtf8(text);
  std::u16string line = s.Lines()[0];
  EXPECT_EQ(line.size(), 253u);
  EXPECT_EQ(line, std::u16string(253, u'x'));
  // 252 ASCII units and the pair fit exactly.
  s.ClearAll();
  s.AppendUtf8(std::string(252, 'x') +
               "\xF0\x9F\x98\x80"
               "zz");
  line = s.Lines()[0];
  ASSERT_EQ(line.size(), 254u);
  EXPECT_EQ(line[252], 0xD83D);
  EXPECT_EQ(line[253], 0xDE00);
  ExpectValid(s);
}

TEST(ConsoleLineStore, Utf8DecodesToUtf16) {
  EXPECT_EQ(Utf8ToUtf16("A\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80"),
            (std::u16string{u'A', 0xE9, 0x20AC, 0xD83D, 0xDE00}));
  // Invalid bytes, overlong forms, encoded surrogates, truncated sequences and U+FFFF become U+FFFD.
  EXPECT_EQ(Utf8ToUtf16("\xFF"), std::u16string(1, 0xFFFD));
  EXPECT_EQ(Utf8ToUtf16("\xC0\xAF"), std::u16string(2, 0xFFFD));
  EXPECT_EQ(Utf8ToUtf16("\xED\xA0\x80"), std::u16string(3, 0xFFFD));
  EXPECT_EQ(Utf8ToUtf16("a\xE2\x82"), (std::u16string{u'a', 0xFFFD}));
  EXPECT_EQ(Utf8ToUtf16("\xEF\xBF\xBF"), std::u16string(1, 0xFFFD));
  EXPECT_EQ(Utf16ToUtf8(Utf8ToUtf16("Gr\xC3\xBC\xC3\x9F \xF0\x9F\x98\x80")),
            "Gr\xC3\xBC\xC3\x9F \xF0\x9F\x98\x80");
  // The end marker never enters a record's text, even from UTF-16 input.
  ConsoleLineStore s;
  s.AppendText(std::u16string(3, 0xFFFF));
  EXPECT_EQ(s.Lines()[0], std::u16string(3, 0xFFFD));
  ExpectValid(s);
}

// Fill far past 262,144 units with 100-character lines (102-unit records): once the store is full,
// each new line drops exactly the oldest one while the view keeps showing the newest rows.
TEST(ConsoleLineStore, WrapDropsOldestLinesOneByOneWhileFollowingTail) {
  ConsoleLineStore s;
  const int rows = s.Rows();
  const int perStore = static_cast<int>(ConsoleLineStore::kCapacity / 102);  // 2570 records
  int n = 0;
  for (; n < perStore; ++n) s.AppendUtf8(NumberedLine(n, 100));
  EXPECT_EQ(s.LineCount(), perStore);
  EXPECT_EQ(s.OldestIndex(), 0u);
  EXPECT_EQ(AllLines(s).front(), NumberedLine(0, 100));
  for (int k = 0; k < 3 * perStore; ++k, ++n) {
    s.AppendUtf8(NumberedLine(n, 100));
    ASSERT_EQ(s.LineCount(), perStore);
    ASSERT_EQ(Utf16ToUtf8(s.LineAt(s.OldestIndex())), NumberedLine(n - perStore + 1, 100)) << k;
    ASSERT_EQ(s.ScrollPosition(), perStore - rows + 1);
    ASSERT_FALSE(s.ScrolledBack());
    ASSERT_EQ(s.LastVisibleIndex(), s.NewestIndex());
    if (k % 500 == 0 || k < 5) {
      Lines v = Visible(s);
      ASSERT_EQ(v.size(), static_cast<std::size_t>(rows));
      ASSERT_EQ(v.back(), NumberedLine(n, 100));
      ASSERT_EQ(v.front(), NumberedLine(n - rows + 1, 100));
      ExpectValid(s);
    }
  }
  // The array end: 262,144 - 2570 * 102 = 4 units of end marker before the wrap.
  for (std::size_t i = 2570 * 102; i < ConsoleLineStore::kCapacity; ++i) EXPECT_EQ(s.Units()[i], 0xFFFF);
  ExpectValid(s);
}

// Lines of mixed lengths: the marker run at the wrap varies and one long line may drop several.
TEST(ConsoleLineStore, WrapWithMixedLengthsKeepsASuffixOfTheLines) {
  ConsoleLineStore s;
  std::deque<std::string> expected;
  std::mt19937 rng(1234);
  std::size_t units = 0;
  for (int n = 0; n < 20000; ++n) {
    std::string line = NumberedLine(n, 10 + rng() % 245);
    s.AppendUtf8(line);
    expected.push_back(line);
    units += line.size() + 2;
    // Every line still stored is one of the newest, in order; the store stays nearly full.
    while (expected.size() > static_cast<std::size_t>(s.LineCount())) {
      units -= expected.front().size() + 2;
      expected.pop_front();
    }
    if (n % 1000 == 999) {
      ASSERT_EQ(AllLines(s), Lines(expected.begin(), expected.end()));
      if (n > 5000) {
        ASSERT_GT(units, ConsoleLineStore::kCapacity - 2 * 256);
      }
      ExpectValid(s);
    }
  }
}

// With the user scrolled back, new lines do not move the view but the scroll range grows; once
// lines are dropped the scroll position falls by one per dropped line and the same lines stay.
TEST(ConsoleLineStore, ScrolledBackViewStaysWhileRangeGrowsAndPositionFalls) {
  ConsoleLineStore s;
  s.Resize(10, 80);
  int n = 0;
  for (; n < 1000; ++n) s.AppendUtf8(NumberedLine(n, 100));
  EXPECT_FALSE(s.ScrollTo(2000));  // clamped to the last page, where the view already is
  EXPECT_EQ(s.ScrollPosition(), 991);
  EXPECT_FALSE(s.ScrolledBack());
  EXPECT_TRUE(s.ScrollTo(1500 - 1000 + 1));
  EXPECT_EQ(s.ScrollPosition(), 501);
  EXPECT_TRUE(s.ScrolledBack());
  const Lines view = Visible(s);
  ASSERT_EQ(view.size(), 10u);
  EXPECT_EQ(view.front(), NumberedLine(500, 100));

  // Not yet full: the range grows with every line, nothing else moves.
  for (; n < 2570; ++n) {
    s.AppendUtf8(NumberedLine(n, 100));
    ASSERT_EQ(s.ScrollBarState().max, n + 1);
    ASSERT_EQ(s.ScrollPosition(), 501);
  }
  EXPECT_EQ(Visible(s), view);
  // Full: each line drops one, the position falls by one, the visible lines stay.
  for (int k = 1; k <= 400; ++k, ++n) {
    s.AppendUtf8(NumberedLine(n, 100));
    ASSERT_EQ(s.LineCount(), 2570);
    ASSERT_EQ(s.ScrollPosition(), 501 - k);
    ASSERT_TRUE(s.ScrolledBack());
  }
  EXPECT_EQ(Visible(s), view);
  ExpectValid(s);
  // Once the first visible line itself is dropped, the view moves on with the oldest line.
  for (int k = 0; k < 150; ++k, ++n) s.AppendUtf8(NumberedLine(n, 100));
  EXPECT_EQ(s.ScrollPosition(), 1);
  EXPECT_EQ(Visible(s).front(), AllLines(s).front());
  EXPECT_EQ(Visible(s).size(), 10u);
  ExpectValid(s);
  // Scrolling to the end follows the tail again.
  s.ScrollTo(s.LineCount());
  EXPECT_FALSE(s.ScrolledBack());
  s.AppendUtf8("new");
  EXPECT_EQ(Visible(s).back(), "new");
  ExpectValid(s);
}

TEST(ConsoleLineStore, ViewFollowsTailUntilRowsAreFull) {
  ConsoleLineStore s;
  s.Resize(3, 10);
  s.AppendUtf8("1\n2");
  EXPECT_EQ(Visible(s), (Lines{"1", "2"}));
  EXPECT_EQ(s.ScrollPosition(), 1);
  EXPECT_EQ(s.ScrollBarState().max, 3);  // max(count, rows)
  s.AppendUtf8("3\n4\n5");
  EXPECT_EQ(Visible(s), (Lines{"3", "4", "5"}));
  EXPECT_EQ(s.ScrollPosition(), 3);
  auto bar = s.ScrollBarState();
  EXPECT_EQ(bar.min, 1);
  EXPECT_EQ(bar.max, 5);
  EXPECT_EQ(bar.page, 3);
  EXPECT_EQ(bar.pos, 3);
  ExpectValid(s);
}

TEST(ConsoleLineStore, ScrollingLinesPagesAndWheel) {
  ConsoleLineStore s;
  s.Resize(5, 10);
  for (int i = 1; i <= 30; ++i) s.AppendUtf8(std::to_string(i));
  EXPECT_EQ(s.ScrollPosition(), 26);
  EXPECT_FALSE(s.LineDown());  // already at the end
  EXPECT_TRUE(s.LineUp());
  EXPECT_EQ(s.ScrollPosition(), 25);
  EXPECT_TRUE(s.ScrolledBack());
  EXPECT_EQ(Visible(s), (Lines{"25", "26", "27", "28", "29"}));
  EXPECT_TRUE(s.PageUp());  // rows - 1
  EXPECT_EQ(s.ScrollPosition(), 21);
  EXPECT_TRUE(s.Wheel(1, false));  // forward: 3 lines towards older ones
  EXPECT_EQ(s.ScrollPosition(), 18);
  EXPECT_TRUE(s.Wheel(2, true));  // Shift: a page (rows) per notch
  EXPECT_EQ(s.ScrollPosition(), 8);
  EXPECT_TRUE(s.Wheel(-1, false));
  EXPECT_EQ(s.ScrollPosition(), 11);
  EXPECT_TRUE(s.PageDown());
  EXPECT_EQ(s.ScrollPosition(), 15);
  EXPECT_EQ(Visible(s), (Lines{"15", "16", "17", "18", "19"}));
  EXPECT_TRUE(s.ScrollTo(-7));
  EXPECT_EQ(s.ScrollPosition(), 1);
  EXPECT_EQ(Visible(s), (Lines{"1", "2", "3", "4", "5"}));
  EXPECT_TRUE(s.Wheel(-1000000, true));
  EXPECT_EQ(s.ScrollPosition(), 26);
  EXPECT_FALSE(s.ScrolledBack());
  ExpectValid(s);
}

TEST(ConsoleLineStore, ResizeReturnsToTheTail) {
  ConsoleLineStore s;
  s.Resize(4, 10);
  for (int i = 1; i <= 10; ++i) s.AppendUtf8(std::to_string(i));
  s.ScrollTo(2);
  EXPECT_TRUE(s.ScrolledBack());
  s.Resize(3, 20);
  EXPECT_FALSE(s.ScrolledBack());
  EXPECT_EQ(s.ScrollPosition(), 8);
  EXPECT_EQ(Visible(s), (Lines{"8", "9", "10"}));
  s.Resize(50, 0);  // everything fits: from the oldest; columns at least 1
  EXPECT_EQ(s.Cols(), 1);
  EXPECT_EQ(s.ScrollPosition(), 1);
  EXPECT_EQ(Visible(s).size(), 10u);
  s.Resize(-3, 5);
  EXPECT_EQ(s.Rows(), 1);
  EXPECT_EQ(Visible(s), (Lines{"10"}));
  ExpectValid(s);
}

TEST(ConsoleLineStore, ClearAllThenMessageIsOnTheFirstRow) {
  ConsoleLineStore s;
  s.Resize(5, 10);
  for (int i = 0; i < 100; ++i) s.AppendUtf8("x");
  s.ScrollTo(3);
  s.ClearAll();
  EXPECT_EQ(s.LineCount(), 0);
  EXPECT_EQ(s.ScrollPosition(), 1);
  EXPECT_FALSE(s.ScrolledBack());
  EXPECT_EQ(s.ScrollBarState().max, 5);
  EXPECT_TRUE(Visible(s).empty());
  ExpectValid(s);
  s.AppendUtf8("after clear");
  EXPECT_EQ(Visible(s), (Lines{"after clear"}));
  EXPECT_EQ(s.FirstVisibleIndex(), 0u);
  ExpectValid(s);
}

// Random appends, scrolls, resizes and clears on small stores, checked after every step.
TEST(ConsoleLineStore, RandomOperationsKeepTheStoreConsistent) {
  for (std::size_t capacity : {1024u, 1500u, 4099u}) {
    ConsoleLineStore s(capacity);
    std::mt19937 rng(static_cast<unsigned>(capacity));
    std::deque<std::string> expected;
    for (int step = 0; step < 8000; ++step) {
      unsigned op = rng() % 100;
      if (op < 80) {
        std::string text = NumberedLine(step, rng() % 300);
        if (rng() % 4 == 0) text += "\n" + NumberedLine(step, rng() % 40);
        s.AppendUtf8(text);
        std::size_t start = 0;
        for (;;) {
          std::size_t lf = text.find('\n', start);
          expected.push_back(text.substr(start, std::min<std::size_t>(lf - start, 254)));
          if (lf == std::string::npos) break;
          start = lf + 1;
        }
        while (expected.size() > static_cast<std::size_t>(s.LineCount())) expected.pop_front();
      } else if (op < 90) {
        s.ScrollTo(static_cast<int>(rng() % (s.LineCount() + 10)) - 3);
      } else if (op < 95) {
        s.Wheel(static_cast<int>(rng() % 5) - 2, rng() % 2 == 0);
      } else if (op < 99) {
        s.Resize(static_cast<int>(rng() % 30), 80);
      } else {
        s.ClearAll();
        expected.clear();
      }
      std::string why;
      ASSERT_TRUE(s.Validate(&why)) << "capacity " << capacity << " step " << step << ": " << why;
      ASSERT_EQ(expected.size(), static_cast<std::size_t>(s.LineCount()));
      if (step % 97 == 0) {
        ASSERT_EQ(AllLines(s), Lines(expected.begin(), expected.end()));
      }
      // The visible lines are the lines numbered from the scroll position on.
      Lines v = Visible(s);
      ASSERT_LE(v.size(), static_cast<std::size_t>(s.Rows()));
      for (std::size_t r = 0; r < v.size(); ++r)
        ASSERT_EQ(v[r], expected[static_cast<std::size_t>(s.ScrollPosition()) - 1 + r]) << step;
    }
  }
}
