// The profile's digitizing rules without a window: the 256-point limit, what
// "Finished" undoes, and which entries the action list offers.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "app/SynthSurvey.h"
#include "app/tools/ProfileEditor.h"
#include "section/SeismicSection.h"

TEST(ProfileEditorTest, HoldsAtMost256Points) {
  ProfileEditor e;
  std::vector<ProfilePoint> many;
  for (int i = 0; i < 300; ++i) many.push_back({1.0 * i, 0.0});
  e.SetPoints(many);
  EXPECT_EQ(e.Count(), kProfileMaxPoints);
  e.Start(ProfileAction::kAdd);
  EXPECT_FALSE(e.Click(5.0, 5.0));
  e.Start(ProfileAction::kInsert);
  EXPECT_FALSE(e.Click(5.0, 5.0));
  EXPECT_EQ(e.Count(), kProfileMaxPoints);
}

TEST(ProfileEditorTest, FinishedUndoesAnEditInProgress) {
  ProfileEditor e;
  e.SetPoints({{0.0, 0.0}, {10.0, 0.0}});
  e.Start(ProfileAction::kInsert);
  ASSERT_TRUE(e.Click(5.0, 1.0));
  ASSERT_EQ(e.Count(), 3);
  EXPECT_EQ(e.Points()[1].x, DBLE_UNDEF);  // the gap waits for the mouse
  EXPECT_EQ(e.DefinedPoints().size(), 2u);
  e.Finish();
  EXPECT_EQ(e.Count(), 2);
  e.Start(ProfileAction::kReshape);
  ASSERT_TRUE(e.Click(9.0, 1.0));
  ASSERT_TRUE(e.Move(20.0, 20.0));
  e.Start(ProfileAction::kRemove);  // leaving the action finishes it
  EXPECT_EQ(e.Points()[1].x, 10.0);
  EXPECT_EQ(e.Points()[1].y, 0.0);
  EXPECT_FALSE(e.Backspace());  // only while adding
}

TEST(ProfileEditorTest, ActionListFollowsTheProfile) {
  using Items = std::vector<std::string>;
  ProfileEditor e;
  EXPECT_EQ(e.ActionItems(), (Items{kActionSelect, kActionLoad, kActionDigitize}));
  e.Start(ProfileEditor::ActionOfItem(kActionDigitize));
  EXPECT_EQ(e.ActionItems(), (Items{kActionSelect, kActionFinished, kActionSave, kActionLoad, kActionReshape,
                                    kActionRemove, kActionInsert, kActionClear}));
  e.Click(1.0, 1.0);
  e.Finish();
  EXPECT_EQ(e.ActionItems(), (Items{kActionSelect, kActionSave, kActionLoad, kActionAdd, kActionReshape,
                                    kActionRemove, kActionInsert, kActionClear}));
  e.ClearAll();
  EXPECT_EQ(e.ActionItems().size(), 3u);
}

TEST(SynthSurvey, CrookedLineKeepsMidpointsAndOffsetsConsistent) {
  SeismicSection s;
  SynthParams p;
  p.shots = 30;
  p.channels = 12;
  p.samples = 8;
  p.crooked = true;
  ASSERT_EQ(MakeSynthSurvey(s, p), 360);
  for (int i = 0; i < s.Count(); ++i) {
    const TraceRecord* t = s.Trace(i);
    EXPECT_DOUBLE_EQ(t->CDPX, 0.5 * (t->SX + t->RX));
    EXPECT_DOUBLE_EQ(t->CDPY, 0.5 * (t->SY + t->RY));
    EXPECT_FLOAT_EQ(t->OFF, static_cast<float>(std::hypot(t->RX - t->SX, t->RY - t->SY)));
  }
  // The shots walk off in a different direction on each leg.
  auto bearing = [&](int a, int b) {
    return std::atan2(s.Trace(b)->SY - s.Trace(a)->SY, s.Trace(b)->SX - s.Trace(a)->SX) * 180.0 / M_PI;
  };
  EXPECT_NEAR(bearing(0, 12), 30.0, 1e-6);
  EXPECT_NEAR(bearing(29 * 12, 28 * 12) + 180.0, 10.0, 1e-6);
}
