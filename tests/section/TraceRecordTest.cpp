#include <gtest/gtest.h>

#include <cstring>

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
  // Every width over lengths around the 16-byte blocks, from an odd address.
  for (std::size_t n : {0, 1, 3, 4, 5, 8, 17, 33}) {
    alignas(16) unsigned char bytes[8 * 33 + 1];
    for (std::size_t i = 0; i < sizeof bytes; ++i) bytes[i] = static_cast<unsigned char>(i * 7 + n);
    auto check = [&](auto one, auto reverse) {
      using T = decltype(one);
      unsigned char copy[sizeof bytes];
      std::memcpy(copy, bytes, sizeof bytes);
      reverse(copy + 1, n);
      for (std::size_t i = 0; i < n; ++i) {
        T a, b;
        std::memcpy(&a, bytes + 1 + i * sizeof(T), sizeof(T));
        std::memcpy(&b, copy + 1 + i * sizeof(T), sizeof(T));
        EXPECT_EQ(b, ByteSwap(a)) << sizeof(T) << " bytes, n " << n << ", word " << i;
      }
      EXPECT_EQ(
          std::memcmp(copy + 1 + n * sizeof(T), bytes + 1 + n * sizeof(T), sizeof bytes - 1 - n * sizeof(T)),
          0);
    };
    check(uint16_t{}, ReverseBytes16);
    check(uint32_t{}, ReverseBytes32);
    check(uint64_t{}, ReverseBytes64);
  }
}
