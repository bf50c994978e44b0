// The view's filtered copies: drawing from them is pixel for pixel the
// drawing that filters each trace on the spot, scrolling back filters
// nothing, and a redesign or new traces drop them.
#include <gtest/gtest.h>

#include <cmath>
#include <tuple>
#include <vector>

#include "display/ColorScheme.h"
#include "display/TraceRenderer.h"
#include "display/VTracePlotter.h"
#include "processing/IIRFilter.h"
#include "support/SectionBuilder.h"

namespace {
float Sample(int trace, int i) {
  return std::sin(0.3f * i + 0.1f * trace) + 0.5f * std::sin(0.05f * i * (1 + trace % 7)) +
         0.2f * static_cast<float>((i * 31 + trace * 17) % 13 - 6);
}

IIRFilter BandPass(double low, double high) {
  IIRFilter f = IIRFilterInit();
  f.passType = kBandPass;
  f.bandPassLow = low;
  f.bandPassHigh = high;
  DesignFilter(f);
  return f;
}

std::vector<uint8_t> Pixels(const BackingStore& s) {
  std::vector<uint8_t> out;
  for (int y = 0; y < s.ClientHeight(); ++y) out.insert(out.end(), s.Row(y), s.Row(y) + s.ClientWidth());
  return out;
}

// The traces alone, each filtered on the spot (no copies).
std::vector<uint8_t> DrawnWithoutCopies(VTracePlotter& view) {
  view.Store().Clear(kSchemeBackground);
  EXPECT_EQ(TraceRenderer::DrawTraces(view.Store(), view.MakeRendererInput()), 0);
  return Pixels(view.Store());
}

// mode, pixels per trace, display threads.
class FilteredDrawing : public ::testing::TestWithParam<std::tuple<int, double, int>> {
 protected:
  void SetUp() override {
    m_section = kxtest::MakeSection(3000, 400, 0.002, Sample);
    ASSERT_NE(m_section, nullptr);
    m_filter = BandPass(0.05, 0.3);
    auto [mode, ppt, threads] = GetParam();
    m_view.SetRenderSettings({2, 5, threads});
    ASSERT_EQ(m_view.Create(640, 400, nullptr), 0);
    m_view.SetFilter(&m_filter);
    ASSERT_EQ(m_view.AttachTraces(m_section->Traces(), m_section->Summary()), 0);
    DisplayParams& p = m_view.Params();
    p.m_displayMode = mode;
    p.m_pixPerTrace = ppt;
    p.m_fillMode = kFillPositive;
    p.m_useFreqFilter = 1;
    m_view.SetHighlighted(7);
    m_view.DisplayChanged(1);
  }
  int64_t Filtered() const { return m_view.Filtered().FilteredTraces(); }

  std::unique_ptr<SeismicSection> m_section;
  IIRFilter m_filter;
  VTracePlotter m_view{1, 0};  // no axis, no labels: the raster is the traces
};
}  // namespace

TEST_P(FilteredDrawing, CopiesDrawLikeOnTheSpotFilteringAndScrollingBackFiltersNothing) {
  const std::vector<uint8_t> first = Pixels(m_view.Store());
  const int64_t filteredFirst = Filtered();
  EXPECT_GT(filteredFirst, 0);
  EXPECT_EQ(first, DrawnWithoutCopies(m_view));

  // A page on and back: the way back is drawn from the copies alone.
  DisplayParams& p = m_view.Params();
  p.m_firstTrace += m_view.TracesPerPage();
  m_view.Redraw();
  const int64_t filteredPage = Filtered();
  EXPECT_GT(filteredPage, filteredFirst);
  EXPECT_EQ(Pixels(m_view.Store()), DrawnWithoutCopies(m_view));
  p.m_firstTrace -= m_view.TracesPerPage();
  m_view.Redraw();
  EXPECT_EQ(Filtered(), filteredPage);
  EXPECT_EQ(Pixels(m_view.Store()), first);

  // A redesign drops the copies: everything shown is filtered again.
  m_filter = BandPass(0.1, 0.2);
  m_view.Redraw();
  EXPECT_EQ(Filtered(), filteredPage + filteredFirst);
  const std::vector<uint8_t> redesigned = Pixels(m_view.Store());
  EXPECT_NE(redesigned, first);
  EXPECT_EQ(redesigned, DrawnWithoutCopies(m_view));

  // New traces (even the same list attached again) drop them too.
  m_view.AttachTraces(m_section->Traces(), m_section->Summary());
  EXPECT_EQ(m_view.Filtered().Size(), 0u);
  // Off: the stored samples, and no filtering.
  p.m_useFreqFilter = 0;
  const int64_t before = Filtered();
  m_view.Redraw();
  EXPECT_EQ(Filtered(), before);
}

INSTANTIATE_TEST_SUITE_P(ModesScalesThreads, FilteredDrawing,
                         ::testing::Values(std::make_tuple(kDisplayWiggle, 9.0, 1),  // one wiggle per trace
                                           std::make_tuple(kDisplayWiggle, 0.7, 2),  // decimated grid
                                           std::make_tuple(kDisplayColor, 3.0, 2),   // interpolated columns
                                           std::make_tuple(kDisplayColor, 0.4,
                                                           1)));  // several traces a column

TEST(FilteredTraceCache, BudgetKeepsTheLatestRedrawAndDropsTheFarthestFirst) {
  auto s = kxtest::MakeSection(100, 1000, 0.001, Sample);
  ASSERT_NE(s, nullptr);
  IIRFilter f = BandPass(0.05, 0.3);
  TraceRecord* const* traces = s->Traces().data();
  FilteredTraceCache cache(30 * 4100);  // about 30 traces
  std::vector<int> first, second;
  for (int i = 0; i < 20; ++i) first.push_back(i);
  for (int i = 60; i < 80; ++i) second.push_back(i);
  float peak = 0.0f;
  ASSERT_EQ(cache.Fill(f, traces, first, 2), 0);
  ASSERT_EQ(cache.Fill(f, traces, second, 2), 0);
  EXPECT_LE(cache.Bytes(), 30u * 4100u);
  for (int i : second) EXPECT_NE(cache.Find(traces[i], &peak), nullptr);
  // The survivors of the first fill are those nearest the second.
  EXPECT_NE(cache.Find(traces[19], &peak), nullptr);
  EXPECT_EQ(cache.Find(traces[0], &peak), nullptr);
  // A fill larger than the budget still keeps all it drew.
  std::vector<int> all;
  for (int i = 0; i < 100; ++i) all.push_back(i);
  ASSERT_EQ(cache.Fill(f, traces, all, 1), 0);
  EXPECT_EQ(cache.Size(), 100u);
  std::vector<float> out(1000);
  const float* copy = cache.Find(traces[42], &peak);
  ASSERT_NE(copy, nullptr);
  EXPECT_EQ(peak, RunFilter(f, traces[42]->Samples(), out.data(), 1000));
  EXPECT_EQ(std::vector<float>(copy, copy + 1000), out);
  // A trace that shrank has no copy until it is filtered again at its length.
  traces[42]->NS = 333;
  EXPECT_EQ(cache.Find(traces[42], &peak), nullptr);
  ASSERT_EQ(cache.Fill(f, traces, std::vector<int>{42, 43}, 2), 0);
  copy = cache.Find(traces[42], &peak);
  ASSERT_NE(copy, nullptr);
  out.assign(333, 0.0f);
  EXPECT_EQ(peak, RunFilter(f, traces[42]->Samples(), out.data(), 333));
  EXPECT_EQ(std::vector<float>(copy, copy + 333), out);
  traces[42]->NS = 1000;
}
