#include <gtest/gtest.h>

#include "section/ByteOrder.h"
#include "section/SeismicSection.h"

TEST(TraceRecord, OneSampleTraceStillHasTwoSlots) {
  TraceRecord* t = TraceRecord::Allocate(1);
  ASSERT_NE(t, nullptr);
  EXPECT_EQ(t->DIM, 2);
  EXPECT_EQ(t->NS, 1);
  EXPECT_EQ(t->Samples()[1], 0.0f);
  TraceRecord::Free(t);
}

TEST(TraceRecord, PeakTieGoesToMaximum) {
  TraceRecord* t = TraceRecord::Allocate(4);
  float s[4] = {-5.0f, 1.0f, 5.0f, 5.0f};
  std::copy(s, s + 4, t->Samples());
  t->DT = 0.002;
  t->DELAY = 0.1;
  t->UpdatePeak();
  EXPECT_EQ(t->AMAX, 5.0f);
  EXPECT_FLOAT_EQ(t->TAMAX, 2 * 0.002f + 0.1f);
  TraceRecord::Free(t);
}

TEST(SeismicSection, ListGrowsFrom4096To8192) {
  SeismicSection s;
  for (int i = 0; i < 4096; ++i) ASSERT_EQ(s.AppendTrace(TraceRecord::Allocate(3), 1, 0), 0);
  EXPECT_EQ(s.Capacity(), 4096u);
  ASSERT_EQ(s.AppendTrace(TraceRecord::Allocate(3), 1, 0), 0);
  EXPECT_EQ(s.Capacity(), 8192u);
  EXPECT_EQ(s.Trace(4096)->TRNO, 4097);
  EXPECT_EQ(s.Traces().size(), 4097u);
}

TEST(ByteOrder, ReversalCoversBlocksAndRemainder) {
  uint32_t v[7];
  for (uint32_t i = 0; i < 7; ++i) v[i] = 0x01020300u + i;
  ReverseBytes32(v, 7);
  for (uint32_t i = 0; i < 7; ++i) EXPECT_EQ(v[i], ByteSwap<uint32_t>(0x01020300u + i));
  uint16_t w[9];
  for (uint16_t i = 0; i < 9; ++i) w[i] = static_cast<uint16_t>(0x0100 + i);
  ReverseBytes16(w, 9);
  EXPECT_EQ(w[8], 0x0801);
}
