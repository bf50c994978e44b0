#include <gtest/gtest.h>

#include <cmath>

#include "display/DisplayParams.h"
#include "display/DisplayRules.h"
#include "display/FieldText.h"
#include "display/HeaderPlotSettings.h"
#include "display/RelativeSlider.h"

namespace {

TEST(RelativeSlider, DragAppliesTheTotalOncePageStepsSnapBack) {
  RelativeSlider slider;
  DisplayParams params;
  bool snap = false;
  for (int pos : {10, 30, 50}) {
    ApplySliderSteps(&params, ScaleSlider::kTraceScale, slider.Move(SliderMove::kDrag, pos, &snap));
    EXPECT_FALSE(snap);
  }
  EXPECT_EQ(slider.Move(SliderMove::kEndDrag, 50, &snap), 0);
  EXPECT_TRUE(snap);
  EXPECT_NEAR(params.m_pixPerTrace, 5.0 * std::pow(1.01, 50), 1e-12);

  params.m_pixPerTrace = 5.0;
  int delta = slider.Move(SliderMove::kPage, RelativeSlider::kPageStep, &snap);
  EXPECT_EQ(delta, 10);
  EXPECT_TRUE(snap);
  EXPECT_EQ(slider.Remembered(), 0);
  ApplySliderSteps(&params, ScaleSlider::kTraceScale, delta);
  EXPECT_NEAR(params.m_pixPerTrace, 5.0 * std::pow(1.01, 10), 1e-12);

  // Dragging back down to -20 after a drag to 30 moves by -50.
  slider.Move(SliderMove::kDrag, 30, &snap);
  EXPECT_EQ(slider.Move(SliderMove::kDrag, -20, &snap), -50);
  EXPECT_EQ(slider.Move(SliderMove::kDrag, -500, &snap), -92);  // clamped to -112
}

TEST(DisplayRules, ScalesAndGainsStayWithinTheirLimits) {
  EXPECT_EQ(ScaleBySliderSteps(ScaleSlider::kTraceScale, 1999.0, 50), 2000.0);
  EXPECT_EQ(ScaleBySliderSteps(ScaleSlider::kTraceScale, 0.0011, -112), 0.001);
  EXPECT_EQ(LimitPixPerTrace(0.0), 0.001);
  EXPECT_EQ(ScaleBySliderSteps(ScaleSlider::kColorGain, 9e26, 100), 1e27);
  EXPECT_EQ(ScaleBySliderSteps(ScaleSlider::kWiggleGain, 2e-6, -100), 1e-6);
  // The time scale has no limit; a step down undoes a step up.
  EXPECT_NEAR(
      ScaleBySliderSteps(ScaleSlider::kTimeScale, ScaleBySliderSteps(ScaleSlider::kTimeScale, 1e9, 7), -7),
      1e9, 1e-3);
  EXPECT_NEAR(ScaleBySliderSteps(ScaleSlider::kColorGain, 1.0, -1), 0.9803921568627451, 1e-15);

  DisplayParams params;  // colour mode: the wiggle-gain slider moves the overlay gain
  ApplySliderSteps(&params, ScaleSlider::kWiggleGain, 2);
  EXPECT_EQ(params.m_wiggleGain, 1.0);
  EXPECT_NEAR(params.m_overlayGain, 1.015 * 1.015, 1e-15);
  ApplyClipSlider(&params, 1500);
  EXPECT_EQ(params.m_overlayClip, 1000.0f);
  params.m_displayMode = kDisplayWiggle;
  ApplyClipSlider(&params, 250);
  EXPECT_EQ(params.m_wiggleClip, 250.0f);
}

TEST(DisplayRules, GainModesRememberTheirOwnGains) {
  DisplayParams params;
  params.m_wiggleGain = 3.5;
  params.m_colorGain = 0.125;
  SwitchGainControl(&params, kGainAgc);
  EXPECT_EQ(params.m_wiggleGain, 1.0);
  params.m_wiggleGain = 9.0;
  params.m_colorGain = 7.0;
  SwitchGainControl(&params, kGainNorm);
  EXPECT_EQ(params.m_wiggleGain, 3.5);
  EXPECT_EQ(params.m_colorGain, 0.125);
  SwitchGainControl(&params, kGainAgc);
  EXPECT_EQ(params.m_wiggleGain, 9.0);
  EXPECT_EQ(params.m_colorGain, 7.0);
  EXPECT_EQ(params.m_gainControl, kGainAgc);
}

TEST(DisplayRules, FieldsInDisplayUnits) {
  DisplayParams params;
  EXPECT_DOUBLE_EQ(TimeScaleFieldValue(params), 1.0);  // pixels per ms
  EXPECT_EQ(SetTimeScaleFromField(&params, 2.5), 0);
  EXPECT_DOUBLE_EQ(params.m_pixPerSec, 2500.0);
  EXPECT_EQ(SetTimeScaleFromField(&params, 0.0), -1);
  EXPECT_DOUBLE_EQ(params.m_pixPerSec, 2500.0);

  // Entries beside the other sliders are limited, never refused.
  double v = 0.0;
  EXPECT_TRUE(ScaleFromField(params, ScaleSlider::kTraceScale, 5000.0, &v));
  EXPECT_EQ(v, 2000.0);
  EXPECT_TRUE(ScaleFromField(params, ScaleSlider::kTraceScale, 0.0, &v));
  EXPECT_EQ(v, 0.001);
  EXPECT_TRUE(ScaleFromField(params, ScaleSlider::kWiggleGain, 1e30, &v));
  EXPECT_EQ(v, 1e27);
  EXPECT_TRUE(ScaleFromField(params, ScaleSlider::kColorGain, -3.0, &v));
  EXPECT_EQ(v, 1e-6);
  v = 7.0;
  EXPECT_FALSE(ScaleFromField(params, ScaleSlider::kTimeScale, -2.0, &v));
  EXPECT_EQ(v, 7.0);
  EXPECT_EQ(ScaleChangeKind(ScaleSlider::kTraceScale), 2);
  EXPECT_EQ(ScaleChangeKind(ScaleSlider::kTimeScale), 1);
  EXPECT_EQ(ScaleChangeKind(ScaleSlider::kColorGain), 0);

  EXPECT_EQ(SetAgcWindowFromField(&params, 500.0), 0);
  EXPECT_DOUBLE_EQ(params.m_agcWindow, 0.5);
  params.m_timeUnitCode = 2;
  EXPECT_STREQ(AgcUnitLabel(2), "\u03bcs");
  EXPECT_EQ(SetAgcWindowFromField(&params, 500.0), 0);
  EXPECT_DOUBLE_EQ(params.m_agcWindow, 0.0005);
  EXPECT_EQ(SetAgcWindowFromField(&params, -1.0), -1);
  EXPECT_DOUBLE_EQ(params.m_agcWindow, 0.0005);
}

TEST(HeaderPlotSettings, EnteredValuesAreLimited) {
  HeaderPlotSettings s;
  s.m_windowHeight = 30;
  s.Limit(800);
  EXPECT_EQ(s.m_windowHeight, 50);
  s.m_windowHeight = 150;
  s.m_majorTicks = 20;
  s.m_verticalMargin = 40;
  s.m_penThickness = 0;
  s.Limit(800);
  EXPECT_EQ(s.m_majorTicks, 13);
  EXPECT_EQ(s.m_verticalMargin, 15);
  EXPECT_EQ(s.m_penThickness, 1);
  s.m_windowHeight = 900;
  s.m_penThickness = 9;
  s.m_verticalMargin = -3;
  s.Limit(400);
  EXPECT_EQ(s.m_windowHeight, 350);
  EXPECT_EQ(s.m_penThickness, 5);
  EXPECT_EQ(s.m_verticalMargin, 0);
  s.m_windowHeight = 200;
  s.Limit(60);  // a tiny view still keeps 50 pixels
  EXPECT_EQ(s.m_windowHeight, 50);
}

TEST(FieldText, ShowsValuesWithDecimalsByMagnitude) {
  EXPECT_EQ(FormatFieldValue(1e7), "1.00E+07");
  EXPECT_EQ(FormatFieldValue(0.0005), "0.000500");
  EXPECT_EQ(FormatFieldValue(0.005), "0.00500");
  EXPECT_EQ(FormatFieldValue(0.05), "0.0500");
  EXPECT_EQ(FormatFieldValue(5.0), "5.000");
  EXPECT_EQ(FormatFieldValue(99.5), "99.50");
  EXPECT_EQ(FormatFieldValue(999.0), "999.0");
  EXPECT_EQ(FormatFieldValue(1500.0), "1500");
  EXPECT_EQ(FormatTrimmed3(4.0), "4");
  EXPECT_EQ(FormatTrimmed3(2.5), "2.5");
  EXPECT_EQ(FormatTrimmed3(250.0), "250");
  EXPECT_EQ(FormatTrimmed3(0.0004), "0");
  EXPECT_EQ(FormatTrimmed3(DBLE_UNDEF), "");
  std::string t = "120";
  TrimTrailingZeros(&t);
  EXPECT_EQ(t, "120");
}

TEST(FieldText, ReadsNumbersAndCutsUnreadableTails) {
  std::string text = "  12.5  ";
  double v = -1.0;
  EXPECT_EQ(ReadFieldDouble(&text, &v), 0);
  EXPECT_EQ(v, 12.5);
  text = "   ";
  EXPECT_EQ(ReadFieldDouble(&text, &v), -1);
  EXPECT_EQ(v, 12.5);
  text = "1e3";
  EXPECT_EQ(ReadFieldDouble(&text, &v), 0);
  EXPECT_EQ(v, 1000.0);
  text = "+0.25";
  EXPECT_EQ(ReadFieldDouble(&text, &v), 0);
  EXPECT_EQ(v, 0.25);
  text = "12abc";
  EXPECT_EQ(ReadFieldDouble(&text, &v), -2);
  EXPECT_EQ(text, "12");
  EXPECT_EQ(v, 12.0);
  v = 3.0;
  for (const char* bad : {"abc", "nan", "inf", "1e999", "+-1"}) {
    text = bad;
    EXPECT_EQ(ReadFieldDouble(&text, &v), -2) << bad;
    EXPECT_EQ(text, "") << bad;
    EXPECT_EQ(v, 3.0) << bad;
  }
  int32_t n = 7;
  text = " -42 ";
  EXPECT_EQ(ReadFieldInt(&text, &n), 0);
  EXPECT_EQ(n, -42);
  text = "3.7";
  EXPECT_EQ(ReadFieldInt(&text, &n), -2);
  EXPECT_EQ(text, "3");
  EXPECT_EQ(n, 3);
  text = "99999999999";
  EXPECT_EQ(ReadFieldInt(&text, &n), -2);
  EXPECT_EQ(n, 3);
}

}  // namespace
