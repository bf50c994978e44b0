#include <gtest/gtest.h>

#include <string>

#include "app/LoadRefusalText.h"

TEST(LoadRefusalTextTest, SaysWhichFilesWhyWhatStayedAndOffersTheTolerantReadOnce) {
  LoadRefusal r;
  r.paths = {"/data/shots/line7.sgy"};
  r.sectionKept = true;
  for (int i = 1; i <= 8; ++i) r.reasons.push_back("ERROR: reason " + std::to_string(i));
  std::string text = LoadRefusalText(r);
  EXPECT_NE(text.find("\"line7.sgy\""), std::string::npos);
  EXPECT_EQ(text.find("/data/shots"), std::string::npos);
  EXPECT_NE(text.find("ERROR: reason 6\n...\n"), std::string::npos);  // at most six reasons
  EXPECT_EQ(text.find("reason 7"), std::string::npos);
  EXPECT_NE(text.find("The section on screen is kept."), std::string::npos);
  EXPECT_TRUE(OffersTolerantOpen(r));
  EXPECT_NE(text.find("\"Open tolerantly\""), std::string::npos);

  r.paths.push_back("/data/shots/line8.sgy");
  r.sectionKept = false;
  r.reasons.clear();
  r.params.tolerant = true;
  text = LoadRefusalText(r);
  EXPECT_NE(text.find("the 2 files chosen."), std::string::npos);
  EXPECT_NE(text.find("No section is loaded now."), std::string::npos);
  EXPECT_FALSE(OffersTolerantOpen(r));
  EXPECT_EQ(text.find("Open tolerantly"), std::string::npos);

  r.params.tolerant = false;
  r.params.tolerantIntervalUs = 1000;
  LoadParams again = TolerantRetryParams(r);
  EXPECT_TRUE(again.tolerant);
  EXPECT_EQ(again.tolerantIntervalUs, 1000);
}

TEST(LoadRefusalTextTest, IntervalFieldInMillisecondsGivesWholeMicroseconds) {
  struct Case {
    const char* text;
    bool ok;
    int32_t us;
  };
  const Case cases[] = {
      {"", true, 0},         {"   ", true, 0},       {"0", true, 0},        {"4", true, 4000},
      {" 0.25 ", true, 250}, {"2.0006", true, 2001}, {"0.001", true, 1},    {"2147483", true, 2147483000},
      {"0.0004", false, 0},  {"-1", false, 0},       {"2 ms", false, 0},    {"abc", false, 0},
      {"nan", false, 0},     {"inf", false, 0},      {"2147484", false, 0},
  };
  for (const Case& c : cases) {
    int32_t us = -7;
    EXPECT_EQ(TolerantIntervalFromField(c.text, &us), c.ok) << c.text;
    EXPECT_EQ(us, c.ok ? c.us : -7) << c.text;
  }
}
