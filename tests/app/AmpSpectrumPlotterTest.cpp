// The spectrum window's model: what reaches the plotter (dB peaks, the pass
// band's colour, visibility) and how a view selection becomes the range.
#include <gtest/gtest.h>

#include <cmath>

#include "app/tools/AmpSpectrumPlotter.h"
#include "display/BlockTextRenderer.h"
#include "processing/IIRFilter.h"
#include "section/SeismicSection.h"
#include "support/SectionBuilder.h"

namespace {

struct Model {
  BlockTextRenderer text;
  AmpSpectrumPlotter m;
  IIRFilter filter = IIRFilterInit();
  std::unique_ptr<SeismicSection> s = kxtest::MakeSection(
      12, 200, 0.002, [](int n, int i) { return std::sin(0.3f * i + n) + (i % 7 == 0 ? 0.5f : 0.0f); });
  Model() {
    filter.Nyquist = 250.0;
    m.Create(500, 300, &text);
    EXPECT_EQ(m.Initialize(*s, filter), 0);
  }
};

TEST(AmpSpectrumPlotter, DbCurvesKeepTheirPeakAsAValue) {
  Model t;
  ASSERT_EQ(t.m.SelectTrace(*t.s, 3, t.filter, true), 0);
  t.m.SetDb(true);
  const auto& model = t.m.Spectrum().Curve(AmpSpectrum::kTraceCurve).points;
  const CurveGraph* drawn = t.m.Graph().Curve(AmpSpectrum::kTraceCurve);
  ASSERT_NE(drawn, nullptr);
  ASSERT_EQ(drawn->points.size(), model.size());
  int peaks = 0;
  for (std::size_t i = 0; i < model.size(); ++i) {
    peaks += model[i].y == 0.0f;
    EXPECT_NE(drawn->points[i].y, 0.0f) << i;  // 0 would be a gap in the line
  }
  EXPECT_EQ(peaks, 1);
  EXPECT_DOUBLE_EQ(t.m.Graph().ViewYD(), -120.0);
  EXPECT_EQ(t.m.Graph().YAxis().name, "dB");
}

TEST(AmpSpectrumPlotter, CurvesShowByTheirOptionsAndTheBandFollowsDarkMode) {
  Model t;
  t.m.SelectTrace(*t.s, 0, t.filter, true);
  XGrapher& g = t.m.Graph();
  EXPECT_TRUE(g.Curve(AmpSpectrum::kTraceCurve)->visible);
  EXPECT_FALSE(g.Curve(AmpSpectrum::kFilteredCurve)->visible);
  EXPECT_EQ(g.Curve(AmpSpectrum::kWholeCurve)->lineColor, 8);
  EXPECT_EQ(g.Curve(AmpSpectrum::kPassBandCurve)->style, kCurveFillBand);
  EXPECT_EQ(g.Curve(AmpSpectrum::kPassBandCurve)->fillColor, kGraphBandLight);
  t.m.SetDark(true);
  EXPECT_EQ(g.Curve(AmpSpectrum::kPassBandCurve)->fillColor, kGraphBandDark);
  t.m.SetWhole(true, *t.s, 2);
  EXPECT_TRUE(g.Curve(AmpSpectrum::kWholeCurve)->visible);
  EXPECT_FALSE(g.Curve(AmpSpectrum::kWholeCurve)->points.empty());
  t.m.SetCurrentTrace(false, *t.s, t.filter, true);
  EXPECT_FALSE(g.Curve(AmpSpectrum::kTraceCurve)->visible);
  EXPECT_EQ(t.m.TraceField(), "");
  t.m.Reset();
  EXPECT_FALSE(t.m.IsInitialized());
  EXPECT_FALSE(g.Curve(AmpSpectrum::kWholeCurve)->HasRange());
}

TEST(AmpSpectrumPlotter, ViewSelectionBecomesOrderedLimitedRange) {
  Model t;
  // Traces reversed and past the end, times past the record.
  ASSERT_EQ(t.m.SetRangeFromView({20, 4, 0.05, 5.0}, *t.s, 2, true), 0);
  EXPECT_EQ(t.m.Fields().firstTrace, "5");
  EXPECT_EQ(t.m.Fields().lastTrace, "12");
  EXPECT_EQ(t.m.Fields().startTime, "0.05");
  EXPECT_EQ(t.m.Fields().endTime, "0.398");
  EXPECT_EQ(t.m.Spectrum().RangeFirst(), 4);
  EXPECT_EQ(t.m.Spectrum().RangeLast(), 11);
  EXPECT_TRUE(t.m.Spectrum().Curve(AmpSpectrum::kRangeCurve).points.empty());  // Range is off
  bool flash = false;
  ASSERT_EQ(t.m.SetRangeOption(true, *t.s, 2, &flash), 0);
  EXPECT_FALSE(flash);
  EXPECT_FALSE(t.m.Spectrum().Curve(AmpSpectrum::kRangeCurve).points.empty());
  t.m.Fields().lastTrace = "x";
  EXPECT_NE(t.m.ApplyRangeFields(*t.s, 2, &flash), 0);
  EXPECT_TRUE(flash);
}

}  // namespace
