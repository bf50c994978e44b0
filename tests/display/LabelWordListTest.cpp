#include <gtest/gtest.h>

#include <vector>

#include "display/HeaderPlotSettings.h"
#include "display/LabelWordList.h"
#include "section/HeaderLabelTable.h"

using Rows = std::vector<int>;

TEST(LabelWordList, CheckedWordsGoOnTopAndUncheckedOnesLeave) {
  LabelWordList w;
  w.Insert(12);
  w.Insert(10);
  w.Insert(0);
  EXPECT_EQ(w.Rows(), (Rows{0, 10, 12}));
  w.Insert(12);  // already chosen: moves up, never twice
  EXPECT_EQ(w.Rows(), (Rows{12, 0, 10}));
  EXPECT_EQ(w.Remove(0), 1);
  EXPECT_EQ(w.Rows(), (Rows{12, 10}));
  EXPECT_EQ(w.Remove(0), -1);
  w.Assign({5, 7, 5, 9});
  EXPECT_EQ(w.Rows(), (Rows{5, 7, 9}));
}

TEST(LabelWordList, UpAndDownWrapAround) {
  LabelWordList w;
  w.Assign({1, 2, 3, 4});
  EXPECT_EQ(w.MoveUp(2), 1);
  EXPECT_EQ(w.Rows(), (Rows{1, 3, 2, 4}));
  EXPECT_EQ(w.MoveUp(0), 3);  // the first goes last, the others keep their order
  EXPECT_EQ(w.Rows(), (Rows{3, 2, 4, 1}));
  EXPECT_EQ(w.MoveDown(3), 0);  // the last goes first
  EXPECT_EQ(w.Rows(), (Rows{1, 3, 2, 4}));
  EXPECT_EQ(w.MoveDown(1), 2);
  EXPECT_EQ(w.Rows(), (Rows{1, 2, 3, 4}));
  // No current entry, or a position past the end, changes nothing.
  EXPECT_EQ(w.MoveUp(-1), -1);
  EXPECT_EQ(w.MoveDown(4), -1);
  EXPECT_EQ(w.Rows(), (Rows{1, 2, 3, 4}));
  LabelWordList one;
  one.Assign({7});
  EXPECT_EQ(one.MoveUp(0), 0);
  EXPECT_EQ(one.MoveDown(0), 0);
  EXPECT_EQ(one.Rows(), (Rows{7}));
  LabelWordList none;
  EXPECT_EQ(none.MoveUp(0), -1);
}

TEST(LabelWordList, ApplyHandsOverTheFirstTwelveInListOrder) {
  LabelWordList w;
  w.Assign({17, 0, 12});
  EXPECT_EQ(w.AppliedRows(), (Rows{17, 0, 12}));

  Rows many;
  for (int r = 0; r < 15; ++r) many.push_back(r);
  w.Assign(many);
  Rows first12(many.begin(), many.begin() + 12);
  EXPECT_EQ(w.AppliedRows(), first12);
}

TEST(LabelWordList, OnlyWordsTheTabOffersAreTakenFromTheView) {
  Rows offered, hidden;
  for (int r = 0; r < kHeaderLabelCount; ++r)
    ((HeaderLabelRows()[r].flags & kLabelHeaderWords) ? offered : hidden).push_back(r);
  ASSERT_GE(offered.size(), 2u);
  ASSERT_FALSE(hidden.empty());
  LabelWordList w;
  w.AssignOffered({offered[1], hidden[0], -1, kHeaderLabelCount, offered[0]});
  EXPECT_EQ(w.Rows(), (Rows{offered[1], offered[0]}));
}

TEST(LabelWordList, GraduateStepIsAPositiveIntegerOrAuto) {
  EXPECT_EQ(LabelWordList::ParseGraduateStep("10"), 10);
  EXPECT_EQ(LabelWordList::ParseGraduateStep("  1 "), 1);
  EXPECT_EQ(LabelWordList::ParseGraduateStep("auto"), 0);
  EXPECT_EQ(LabelWordList::ParseGraduateStep(""), 0);
  EXPECT_EQ(LabelWordList::ParseGraduateStep("0"), 0);
  EXPECT_EQ(LabelWordList::ParseGraduateStep("-5"), 0);
  EXPECT_EQ(LabelWordList::ParseGraduateStep("5x"), 0);
  EXPECT_EQ(LabelWordList::ParseGraduateStep("99999999999"), 0);
  EXPECT_EQ(LabelWordList::FormatGraduateStep(0), "auto");
  EXPECT_EQ(LabelWordList::FormatGraduateStep(25), "25");
}

// The tick rule at its boundary and with no ticks, and the order of the
// limits: height first, then margins and ticks from the limited height.
TEST(HeaderPlotSettings, TickRuleAtItsBoundaryAndLimitsInOrder) {
  HeaderPlotSettings s;
  s.m_windowHeight = 60;
  s.m_majorTicks = 5;  // exactly 12 pixels apart: kept
  s.Limit(800);
  EXPECT_EQ(s.m_majorTicks, 5);
  s.m_majorTicks = 6;  // 10 pixels apart: int(60 / 12 + 0.5)
  s.Limit(800);
  EXPECT_EQ(s.m_majorTicks, 5);
  s.m_majorTicks = -4;
  s.Limit(800);
  EXPECT_EQ(s.m_majorTicks, 0);
  // The height is limited before the margins and ticks are checked.
  s.m_windowHeight = 400;
  s.m_verticalMargin = 40;
  s.m_majorTicks = 30;
  s.Limit(250);
  EXPECT_EQ(s.m_windowHeight, 200);
  EXPECT_EQ(s.m_verticalMargin, 20);
  EXPECT_EQ(s.m_majorTicks, 17);  // int(200 / 12 + 0.5)
}
