#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "app/SettingsFile.h"
#include "app/TextInput.h"
#include "support/TempDir.h"

namespace fs = std::filesystem;

namespace {
SettingsFileValues Apply(std::initializer_list<const char*> lines) {
  SettingsFileValues v;
  for (const char* l : lines) ApplySettingsLine(v, l);
  return v;
}

std::string Slurp(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::stringstream ss;
  ss << in.rdbuf();
  return ss.str();
}
}  // namespace

TEST(TextInput, IntegerParserRules) {
  std::size_t end = 0;
  bool digits = false;
  EXPECT_EQ(ParseInt("  -42;x", &end, &digits), -42);
  EXPECT_TRUE(digits);
  EXPECT_EQ(end, 5u);
  EXPECT_EQ(ParseInt("+17"), 17);
  EXPECT_EQ(ParseInt("12abc"), 12);  // trailing garbage: the leading digits
  EXPECT_EQ(ParseInt("abc", nullptr, &digits), 0);
  EXPECT_FALSE(digits);
  EXPECT_EQ(ParseInt("-", nullptr, &digits), 0);
  EXPECT_FALSE(digits);
  EXPECT_EQ(ParseInt("99999999999999999999"), 2147483647);
  EXPECT_EQ(ParseInt("-99999999999999999999"), -2147483647 - 1);
  int four[4] = {9, 9, 9, 9};
  EXPECT_TRUE(ParseIntList("1 -2,\t3 ; 4", four, 4));
  EXPECT_EQ(four[1], -2);
  EXPECT_EQ(four[3], 4);
  int keep[4] = {5, 5, 5, 5};
  EXPECT_FALSE(ParseIntList("1 2 3", keep, 4));
  EXPECT_FALSE(ParseIntList("1 2 x 4", keep, 4));
  EXPECT_EQ(keep[0], 5);  // untouched unless all four parse
}

TEST(TextInput, KeyValueSplitter) {
  std::string k, v;
  EXPECT_TRUE(SplitKeyValue(" \tAPP_X\t =  a b \t", &k, &v));
  EXPECT_EQ(k, "APP_X");
  EXPECT_EQ(v, "a b");
  EXPECT_TRUE(SplitKeyValue("APP_Y: 3", &k, &v));
  EXPECT_EQ(k, "APP_Y");
  EXPECT_EQ(v, "3");
  k = "unchanged";
  EXPECT_FALSE(SplitKeyValue("no separator here", &k, &v));
  EXPECT_EQ(k, "unchanged");
}

TEST(TextInput, LineReaderDiscardsTheRestOfLongLinesAndAcceptsCrLf) {
  std::FILE* fp = std::tmpfile();
  ASSERT_NE(fp, nullptr);
  std::string longLine(300, 'a');
  longLine[255] = 'B';  // first discarded character
  std::string text = longLine + "\r\nnext\n\xC3\xA9\xC3\xA9\xC3\xA9";
  std::fwrite(text.data(), 1, text.size(), fp);
  std::rewind(fp);
  std::string line;
  ASSERT_TRUE(ReadTextLine(fp, &line));
  EXPECT_EQ(line, std::string(255, 'a'));
  ASSERT_TRUE(ReadTextLine(fp, &line));
  EXPECT_EQ(line, "next");
  // Characters, not bytes, are counted, and a sequence is never cut.
  ASSERT_TRUE(ReadTextLine(fp, &line, 2));
  EXPECT_EQ(line, "\xC3\xA9\xC3\xA9");
  EXPECT_FALSE(ReadTextLine(fp, &line));
  std::fclose(fp);
}

TEST(SettingsFile, ReadingRulesAndEdgeCases) {
  SettingsFileValues v = Apply({"app_wnd_w = 0", "APP_LAST_IFILTER = 7", "APP_WND_H=0"});
  EXPECT_EQ(v.wndW, 954);  // width key in lower case set to 0 keeps the default
  EXPECT_EQ(v.lastFilter, 1);
  EXPECT_EQ(v.wndH, 730);

  v = Apply({"APP_LAST_IFILTER = 3", "APP_LAST_IFILTER = 7"});
  EXPECT_EQ(v.lastFilter, 3);  // 7 keeps the previous filter

  v = Apply({"App_Wnd_X : 0", "APP_WND_Y = -5", "APP_WND_W = 800px", "APP_WND_H = abc", "XAPP_WND_X = 9",
             "APP_WND_X 12", "WND_W = 5"});
  EXPECT_EQ(v.wndX, 0);    // ':' separator, any case, 0 is allowed for the edges
  EXPECT_EQ(v.wndY, 48);   // negative refused
  EXPECT_EQ(v.wndW, 800);  // trailing garbage: leading digits
  EXPECT_EQ(v.wndH, 730);  // not a number counts as 0: refused

  v = Apply({"APP_RCNORPOS = 1 2 3", "APP_LAST_IDIR = \t/data/seis one  "});
  EXPECT_EQ(v.rcNorPos[0], 0);  // not all four parse: kept
  EXPECT_EQ(v.lastInputDir, "/data/seis one");
  v = Apply({"APP_RCNORPOS = 10 20 -30 40", "APP_LAST_IDIR = /bad\xFF/dir"});
  EXPECT_EQ(v.rcNorPos[2], -30);
  EXPECT_EQ(v.lastInputDir, "");  // cannot be decoded
}

TEST(SettingsFile, WrittenInItsExactLayoutAndReadBack) {
  kxtest::TempDir tmp("kx_settings");
  fs::path dir = tmp.Path();
  fs::path file = dir / "sub" / kSettingsFileName;  // missing folders are created
  SettingsFileValues v;
  v.lastInputDir = "/home/ga\xC3\xABl/survey";
  v.lastFilter = 4;
  v.wndX = 10;
  v.wndY = 0;
  v.wndW = 1200;
  v.wndH = 800;
  v.rcNorPos[0] = 10;
  v.rcNorPos[1] = 0;
  v.rcNorPos[2] = 1210;
  v.rcNorPos[3] = -800;
  ASSERT_TRUE(WriteSettingsFile(file.string(), v));
  EXPECT_EQ(Slurp(file),
            "APP_LAST_IDIR = /home/ga\xC3\xABl/survey\n"
            "APP_LAST_IFILTER = 4\n\n"
            "APP_WND_X = 10\nAPP_WND_Y = 0\nAPP_WND_W = 1200\nAPP_WND_H = 800\n\n"
            "APP_RCNORPOS = 10 0 1210 -800\n");
  EXPECT_FALSE(fs::exists(file.string() + ".tmp"));
  SettingsFileValues back;
  ASSERT_TRUE(ReadSettingsFile(file.string(), back));
  EXPECT_EQ(FormatSettingsFile(back), FormatSettingsFile(v));

  // An empty folder name still writes the blank lines after the filter and height.
  EXPECT_EQ(FormatSettingsFile(SettingsFileValues{}).substr(0, 54),
            "APP_LAST_IDIR = \nAPP_LAST_IFILTER = 1\n\nAPP_WND_X = 48\n");
}

TEST(SettingsFile, MissingOrUnwritableFileKeepsDefaults) {
  SettingsFileValues v;
  v.wndW = 777;
  EXPECT_FALSE(ReadSettingsFile("/nonexistent/kx/_Kestrix.ini", v));
  EXPECT_EQ(v.wndW, 777);
  kxtest::TempDir tmp("kx_settings");
  fs::path dir = tmp.Path();
  std::ofstream(dir / "blocker") << "x";  // a file where a folder is needed
  EXPECT_FALSE(WriteSettingsFile((dir / "blocker" / kSettingsFileName).string(), v));
}

TEST(SettingsFile, WindowRectangleClampedToTheVirtualScreen) {
  ScreenRect screen{0, 0, 1920, 1080};
  ScreenRect r = ClampWindowRect({100, 50, 2500, 700}, screen);
  EXPECT_EQ(r.width, 1920);  // wider than the screen: narrowed and moved to the left edge
  EXPECT_EQ(r.left, 0);
  r = ClampWindowRect({1500, 900, 954, 730}, screen);
  EXPECT_EQ(r.left, 1920 - 954);
  EXPECT_EQ(r.top, 1080 - 730);
  r = ClampWindowRect({-40, -10, 954, 730}, screen);
  EXPECT_EQ(r.left, 0);
  EXPECT_EQ(r.top, 0);
  // A screen extending left of the origin keeps the window on it.
  r = ClampWindowRect({1800, 10, 954, 730}, ScreenRect{-1920, 0, 3840, 1080});
  EXPECT_EQ(r.left, 1920 - 954);
}

TEST(SettingsFile, HeaderMapOneLineAMappingRefusedLinesSkipped) {
  SettingsFileValues v;
  std::string message;
  ASSERT_EQ(v.headerMap.AddText("CDP=189:i32\nCDPX=181:ibm\n", "t", &message), 0);
  kxtest::TempDir dir("kx_settings_map");
  std::string path = dir.File("_Kestrix.ini");
  ASSERT_TRUE(WriteSettingsFile(path, v));
  {
    std::ofstream more(path, std::ios::app);
    more << "APP_HEADER_MAP = FOO=1:i32\nAPP_HEADER_MAP = SY=239:i32\napp_header_map = gy=193:u16\n";
  }
  SettingsFileValues back;
  ASSERT_TRUE(ReadSettingsFile(path, back));
  EXPECT_EQ(back.headerMap.Text(), "CDP=189:i32, CDPX=181:ibm, GY=193:u16");
  EXPECT_EQ(FormatSettingsFile(SettingsFileValues{}).find("APP_HEADER_MAP"), std::string::npos);
}
