// The " Binning" dialog fields: shown values and reading rules.
#include <gtest/gtest.h>

#include <vector>

#include "app/tools/BinningFields.h"

TEST(BinningFields, ShownValuesAndReadingRules) {
  EXPECT_EQ(FormatBinningValue(12.5), "12.5");
  EXPECT_EQ(FormatBinningValue(40.0), "40");
  EXPECT_EQ(FormatBinningValue(0.126), "0.13");
  EXPECT_EQ(FormatBinningValue(1234.001), "1234");
  EXPECT_EQ(FormatBinningLimit(99999.99), "99999.99");
  EXPECT_EQ(FormatBinningLimit(100000.0), "");
  EXPECT_EQ(FormatBinningLimit(2e6), "");

  BinningParams p;
  p.binSize = 12.5;
  BinningFields shown;
  ASSERT_TRUE(ReadBinningFields({"", " 250 ", "25"}, &p, &shown));
  EXPECT_EQ(p.maxOffset, kBinningNoLimit);
  EXPECT_EQ(p.maxDistance, 250.0);
  EXPECT_EQ(p.binSize, 25.0);
  const BinningParams before = p;
  for (BinningFields bad : std::vector<BinningFields>{{"1e3", "x", "10"},
                                                      {"", "", "0"},
                                                      {"", "", "-5"},
                                                      {"", "", ""},
                                                      {"nan", "", "10"},
                                                      {"", "", "10m"}}) {
    EXPECT_FALSE(ReadBinningFields(bad, &p, &shown)) << bad.maxDistance << "|" << bad.binSize;
    EXPECT_EQ(p.maxOffset, before.maxOffset);
    EXPECT_EQ(p.maxDistance, before.maxDistance);
    EXPECT_EQ(p.binSize, before.binSize);
  }
  ASSERT_FALSE(ReadBinningFields({"1e3", "abc", "-1"}, &p, &shown));
  EXPECT_EQ(shown.maxOffset, "1e3");  // valid: left as typed
  EXPECT_EQ(shown.maxDistance, "250");
  EXPECT_EQ(shown.binSize, "25");
  BinningFields fresh = BinningFieldsFrom(BinningParams{});
  EXPECT_EQ(fresh.maxOffset, "");
  EXPECT_EQ(fresh.binSize, "");
}
