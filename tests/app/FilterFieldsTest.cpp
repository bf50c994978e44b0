#include <gtest/gtest.h>

#include <cstring>

#include "app/tools/FilterFields.h"
#include "processing/ActiveFilter.h"
#include "processing/IIRFilter.h"

namespace {

FilterPanelFields Panel(const IIRFilter& f) {
  FilterPanelFields p;
  RefreshFilterFields(f, p);
  return p;
}

TEST(FilterFields, NumberFieldReading) {
  double v = 0;
  std::string cut;
  EXPECT_EQ(ReadNumberField("  12.5 ", &v), FieldRead::kNumber);
  EXPECT_EQ(v, 12.5);
  EXPECT_EQ(ReadNumberField("-1e3", &v), FieldRead::kNumber);
  EXPECT_EQ(v, -1000.0);
  EXPECT_EQ(ReadNumberField(".5", &v), FieldRead::kNumber);
  EXPECT_EQ(ReadNumberField("", &v), FieldRead::kInvalid);
  EXPECT_EQ(ReadNumberField("   ", &v), FieldRead::kInvalid);
  EXPECT_EQ(ReadNumberField("abc", &v), FieldRead::kInvalid);
  EXPECT_EQ(ReadNumberField("inf", &v), FieldRead::kInvalid);
  EXPECT_EQ(ReadNumberField("nan", &v), FieldRead::kInvalid);
  EXPECT_EQ(ReadNumberField(".", &v), FieldRead::kInvalid);
  EXPECT_EQ(ReadNumberField("12abc", &v, &cut), FieldRead::kTrailing);
  EXPECT_EQ(cut, "12");
  EXPECT_EQ(ReadNumberField("0x10", &v, &cut), FieldRead::kTrailing);
  EXPECT_EQ(cut, "0");
  EXPECT_EQ(ReadNumberField("1 2", &v), FieldRead::kTrailing);
  EXPECT_EQ(ReadNumberField("3e", &v, &cut), FieldRead::kTrailing);
  EXPECT_EQ(cut, "3");
}

TEST(FilterFields, LabelsAndFormatting) {
  EXPECT_EQ(NyquistLabel(250.0), "Nyquist = 250.0 Hz");  // 2 ms
  EXPECT_EQ(NyquistLabel(2000.0), "Nyquist = 2000 Hz");  // 0.25 ms
  EXPECT_EQ(NyquistLabel(62.5), "Nyquist = 62.50 Hz");
  EXPECT_EQ(FormatFrequencyField(350.0, 500.0), "350");
  EXPECT_EQ(FormatFrequencyField(17.26, 500.0), "17.3");
  EXPECT_EQ(FormatFrequencyField(17.25, 250.0), "17.25");
  EXPECT_EQ(FormatFrequencyField(1234.6, 5000.0), "1235");
  EXPECT_EQ(FormatFrequencyField(0.0, 500.0), "");
  EXPECT_EQ(FormatRippleField(0.02), "0.020");
  EXPECT_EQ(FormatRippleField(0.0), "");
  EXPECT_EQ(FormatStopBandField(60.0), "60.0");
  EXPECT_EQ(FormatTrimmed(1.2500, 3), "1.25");
  EXPECT_EQ(FormatTrimmed(20.0, 3), "20");
}

TEST(FilterFields, CutoffAboveNyquistEmptiesTheFieldAndFails) {
  IIRFilter f = IIRFilterInit();  // Nyquist 500 Hz
  FilterPanelFields p = Panel(f);
  EXPECT_EQ(p.freq1, "350");  // 0.7 of 500
  p.freq1 = "600";
  EXPECT_EQ(ValidateFilterFields(f, p), -1);
  EXPECT_EQ(p.freq1, "");
  EXPECT_DOUBLE_EQ(f.lowPassCutoff, 0.7);
  for (const char* bad : {"-5", "abc", "350Hz"}) {
    p.freq1 = bad;
    EXPECT_EQ(ValidateFilterFields(f, p), -1) << bad;
    EXPECT_EQ(p.freq1, "") << bad;
  }
  p.freq1 = "350";
  f.lowPassCutoff = 0.1;
  EXPECT_EQ(ValidateFilterFields(f, p), 0);
  EXPECT_DOUBLE_EQ(f.lowPassCutoff, 0.7);
  p.freq1 = "0";
  EXPECT_EQ(ValidateFilterFields(f, p), 0);
  EXPECT_DOUBLE_EQ(f.lowPassCutoff, 0.0001);
  p.freq1 = "500";
  EXPECT_EQ(ValidateFilterFields(f, p), 0);
  EXPECT_DOUBLE_EQ(f.lowPassCutoff, 0.99);
}

TEST(FilterFields, BandPassEdgesAreOrderedAndRewritten) {
  IIRFilter f = IIRFilterInit();
  FilterPanelFields p = Panel(f);
  ChangeFilterPassType(f, p, kBandPass);
  EXPECT_TRUE(p.secondVisible);
  EXPECT_EQ(p.label1, "Low Cut frequency Hz");
  EXPECT_EQ(p.label2, "High Cut frequency Hz");
  EXPECT_EQ(p.freq1, "25");
  EXPECT_EQ(p.freq2, "350");
  p.freq1 = "300";
  p.freq2 = "20";
  ASSERT_EQ(ValidateFilterFields(f, p), 0);
  EXPECT_EQ(f.passType, kBandPass);
  EXPECT_DOUBLE_EQ(f.bandPassLow, 20.0 / 500);
  EXPECT_DOUBLE_EQ(f.bandPassHigh, 300.0 / 500);
  EXPECT_EQ(p.freq1, "20");
  EXPECT_EQ(p.freq2, "300");
}

TEST(FilterFields, BadRippleOrStopBandStoresDefaultsAndKeepsFrequencies) {
  IIRFilter f = IIRFilterInit();
  FilterPanelFields p = Panel(f);
  p.family = kChebyshev;
  p.ripple = "0.5abc";
  p.freq1 = "100";
  EXPECT_EQ(ValidateFilterFields(f, p), -1);
  EXPECT_DOUBLE_EQ(f.rippleDB, 0.02);
  EXPECT_EQ(p.ripple, "0.020");
  EXPECT_EQ(f.family, kChebyshev);         // stored before the error
  EXPECT_DOUBLE_EQ(f.lowPassCutoff, 0.7);  // frequencies unchanged
  p.ripple = "3";
  p.stopBand = "x";
  EXPECT_EQ(ValidateFilterFields(f, p), -1);
  EXPECT_DOUBLE_EQ(f.rippleDB, 1.0);
  EXPECT_DOUBLE_EQ(f.stopBandDB, 60.0);
  EXPECT_EQ(p.stopBand, "60.0");
  p.ripple = "-1";
  p.stopBand = "200";
  EXPECT_EQ(ValidateFilterFields(f, p), 0);
  EXPECT_DOUBLE_EQ(f.rippleDB, 0.0);
  EXPECT_EQ(p.ripple, "");
  EXPECT_DOUBLE_EQ(f.stopBandDB, 120.0);
  EXPECT_EQ(p.stopBand, "120.0");
}

TEST(FilterFields, FamilyChangeLimitsThePoles) {
  IIRFilter f = IIRFilterInit();
  FilterPanelFields p = Panel(f);
  p.family = kChebyshev;
  p.poles = 18;
  ShowFilterType(f, p);
  EXPECT_EQ(p.polesMax, 20);
  EXPECT_TRUE(p.rippleEnabled);
  EXPECT_FALSE(p.stopBandEnabled);
  ChangeFilterFamily(f, p, kElliptic);
  EXPECT_EQ(p.poles, 15);
  EXPECT_EQ(p.polesText, "15");
  EXPECT_TRUE(p.stopBandEnabled);
  ASSERT_EQ(ValidateFilterFields(f, p), 0);
  EXPECT_EQ(f.NumPole, 15);
}

TEST(FilterFields, PassTypeChangeStoresTheOldFrequencies) {
  IIRFilter f = IIRFilterInit();
  FilterPanelFields p = Panel(f);
  p.freq1 = "100";
  ASSERT_EQ(ChangeFilterPassType(f, p, kNotch), 0);
  EXPECT_DOUBLE_EQ(f.lowPassCutoff, 0.2);
  EXPECT_EQ(p.label1, "Central frequency Hz");
  EXPECT_EQ(p.label2, "Bandwidth Hz");
  EXPECT_EQ(p.freq1, "250");
  EXPECT_EQ(p.freq2, "1.25");  // 0.0025 of 500, up to 3 decimals
  p.freq1 = "bad";
  EXPECT_EQ(ChangeFilterPassType(f, p, kHighPass), -1);  // nothing stored, the switch happens
  EXPECT_DOUBLE_EQ(f.notchCentre, 0.5);
  EXPECT_EQ(p.passType, kHighPass);
  EXPECT_EQ(p.freq1, "25");
  EXPECT_FALSE(p.secondVisible);
}

TEST(FilterFields, NyquistUpdateKeepsRelativeCorners) {
  IIRFilter f = IIRFilterInit();
  f.passType = kBandPass;
  DesignFilter(f);
  IIRFilter g = f;
  ASSERT_EQ(UpdateFilterNyquist(g, 0.002), 0);
  EXPECT_DOUBLE_EQ(g.Nyquist, 250.0);
  EXPECT_DOUBLE_EQ(g.bandPassLow, f.bandPassLow);
  EXPECT_EQ(std::memcmp(g.cascade1, f.cascade1, sizeof f.cascade1), 0);
  EXPECT_EQ(Panel(g).freq2, "175");
  EXPECT_EQ(UpdateFilterNyquist(g, 0.0), -1);
  EXPECT_EQ(UpdateFilterNyquist(g, -1.0), -1);
  EXPECT_DOUBLE_EQ(g.Nyquist, 250.0);
  // The active filter starts designed with the defaults.
  IIRFilter& a = ActiveFilter();
  EXPECT_EQ(a.passType, kLowPass);
  EXPECT_EQ(a.runSections, 3);
  EXPECT_NEAR(FilterMagnitude(a, 0.7), 0.5, 1e-12);
}

}  // namespace
