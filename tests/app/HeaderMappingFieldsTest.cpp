// The "Header Mapping" dialog's rules and the map's place in the settings file
// and the workspace's loads.
#include <gtest/gtest.h>

#include <fstream>

#include "app/SettingsFile.h"
#include "app/tools/HeaderMappingFields.h"
#include "support/TempDir.h"

TEST(HeaderMappingFields, RowsReadThroughTheParserNamingTheBadRow) {
  HeaderByteMap map;
  int bad = -1;
  std::string message;
  std::vector<HeaderMappingRow> rows = {{"CDP", "189", "i32"}, {" ", "", "i32"}, {"sx", "181", "ibm"}};
  ASSERT_EQ(ReadHeaderMappingRows(rows, &map, &bad, &message), 0) << message;
  EXPECT_EQ(map.Text(), "CDP=189:i32, SX=181:ibm") << "the blank row is skipped";
  EXPECT_EQ(HeaderMappingRowsFrom(map).size(), 2u);
  EXPECT_EQ(HeaderMappingRowsFrom(map)[1].word, "SX");

  const struct {
    HeaderMappingRow row;
    int status;
    const char* message;
  } refused[] = {
      {{"CDPX", "239", "i32"}, kMapOutside, "row 3: \"CDPX=239:i32\": bytes 239-242 are outside"},
      {{"NOSUCH", "1", "i16"}, kMapUnknownWord, "row 3: \"NOSUCH=1:i16\": no trace header word"},
      {{"GX", "", "i32"}, kMapMalformed, "row 3: "},
      {{"CDP", "21", "i32"}, kMapTwice, "CDP is mapped already"},
  };
  for (const auto& c : refused) {
    std::vector<HeaderMappingRow> with = {rows[0], rows[2], c.row};
    HeaderByteMap kept = map;
    EXPECT_EQ(ReadHeaderMappingRows(with, &kept, &bad, &message), c.status) << c.message;
    EXPECT_EQ(bad, 2);
    EXPECT_NE(message.find(c.message), std::string::npos) << message;
    EXPECT_EQ(kept.Text(), map.Text()) << "a refusal keeps the map";
  }
}

TEST(HeaderMappingFields, SettingsFileKeepsOneLineAMappingAndSkipsBadOnes) {
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
