// The basemap's drawing: the one-scale fit, where each point set lands in the
// raster, the symbol rules and the readout texts of the nearest trace.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "RenderTestUtil.h"
#include "display/BasemapGraphs.h"
#include "display/DisplayParams.h"
#include "support/LogCapture.h"

namespace {
// A client area whose plot is exactly 401 × 201 pixels.
constexpr int kPlotW = 401, kPlotH = 201;
constexpr int kClientW = XYMapper::kLeftMargin + kPlotW + XYMapper::kRightMargin;
constexpr int kClientH = XYMapper::kTopMargin + kPlotH + XYMapper::kBottomMargin + XYMapper::kStatusHeight;

struct Raster {
  Raster() {
    store.CreateBackingStore(96, DisplayParams{});
    store.ResizeBackingStore(kClientW, kClientH);
    BuildMapPalette(store.GetPalette());
    mapper.SetClientSize(kClientW, kClientH);
  }
  uint8_t At(int x, int y) const { return store.Row(y)[x]; }
  BackingStore store;
  XYMapper mapper;
  kxrender::RecordingText text;
};

// Three traces: sources, receivers and midpoints apart from one another.
std::unique_ptr<SeismicSection> Survey() {
  return kxtest::MakeSection(3, 4, 0.001, {}, 0.0, [](TraceRecord& t, int n) {
    t.SX = 10.0 + 20.0 * n, t.SY = 20.0;
    t.RX = 30.0 + 20.0 * n, t.RY = 30.0;
    t.CDPX = 50.0 + 10.0 * n, t.CDPY = 40.0 - 10.0 * n;
    t.ILINE = 7, t.XLINE = 100 + n, t.SSTA = 1.5 + n, t.ESP = 11 + n, t.RSTA = 200.0 + n;
    t.CDP = 300 + n, t.CDPT = n == 1 ? 0 : 4, t.CHAN = 9;
  });
}
}  // namespace

TEST(XYMapperTest, FitKeepsOneScaleAndCentresTheData) {
  Raster r;
  const struct {
    MapRange data;
  } cases[] = {{{0.0, 100.0, 0.0, 10.0}}, {{-5.0, 5.0, 1000.0, 2000.0}}, {{512000.0, 512400.0, 0.0, 0.0}}};
  for (const auto& c : cases) {
    ASSERT_EQ(r.mapper.FitMap(c.data), 0);
    const MapRange& shown = r.mapper.Range();
    const double sx = (kPlotW - 1) / (shown.xMax - shown.xMin), sy = (kPlotH - 1) / (shown.yMax - shown.yMin);
    EXPECT_NEAR(sx, sy, 1e-9 * sx);
    EXPECT_NEAR(0.5 * (shown.xMin + shown.xMax), 0.5 * (c.data.xMin + c.data.xMax), 1e-6);
    EXPECT_NEAR(0.5 * (shown.yMin + shown.yMax), 0.5 * (c.data.yMin + c.data.yMax), 1e-6);
    // The data fit inside, touching the plot's edges in one direction.
    EXPECT_LE(shown.xMin, c.data.xMin + 1e-9);
    EXPECT_GE(shown.yMax, c.data.yMax - 1e-9);
    EXPECT_TRUE(std::abs(shown.xMin - c.data.xMin) < 1e-6 || std::abs(shown.yMin - c.data.yMin) < 1e-6);
  }
  kxtest::LogCapture log(1);
  EXPECT_NE(r.mapper.FitMap({3.0, 3.0, 4.0, 4.0}), 0);
  EXPECT_NE(log.Text().find("INTERNAL ERROR"), std::string::npos);
}

TEST(XYMapperTest, EachSetLandsOnItsPixelsWithItsColours) {
  Raster r;
  auto s = Survey();
  BasemapGraphs g = MakeBasemapGraphs(5);
  for (int set : {kMapCdps, kMapReceivers, kMapSources})
    g[static_cast<std::size_t>(set)].points = BuildMapPoints(s->Traces(), static_cast<MapSet>(set));
  // 0..100 × 0..50 at 4 pixels per unit fills the plot exactly.
  ASSERT_EQ(r.mapper.FitMap({0.0, 100.0, 0.0, 50.0}), 0);
  ASSERT_EQ(r.mapper.Draw(r.store, {{&g[0], &g[1], &g[2], &g[3]}, "x", &r.text}), 0);
  const int left = XYMapper::kLeftMargin, top = XYMapper::kTopMargin;
  const struct {
    double x, y;
    uint8_t centre, edge;  // centre pixel, the pixel half a symbol to the right
    int half;
  } points[] = {
      {10.0, 20.0, kMapSourceFill, kMapSource, 3},      // source 1: square
      {30.0, 30.0, kMapReceiverFill, kMapReceiver, 3},  // receiver 1: diamond
      {50.0, 40.0, kMapCdp, kMapCdp, 2},                // CDP 1: filled circle
  };
  for (const auto& p : points) {
    const int px = left + static_cast<int>(p.x * 4 + 0.5),
              py = top + static_cast<int>((50.0 - p.y) * 4 + 0.5);
    EXPECT_EQ(r.mapper.PixelX(p.x), px);
    EXPECT_EQ(r.mapper.PixelY(p.y), py);
    EXPECT_EQ(r.At(px, py), p.centre) << p.x << "," << p.y;
    EXPECT_EQ(r.At(px + p.half, py), p.edge) << p.x << "," << p.y;
    EXPECT_EQ(r.At(px + p.half + 2, py), kMapBackground) << p.x << "," << p.y;
  }
  EXPECT_NE(std::find(r.text.drawn.begin(), r.text.drawn.end(), "x"), r.text.drawn.end());
}

TEST(XYMapperTest, SymbolsNeedTheirHalfSizeInsideThePlot) {
  Raster r;
  ASSERT_EQ(r.mapper.FitMap({0.0, 100.0, 0.0, 50.0}), 0);
  XYGraph g;
  g.symbolSize = 9;  // half size 4 pixels
  g.symbol = MapSymbol::kSquare;
  g.lineIndex = g.fillIndex = kMapProfileInk;
  // 0.75 units = 3 pixels from the left edge (too close); 1.0 = 4 pixels (drawn).
  g.points = {{0.75, 25.0, -1}, {1.0, 10.0, -1}, {DBLE_UNDEF, DBLE_UNDEF, -1}};
  ASSERT_EQ(r.mapper.Draw(r.store, {{&g}, "", nullptr}), 0);
  EXPECT_EQ(r.At(r.mapper.PixelX(0.75), r.mapper.PixelY(25.0)), kMapBackground);
  EXPECT_EQ(r.At(r.mapper.PixelX(1.0), r.mapper.PixelY(10.0)), kMapProfileInk);
}

TEST(XYMapperTest, EqualNeighboursGiveOnePoint) {
  auto s = kxtest::MakeSection(5, 4, 0.001, {}, 0.0, [](TraceRecord& t, int n) {
    t.SX = n < 3 ? 1.0 : 2.0, t.SY = 5.0;  // three traces shot from one place, then two
    t.RX = n, t.RY = 0.0;
  });
  kxtest::LogCapture log(1);
  const std::vector<MapPoint> sources = BuildMapPoints(s->Traces(), kMapSources);
  ASSERT_EQ(sources.size(), 2u);
  EXPECT_EQ(sources[1].tag, 3);
  EXPECT_EQ(BuildMapPoints(s->Traces(), kMapReceivers).size(), 5u);
  EXPECT_NE(log.Text().find("Basemap::InitGraph(2): total npts=5  kept pts=2"), std::string::npos);
  EXPECT_TRUE(BuildMapPoints(s->Traces().first(1), kMapSources).empty());
}

TEST(XYMapperTest, ReadoutDescribesTheNearestTraceOfEachSet) {
  auto s = Survey();
  const struct {
    MapSet set;
    double x, y;
    const char* text;
  } cases[] = {
      {kMapCdps, 61.0, 29.0, "trace 2   |   inline: 7   crossline: 101   |   cdpX: 60.0   cdpY: 30.0"},
      {kMapSources, 48.0, 21.0, "trace 3  |   shotStation: 3.5   esp: 13   |   srcX: 50.0   srcY: 20.0"},
      // Trace 2 has no CDPT: its channel is shown instead.
      {kMapReceivers, 49.0, 31.0,
       "trace 2  |   rcvStation: 201.0   shotStation: 2.5   esp: 12   |   cdp: 301   tr: 9   |   rcvX: 50.0  "
       " "
       "rcvY: 30.0"},
      {kMapReceivers, 31.0, 31.0,
       "trace 1  |   rcvStation: 200.0   shotStation: 1.5   esp: 11   |   cdp: 300   tr: 4   |   rcvX: 30.0  "
       " "
       "rcvY: 30.0"},
  };
  for (const auto& c : cases) {
    XYGraph g;
    g.points = BuildMapPoints(s->Traces(), c.set);
    const int i = NearestPoint(g, c.x, c.y);
    ASSERT_GE(i, 0);
    const int trace = g.points[static_cast<std::size_t>(i)].tag;
    EXPECT_EQ(TraceReadout(c.set, *s->Trace(trace), trace), c.text);
  }
  // A tie goes to the first point.
  XYGraph tie;
  tie.points = {{0.0, 0.0, 0}, {2.0, 0.0, 1}};
  EXPECT_EQ(NearestPoint(tie, 1.0, 0.0), 0);
  EXPECT_EQ(PositionText(1.234, -5.0), "x: 1.23   y: -5.00");
  EXPECT_EQ(RectangleText(3.0, 1.0, 1.0, 4.5), "width = 2.00   height = 3.50");
  EXPECT_EQ(DistanceText(0.0, 0.0, 3.0, 4.0), "distance = 5.00");
}

TEST(XYMapperTest, ZoomsAndPansInMapUnits) {
  Raster r;
  ASSERT_EQ(r.mapper.FitMap({0.0, 100.0, 0.0, 50.0}), 0);
  r.mapper.ZoomAt(20.0, 10.0, XYMapper::kZoomFactor);
  const MapRange z = r.mapper.Range();
  EXPECT_NEAR(0.5 * (z.xMin + z.xMax), 20.0, 1e-9);
  EXPECT_NEAR(r.mapper.Scale(), (kPlotW - 1) / 100.0 * 1.25 * (kPlotW - 1.0) / kPlotW, 1e-9);
  // Too small a rectangle is refused; a real one is shown.
  EXPECT_FALSE(r.mapper.ZoomToRect(100, 100, 103, 150));
  ASSERT_TRUE(r.mapper.ZoomToRect(100, 50, 200, 100));
  // The hand keeps the map inside the data extent.
  ASSERT_EQ(r.mapper.FitMap({0.0, 100.0, 0.0, 50.0}), 0);
  r.mapper.ZoomAt(50.0, 25.0, 2.0);
  r.mapper.Pan(10000, 0, {0.0, 100.0, 0.0, 50.0});
  EXPECT_NEAR(r.mapper.Range().xMin, 0.0, 1e-9);
}
