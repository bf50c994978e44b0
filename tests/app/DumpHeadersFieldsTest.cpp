#include <gtest/gtest.h>

#include "app/tools/DumpHeadersFields.h"

TEST(DumpHeadersFields, DumpRequestFromTheBoxesAndRange) {
  DumpRequest r = MakeDumpRequest(false, false, false, "5", "9");
  EXPECT_EQ(r.flags, 0x12);
  EXPECT_EQ(r.firstTrace, 5);
  EXPECT_EQ(r.lastTrace, 5);  // no box checked: the first trace only
  r = MakeDumpRequest(true, false, true, "", "x");
  EXPECT_EQ(r.flags, 0x11);
  EXPECT_EQ(r.firstTrace, 1);
  EXPECT_EQ(r.lastTrace, 1);
  r = MakeDumpRequest(false, true, true, " 3", "12");
  EXPECT_EQ(r.flags, 0x12);
  EXPECT_EQ(r.lastTrace, 12);
}
