// The " Amplitude Spectrum" range fields: their reading and limiting rules.
#include <gtest/gtest.h>

#include "app/tools/SpectrumRangeFields.h"

namespace {

TEST(SpectrumRangeFields, DefaultsOrderingAndLimits) {
  SpectrumRangeLimits lim{10, 0.0, 1.998};
  SpectrumRangeValue v;
  bool flash = false;
  SpectrumRangeFields a{"5", "2", "", ""};  // times empty: whole trace length; traces ordered
  ASSERT_EQ(ReadSpectrumRangeFields(a, lim, true, &v, &flash), 0);
  EXPECT_EQ(v.first, 1);
  EXPECT_EQ(v.last, 4);
  EXPECT_EQ(v.t0, 0.0);
  EXPECT_EQ(v.t1, 1.998);
  EXPECT_EQ(a.firstTrace, "2");
  EXPECT_EQ(a.lastTrace, "5");
  EXPECT_EQ(a.startTime, "0");
  EXPECT_EQ(a.endTime, "1.998");
  SpectrumRangeFields b{"", "", "0.5", "0.25"};  // traces empty: all traces
  ASSERT_EQ(ReadSpectrumRangeFields(b, lim, true, &v, &flash), 0);
  EXPECT_EQ(v.first, 0);
  EXPECT_EQ(v.last, 9);
  EXPECT_EQ(v.t0, 0.25);
  EXPECT_EQ(b.firstTrace, "1");
  EXPECT_EQ(b.endTime, "0.5");
  SpectrumRangeFields c{"0", "99", "-1", "5"};  // limited
  ASSERT_EQ(ReadSpectrumRangeFields(c, lim, true, &v, &flash), 0);
  EXPECT_EQ(v.first, 0);
  EXPECT_EQ(v.last, 9);
  EXPECT_EQ(c.lastTrace, "10");
  EXPECT_EQ(c.startTime, "0");
  SpectrumRangeFields d{"3", "4", "0.1", "0.2"};  // nothing to change: fields untouched
  ASSERT_EQ(ReadSpectrumRangeFields(d, lim, true, &v, &flash), 0);
  EXPECT_EQ(d.startTime, "0.1");
}

TEST(SpectrumRangeFields, BadAndMissingFields) {
  SpectrumRangeLimits lim{10, 0.0, 2.0};
  SpectrumRangeValue v;
  bool flash = false;
  SpectrumRangeFields bad{"2x", "4", "0", "1"};
  EXPECT_EQ(ReadSpectrumRangeFields(bad, lim, false, &v, &flash), -1);
  EXPECT_TRUE(flash);
  SpectrumRangeFields frac{"2.5", "4", "0", "1"};
  EXPECT_EQ(ReadSpectrumRangeFields(frac, lim, false, &v, &flash), -1);
  EXPECT_TRUE(flash);
  SpectrumRangeFields half{"2", "", "0", "1"};
  EXPECT_EQ(ReadSpectrumRangeFields(half, lim, false, &v, &flash), -1);
  EXPECT_FALSE(flash);  // Range off: quiet
  EXPECT_EQ(ReadSpectrumRangeFields(half, lim, true, &v, &flash), -1);
  EXPECT_TRUE(flash);
  SpectrumRangeFields empty{"", "", "", ""};
  EXPECT_EQ(ReadSpectrumRangeFields(empty, lim, true, &v, &flash), -1);
}

}  // namespace
