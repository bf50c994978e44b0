#include <gtest/gtest.h>

#include "section/SectionInfo.h"
#include "section/SeismicSection.h"
#include "support/SectionBuilder.h"

using kxtest::AddTrace;

namespace {
const char* const kMicro = "\xce\xbcs";  // "μs", Greek small mu

struct UnitCase {
  double dt;
  int32_t ns;
  int code;
  double factor;
  const char* label;
  double axisFactor;
  const char* axisLabel;
};

class ScanTimeUnit : public ::testing::TestWithParam<UnitCase> {};
}  // namespace

TEST_P(ScanTimeUnit, FollowsSmallestIntervalAndSpan) {
  const UnitCase& c = GetParam();
  SeismicSection s;
  AddTrace(s, c.ns, c.dt);
  AddTrace(s, 1, 0.004);  // a coarser trace (no span of its own) must not change the choice
  EXPECT_EQ(s.Scan(), 2);
  EXPECT_EQ(s.Summary().minInterval, c.dt);
  EXPECT_EQ(s.Summary().timeUnitCode, c.code);
  EXPECT_EQ(s.Summary().timeFactor, c.factor);
  EXPECT_EQ(s.Summary().timeUnitLabel, c.label);
  EXPECT_EQ(s.Summary().axisTimeFactor, c.axisFactor);
  EXPECT_EQ(s.Summary().axisTimeUnitLabel, c.axisLabel);
  EXPECT_EQ(s.Summary().distanceFactor, 1000.0);
  EXPECT_EQ(s.Summary().distanceUnitLabel, "m");
}

INSTANTIATE_TEST_SUITE_P(Units, ScanTimeUnit,
                         ::testing::Values(UnitCase{0.00025, 100, 1, 1000.0, "ms", 1000.0, "ms"},
                                           // 20 us is the largest interval shown in microseconds, also when
                                           // it comes from a header in whole microseconds (20 x 1e-6).
                                           UnitCase{20e-6, 100, 2, 1e6, kMicro, 1e6, kMicro},
                                           UnitCase{20.0 * 1e-6, 100, 2, 1e6, kMicro, 1e6, kMicro},
                                           UnitCase{21e-6, 100, 1, 1000.0, "ms", 1000.0, "ms"},
                                           UnitCase{0.1e-6, 100, 4, 1e9, "ns", 1e9, "ns"},
                                           UnitCase{0.1 * 1e-6, 100, 4, 1e9, "ns", 1e9, "ns"},
                                           // 12 s at 1 ms spans 12000 ms: the axis switches to seconds.
                                           UnitCase{0.001, 12001, 1, 1000.0, "ms", 1.0, "sec"},
                                           // Exactly 10000 ms stays in ms.
                                           UnitCase{0.001, 10001, 1, 1000.0, "ms", 1000.0, "ms"},
                                           // 20 ms at 10 us spans 20000 us: the axis switches to ms.
                                           UnitCase{10e-6, 2001, 2, 1e6, kMicro, 1000.0, "ms"}));

TEST(SectionScan, EmptySectionClearsEverything) {
  SeismicSection s;
  AddTrace(s, 100, 10e-6);
  s.Scan();
  ASSERT_NE(s.Summary().timeUnitCode, 1);
  s.ClearTraces();
  EXPECT_EQ(s.Scan(), 0);
  EXPECT_EQ(s.m_sectionInfo, "\n\n\n  Empty Data Set");
  EXPECT_EQ(s.Summary().maxSamples, 0);
  EXPECT_EQ(s.Summary().minInterval, 0.0);
  EXPECT_EQ(s.Summary().minTime, 0.0);
  EXPECT_EQ(s.Summary().maxTime, 0.0);
  EXPECT_EQ(s.Summary().maxAmplitude, 0.0f);
  EXPECT_EQ(s.Summary().timeUnitCode, 1);
  EXPECT_EQ(s.Summary().timeFactor, 1000.0);
  EXPECT_EQ(s.Summary().timeUnitLabel, "ms");
  EXPECT_EQ(s.Summary().axisTimeFactor, 1000.0);
  EXPECT_EQ(s.Summary().axisTimeUnitLabel, "ms");
  EXPECT_EQ(s.Summary().ranges.FLDR[1], 0);
  EXPECT_EQ(s.Summary().ranges.SX[0], 0.0);
  EXPECT_EQ(s.Summary().seismicCount, 0);
  EXPECT_EQ(s.Summary().unknownCount, 0);
}

TEST(SectionScan, NullSlotsAreSkippedAndAnAllNullSectionIsEmpty) {
  SeismicSection s;
  TraceRecord* a = AddTrace(s, 10, 0.002);
  a->FLDR = 7;
  TraceRecord* b = AddTrace(s, 10, 0.002);
  b->FLDR = 9;
  s.ReplaceTrace(0, nullptr);
  EXPECT_EQ(s.Scan(), 1);
  EXPECT_EQ(s.Summary().ranges.FLDR[0], 9);  // seeded from the first non-null trace
  s.ReplaceTrace(1, nullptr);
  EXPECT_EQ(s.Scan(), 0);
  EXPECT_EQ(s.m_sectionInfo, "\n\n\n  Empty Data Set");
}

TEST(SectionScan, CountsTraceIdentificationCodes) {
  SeismicSection s;
  const int16_t trids[] = {0, 2, 5, 1, 11, 17, 18, 10, 0, -1};
  for (int16_t trid : trids) AddTrace(s, 4, 0.001)->TRID = trid;
  s.Trace(1)->SEIS = 1;  // a stale flag is cleared
  s.Scan();
  EXPECT_EQ(s.Summary().seismicCount, 4);  // 5, 1, 11, 17
  EXPECT_EQ(s.Summary().unknownCount, 2);  // the two zeros
  const uint8_t seis[] = {0, 0, 1, 1, 1, 1, 0, 0, 0, 0};
  for (int i = 0; i < 10; ++i) EXPECT_EQ(s.Trace(i)->SEIS, seis[i]) << "trace " << i;
}

TEST(SectionScan, SummaryOverTimedAndUntimedTraces) {
  SeismicSection s;
  TraceRecord* a = AddTrace(s, 101, 0.004, -0.1);
  a->AMAX = 3.0f;
  TraceRecord* b = AddTrace(s, 51, 0.002, 0.05);
  b->AMAX = 9.0f;
  // No sampling: its AMAX and interval are ignored, its delay still counts.
  TraceRecord* c = AddTrace(s, 300, 0.0, 0.75);
  c->AMAX = 100.0f;
  EXPECT_EQ(s.Scan(), 2);
  EXPECT_EQ(s.Summary().maxSamples, 300);
  EXPECT_EQ(s.Summary().minInterval, 0.002);
  EXPECT_DOUBLE_EQ(s.Summary().minTime, -0.1);
  EXPECT_DOUBLE_EQ(s.Summary().maxTime, 0.75);
  EXPECT_EQ(s.Summary().maxAmplitude, 9.0f);
}

TEST(SectionScan, NoTimedTraceGivesZeroIntervalAndMs) {
  SeismicSection s;
  AddTrace(s, 0, 0.001);
  AddTrace(s, 20, -0.001);
  EXPECT_EQ(s.Scan(), 0);
  EXPECT_EQ(s.Summary().minInterval, 0.0);
  EXPECT_EQ(s.Summary().timeUnitLabel, "ms");
  EXPECT_EQ(s.Summary().maxSamples, 20);
}

TEST(SectionScan, RangesTrackEveryMainWord) {
  SeismicSection s;
  struct V {
    int64_t fldr;
    int16_t nvs;
    double ssta;
    float off;
    double sx;
    float rz;
  };
  const V vals[] = {
      {5, 2, 10.5, 30.0f, 100.0, 1.0f}, {3, 4, -2.0, -70.0f, 50.0, 3.0f}, {9, 1, 40.0, 10.0f, 400.0, -2.0f}};
  for (const V& v : vals) {
    TraceRecord* t = AddTrace(s, 10, 0.001);
    t->FLDR = v.fldr;
    t->NVS = v.nvs;
    t->SSTA = v.ssta;
    t->OFF = v.off;
    t->SX = v.sx;
    t->RZ = v.rz;
  }
  s.Scan();
  const HeaderRanges& r = s.Summary().ranges;
  EXPECT_EQ(r.FLDR[0], 3);
  EXPECT_EQ(r.FLDR[1], 9);
  EXPECT_EQ(r.NVS[0], 1);
  EXPECT_EQ(r.NVS[1], 4);
  EXPECT_EQ(r.SSTA[0], -2.0);
  EXPECT_EQ(r.SSTA[1], 40.0);
  EXPECT_EQ(r.OFF[0], -70.0f);
  EXPECT_EQ(r.OFF[1], 30.0f);
  EXPECT_EQ(r.SX[0], 50.0);
  EXPECT_EQ(r.SX[1], 400.0);
  EXPECT_EQ(r.RZ[0], -2.0f);
  EXPECT_EQ(r.RZ[1], 3.0f);
  // A rescan after an edit starts over from the first trace.
  for (int i = 0; i < 3; ++i) s.Trace(i)->FLDR = 100 + i;
  s.Scan();
  EXPECT_EQ(r.FLDR[0], 100);
  EXPECT_EQ(r.FLDR[1], 102);
}

TEST(SectionScan, BuildsSectionInfoForNonEmptySection) {
  SeismicSection s;
  AddTrace(s, 11, 0.002);
  s.Scan();
  EXPECT_EQ(s.m_sectionInfo, SectionInfoText(s));
  EXPECT_NE(s.m_sectionInfo.find("\n num traces   : 1"), std::string::npos);
}
