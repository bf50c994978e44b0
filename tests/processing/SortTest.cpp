// Trace sorting: ensembles of a shot-ordered dataset, the splitting rule, key
// inheritance, |offset| classes, Revert, the quicksort on every value type
// (with NaN headers), the dialog's reading rules and the key names.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <set>
#include <vector>

#include "processing/TraceSort.h"
#include "section/SortKeyTable.h"

namespace {
// 10 shots x 24 channels, appended in a shuffled order; AMAX = fldr * 100 + chan.
void ShotSection(SeismicSection& s, unsigned seed = 3) {
  std::vector<std::pair<int, int>> order;
  for (int shot = 1; shot <= 10; ++shot)
    for (int ch = 1; ch <= 24; ++ch) order.push_back({shot, ch});
  std::shuffle(order.begin(), order.end(), std::mt19937(seed));
  for (auto [shot, ch] : order) {
    TraceRecord* t = TraceRecord::Allocate(4);
    t->DT = 0.001;
    t->FLDR = shot * 10;
    t->CHAN = ch;
    t->SDIR = static_cast<uint8_t>(ch > 12);
    t->AMAX = static_cast<float>(shot * 100 + ch) * (ch % 2 ? 1.0f : -1.0f);
    ASSERT_EQ(s.AppendTrace(t, 1, 0), 0);
  }
}

SortParams Keys(std::initializer_list<std::pair<int, int>> keys) {
  SortParams p;
  for (auto [id, dir] : keys) {
    p.keys[p.keyCount] = id;
    p.directions[p.keyCount] = dir;
    ++p.keyCount;
  }
  return p;
}

constexpr int kFldr = 3, kChan = 4, kOffset = 11, kShotDir = 23, kTrace = 20;
}  // namespace

TEST(Sort, ShotsIntoEnsemblesOrderedByChannel) {
  SeismicSection s;
  ShotSection(s);
  ASSERT_EQ(SortSection(s, Keys({{kFldr, kSortAscending}, {kChan, kSortDescending}})), 0);
  ASSERT_EQ(s.m_ensembleCount, 10);
  EXPECT_EQ(s.m_ensembleKey, kFldr);
  for (int e = 0; e < 10; ++e) {
    const EnsembleRecord& r = s.m_ensembles[e];
    EXPECT_EQ(r.first, e * 24);
    EXPECT_EQ(r.count, 24);
    EXPECT_EQ(r.key, (e + 1) * 10.0);
    for (int k = 0; k < 24; ++k) {
      const TraceRecord* t = s.Trace(r.first + k);
      EXPECT_EQ(t->FLDR, (e + 1) * 10);
      EXPECT_EQ(t->CHAN, 24 - k);
      EXPECT_EQ(t->EAMAX, static_cast<float>((e + 1) * 100 + 24));  // |AMAX| of channel 24
    }
  }
}

TEST(Sort, DistinctFirstKeyFormsNoEnsembles) {
  SeismicSection s;
  ShotSection(s);
  EXPECT_EQ(SortSection(s, Keys({{kTrace, kSortDescending}})), -1);
  EXPECT_EQ(s.m_ensembleCount, 0);
  for (int i = 0; i < s.Count(); ++i) ASSERT_EQ(s.Trace(i)->TRNO, 240 - i);  // still reordered

  ASSERT_EQ(SortSection(s, Keys({{kTrace, kSortAscending}, {kFldr, kSortAscending}})), 0);
  EXPECT_EQ(s.m_ensembleCount, 10);
  EXPECT_EQ(s.m_ensembleKey, kFldr);
  for (int i = 1; i < s.Count(); ++i) ASSERT_LE(s.Trace(i - 1)->FLDR, s.Trace(i)->FLDR);
}

TEST(Sort, SplitOnlyBelowHalfTheEnsembleAndInheritKeys) {
  // Six traces with three values split (2 < 3); with four values they do not (3 is not < 3).
  for (auto [values, ensembles] : {std::pair{3, 3}, std::pair{4, 0}}) {
    SeismicSection s;
    for (int i = 0; i < 6; ++i) {
      TraceRecord* t = TraceRecord::Allocate(2);
      t->CHAN = i % values;
      ASSERT_EQ(s.AppendTrace(t, 1, 0), 0);
    }
    int r = SortSection(s, Keys({{kChan, kSortAscending}}));
    EXPECT_EQ(r, ensembles ? 0 : -1);
    EXPECT_EQ(s.m_ensembleCount, ensembles);
  }
  // A middle level splits every shot in two halves that keep their shot's key value.
  SeismicSection s;
  ShotSection(s);
  ASSERT_EQ(
      SortSection(s, Keys({{kFldr, kSortAscending}, {kShotDir, kSortAscending}, {kChan, kSortAscending}})),
      0);
  ASSERT_EQ(s.m_ensembleCount, 20);
  for (int e = 0; e < 20; ++e) {
    EXPECT_EQ(s.m_ensembles[e].count, 12);
    EXPECT_EQ(s.m_ensembles[e].key, (e / 2 + 1) * 10.0);
    EXPECT_EQ(s.Trace(s.m_ensembles[e].first)->CHAN, e % 2 ? 13 : 1);
  }
}

TEST(Sort, OffsetClasses) {
  EXPECT_EQ(OffsetClass(-37.0f, 25.0f), 25.0f);
  EXPECT_EQ(OffsetClass(38.0f, 25.0f), 50.0f);
  EXPECT_EQ(OffsetClass(12.4f, 25.0f), 0.0f);
  EXPECT_EQ(OffsetClass(12.5f, 25.0f), 25.0f);
  SeismicSection s;
  for (float off : {-37.0f, 38.0f, 12.4f, 12.5f, -60.0f, 61.0f}) {
    TraceRecord* t = TraceRecord::Allocate(2);
    t->OFF = off;
    ASSERT_EQ(s.AppendTrace(t, 1, 0), 0);
  }
  SortParams p = Keys({{kSortKeyOffsetClass, kSortAscending}, {kOffset, kSortAscending}});
  ASSERT_EQ(SortSection(s, p), 0);
  std::vector<float> classes;
  for (int i = 0; i < s.Count(); ++i) classes.push_back(s.Trace(i)->OFFCLS);
  EXPECT_EQ(classes, (std::vector<float>{0, 25, 25, 50, 50, 50}));
  EXPECT_EQ(s.Trace(1)->OFF, -37.0f);  // second key orders within the class
  EXPECT_EQ(s.m_ensembleKey, kSortKeyOffsetClass);

  // No spread of offsets: every class is 0.
  for (int i = 0; i < s.Count(); ++i) s.Trace(i)->OFF = 5.0f;
  EXPECT_EQ(SortSection(s, p), -1);
  for (int i = 0; i < s.Count(); ++i) EXPECT_EQ(s.Trace(i)->OFFCLS, 0.0f);
  p.classWidth = 0.0f;
  EXPECT_EQ(SortSection(s, p), -1);
}

TEST(Sort, RevertRestoresTheLoadOrder) {
  SeismicSection s;
  ShotSection(s);
  std::vector<TraceRecord*> loaded(s.Traces().begin(), s.Traces().end());
  ASSERT_EQ(SortSection(s, Keys({{kChan, kSortDescending}, {kFldr, kSortAscending}})), 0);
  EXPECT_NE(std::vector<TraceRecord*>(s.Traces().begin(), s.Traces().end()), loaded);
  RevertSort(s);
  EXPECT_EQ(std::vector<TraceRecord*>(s.Traces().begin(), s.Traces().end()), loaded);
  EXPECT_EQ(s.m_ensembleCount, 0);
}

TEST(Sort, RefusesOneTraceAndBadParameters) {
  SeismicSection one;
  TraceRecord* t = TraceRecord::Allocate(2);
  ASSERT_EQ(one.AppendTrace(t, 1, 0), 0);
  EXPECT_EQ(SortSection(one, Keys({{kFldr, kSortAscending}})), -1);
  SeismicSection s;
  ShotSection(s);
  ASSERT_EQ(SortSection(s, Keys({{kFldr, kSortAscending}})), 0);
  EXPECT_EQ(SortSection(s, Keys({})), -1);
  EXPECT_EQ(SortSection(s, Keys({{0, kSortAscending}})), -1);
  EXPECT_EQ(SortSection(s, Keys({{26, kSortAscending}})), -1);
  EXPECT_EQ(s.m_ensembleCount, 10);  // refused sorts keep the list
}

// Every value type, both directions, many duplicates and some NaNs.
TEST(Sort, QuicksortOrdersEveryKeyType) {
  std::mt19937 rng(11);
  for (int id = 1; id < kSortKeyCount; ++id) {
    const SortKeyRow& row = *FindSortKey(id);
    for (int dir : {kSortAscending, kSortDescending}) {
      SeismicSection s;
      std::uniform_int_distribution<int> small(0, 40);
      for (int i = 0; i < 500; ++i) {
        TraceRecord* t = TraceRecord::Allocate(2);
        double v = small(rng) - 20;
        if ((row.type == kTypeF32 || row.type == kTypeF64) && i % 37 == 0) v = std::nan("");
        if (row.type == kTypeU8) v = small(rng);
        SetFieldValue(t, row.type, row.field, v);
        ASSERT_EQ(s.AppendTrace(t, 1, 0), 0);
      }
      std::multiset<TraceRecord*> before(s.Traces().begin(), s.Traces().end());
      SortParams p = Keys({{id, dir}});
      p.classWidth = 1.0f;
      if (id == kSortKeyOffsetClass || id == kTrace) continue;  // fields rewritten or stamped
      SortSection(s, p);
      EXPECT_EQ(std::multiset<TraceRecord*>(s.Traces().begin(), s.Traces().end()), before);
      for (int i = 1; i < s.Count(); ++i) {
        double a = *SortKeyValue(s.Trace(i - 1), row), b = *SortKeyValue(s.Trace(i), row);
        if (dir == kSortDescending) std::swap(a, b);
        ASSERT_TRUE(std::isnan(b) || (!std::isnan(a) && a <= b))
            << row.label << " dir " << dir << " at " << i;
      }
    }
  }
}

TEST(Sort, DialogReadingRules) {
  SortParams p;
  p.classWidth = 25.0f;
  std::string shown;
  SortDialogFields f;
  EXPECT_FALSE(ReadSortDialog(f, &p, &shown));  // no key
  f.keyChoice[0] = kFldr;
  f.keyChoice[2] = kFldr;
  EXPECT_FALSE(ReadSortDialog(f, &p, &shown));  // same key twice
  f.keyChoice[2] = kChan;
  f.direction[2] = kSortDescending;
  f.widthText = "abc";  // ignored while the width field is hidden
  ASSERT_TRUE(ReadSortDialog(f, &p, &shown));
  EXPECT_EQ(shown, "25");
  EXPECT_EQ(p.keyCount, 2);
  EXPECT_EQ(p.keys[1], kChan);
  EXPECT_EQ(p.directions[1], kSortDescending);
  f.keyChoice[1] = kSortKeyOffsetClass;
  EXPECT_TRUE(ClassWidthVisible(f));
  f.widthText = "-5";
  EXPECT_FALSE(ReadSortDialog(f, &p, &shown));
  EXPECT_EQ(p.keyCount, 2);  // keys unchanged on error
  f.widthText = "12.5";
  ASSERT_TRUE(ReadSortDialog(f, &p, &shown));
  EXPECT_EQ(p.classWidth, 12.5f);
  EXPECT_EQ(p.keyCount, 3);
}

TEST(Sort, KeyNames) {
  EXPECT_EQ(FindSortKeyByName("FLDR"), kFldr);
  EXPECT_EQ(FindSortKeyByName("chan"), kChan);
  EXPECT_EQ(FindSortKeyByName("CDP"), 5);
  EXPECT_EQ(FindSortKeyByName("OFFSET"), kOffset);
  EXPECT_EQ(FindSortKeyByName("OFFCLS"), kSortKeyOffsetClass);
  EXPECT_EQ(FindSortKeyByName("TRACL"), kTrace);
  EXPECT_EQ(FindSortKeyByName("10"), 10);
  EXPECT_EQ(FindSortKeyByName("26"), -1);
  EXPECT_EQ(FindSortKeyByName("NOPE"), -1);
}
