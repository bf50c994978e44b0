// The formatting wrappers: printf/scanf conventions, bounds, UTF-8-safe truncation.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "log/Log.h"

TEST(Format, BoundedReturnsCountOrMinusOne) {
  char buf[8];
  EXPECT_EQ(FormatBounded(buf, sizeof buf, "%d-%s", 42, "ab"), 5);
  EXPECT_STREQ(buf, "42-ab");
  EXPECT_EQ(FormatBounded(buf, sizeof buf, "%s", "12345678"), -1);  // needs 9 bytes
  EXPECT_EQ(FormatBounded(buf, sizeof buf, "%s", "1234567"), 7);
  EXPECT_EQ(FormatBounded(nullptr, 0, "x"), -1);
}

TEST(Format, TruncateCutsOnACharacterBoundary) {
  char buf[6];
  EXPECT_EQ(FormatTruncate(buf, sizeof buf, "%s", "abcdefgh"), 5);
  EXPECT_STREQ(buf, "abcde");
  EXPECT_EQ(FormatTruncate(buf, sizeof buf, "abcd\xC3\xA9"), 4);  // é would need bytes 4-5
  EXPECT_STREQ(buf, "abcd");
  EXPECT_EQ(FormatTruncate(buf, sizeof buf, "ab\xE2\x82\xAC!"), 5);  // € fits in 2-4
  EXPECT_STREQ(buf, "ab\xE2\x82\xAC");
  EXPECT_EQ(FormatTruncate(buf, 0, "x"), 0);
}

TEST(Format, Utf8CutLength) {
  EXPECT_EQ(Utf8CutLength("abc", 3), 3u);
  EXPECT_EQ(Utf8CutLength("a\xC3\xA9", 2), 1u);
  EXPECT_EQ(Utf8CutLength("a\xC3\xA9", 3), 3u);
  EXPECT_EQ(Utf8CutLength("\xF0\x9F\x98\x80", 3), 0u);
  EXPECT_EQ(Utf8CutLength("\xF0\x9F\x98\x80", 4), 4u);
  EXPECT_EQ(Utf8CutLength("a\x80\x80", 3), 3u);  // stray continuation bytes: nothing to protect
  EXPECT_EQ(Utf8CutLength("", 0), 0u);
}

TEST(Format, StrPrintfScanAndFile) {
  EXPECT_EQ(StrPrintf("%s=%05.1f", "x", 3.14159), "x=003.1");
  EXPECT_EQ(StrPrintf("%s", std::string(1000, 'z').c_str()).size(), 1000u);
  EXPECT_EQ(StrPrintf("%s", ""), "");
  int a = 0;
  double b = 0;
  EXPECT_EQ(FormatScan("12 2.5", "%d %lf", &a, &b), 2);
  EXPECT_EQ(a, 12);
  EXPECT_DOUBLE_EQ(b, 2.5);
  EXPECT_EQ(FormatScan("", "%d", &a), EOF);
  std::FILE* f = std::tmpfile();
  ASSERT_NE(f, nullptr);
  EXPECT_EQ(FormatToFile(f, "%d;%s\n", 7, "ok"), 5);
  std::rewind(f);
  char line[16] = {};
  ASSERT_NE(std::fgets(line, sizeof line, f), nullptr);
  EXPECT_STREQ(line, "7;ok\n");
  std::fclose(f);
  EXPECT_EQ(FormatToFile(nullptr, "x"), -1);
}
