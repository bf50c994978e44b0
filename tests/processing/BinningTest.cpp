// 2D binning: midpoints and offsets (and their team independence), the
// projection rules at segment ends and vertices, the offset and distance
// limits, signed offsets, bins and ranks, the copies of the new section and
// the dialog's field rules.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "processing/Binning.h"

namespace {
// Appends a trace from source (sx, sy) to receiver (rx, ry); its first sample
// holds its index so that copies can be traced back.
TraceRecord* AddShotTrace(SeismicSection& s, double sx, double sy, double rx, double ry) {
  TraceRecord* t = TraceRecord::Allocate(8);
  t->DT = 0.002;
  t->SX = sx, t->SY = sy, t->RX = rx, t->RY = ry;
  for (int k = 0; k < 8; ++k) t->Samples()[k] = static_cast<float>(s.Count() * 100 + k);
  EXPECT_EQ(s.AppendTrace(t, 1, 0), 0);
  return t;
}

// A trace whose midpoint is (x, y), source and receiver h apart along x.
TraceRecord* AddMidpoint(SeismicSection& s, double x, double y, double h = 10.0) {
  return AddShotTrace(s, x - h / 2, y, x + h / 2, y);
}

std::unique_ptr<SeismicSection> BinIt(SeismicSection& s, const Profile& p, double bin,
                                      double maxDist = 1000.0, double maxOff = 1000.0,
                                      int* status = nullptr) {
  EXPECT_EQ(ComputeMidpointsAndOffsets(s, 1), 0);
  std::unique_ptr<SeismicSection> out;
  int r = BinSection(s, {maxOff, maxDist, bin}, p, &out);
  if (status) *status = r;
  return out;
}

// Index of the loaded trace a copy came from.
int Origin(const TraceRecord* t) {
  return static_cast<int>(t->Samples()[0]) / 100;
}
}  // namespace

TEST(Binning, MidpointsOffsetsAndUsability) {
  SeismicSection s;
  AddShotTrace(s, 0, 0, 30, 40);
  AddShotTrace(s, 100, 50, 100, 50);
  ASSERT_EQ(ComputeMidpointsAndOffsets(s, 1), 0);
  EXPECT_EQ(s.Trace(0)->OFF, 50.0f);
  EXPECT_EQ(s.Trace(0)->CDPX, 15.0);
  EXPECT_EQ(s.Trace(0)->CDPY, 20.0);
  EXPECT_EQ(s.Trace(1)->OFF, 0.0f);
  EXPECT_EQ(RetainedMidpoints(s, 100.0), std::vector<int32_t>{0});
  EXPECT_TRUE(RetainedMidpoints(s, 49.0).empty());
  EXPECT_EQ(RetainedMidpointsText(1, 2), "1 / 2 MPs retained");

  // Midpoints closer together than 0.001 in both directions are not usable.
  SeismicSection same;
  AddShotTrace(same, 0, 0, 10, 0);
  AddShotTrace(same, 10, 0.0004, 0, 0);
  EXPECT_EQ(ComputeMidpointsAndOffsets(same, 1), -1);
  SeismicSection empty;
  EXPECT_EQ(ComputeMidpointsAndOffsets(empty, 1), -1);
}

TEST(Binning, MidpointsIdenticalWithOneAndTwoThreads) {
  SeismicSection a, b;
  std::mt19937 rng(11);
  std::uniform_real_distribution<double> u(-5e5, 5e5);
  for (int i = 0; i < 20000; ++i) {
    double sx = u(rng), sy = u(rng), rx = u(rng), ry = u(rng);
    AddShotTrace(a, sx, sy, rx, ry);
    AddShotTrace(b, sx, sy, rx, ry);
  }
  MidpointSummary ma, mb;
  ASSERT_EQ(ComputeMidpointsAndOffsets(a, 1, &ma), 0);
  ASSERT_EQ(ComputeMidpointsAndOffsets(b, 2, &mb), 0);
  for (int i = 0; i < a.Count(); ++i)
    ASSERT_EQ(std::memcmp(a.Trace(i), b.Trace(i), kTraceHeaderBytes), 0) << i;
  EXPECT_EQ(std::memcmp(&ma.offMin, &mb.offMin, sizeof(float)), 0);
  EXPECT_EQ(std::memcmp(&ma.offMax, &mb.offMax, sizeof(float)), 0);
  const double va[] = {ma.xMin, ma.xMax, ma.yMin, ma.yMax}, vb[] = {mb.xMin, mb.xMax, mb.yMin, mb.yMax};
  EXPECT_EQ(std::memcmp(va, vb, sizeof va), 0);
  EXPECT_EQ(ma.traces, 20000);
}

TEST(Binning, TooShortProfileDoesNothing) {
  SeismicSection s;
  AddMidpoint(s, 10, 0);
  AddMidpoint(s, 30, 0);
  int status = 0;
  EXPECT_FALSE(BinIt(s, Profile({{0, 0}, {40, 0}}), 50.0, 1000, 1000, &status));
  EXPECT_EQ(status, -1);
  EXPECT_EQ(s.Trace(0)->OFF, 10.0f);
  EXPECT_FALSE(BinIt(s, Profile({{0, 0}}), 5.0, 1000, 1000, &status));
  EXPECT_EQ(status, -1);
  // The same profile with a bin no longer than it works.
  EXPECT_TRUE(BinIt(s, Profile({{0, 0}, {40, 0}}), 40.0));
}

TEST(Binning, SegmentStartIsLeftOutAndSegmentEndTaken) {
  SeismicSection s;
  AddMidpoint(s, 0, 0);     // t = 0 on the first segment
  AddMidpoint(s, 100, 0);   // t = u on the first, t = 0 on the second
  AddMidpoint(s, 100, 80);  // t = u on the second
  AddMidpoint(s, 50, 0);
  auto out = BinIt(s, Profile({{0, 0}, {100, 0}, {100, 80}}), 10.0, 1.0);
  ASSERT_TRUE(out);
  ASSERT_EQ(out->Count(), 3);
  std::vector<int> origins, segments;
  for (int i = 0; i < 3; ++i)
    origins.push_back(Origin(out->Trace(i))), segments.push_back(out->Trace(i)->BSEG);
  EXPECT_EQ(origins, (std::vector<int>{3, 1, 2}));
  EXPECT_EQ(segments, (std::vector<int>{0, 0, 1}));
  EXPECT_EQ(s.Trace(0)->BPROJ, 0);
  EXPECT_EQ(s.Trace(1)->BPROJ, 1);
}

TEST(Binning, ZeroOffsetsAndLimitsKeepTracesOut) {
  SeismicSection s;
  AddShotTrace(s, 20, 1, 20, 1);  // zero offset
  AddMidpoint(s, 30, 4.9);        // within 5 of the profile
  AddMidpoint(s, 40, -5.1);       // too far
  AddMidpoint(s, 50, 0, 60.0);    // offset above the limit
  AddMidpoint(s, 60, 0, 50.0);    // offset at the limit
  auto out = BinIt(s, Profile({{0, 0}, {100, 0}}), 10.0, 5.0, 50.0);
  ASSERT_TRUE(out);
  ASSERT_EQ(out->Count(), 2);
  EXPECT_EQ(Origin(out->Trace(0)), 1);
  EXPECT_EQ(Origin(out->Trace(1)), 4);
  // Only zero offsets stay out of the binning with no limits at all.
  auto all = BinIt(s, Profile({{0, 0}, {100, 0}}), 10.0, kBinningNoLimit, kBinningNoLimit);
  ASSERT_TRUE(all);
  EXPECT_EQ(all->Count(), 4);
  for (int i = 0; i < all->Count(); ++i) EXPECT_NE(Origin(all->Trace(i)), 0);
  // The widened bounding box is strict: a midpoint on its edge stays out
  // even though its distance equals the limit.
  SeismicSection edge;
  AddMidpoint(edge, 50, 5.0);
  AddMidpoint(edge, 60, 1.0);
  auto e = BinIt(edge, Profile({{0, 0}, {100, 0}}), 10.0, 5.0);
  ASSERT_TRUE(e);
  EXPECT_EQ(e->Count(), 1);
  EXPECT_EQ(Origin(e->Trace(0)), 1);
}

TEST(Binning, MidpointNearAVertexGivesTwoCopiesWithTheirOwnSigns) {
  SeismicSection s;
  // Midpoint (90, 5): 5 left of the first segment at 90, 10 left of the
  // second at 5. The source lies behind the midpoint along the first segment
  // and ahead of it along the second.
  AddShotTrace(s, 80, 10, 100, 0);
  AddMidpoint(s, 20, 0);
  auto out = BinIt(s, Profile({{0, 0}, {100, 0}, {100, 100}}), 10.0, 20.0);
  ASSERT_TRUE(out);
  ASSERT_EQ(out->Count(), 3);
  const TraceRecord* first = nullptr;
  const TraceRecord* second = nullptr;
  for (int i = 0; i < 3; ++i) {
    const TraceRecord* t = out->Trace(i);
    if (Origin(t) == 0) (t->BSEG == 0 ? first : second) = t;
  }
  ASSERT_TRUE(first && second);
  const float off = std::sqrt(500.0f);
  EXPECT_FLOAT_EQ(first->OFF, off);
  EXPECT_FLOAT_EQ(second->OFF, -off);
  EXPECT_EQ(first->BPROJ, 2);
  EXPECT_EQ(second->BPROJ, 2);
  // Bins along the profile: 20 -> bin 1, 90 -> bin 8, 105 -> bin 9.
  EXPECT_EQ(first->CDP, 8);
  EXPECT_EQ(second->CDP, 9);
  // Bins start at 20: bin 8 spans 90..100 on the first segment, bin 9 spans
  // 100..110 on the second.
  EXPECT_DOUBLE_EQ(first->CDPX, 95.0);
  EXPECT_DOUBLE_EQ(first->CDPY, 0.0);
  EXPECT_DOUBLE_EQ(second->CDPX, 100.0);
  EXPECT_DOUBLE_EQ(second->CDPY, 5.0);
  // The loaded trace keeps the sign of its last projection.
  EXPECT_FLOAT_EQ(s.Trace(0)->OFF, -off);
  EXPECT_EQ(s.Trace(0)->BPROJ, 2);
}

TEST(Binning, BinsAndRanksCountEmptyBins) {
  // Along-distances 3, 10 and 60 with bins of 25: bins 1, 1, 3, ranks 1, 2, 1.
  SeismicSection s;
  for (double x : {3.0, 10.0, 60.0}) AddMidpoint(s, x, 0)->OFF = 1.0f;
  for (int i = 0; i < 3; ++i) s.Trace(i)->CDPX = s.Trace(i)->SX + 5.0;
  Profile p({{0, 0}, {50, 0}, {50, 50}});
  ASSERT_EQ(AssignBins(s, p, 25.0), 0);
  std::vector<int> bins, ranks;
  for (int i = 0; i < 3; ++i) bins.push_back(s.Trace(i)->CDP), ranks.push_back(s.Trace(i)->CDPT);
  EXPECT_EQ(bins, (std::vector<int>{1, 1, 3}));
  EXPECT_EQ(ranks, (std::vector<int>{1, 2, 1}));
  // Bin 1 spans 3..28; bin 3 spans 53..78, on the second segment.
  EXPECT_DOUBLE_EQ(s.Trace(0)->CDPX, 15.5);
  EXPECT_DOUBLE_EQ(s.Trace(0)->CDPY, 0.0);
  EXPECT_DOUBLE_EQ(s.Trace(2)->CDPX, 50.0);
  EXPECT_DOUBLE_EQ(s.Trace(2)->CDPY, 15.5);
  EXPECT_EQ(AssignBins(s, p, 0.0), -1);
}

TEST(Binning, BinnedSectionSortedByBinThenOffsetWithRanksRenumbered) {
  SeismicSection s;
  std::memcpy(s.m_textualHeader, "C01 BINNING INPUT", 17);
  s.m_binaryHeader[10] = 42;
  AddMidpoint(s, 3, 1, 30.0);    // bin 1, far offset
  AddMidpoint(s, 10, -2, 10.0);  // bin 1, near offset
  AddMidpoint(s, 60, 0, 20.0);   // bin 3
  AddShotTrace(s, 12, 0, 2, 0);  // bin 1, source ahead of the midpoint: offset -10
  auto out = BinIt(s, Profile({{0, 0}, {100, 0}}), 25.0);
  ASSERT_TRUE(out);
  ASSERT_EQ(out->Count(), 4);
  std::vector<int> origins, bins, ranks;
  std::vector<float> offsets;
  for (int i = 0; i < 4; ++i) {
    const TraceRecord* t = out->Trace(i);
    origins.push_back(Origin(t)), bins.push_back(t->CDP), ranks.push_back(t->CDPT), offsets.push_back(t->OFF);
  }
  EXPECT_EQ(origins, (std::vector<int>{3, 1, 0, 2}));
  EXPECT_EQ(bins, (std::vector<int>{1, 1, 1, 3}));
  EXPECT_EQ(ranks, (std::vector<int>{1, 2, 3, 1}));
  EXPECT_EQ(offsets, (std::vector<float>{-10.0f, 10.0f, 30.0f, 20.0f}));
  // Copies are whole: samples, identity and the file headers come along.
  const TraceRecord* c = out->Trace(3);
  const TraceRecord* o = s.Trace(2);
  EXPECT_EQ(std::memcmp(c->Samples(), o->Samples(), 8 * sizeof(float)), 0);
  EXPECT_EQ(c->TRNO, o->TRNO);
  EXPECT_EQ(c->SX, o->SX);
  EXPECT_EQ(std::memcmp(out->m_textualHeader, s.m_textualHeader, kTextualHeaderBytes), 0);
  EXPECT_EQ(out->m_binaryHeader[10], 42);
  EXPECT_EQ(out->Summary().maxSamples, 8);  // the new section was scanned
  // The loaded section keeps its midpoints.
  EXPECT_EQ(s.Trace(2)->CDPX, 60.0);
  // One ensemble per bin.
  ASSERT_EQ(out->m_ensembleCount, 2);
  EXPECT_EQ(out->m_ensembles[0].count, 3);
  EXPECT_EQ(out->m_ensembles[1].first, 3);
  EXPECT_EQ(out->m_ensembles[1].key, 3.0);
}

TEST(Binning, BinsOfOneTraceStayInBinOrder) {
  // Offsets falling along the profile: ordering by offset alone would
  // reverse the bins.
  SeismicSection s;
  for (int i = 0; i < 6; ++i) AddMidpoint(s, 5.0 + 20.0 * i, 0, 60.0 - 10.0 * i);
  auto out = BinIt(s, Profile({{0, 0}, {200, 0}}), 20.0);
  ASSERT_TRUE(out);
  ASSERT_EQ(out->Count(), 6);
  for (int i = 0; i < 6; ++i) {
    EXPECT_EQ(out->Trace(i)->CDP, i + 1);
    EXPECT_EQ(out->Trace(i)->CDPT, 1);
    EXPECT_EQ(Origin(out->Trace(i)), i);
  }
  EXPECT_EQ(out->m_ensembleCount, 6);
}

TEST(Binning, NothingProjectedAndBadParameters) {
  SeismicSection s;
  AddMidpoint(s, 50, 500);
  AddMidpoint(s, 60, -500);
  int status = 0;
  EXPECT_FALSE(BinIt(s, Profile({{0, 0}, {100, 0}}), 10.0, 100.0, 1000.0, &status));
  EXPECT_EQ(status, -1);
  std::unique_ptr<SeismicSection> out;
  EXPECT_EQ(BinSection(s, {1000, 1000, 0.0}, Profile({{0, 0}, {100, 0}}), &out), -1);
  EXPECT_EQ(BinSection(s, {1000, 1000, NAN}, Profile({{0, 0}, {100, 0}}), &out), -1);
  // More bins than the CDP word can number.
  EXPECT_EQ(BinSection(s, {1000, 1000, 1e-9}, Profile({{0, 0}, {1e6, 0}}), &out), -1);
  SeismicSection empty;
  EXPECT_EQ(BinSection(empty, {1000, 1000, 10.0}, Profile({{0, 0}, {100, 0}}), &out), -1);
  EXPECT_FALSE(out);
}
