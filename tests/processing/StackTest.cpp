// Selective stack: sums and folds, exclusions of traces and gathers, the
// refusals of the command and the status codes of the stack itself.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

#include "processing/SelectiveStack.h"

namespace {
// `gathers` shot files of `channels` traces, appended shuffled; sample i of
// channel j of file f holds f * 1000 + j + i / 8.
void Shots(SeismicSection& s, int gathers, std::vector<int> channels, int32_t ns = 16) {
  std::vector<std::pair<int, int>> order;
  for (int f = 1; f <= gathers; ++f)
    for (int j = 0; j < channels[f - 1]; ++j) order.push_back({f, j});
  std::shuffle(order.begin(), order.end(), std::mt19937(4));
  for (auto [f, j] : order) {
    TraceRecord* t = TraceRecord::Allocate(ns);
    t->DT = 0.001;
    t->LTAG = f;
    t->CHAN = j + 1;
    t->NVS = 1;
    for (int32_t i = 0; i < ns; ++i) t->Samples()[i] = static_cast<float>(f * 1000 + j + i / 8.0);
    ASSERT_EQ(s.AppendTrace(t, f, f), 0);
  }
}

// Prepared and allocated stack of the section; the gather table in g.
void Prepare(SeismicSection& s, std::vector<Gather>* g) {
  ASSERT_EQ(AssignGatherNumbers(s), 0);
  const char* refusal = nullptr;
  ASSERT_EQ(PrepareStack(s, g, &refusal), 0) << (refusal ? refusal : "");
  ASSERT_EQ(AllocateStackList(s, (*g)[0].count, s.Trace(0)->NS), 0);
}

float Expected(const std::vector<int>& files, int j, int i) {
  float sum = 0.0f;
  for (int f : files) sum += static_cast<float>(f * 1000 + j + i / 8.0);
  return sum;
}
}  // namespace

TEST(SelectiveStack, SumsThreeShotsChannelByChannel) {
  SeismicSection s;
  Shots(s, 3, {24, 24, 24});
  std::vector<Gather> g;
  Prepare(s, &g);
  ASSERT_EQ(g.size(), 3u);
  ASSERT_EQ(StackGathers(s, g, 2), 0);
  ASSERT_EQ(s.StackCount(), 24);
  for (int j = 0; j < 24; ++j) {
    const TraceRecord* t = s.Stack()[j];
    EXPECT_EQ(t->NVS, 3);
    EXPECT_EQ(t->CHAN, j + 1);
    EXPECT_EQ(t->FLDR, 1);  // the header of gather 0's trace
    EXPECT_EQ(t->DIM, 16);
    for (int i = 0; i < 16; ++i) ASSERT_EQ(t->Samples()[i], Expected({1, 2, 3}, j, i)) << j << "," << i;
  }
  // The stack view scales by the largest sum, not by the AMAX copied from a shot.
  const SectionSummary view = StackSummary(s);
  EXPECT_EQ(view.maxSamples, 16);
  EXPECT_EQ(view.minInterval, 0.001);
  EXPECT_EQ(view.maxAmplitude, Expected({1, 2, 3}, 23, 15));
}

TEST(SelectiveStack, ExcludedTracesAndGathers) {
  SeismicSection s;
  Shots(s, 3, {24, 24, 24});
  std::vector<Gather> g;
  Prepare(s, &g);
  ASSERT_TRUE(ToggleTraceExclusion(s, g[2].first + 5));  // channel 5 of gather 2
  ASSERT_TRUE(ToggleTraceExclusion(s, g[0].first + 7));  // channel 7 of gather 0
  ASSERT_EQ(StackGathers(s, g, 2), 0);
  EXPECT_EQ(s.Stack()[5]->NVS, 2);
  EXPECT_EQ(s.Stack()[5]->Samples()[9], Expected({1, 2}, 5, 9));
  EXPECT_EQ(s.Stack()[7]->NVS, 2);
  EXPECT_EQ(s.Stack()[7]->Samples()[3], Expected({2, 3}, 7, 3));
  EXPECT_EQ(s.Stack()[7]->TSKIP, 0);

  // Ctrl-click on the partly excluded gather 0 excludes it all; again includes it all.
  ASSERT_TRUE(ToggleGatherExclusion(s, g, g[0].first + 3));
  for (int i = g[0].first; i < g[0].first + g[0].count; ++i) EXPECT_EQ(s.Trace(i)->TSKIP, 1);
  ASSERT_EQ(StackGathers(s, g, 2), 0);
  EXPECT_EQ(s.Stack()[0]->NVS, 2);
  EXPECT_EQ(s.Stack()[0]->Samples()[0], Expected({2, 3}, 0, 0));
  ASSERT_TRUE(ToggleGatherExclusion(s, g, g[0].first));
  for (int i = g[0].first; i < g[0].first + g[0].count; ++i) EXPECT_EQ(s.Trace(i)->TSKIP, 0);
  EXPECT_FALSE(ToggleGatherExclusion(s, g, 9999));
  EXPECT_FALSE(ToggleTraceExclusion(s, -1));
}

TEST(SelectiveStack, Refusals) {
  const char* refusal = nullptr;
  std::vector<Gather> g;
  SeismicSection one;
  Shots(one, 1, {24});
  ASSERT_EQ(AssignGatherNumbers(one), 0);
  EXPECT_EQ(PrepareStack(one, &g, &refusal), -1);
  EXPECT_STREQ(refusal, kStackSingleShot);

  SeismicSection unequal;
  Shots(unequal, 2, {24, 48});
  ASSERT_EQ(AssignGatherNumbers(unequal), 0);
  EXPECT_EQ(PrepareStack(unequal, &g, &refusal), -1);
  EXPECT_STREQ(refusal, kStackUnequalGathers);

  SeismicSection ragged;
  Shots(ragged, 2, {4, 4});
  TraceRecord* longer = TraceRecord::Allocate(20);
  longer->DT = 0.001;
  ASSERT_EQ(ragged.AppendTrace(longer, 1, 1), 0);
  EXPECT_EQ(PrepareStack(ragged, &g, &refusal), -1);
  EXPECT_STREQ(refusal, kStackNotFixedLength);

  // Without file numbers the FFIDs must be defined.
  SeismicSection noTags;
  Shots(noTags, 2, {4, 4});
  for (int i = 0; i < noTags.Count(); ++i) noTags.Trace(i)->FLDR = i < 4 ? 11 : 12;
  noTags.Trace(0)->LTAG = -1;
  EXPECT_EQ(AssignGatherNumbers(noTags), 0);
  EXPECT_EQ(noTags.Trace(5)->FLDR, 12);  // kept
  noTags.Trace(2)->FLDR = 0;
  EXPECT_EQ(AssignGatherNumbers(noTags), -1);
}

TEST(SelectiveStack, StatusCodes) {
  SeismicSection s;
  Shots(s, 3, {4, 4, 4});
  std::vector<Gather> g;
  ASSERT_EQ(AssignGatherNumbers(s), 0);
  const char* refusal = nullptr;
  ASSERT_EQ(PrepareStack(s, &g, &refusal), 0);
  EXPECT_EQ(StackGathers(s, g, 2), -5);  // no stack list yet
  ASSERT_EQ(AllocateStackList(s, 4, 8), 0);
  EXPECT_EQ(StackGathers(s, g, 2), -8);  // records too small for 16 samples
  ASSERT_EQ(AllocateStackList(s, 4, 16), 0);
  EXPECT_EQ(StackGathers(s, g, 0), -4);
  EXPECT_EQ(StackGathers(s, g, 3), -4);
  EXPECT_EQ(StackGathers(s, {g[0]}, 1), -3);
  std::vector<Gather> beyond = g;
  beyond[2].count = 9;
  EXPECT_EQ(StackGathers(s, beyond, 2), -6);
  std::vector<Gather> empty = g;
  empty[0].count = 0;
  EXPECT_EQ(StackGathers(s, empty, 2), -7);
  SeismicSection ragged;  // the same shots with one longer trace
  Shots(ragged, 3, {4, 4, 4});
  TraceRecord* longer = TraceRecord::Allocate(20);
  longer->DT = 0.001;
  ASSERT_EQ(ragged.AppendTrace(longer, 1, 1), 0);
  EXPECT_EQ(StackGathers(ragged, g, 2), -1);
  EXPECT_EQ(StackGathers(s, g, 1), 0);  // a partial stack of the first two gathers
  EXPECT_EQ(s.Stack()[0]->NVS, 2);
}
