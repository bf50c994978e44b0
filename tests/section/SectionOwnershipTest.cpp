// The section owns its trace and stack lists: every record leaves through one
// free (the sanitizer build catches a double free or a leak), and the summary
// of any list equals the one the scan keeps.
#include <gtest/gtest.h>

#include <cstring>
#include <utility>
#include <vector>

#include "section/SectionSummary.h"
#include "section/SeismicSection.h"
#include "support/SectionBuilder.h"

namespace {
std::vector<TraceRecord*> Listed(std::span<TraceRecord* const> list) {
  return {list.begin(), list.end()};
}
}  // namespace

TEST(SectionOwnership, ReplacedTakenAndGivenRecordsAreFreedOnce) {
  auto s = kxtest::MakeSection(4, 8, 0.002);
  ASSERT_TRUE(s);
  TraceRecord* fresh = TraceRecord::Allocate(8);
  s->ReplaceTrace(2, TraceRecordPtr(fresh));
  EXPECT_EQ(s->Trace(2), fresh);
  s->ReplaceTrace(3, nullptr);  // an empty slot stays listed
  EXPECT_EQ(s->Count(), 4);
  EXPECT_EQ(s->Trace(3), nullptr);

  TraceRecordList all;
  for (int i = 0; i < 6; ++i) ASSERT_EQ(all.Append(TraceRecordPtr(TraceRecord::Allocate(3))), 0);
  const std::vector<TraceRecord*> given = Listed(all.View());
  s->ReplaceTraces(std::move(all));
  EXPECT_EQ(all.Count(), 0);  // a moved list owns nothing
  EXPECT_EQ(Listed(s->Traces()), given);

  TraceRecordList stack;
  ASSERT_EQ(stack.Append(TraceRecordPtr(TraceRecord::Allocate(3))), 0);
  s->GiveStack(std::move(stack));
  TraceRecordList taken = s->TakeStack();
  EXPECT_EQ(s->StackCount(), 0);
  ASSERT_EQ(taken.Count(), 1);
  s->GiveStack(std::move(taken));
  s->ClearTraces();
  EXPECT_EQ(s->Count(), 0);
  EXPECT_EQ(s->StackCount(), 0);
}

TEST(SectionOwnership, ReorderKeepsEveryRecordAndTheSummaryOfAListIsTheScans) {
  SeismicSection s;
  kxtest::AddTrace(s, 300, 0.002, -0.1, [](int, int i) { return i == 7 ? -9.0f : 1.0f; });
  kxtest::AddTrace(s, 20, 0.0005, 0.05)->TRID = 0;
  TraceRecord* unsampled = kxtest::AddTrace(s, 0, 0.0, 0.9);
  unsampled->TRID = 3;
  unsampled->SX = -4.5;
  s.Scan();
  const SectionSummary list = SummarizeTraces(s.Traces());
  const SectionSummary& scan = s.Summary();
  EXPECT_EQ(list.maxSamples, 300);
  EXPECT_EQ(list.maxAmplitude, 9.0f);
  EXPECT_EQ(list.minInterval, scan.minInterval);
  EXPECT_EQ(list.minTime, scan.minTime);
  EXPECT_EQ(list.maxTime, scan.maxTime);
  EXPECT_EQ(list.maxAmplitude, scan.maxAmplitude);
  EXPECT_EQ(list.timeUnitLabel, scan.timeUnitLabel);
  EXPECT_EQ(list.axisTimeUnitLabel, scan.axisTimeUnitLabel);
  EXPECT_EQ(list.seismicCount, 1);
  EXPECT_EQ(list.unknownCount, 1);
  EXPECT_EQ(std::memcmp(&list.ranges, &scan.ranges, sizeof list.ranges), 0);

  const std::vector<TraceRecord*> before = Listed(s.Traces());
  s.ReorderTraces([](std::span<TraceRecord*> t) { std::swap(t[0], t[2]); });
  EXPECT_EQ(s.Trace(0), before[2]);
  EXPECT_EQ(s.Trace(2), before[0]);
  const SectionSummary reordered = SummarizeTraces(s.Traces());
  EXPECT_EQ(std::memcmp(&reordered.ranges, &scan.ranges, sizeof scan.ranges), 0);
}
