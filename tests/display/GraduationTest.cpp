#include <gtest/gtest.h>

#include "display/Graduation.h"

namespace {

TEST(Graduation, NiceNumbers) {
  const double cases[][2] = {{0.7, 1},   {1.5, 2},    {2.0, 2},       {3, 5},      {7, 10},     {0.023, 0.05},
                             {1.0, 1},   {1.0009, 1}, {1.002, 2},     {2.0009, 2}, {5.0009, 5}, {5.002, 10},
                             {100, 100}, {999, 1000}, {0.001, 0.001}, {1234, 2000}};
  for (const auto& c : cases) EXPECT_DOUBLE_EQ(NiceNumber(c[0]), c[1]) << c[0];
  EXPECT_EQ(NiceNumber(0.0), 0.0);
  EXPECT_EQ(NiceNumber(-3.0), 0.0);
}

TEST(Graduation, Decimals) {
  EXPECT_EQ(StepDecimals(0.05), 2);
  EXPECT_EQ(StepDecimals(10), 0);
  EXPECT_EQ(StepDecimals(1), 0);
  EXPECT_EQ(StepDecimals(0.1), 1);
  EXPECT_EQ(StepDecimals(0.2), 1);
  EXPECT_EQ(StepDecimals(0.001), 3);
  EXPECT_EQ(StepDecimals(NiceNumber(0.00042)), 4);  // 0.0005
  EXPECT_EQ(StepDecimals(NiceNumber(0.0009)), 3);   // 0.001
  EXPECT_EQ(StepDecimals(NiceNumber(0.0001)), 4);
}

TEST(Graduation, InwardTicksLieInsideTheRange) {
  Graduation g;
  g.flags = 2;  // bit 0 clear: inward
  g.targetCount = 5;
  g.Compute(0.0, 1000.0);
  EXPECT_DOUBLE_EQ(g.step, 200.0);
  EXPECT_DOUBLE_EQ(g.firstTick, 0.0);
  EXPECT_DOUBLE_EQ(g.lastTick, 1000.0);
  EXPECT_EQ(g.decimals, 0);

  g.targetCount = 7;
  g.Compute(0.3, 0.95);  // step 0.1; 0.3 / 0.1 is not exactly 3 in doubles
  EXPECT_DOUBLE_EQ(g.step, 0.1);
  EXPECT_NEAR(g.firstTick, 0.3, 1e-12);
  EXPECT_NEAR(g.lastTick, 0.9, 1e-12);
  EXPECT_EQ(g.decimals, 1);

  g.targetCount = 5;
  g.Compute(10.0, 0.5);  // falling range: ticks still inside
  EXPECT_DOUBLE_EQ(g.step, 2.0);
  EXPECT_DOUBLE_EQ(g.firstTick, 10.0);
  EXPECT_DOUBLE_EQ(g.lastTick, 2.0);

  g.targetCount = 0.2;  // below 1 counts as 1
  g.Compute(0.0, 7.0);
  EXPECT_DOUBLE_EQ(g.step, 10.0);
}

TEST(Graduation, OutwardTicksEncloseTheRange) {
  Graduation g;
  g.flags = kGraduationOutward;
  g.targetCount = 4;
  g.Compute(0.25, 0.93);  // span 0.68 -> 1, step 0.25 -> 0.5
  EXPECT_DOUBLE_EQ(g.step, 0.5);
  EXPECT_DOUBLE_EQ(g.firstTick, 0.0);
  EXPECT_DOUBLE_EQ(g.lastTick, 1.0);
  g.Compute(-3.0, -17.0);  // falling: first above, last below
  EXPECT_DOUBLE_EQ(g.step, 5.0);
  EXPECT_DOUBLE_EQ(g.firstTick, 0.0);
  EXPECT_DOUBLE_EQ(g.lastTick, -20.0);
  g.targetCount = 10;
  g.Compute(0.3, 0.9);  // 0.3 / 0.1 falls just below 3: must not round out to 0.2
  EXPECT_DOUBLE_EQ(g.step, 0.1);
  EXPECT_NEAR(g.firstTick, 0.3, 1e-12);
  EXPECT_NEAR(g.lastTick, 0.9, 1e-12);
}

TEST(Graduation, EmptyRangeGivesNoStep) {
  Graduation g;
  g.targetCount = 5;
  g.Compute(3.0, 3.0);
  EXPECT_EQ(g.step, 0.0);
  EXPECT_EQ(g.firstTick, 3.0);
  EXPECT_EQ(g.lastTick, 3.0);
}

}  // namespace
