#include <gtest/gtest.h>

#include <climits>

#include "display/BackingStore.h"
#include "display/DisplayParams.h"

namespace {

TEST(BackingStore, CreateSetsResolutionAndIsIdempotent) {
  DisplayParams params;
  BackingStore store;
  EXPECT_FALSE(store.HasDescription());
  ASSERT_EQ(store.CreateBackingStore(150, params), 0);
  EXPECT_EQ(store.Description()->xPixelsPerMetre, 5905);
  EXPECT_EQ(store.Description()->width, 0);
  EXPECT_EQ(store.GetPalette().Colorref(134), 0x818181u);
  params.m_palette = 3;
  ASSERT_EQ(store.CreateBackingStore(96, params), 0);
  EXPECT_EQ(store.Description()->xPixelsPerMetre, 5905);
  EXPECT_EQ(store.GetPalette().Colorref(134), 0x818181u);
}

TEST(BackingStore, StrideIsAlwaysWiderThanTheClientArea) {
  const int widths[][2] = {{801, 804}, {800, 804}, {803, 804}, {804, 808}, {1, 4}, {0, 4}, {1920, 1924}};
  for (const auto& w : widths) {
    BackingStore store;
    ASSERT_EQ(store.ResizeBackingStore(w[0], 10), 0);
    EXPECT_EQ(store.Stride(), w[1]) << w[0];
    EXPECT_EQ(store.Stride() % 4, 0);
    EXPECT_GT(store.Stride(), w[0]);
  }
}

TEST(BackingStore, ReusesARasterThatStillFits) {
  BackingStore store;
  ASSERT_EQ(store.ResizeBackingStore(801, 600), 0);
  const uint8_t* first = store.Pixels();
  ASSERT_EQ(store.ResizeBackingStore(700, 500), 0);
  EXPECT_EQ(store.Pixels(), first);
  EXPECT_EQ(store.Stride(), 804);
  EXPECT_EQ(store.ClientWidth(), 700);
  EXPECT_EQ(store.ClientHeight(), 500);
  ASSERT_EQ(store.ResizeBackingStore(804, 600), 0);  // not narrower than the stride
  EXPECT_EQ(store.Stride(), 808);
  ASSERT_EQ(store.ResizeBackingStore(100, 601), 0);  // taller
  EXPECT_EQ(store.Stride(), 104);
  EXPECT_EQ(store.Rows(), 601);
}

TEST(BackingStore, ClearCoversTheClientRowsAndRowsAreTopDown) {
  BackingStore store;
  ASSERT_EQ(store.ResizeBackingStore(10, 5), 0);
  store.Clear(7);
  for (int i = 0; i < store.Stride() * 5; ++i) ASSERT_EQ(store.Pixels()[i], 7);
  store.Row(3)[2] = 9;
  EXPECT_EQ(store.Pixels()[3 * store.Stride() + 2], 9);
}

TEST(BackingStore, AllocationFailureLeavesNoRaster) {
  DisplayParams params;
  BackingStore store;
  ASSERT_EQ(store.CreateBackingStore(150, params), 0);
  ASSERT_EQ(store.ResizeBackingStore(100, 100), 0);
  EXPECT_EQ(store.ResizeBackingStore(INT_MAX, INT_MAX, 1), -999);
  EXPECT_FALSE(store.HasRaster());
  EXPECT_EQ(store.Description()->width, 0);
  EXPECT_EQ(store.Description()->height, 0);
  store.Clear();  // must be harmless without a raster
  EXPECT_EQ(store.ResizeBackingStore(-5, -5), 0);
  EXPECT_EQ(store.Stride(), 4);
}

}  // namespace
