#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "RenderTestUtil.h"
#include "display/DisplayParams.h"
#include "display/Palette.h"
#include "processing/IIRFilter.h"

namespace {

using kxrender::MakeSection;
using kxrender::TestView;

constexpr int kZero = kDensityZeroIndex;

TEST(DensityRender, EmptyViewAndEmptySectionShowBackground) {
  TestView v(200, 150);
  v.view.Redraw();
  for (int y = 0; y < 150; ++y)
    for (int x = 0; x < v.view.Store().Stride(); ++x) ASSERT_EQ(v.At(x, y), 0) << x << "," << y;
  SeismicSection empty;
  EXPECT_EQ(v.view.AttachTraces(empty.Traces(), empty.Summary()), -1);
}

// One column per trace at one pixel per trace: the trace-centre mapping puts
// trace n at plot left + n, and rows map times from the start time.
TEST(DensityRender, ColumnsAndRowsFollowTheMappings) {
  auto s = MakeSection(6, 200, 0.001, [](int n, int i) { return n == 3 && i == 50 ? 1.0f : 0.0f; });
  TestView v(300, 120);  // a plot shorter than the section, so the start time holds
  v.Show(*s);
  DisplayParams& p = v.view.Params();
  p.m_pixPerTrace = 1.0;
  p.m_pixPerSec = 1000.0;
  p.m_startTime = 0.02;
  v.Draw();
  const auto& g = v.G();
  ASSERT_DOUBLE_EQ(p.m_startTime, 0.02);
  for (int n = 0; n < 6; ++n) {
    for (int r = 0; r < g.plotHeight; ++r) {
      int expected = n == 3 && r == 30 ? 255 : kZero;  // sample 50 is at 0.05 s
      ASSERT_EQ(v.At(g.plotLeft + n, g.plotTop + r), expected) << n << "," << r;
    }
  }
  // Wider traces: centres at plot left + int((n + 0.5) * 7 + 0.0001).
  p.m_pixPerTrace = 7.0;
  p.m_startTime = 0.0;
  v.Draw();
  EXPECT_EQ(v.At(g.plotLeft + 24, g.plotTop + 50), 255);  // trace 3
  EXPECT_EQ(v.At(g.plotLeft + 17, g.plotTop + 50), kZero);
  EXPECT_EQ(v.At(g.plotLeft + 31, g.plotTop + 50), kZero);
  for (int x = g.plotLeft + 17; x < g.plotLeft + 24; ++x)
    EXPECT_LT(v.At(x, g.plotTop + 50), v.At(x + 1, g.plotTop + 50)) << "ramp towards the trace at " << x;
}

TEST(DensityRender, ClipZeroAndNoDataIndexes) {
  auto s = MakeSection(7, 200, 0.001, [](int n, int i) -> float {
    switch (n) {
      case 1:
        return 2.0f;
      case 2:
        return -2.0f;
      case 3:
        return 1.0f;
      case 4:
        return i == 0 ? 2.0f : 1.0f;
      default:
        return n == 0 ? 0.0f : 0.5f;
    }
  });
  s->Trace(5)->NS = 50;       // ends early
  s->Trace(6)->DELAY = 0.05;  // starts late
  s->Trace(6)->NS = 100;
  s->Scan();
  TestView v(300, 300);
  v.Show(*s);
  DisplayParams& p = v.view.Params();
  p.m_pixPerTrace = 1.0;
  v.Draw();
  const auto& g = v.G();
  auto col = [&](int n, int row) { return v.At(g.plotLeft + n, g.plotTop + row); };
  EXPECT_EQ(col(0, 100), kZero);  // all-zero trace: v = 0
  EXPECT_EQ(col(1, 100), 255);
  EXPECT_EQ(col(2, 100), kDensityNegativeIndex);
  EXPECT_EQ(col(4, 100), kZero + 61);  // 1 of 2: 60.5 steps, rounded half away
  EXPECT_EQ(col(5, 49), 255);
  EXPECT_EQ(col(5, 50), kZero);  // below its last sample
  EXPECT_EQ(col(6, 48), kZero);  // above its first sample
  EXPECT_EQ(col(6, 49), 255);    // within a sample above: truncation gives sample 0
  EXPECT_EQ(col(6, 50), 255);
  EXPECT_EQ(col(1, 199), 0);  // below the section end: background
  EXPECT_EQ(col(3, 100), 255);
  // A sample of normaliser / colour gain reaches the clip.
  p.m_colorGain = 2.0;
  p.m_gainControl = kGainNorm;
  v.Draw();
  EXPECT_EQ(col(4, 100), 255);
  // "none" without a known section normaliser: every sample is zero colour.
  SectionSummary unknownPeak = s->Summary();
  unknownPeak.maxAmplitude = 0.0f;
  v.view.AttachTraces(s->Traces(), unknownPeak);
  p.m_gainControl = kGainNone;
  p.m_pixPerTrace = 1.0;
  v.Draw();
  for (int n = 0; n < 5; ++n) EXPECT_EQ(col(n, 100), kZero) << n;
}

// Below one pixel per trace several traces share a column: the first of them
// is shown, and without an interpolation pass nothing lies right of the last.
TEST(DensityRender, SeveralTracesPerColumn) {
  auto s = MakeSection(10, 100, 0.001, [](int n, int) { return n % 2 ? -1.0f : 1.0f; });
  TestView v(300, 300);
  v.Show(*s);
  v.view.Params().m_pixPerTrace = 0.5;
  v.Draw();
  const auto& g = v.G();
  for (int c = 0; c < 5; ++c) EXPECT_EQ(v.At(g.plotLeft + c, g.plotTop + 40), 255) << c;
  for (int c = 5; c < 12; ++c) EXPECT_EQ(v.At(g.plotLeft + c, g.plotTop + 40), 0) << c;
  EXPECT_EQ(v.At(g.plotLeft - 1, g.plotTop + 40), 0);
}

// Before trace 0 a blank half column fades in from the no-data colour; after
// the last trace a closing column fades out to it.
TEST(DensityRender, BlankAndClosingColumns) {
  auto s = MakeSection(3, 100, 0.001, [](int, int) { return 1.0f; });
  TestView v(300, 300);
  v.Show(*s);
  v.view.Params().m_pixPerTrace = 10.0;
  v.Draw();
  const auto& g = v.G();
  const int y = g.plotTop + 40;
  EXPECT_EQ(v.At(g.plotLeft - 1, y), kZero);
  EXPECT_EQ(v.At(g.plotLeft + 5, y), 255);     // trace 0
  EXPECT_EQ(v.At(g.plotLeft + 25, y), 255);    // trace 2
  EXPECT_EQ(v.At(g.plotLeft + 30, y), kZero);  // closing column
  EXPECT_EQ(v.At(g.plotLeft + 31, y), 0);
  EXPECT_EQ(v.At(g.plotLeft, y), kZero);  // half a trace of ramp from the blank column
  EXPECT_EQ(v.At(g.plotLeft + 1, y), kZero + 24);
  EXPECT_LT(v.At(g.plotLeft + 4, y), 255);
  EXPECT_GT(v.At(g.plotLeft + 28, y), kZero);
}

// Inverse polarity swaps the palette ends exactly.
TEST(DensityRender, InversePolarityMirrorsIndexes) {
  auto s = MakeSection(8, 150, 0.001, [](int n, int i) { return static_cast<float>(std::sin(0.1 * i + n)); });
  TestView v(200, 200);
  v.Show(*s);
  v.view.Params().m_pixPerTrace = 3.3;
  v.Draw();
  std::vector<uint8_t> normal(v.view.Store().Pixels(),
                              v.view.Store().Pixels() + v.view.Store().Stride() * 200);
  v.view.Params().m_inversePolarity = 1;
  v.Draw();
  const auto& g = v.G();
  int checked = 0;
  for (int y = g.plotTop; y < g.plotTop + 140; ++y) {
    for (int x = g.plotLeft; x < g.plotLeft + 26; ++x) {
      uint8_t a = normal[static_cast<std::size_t>(y) * v.view.Store().Stride() + x], b = v.At(x, y);
      ASSERT_EQ(a + b, 2 * kZero) << x << "," << y;
      ++checked;
    }
  }
  EXPECT_GT(checked, 3000);
}

// With the display filter on, each drawn trace's DNORM is its filtered peak
// and the stored samples stay as they were; off, DNORM is AMAX.
TEST(DensityRender, DisplayFilterSetsTheDisplayNormaliser) {
  auto s = MakeSection(4, 400, 0.002, [](int n, int i) { return (i + n) % 2 ? 1.0f : -1.0f; });  // Nyquist
  TestView v(300, 200);
  v.Show(*s);
  IIRFilter lowPass = IIRFilterInit();
  lowPass.Nyquist = 250.0;
  lowPass.passType = kLowPass;
  lowPass.lowPassCutoff = 0.2;
  ASSERT_EQ(DesignFilter(lowPass), 0);
  v.view.SetFilter(&lowPass);
  v.view.Params().m_useFreqFilter = 1;
  v.view.Params().m_pixPerTrace = 10.0;
  v.Draw();
  std::vector<float> out(400);
  float peak = RunFilter(lowPass, s->Trace(2)->Samples(), out.data(), 400);
  EXPECT_EQ(s->Trace(2)->DNORM, peak);
  EXPECT_LT(peak, 0.5f);  // the alternation is filtered away
  EXPECT_EQ(s->Trace(2)->Samples()[0], -1.0f);
  EXPECT_EQ(s->Trace(2)->Samples()[1], 1.0f);
  v.view.Params().m_useFreqFilter = 0;
  v.Draw();
  EXPECT_EQ(s->Trace(2)->DNORM, 1.0f);
}

// The raster does not depend on the team size of the two passes, with the
// display filter and AGC in play.
TEST(DensityRender, SameRasterWithOneAndTwoThreads) {
  auto s = MakeSection(300, 500, 0.002, [](int n, int i) {
    return static_cast<float>(std::sin(0.05 * i * (1 + n % 7)) * (1 + n % 5));
  });
  for (int gain : {kGainNorm, kGainAgc}) {
    for (double ppt : {0.37, 2.6, 11.0}) {
      std::vector<uint8_t> rasters[2];
      for (int threads : {1, 2}) {
        TestView v(400, 320);
        v.view.SetRenderSettings({2, 5, threads});
        v.Show(*s);
        DisplayParams& p = v.view.Params();
        p.m_gainControl = gain;
        p.m_agcWindow = 0.1;
        p.m_useFreqFilter = gain == kGainNorm;
        p.m_pixPerTrace = ppt;
        p.m_firstTrace = 20;
        v.Draw();
        const BackingStore& b = v.view.Store();
        rasters[threads - 1].assign(b.Pixels(), b.Pixels() + static_cast<std::size_t>(b.Stride()) * 320);
      }
      EXPECT_EQ(rasters[0], rasters[1]) << "gain " << gain << " ppt " << ppt;
    }
  }
}

}  // namespace
