#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <set>

#include "RenderTestUtil.h"
#include "display/ColorScheme.h"
#include "display/WiggleRenderer.h"

namespace {

using kxrender::MakeSection;
using kxrender::TestView;

// Columns of one raster row that hold an index.
std::vector<int> ColumnsWith(const TestView& v, int y, uint8_t index, int from, int to) {
  std::vector<int> xs;
  for (int x = from; x < to; ++x)
    if (v.At(x, y) == index) xs.push_back(x);
  return xs;
}

void WiggleMode(DisplayParams& p, int fill) {
  p.m_displayMode = kDisplayWiggle;
  p.m_fillMode = fill;
  p.m_timeLinesWiggle = 0;
}

TEST(WiggleRender, SpacingAndExcursionLimits) {
  EXPECT_EQ(WiggleRenderer::WiggleSpacing(3.6, 2), 4);
  EXPECT_EQ(WiggleRenderer::WiggleSpacing(1.2, 2), 2);
  EXPECT_EQ(WiggleRenderer::WiggleSpacing(1.2, 3), 3);
  EXPECT_EQ(WiggleRenderer::ExcursionLimit(1000.0f, 10.0), 50);
  EXPECT_EQ(WiggleRenderer::ExcursionLimit(1000.0f, 500.0), 1000);  // never beyond 1000 pixels
  EXPECT_EQ(WiggleRenderer::ExcursionLimit(0.0f, 10.0), 1);         // never below 1 pixel
  EXPECT_EQ(WiggleRenderer::ExcursionLimit(1e30f, 2000.0), 1000);
}

// At 3.6 pixels per trace, below evenSpacingBelow 5, wiggles sit 4 pixels
// apart and the trace under each grid column is drawn: some are skipped.
TEST(WiggleRender, EvenSpacingDecimates) {
  auto s = MakeSection(60, 100, 0.001, [](int, int) { return 0.0f; });
  for (int n = 0; n < 60; ++n) s->Trace(n)->DNORM = -1.0f;  // drawing sets it
  TestView v(300, 150);
  v.Show(*s);
  DisplayParams& p = v.view.Params();
  WiggleMode(p, kFillPositive);
  p.m_pixPerTrace = 3.6;
  v.Draw();
  const auto& g = v.G();
  std::vector<int> lines =
      ColumnsWith(v, g.plotTop + 40, kSchemeWiggle, g.plotLeft, g.plotLeft + g.plotWidth);
  ASSERT_GT(lines.size(), 10u);
  EXPECT_EQ(lines[0], g.plotLeft + 1);  // x0 = plot left + int(1.8001)
  for (std::size_t i = 1; i < lines.size(); ++i) EXPECT_EQ(lines[i] - lines[i - 1], 4) << i;
  std::set<int> drawn, expected;
  for (int n = 0; n < 60; ++n)
    if (s->Trace(n)->DNORM != -1.0f) drawn.insert(n);
  for (int k = 0; 4 * k < g.plotWidth + 4; ++k) {
    int n = static_cast<int>(4 * k / 3.6);
    if (n < 60) expected.insert(n);
  }
  EXPECT_EQ(drawn, expected);
  EXPECT_EQ(drawn.count(9), 0u);  // 4 * 9 / 3.6 = 10: trace 9 lies between grid columns
  EXPECT_EQ(drawn.count(10), 1u);
}

// A huge sample is held at the clip excursion: int(clip × 0.005 × px/trace),
// and at most 1000 pixels.
TEST(WiggleRender, ExcursionIsClipped) {
  auto s = MakeSection(1, 300, 0.001, [](int, int i) { return i == 100 ? 1.0f : 0.0f; });
  TestView v(2400, 400);
  v.Show(*s);
  DisplayParams& p = v.view.Params();
  WiggleMode(p, kFillNone);
  p.m_zeroLines = 0;
  p.m_pixPerTrace = 10.0;
  p.m_wiggleGain = 1000.0;
  v.Draw();
  const auto& g = v.G();
  int x = g.plotLeft + 5;
  // The spike's row holds the turning point: drawn by the segment leaving it.
  std::vector<int> spike = ColumnsWith(v, g.plotTop + 100, kSchemeWiggle, 0, 2400);
  ASSERT_FALSE(spike.empty());
  EXPECT_EQ(spike.back(), x + 50);
  p.m_pixPerTrace = 1500.0;  // clip 7500 pixels: capped at 1000
  p.m_wiggleGain = 10.0;
  v.Draw();
  x = g.plotLeft + 750;
  spike = ColumnsWith(v, g.plotTop + 100, kSchemeWiggle, 0, 2400);
  ASSERT_FALSE(spike.empty());
  EXPECT_EQ(spike.back(), x + 1000);
  p.m_wiggleClip = 0.0f;  // at least one pixel remains
  v.Draw();
  spike = ColumnsWith(v, g.plotTop + 100, kSchemeWiggle, 0, 2400);
  ASSERT_FALSE(spike.empty());
  EXPECT_EQ(spike.back(), x + 1);
}

// v = 0 (an all-zero trace): every point lies on the zero line.
// At the highest gain the first trace's swings stay inside the plot: none over
// the time axis on the left, whatever the fill.
TEST(WiggleRender, SwingsStayInsideThePlot) {
  auto s = MakeSection(3, 300, 0.001, [](int, int i) { return i % 40 < 20 ? -1.0f : 1.0f; });
  TestView v(600, 400);
  v.Show(*s);
  DisplayParams& p = v.view.Params();
  for (int fill : {kFillNone, kFillPositive, kFillNegative}) {
    WiggleMode(p, fill);
    p.m_pixPerTrace = 60.0;
    p.m_wiggleGain = 1000.0;
    p.m_wiggleClip = 1000.0f;
    v.Draw();
    const auto& g = v.G();
    for (int y = 0; y < 400; ++y)
      for (int x = 0; x < 600; ++x) {
        const bool inside =
            x >= g.plotLeft && x < g.plotLeft + g.plotWidth && y >= g.plotTop && y < g.plotTop + g.plotHeight;
        if (!inside) {
          ASSERT_NE(v.At(x, y), kSchemeWiggle) << fill << " at " << x << "," << y;
        }
      }
  }
}

TEST(WiggleRender, ZeroTraceLiesOnItsZeroLine) {
  auto s = MakeSection(3, 120, 0.001, [](int n, int i) { return n == 1 ? 0.0f : std::sin(0.2f * i); });
  TestView v(200, 160);
  v.Show(*s);
  DisplayParams& p = v.view.Params();
  WiggleMode(p, kFillPositive);
  p.m_pixPerTrace = 30.0;
  p.m_wiggleGain = 0.2;  // neighbours stay 6 pixels around their own lines
  v.Draw();
  const auto& g = v.G();
  int x = g.plotLeft + 45;
  for (int y = g.plotTop + 1; y < g.plotTop + 110; ++y) {
    EXPECT_EQ(v.At(x, y), kSchemeWiggle) << y;
    for (int dx = 1; dx < 10; ++dx) {
      EXPECT_NE(v.At(x + dx, y), kSchemeFill) << y;  // nothing to fill either
      EXPECT_NE(v.At(x - dx, y), kSchemeWiggle) << y;
    }
  }
}

// Inverse polarity mirrors each wiggle about its zero line, pixel for pixel.
TEST(WiggleRender, InversePolarityMirrors) {
  auto s =
      MakeSection(1, 200, 0.001, [](int, int i) { return std::sin(0.07f * i) + 0.3f * std::cos(0.31f * i); });
  TestView v(300, 260);
  v.Show(*s);
  DisplayParams& p = v.view.Params();
  WiggleMode(p, kFillNone);
  p.m_zeroLines = 0;
  p.m_pixPerTrace = 100.0;
  p.m_wiggleGain = 0.4;
  v.Draw();
  const auto& g = v.G();
  const int x = g.plotLeft + 50;
  std::vector<std::vector<int>> normal;
  for (int y = g.plotTop; y < g.plotTop + 190; ++y)
    normal.push_back(ColumnsWith(v, y, kSchemeWiggle, x - 49, x + 50));
  p.m_inversePolarity = 1;
  v.Draw();
  int moved = 0;
  for (int y = g.plotTop; y < g.plotTop + 190; ++y) {
    std::vector<int> mirrored;
    for (int c : normal[static_cast<std::size_t>(y - g.plotTop)])
      mirrored.insert(mirrored.begin(), 2 * x - c);
    EXPECT_EQ(ColumnsWith(v, y, kSchemeWiggle, x - 49, x + 50), mirrored) << y;
    moved += mirrored.empty() || mirrored[0] != x;
  }
  EXPECT_GT(moved, 100);
}

// "Area +" fills the positive lobes right of the zero line only; "Area -"
// the negative lobes left of it.
TEST(WiggleRender, FillModesPaintOneSide) {
  auto s = MakeSection(1, 200, 0.001, [](int, int i) { return std::sin(0.05f * i); });
  TestView v(300, 260);
  v.Show(*s);
  DisplayParams& p = v.view.Params();
  WiggleMode(p, kFillPositive);
  p.m_pixPerTrace = 100.0;
  p.m_wiggleGain = 0.3;
  v.Draw();
  const auto& g = v.G();
  const int x = g.plotLeft + 50;
  const int positiveRow = g.plotTop + 31, negativeRow = g.plotTop + 94;  // sin peaks at 31 and 94
  EXPECT_FALSE(ColumnsWith(v, positiveRow, kSchemeFill, x, x + 40).empty());
  EXPECT_TRUE(ColumnsWith(v, positiveRow, kSchemeFill, 0, x).empty());
  EXPECT_TRUE(ColumnsWith(v, negativeRow, kSchemeFill, 0, 300).empty());
  p.m_fillMode = kFillNegative;
  v.Draw();
  EXPECT_FALSE(ColumnsWith(v, negativeRow, kSchemeFill, x - 40, x).empty());
  EXPECT_TRUE(ColumnsWith(v, negativeRow, kSchemeFill, x + 1, 300).empty());
  EXPECT_TRUE(ColumnsWith(v, positiveRow, kSchemeFill, 0, 300).empty());
}

// Excluded traces of a stack input view are drawn muted.
TEST(WiggleRender, ExcludedTracesAreMuted) {
  auto s = MakeSection(2, 100, 0.001, [](int, int i) { return std::sin(0.1f * i); });
  s->Trace(1)->TSKIP = 1;
  TestView v(200, 150);
  v.view.SetViewRole(2);
  v.Show(*s);
  DisplayParams& p = v.view.Params();
  WiggleMode(p, kFillPositive);
  p.m_zeroLines = 0;
  p.m_pixPerTrace = 40.0;
  p.m_wiggleGain = 0.4;
  v.Draw();
  const auto& g = v.G();
  auto indexes = [&](int from, int to) {
    std::set<int> found;
    for (int y = g.plotTop; y < g.plotTop + 90; ++y)
      for (int x = from; x < to; ++x) found.insert(v.At(x, y));
    return found;
  };
  EXPECT_EQ(indexes(g.plotLeft + 41, g.plotLeft + 79), (std::set<int>{kSchemeBackground, kSchemeTimeLines}));
  EXPECT_TRUE(indexes(g.plotLeft + 1, g.plotLeft + 39).count(kSchemeWiggle));
}

// The highlighted trace over colour density: a thin overlay wiggle in the
// highlight line colour at its column.
TEST(WiggleRender, HighlightedTraceOverDensity) {
  auto s = MakeSection(10, 100, 0.001, [](int, int i) { return std::sin(0.1f * i); });
  TestView v(300, 150);
  v.Show(*s);
  v.view.Params().m_pixPerTrace = 20.0;
  v.view.SetHighlighted(4);
  v.Draw();
  const auto& g = v.G();
  int left = 300, right = 0;  // the overlay's amplitude is 9 pixels
  for (int y = g.plotTop; y < g.plotTop + g.plotHeight; ++y) {
    std::vector<int> line = ColumnsWith(v, y, kSchemeHighlightLine, 0, 300);
    if (line.empty()) continue;
    left = std::min(left, line.front());
    right = std::max(right, line.back());
  }
  EXPECT_EQ(right, g.plotLeft + 90 + 9);
  EXPECT_EQ(left, g.plotLeft + 90 - 9);
}

}  // namespace
