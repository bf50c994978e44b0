#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>

#include "RenderTestUtil.h"
#include "display/AxisLayout.h"
#include "display/ColorScheme.h"
#include "display/HeaderLabels.h"
#include "display/HeaderPlot.h"
#include "display/TimeAxis.h"
#include "section/HeaderLabelTable.h"

namespace {

using kxrender::MakeSection;
using kxrender::TestView;

int Row(const char* shortLabel) {
  for (const HeaderLabelRow& r : HeaderLabelRows())
    if (std::string(r.shortLabel) == shortLabel) return r.id;
  return -1;
}

TEST(AxisLayout, MetricsFromTheMeasuredText) {
  BlockTextRenderer text;
  AxisLayout::Metrics m = AxisLayout::MeasureMetrics(&text, 150);
  EXPECT_EQ(m.charHeight, 12);
  EXPECT_EQ(m.textHeight, 12);
  EXPECT_EQ(m.gap, 4);
  EXPECT_EQ(m.labelRowHeight, 14);
  EXPECT_EQ(m.charWidth, 6);        // 12 cells of 6 pixels ÷ 11
  EXPECT_EQ(m.timeAxisMargin, 80);  // 72 + 4 + 4
  EXPECT_EQ(m.bold.weight, 700);
  EXPECT_EQ(m.rotated.angle, 90.0);
}

TEST(AxisLayout, PlotRectanglePageAndScaleGuards) {
  BlockTextRenderer text;
  AxisLayout::Metrics m = AxisLayout::MeasureMetrics(&text, 150);
  AxisLayout::Input in;
  in.clientWidth = 1080;
  in.clientHeight = 600;
  in.labelRows = 2;
  in.traceCount = 250;
  in.maxSamples = 1001;
  in.sectionEnd = 1.0;
  DisplayParams p;
  p.m_firstTrace = 100;
  int highlighted = 30;
  AxisLayout::Result r = AxisLayout::Compute(in, m, &p, &highlighted);
  EXPECT_EQ(r.plotLeft, 80);
  EXPECT_EQ(r.plotTop, 2 * 14 + 2 * 4 + 1);
  EXPECT_EQ(r.plotWidth, 1000);
  EXPECT_EQ(r.plotHeight, 600 - 37);
  EXPECT_EQ(r.tracesPerPage, 200);
  EXPECT_EQ(p.m_firstTrace, 50);  // the page ends at the last trace
  EXPECT_EQ(highlighted, -1);     // off the page
  EXPECT_DOUBLE_EQ(r.visibleSpan, (r.plotHeight - 1) / 1000.0);

  in.headerPlot = true;  // band of 150 and a gap (two label rows)
  EXPECT_EQ(AxisLayout::Compute(in, m, &p, &highlighted).plotTop, 37 + 150 + 4);
  in.labelRows = 1;
  EXPECT_EQ(AxisLayout::Compute(in, m, &p, &highlighted).plotTop, 14 + 8 + 1 + 150);
  in.headerPlot = false;
  in.headerLabels = false;
  in.timeAxis = false;
  r = AxisLayout::Compute(in, m, &p, &highlighted);
  EXPECT_EQ(r.plotTop, 4 + 1);
  EXPECT_EQ(r.plotLeft, 0);

  in.sectionEnd = 0.05;  // 51 pixels at 1000 px/s: stretched to 200
  p.m_pixPerSec = 1000.0;
  r = AxisLayout::Compute(in, m, &p, &highlighted);
  EXPECT_DOUBLE_EQ(p.m_pixPerSec, 200.0 / 0.05);
  EXPECT_FALSE(r.timeScaleChanged);

  in.sectionEnd = 10.0;  // a scroll range past 2^31 falls back to a pixel per sample
  p.m_pixPerSec = 1e9;
  r = AxisLayout::Compute(in, m, &p, &highlighted);
  EXPECT_TRUE(r.timeScaleChanged);
  EXPECT_DOUBLE_EQ(p.m_pixPerSec, 1001 / 10.0);
  EXPECT_EQ(r.verticalScrollRange, 1001);

  p.m_startTime = 9.9;  // the visible span ends at the section end
  r = AxisLayout::Compute(in, m, &p, &highlighted);
  EXPECT_NEAR(p.m_startTime + r.visibleSpan, 10.0, 1e-12);
  p.m_startTime = -3.0;
  AxisLayout::Compute(in, m, &p, &highlighted);
  EXPECT_EQ(p.m_startTime, 0.0);
}

TEST(TimeAxis, UnitsAndDecimalsOfTheLabels) {
  EXPECT_EQ(TimeAxis::DisplayFactor(1000.0, 0.0, 9.0), 1000.0);
  EXPECT_EQ(TimeAxis::DisplayFactor(1000.0, 0.0, 11.0), 1.0);
  EXPECT_EQ(TimeAxis::UnitLabel(1e6), "[μs]");
  EXPECT_EQ(TimeAxis::UnitLabel(1.0), "[sec]");

  // 0.2 s shown in ms over 577 rows: a step of 20 ms, no decimals.
  auto s = MakeSection(30, 201, 0.001, [](int, int) { return 0.0f; });
  TestView v(400, 600);
  v.Show(*s);
  v.view.Params().m_pixPerSec = 3000.0;
  v.text.drawn.clear();
  v.Draw();
  auto& d = v.text.drawn;
  EXPECT_NE(std::find(d.begin(), d.end(), "20 "), d.end());
  EXPECT_NE(std::find(d.begin(), d.end(), "[ms]"), d.end());
  // Zoomed in to a few milliseconds: steps of 0.05 ms with two decimals.
  v.view.Params().m_pixPerSec = 2e6;
  v.view.Params().m_startTime = 0.1;
  v.text.drawn.clear();
  v.Draw();
  EXPECT_NE(std::find(d.begin(), d.end(), "100.05 "), d.end());
  EXPECT_NE(std::find(d.begin(), d.end(), "100.10 "), d.end());
}

TEST(HeaderLabels, TextsPerWord) {
  TraceRecord* t = TraceRecord::Allocate(10);
  t->TRID = 1;
  EXPECT_EQ(HeaderLabels::LabelText(kLabelIdx, 41, t, 1000.0), "42");
  EXPECT_EQ(HeaderLabels::LabelText(kLabelTrid, 0, t, 1000.0), "S");
  t->TRID = 8193;
  EXPECT_EQ(HeaderLabels::LabelText(kLabelTrid, 0, t, 1000.0), "Hstack");
  t->TRID = 7;
  EXPECT_EQ(HeaderLabels::LabelText(kLabelTrid, 0, t, 1000.0), "7");
  t->DT = 0.002;
  t->DELAY = 0.0125;
  EXPECT_EQ(HeaderLabels::LabelText(Row("DT"), 0, t, 1000.0), "2");
  EXPECT_EQ(HeaderLabels::LabelText(Row("DELAY"), 0, t, 1000.0), "12.5");
  t->OFF = -12.34f;
  EXPECT_EQ(HeaderLabels::LabelText(Row("OFF"), 0, t, 1000.0), "-12.3");
  t->RSTA = 101.5;
  EXPECT_EQ(HeaderLabels::LabelText(Row("RSTA"), 0, t, 1000.0), "101.5");
  t->FLDR = 5000000000LL;
  EXPECT_EQ(HeaderLabels::LabelText(Row("FLDR"), 0, t, 1000.0), "5000000000");
  t->HOUR = 7;
  t->MINUTE = 5;
  t->SEC = 9;
  EXPECT_EQ(HeaderLabels::LabelText(kLabelHms, 0, t, 1000.0), "7:05:09");
  t->SDIR = 1;
  EXPECT_EQ(HeaderLabels::LabelText(kLabelSdir, 0, t, 1000.0), "DN");
  t->SDIR = 5;
  EXPECT_EQ(HeaderLabels::LabelText(kLabelSdir, 0, t, 1000.0), "");
  t->WVEL = 1500.0f;
  EXPECT_EQ(HeaderLabels::LabelText(Row("WVEL"), 0, t, 1000.0), "1500");
  t->CDPX = 1e20;  // never longer than 16 characters
  EXPECT_EQ(HeaderLabels::LabelText(Row("CDPX"), 0, t, 1000.0).size(), 16u);
  EXPECT_EQ(HeaderLabels::LabelText(Row("TRF"), 0, t, 1000.0), "");  // no label form
  TraceRecord::Free(t);
}

// "Graduate Step" 10 with CHAN last: only multiples of 10, and never closer
// than a label's width.
TEST(HeaderLabels, SteppedChannelLabels) {
  auto s = MakeSection(200, 50, 0.001, [](int, int) { return 0.0f; });
  for (int n = 0; n < 200; ++n) s->Trace(n)->CHAN = 1 + n % 100;
  TestView v(900, 200);
  v.view.SetLabelWords({Row("CHAN")});
  v.view.SetLabelGraduation(10, 2, 2);
  v.Show(*s);
  const HeaderLabels& labels = v.view.Labels();
  for (double ppt : {8.0, 2.0, 0.7}) {
    v.view.Params().m_pixPerTrace = ppt;
    v.Draw();
    const std::vector<int>& l = labels.Labelled();
    ASSERT_GE(l.size(), 2u) << ppt;
    int previous = -1000000;
    for (int i : l) {
      EXPECT_EQ(s->Trace(i)->CHAN % 10, 0) << i;
      EXPECT_GE((i - previous) * ppt + 0.0001, labels.LabelWidth() + v.view.Metrics().charWidth + 1) << ppt;
      previous = i;
    }
  }
  v.view.Params().m_pixPerTrace = 8.0;  // room for every multiple of 10
  v.Draw();
  std::vector<int> expected;
  for (int i = 0; i < v.G().tracesPerPage; ++i)
    if ((i + 1) % 10 == 0) expected.push_back(i);
  EXPECT_EQ(labels.Labelled(), expected);
  v.view.SetLabelWords({Row("CHAN"), Row("OFF")});  // not an integer word last: automatic
  v.Draw();
  ASSERT_GE(labels.Labelled().size(), 2u);
  EXPECT_EQ(labels.Labelled()[0], labels.LabelStep() - 1);  // trace numbers on the step, from 1
  EXPECT_EQ(labels.Labelled()[1], 2 * labels.LabelStep() - 1);
}

TEST(HeaderPlot, RangesAndRows) {
  auto s = MakeSection(5, 20, 0.001, [](int, int) { return 0.0f; });
  for (int n = 0; n < 5; ++n) {
    s->Trace(n)->CDP = 7;
    s->Trace(n)->OFF = n % 2 ? -300.0f : 100.0f * n;
  }
  HeaderPlot plot;
  plot.ChooseCurve(0, Row("CDP"), s->Traces().data(), 5);
  plot.ChooseCurve(1, Row("OFF"), s->Traces().data(), 5);
  EXPECT_EQ(plot.GetCurve(0).min, 6.0);  // a constant word: value ± 1
  EXPECT_EQ(plot.GetCurve(0).max, 8.0);
  EXPECT_EQ(plot.GetCurve(1).min, 0.0);  // offsets by magnitude from 0
  EXPECT_EQ(plot.GetCurve(1).max, 400.0);
  EXPECT_TRUE(plot.GetCurve(1).visible);
  double v = 0.0;
  EXPECT_TRUE(HeaderPlot::CurveValue(Row("OFF"), s->Trace(1), &v));
  EXPECT_EQ(v, 300.0);
  EXPECT_FALSE(HeaderPlot::CurveValue(Row("DT"), s->Trace(1), &v));  // not plottable
  EXPECT_EQ(HeaderPlot::CurveRow(0, 150, 5, 0.0, 10.0, 0.0), 144);
  EXPECT_EQ(HeaderPlot::CurveRow(0, 150, 5, 0.0, 10.0, 10.0), 5);
  plot.ChooseCurve(0, -1, s->Traces().data(), 5);
  EXPECT_EQ(plot.GetCurve(0).word, -1);
}

// A word with one value on every trace draws a level line in mid band.
TEST(HeaderPlot, ConstantCurveIsALevelLineInTheMiddle) {
  auto s = MakeSection(40, 60, 0.001, [](int, int) { return 0.0f; });
  for (int n = 0; n < 40; ++n) s->Trace(n)->CDP = 1234;
  TestView v(500, 400);
  v.Show(*s);
  HeaderPlotSettings hp;
  hp.m_showPlot = 1;
  hp.m_curveWord[0] = Row("CDP");
  v.view.SetHeaderPlot(hp);
  v.view.Params().m_pixPerTrace = 10.0;
  v.Draw();
  const auto& g = v.G();
  const int middle = 150 - 5 - static_cast<int>(139 / 2.0 + 0.499) - 1;  // 75
  std::vector<int> rows;
  for (int y = 0; y < 150; ++y)
    if (v.At(g.plotLeft + 200, y) == kSchemeSelection) rows.push_back(y);
  EXPECT_EQ(rows, std::vector<int>{middle});
  for (int x = g.plotLeft + 5; x < g.plotLeft + 395; ++x) ASSERT_EQ(v.At(x, middle), kSchemeSelection) << x;
  EXPECT_EQ(v.At(g.plotLeft + 200, 10), kSchemeLabelBackB);  // band
  EXPECT_EQ(v.At(g.plotLeft - 1, 10), kSchemeAxes);          // scale axis
  EXPECT_FALSE(v.view.GetHeaderPlot().LegendRect(0).Empty());
}

// Whatever the view shows, every text the redraw writes lies wholly inside
// the raster and no two of them overlap: values at the bottom of the time
// axis, labels of traces at the right edge, the top of the header plot's
// scale and views without a time axis or without label rows.
TEST(AxisLabels, EveryTextStaysInsideTheView) {
  struct Case {
    const char* name;
    int width, height, flags;
    std::vector<int> words;
    int plotHeight;  // header plot band; 0 none
    double pixPerTrace;
  };
  const int both = VTracePlotter::kTimeAxis | VTracePlotter::kHeaderLabels;
  const Case cases[] = {
      {"one label row", 437, 301, both, {kLabelIdx}, 0, 9.7},
      {"three rows and a plot", 515, 420, both, {Row("CHAN"), Row("OFF"), kLabelIdx}, 50, 13.3},
      {"plot and one row", 390, 333, both, {Row("CDP")}, 80, 4.1},
      {"no label rows", 300, 257, VTracePlotter::kTimeAxis, {kLabelIdx}, 0, 6.0},
      {"no time axis", 300, 257, VTracePlotter::kHeaderLabels, {Row("OFF")}, 0, 31.0},
  };
  auto s = MakeSection(120, 501, 0.001, [](int n, int i) { return static_cast<float>((n + i) % 7) - 3.0f; });
  for (int n = 0; n < 120; ++n) {
    s->Trace(n)->CDP = 1000 + 3 * n;
    s->Trace(n)->OFF = -1500.0f + 25.0f * static_cast<float>(n);
  }
  for (const Case& c : cases) {
    TestView v(c.width, c.height, c.flags);
    v.view.SetLabelWords(c.words);
    HeaderPlotSettings hp;
    hp.m_showPlot = c.plotHeight > 0 ? 1 : 0;
    hp.m_windowHeight = std::max(c.plotHeight, 50);
    hp.m_curveWord[0] = Row("CDP");
    hp.m_curveWord[1] = Row("OFF");
    v.view.SetHeaderPlot(hp);
    v.Show(*s);
    for (bool lastPage : {false, true}) {
      for (double start : {0.0, 0.0123, 0.2468, 1.0}) {
        DisplayParams& p = v.view.Params();
        p.m_pixPerTrace = c.pixPerTrace;
        p.m_firstTrace = lastPage ? 120 : 0;
        p.m_startTime = start;
        v.Draw();
        const std::string where =
            std::string(c.name) + (lastPage ? ", last page" : "") + ", start " + std::to_string(start);
        const auto& texts = v.view.PlacedTexts();
        ASSERT_GE(texts.size(), 2u) << where;
        const PixelRect raster{0, 0, c.width, c.height};
        for (std::size_t i = 0; i < texts.size(); ++i) {
          EXPECT_EQ(texts[i].box.Intersect(raster), texts[i].box) << where << ": " << texts[i].text;
          for (std::size_t j = 0; j < i; ++j)
            EXPECT_TRUE(texts[i].box.Intersect(texts[j].box).Empty())
                << where << ": " << texts[i].text << " over " << texts[j].text;
        }
      }
    }
  }
}

// The unit label sits at one place while the view scrolls in time.
TEST(AxisLabels, UnitLabelStaysPutAsTheStartTimeChanges) {
  auto s = MakeSection(30, 2001, 0.001, [](int, int) { return 0.0f; });
  TestView v(400, 300);
  v.Show(*s);
  std::vector<PixelRect> boxes;
  for (double start : {0.0, 0.0071, 0.013, 0.5, 1.2345}) {
    v.view.Params().m_startTime = start;
    v.Draw();
    for (const PlacedText& t : v.view.PlacedTexts())
      if (t.text == "[ms]") boxes.push_back(t.box);
  }
  ASSERT_EQ(boxes.size(), 5u);
  for (const PixelRect& b : boxes) EXPECT_EQ(b, boxes[0]);
  EXPECT_GT(boxes[0].top, v.G().plotTop);  // under the first value, not over the label rows
}

}  // namespace
