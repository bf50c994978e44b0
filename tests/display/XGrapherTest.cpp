// The curve plotter on its raster: where data lands, how missing values break
// lines, and what pan, zoom and Escape do to the view.
#include <gtest/gtest.h>

#include <vector>

#include "display/BlockTextRenderer.h"
#include "display/XGrapher.h"
#include "support/LogCapture.h"

namespace {

constexpr uint8_t kInk = 9;

struct Graph {
  BlockTextRenderer text;
  XGrapher g;
  explicit Graph(int w = 400, int h = 300) {
    g.SetMargins(32, 30, 45, 35);
    g.SetXAxis(kAxisBottom | kAxisLabels | kAxisGrid, 0, 10, 1.0, "Hz");
    g.SetYAxis(0, kAxisBottom | kAxisLabels | kAxisGrid, kGraduationOutward, 5, 1.0, "");
    g.Create(w, h, &text);
  }
  CurveGraph* Push(int slot, std::vector<CurvePoint> pts) {
    CurveGraph* c = g.PushCurve(0, slot, pts);
    if (c) c->lineColor = kInk;
    return c;
  }
  uint8_t At(int x, int y) const { return g.Store().Row(y)[x]; }
  int InkIn(int x0, int x1, int y0, int y1) const {
    int n = 0;
    for (int y = y0; y <= y1; ++y)
      for (int x = x0; x <= x1; ++x) n += At(x, y) == kInk;
    return n;
  }
};

TEST(XGrapher, DataCornersMapToPlotCorners) {
  Graph t;
  t.Push(3, {{0.0f, -1.0f}, {500.0f, 1.0f}});
  t.g.SetXRange(0.0, 500.0);
  t.g.SetYRange(0, -1.0, 1.0);
  t.g.Redraw();
  const PixelRect& p = t.g.Plot();
  EXPECT_EQ(p, (PixelRect{32, 30, 400 - 45, 300 - 35}));
  EXPECT_EQ(t.g.PixelX(0.0), p.left);
  EXPECT_EQ(t.g.PixelX(500.0), p.right - 1);
  EXPECT_EQ(t.g.PixelY(1.0), p.top);
  EXPECT_EQ(t.g.PixelY(-1.0), p.bottom - 1);
  EXPECT_NEAR(t.g.DataX(p.right - 1), 500.0, 1e-9);
  EXPECT_NEAR(t.g.DataY(p.top), 1.0, 1e-9);
  // The diagonal runs from the bottom-left to the top-right plot pixel.
  EXPECT_EQ(t.At(p.left, p.bottom - 1), kInk);
  EXPECT_EQ(t.At(p.right - 1, p.top), kInk);
  EXPECT_EQ(t.InkIn(0, p.left - 1, 0, 299), 0);
  EXPECT_EQ(t.InkIn(p.right, 399, 0, 299), 0);
}

TEST(XGrapher, ZeroBreaksTheLineAndLonePointsStayUndrawn) {
  Graph t;
  t.Push(0, {{0.0f, 1.0f}, {1.0f, 0.0f}, {2.0f, 1.0f}, {3.0f, 1.0f}});
  t.g.SetXRange(0.0, 3.0);
  t.g.SetYRange(0, 0.0, 2.0);
  t.g.Redraw();
  const int y = t.g.PixelY(1.0);
  const int x0 = t.g.PixelX(0.0), x2 = t.g.PixelX(2.0), x3 = t.g.PixelX(3.0);
  EXPECT_EQ(t.InkIn(x0, x2 - 1, 0, 299), 0);  // the lone first point and the gap
  EXPECT_EQ(t.InkIn(x2, x3, y, y), x3 - x2 + 1);
  EXPECT_EQ(t.InkIn(0, 399, 0, 299), x3 - x2 + 1);
}

TEST(XGrapher, CurveOfMissingValuesHasNoRangeAndDrawsNothing) {
  Graph t;
  CurveGraph* c = t.Push(1, {{0.0f, 0.0f}, {1.0f, 0.0f}});
  ASSERT_NE(c, nullptr);
  EXPECT_FALSE(c->HasRange());
  t.g.SetXRange(0.0, 1.0);
  t.g.SetYRange(0, 0.0, 1.0);
  t.g.Redraw();
  EXPECT_EQ(t.InkIn(0, 399, 0, 299), 0);
}

TEST(XGrapher, PushRefusesBadSlotsAndKeepsTheOccupant) {
  Graph t;
  std::vector<CurvePoint> pts{{0.0f, 1.0f}, {1.0f, 2.0f}};
  EXPECT_EQ(t.g.PushCurve(0, 8, pts), nullptr);
  EXPECT_EQ(t.g.PushCurve(0, 0, {}), nullptr);
  CurveGraph* first = t.g.PushCurve(0, 2, pts);
  kxtest::LogCapture log(LogError);
  EXPECT_EQ(t.g.PushCurve(0, 2, pts), nullptr);
  EXPECT_TRUE(
      log.Contains("ERROR: XGrapher[1]::PushCurve(Yview=0) at index 2 failed, slot already occupied"));
  EXPECT_EQ(t.g.Curve(2), first);
  EXPECT_EQ(t.g.CurveCount(), 1);
}

TEST(XGrapher, TinyClientStillGetsFivePixelPlot) {
  Graph t(40, 20);
  EXPECT_EQ(t.g.Plot().right - t.g.Plot().left, 5);
  EXPECT_EQ(t.g.Plot().bottom - t.g.Plot().top, 5);
  EXPECT_GE(t.g.Store().ClientWidth(), 32 + 5 + 45);
}

struct ZoomView : Graph {
  ZoomView() {
    Push(1, {{0.0f, 0.5f}, {250.0f, 1.0f}, {500.0f, 0.25f}});
    g.SetXRange(0.0, 500.0);
    g.SetYRange(0, 0.0, 1.0);
    g.Redraw();
  }
  int CX() const { return g.PixelX(250.0); }
  int CY() const { return g.PixelY(0.5); }
};

TEST(XGrapher, ClickZoomScalesAboutTheClickAndShiftZoomsOut) {
  ZoomView t;
  t.g.SetDragMode(XGrapher::kDragZoom);
  t.g.SetClickZoom(XGrapher::kClickZoomIn);
  t.g.MouseDown(t.CX(), t.CY(), XGrapher::kLeft);
  uint32_t r = t.g.MouseUp(t.CX(), t.CY(), XGrapher::kLeft);
  EXPECT_TRUE(r & XGrapher::kWarpCursor);
  const double cx = t.g.ViewXL() + (t.g.ViewXR() - t.g.ViewXL()) / 2;
  EXPECT_NEAR(t.g.ViewXL(), 50.0, 1.0);
  EXPECT_NEAR(t.g.ViewXR(), 450.0, 1.0);
  EXPECT_NEAR(t.g.ViewYU() - t.g.ViewYD(), 0.8, 1e-9);
  EXPECT_NEAR(t.g.WarpX(), t.g.PixelX(cx), 1);
  t.g.MouseDown(t.g.PixelX(250.0), t.CY(), XGrapher::kLeft);
  t.g.MouseUp(t.g.PixelX(250.0), t.CY(), XGrapher::kLeft);
  EXPECT_NEAR(t.g.ViewXR() - t.g.ViewXL(), 320.0, 1e-6);
  // Shift swaps to zoom out; away from the centre the click becomes the centre.
  t.g.ShiftKey(true);
  EXPECT_EQ(t.g.ClickZoomState(), XGrapher::kClickZoomOut);
  const int x = t.g.PixelX(200.0);
  const double at = t.g.DataX(x);
  t.g.MouseDown(x, t.CY(), XGrapher::kLeft);
  t.g.MouseUp(x, t.CY(), XGrapher::kLeft);
  EXPECT_NEAR(t.g.ViewXR() - t.g.ViewXL(), 400.0, 1e-6);
  EXPECT_NEAR((t.g.ViewXL() + t.g.ViewXR()) / 2, at, 1e-6);
  // Zooming out past the whole range shows the whole range.
  t.g.ClickZoomAt(at, 0.5, false);
  EXPECT_DOUBLE_EQ(t.g.ViewXL(), 0.0);
  EXPECT_DOUBLE_EQ(t.g.ViewXR(), 500.0);
  t.g.ShiftKey(false);
  EXPECT_EQ(t.g.ClickZoomState(), XGrapher::kClickZoomIn);
}

TEST(XGrapher, PanStopsAtTheDataEdgeAndEscapeRestoresFullView) {
  ZoomView t;
  t.g.ClickZoomAt(250.0, 0.5, true);
  const double span = t.g.ViewXR() - t.g.ViewXL();
  // Dragging the content far to the right shows lower x down to 0, no further.
  t.g.MouseDown(100, 100, XGrapher::kLeft);
  uint32_t r = t.g.MouseMove(130, 100);
  EXPECT_TRUE(r & XGrapher::kRepaint);
  EXPECT_LT(t.g.ViewXL(), 50.0);
  t.g.MouseMove(330, 100);
  t.g.MouseUp(330, 100, XGrapher::kLeft);
  EXPECT_DOUBLE_EQ(t.g.ViewXL(), 0.0);
  EXPECT_NEAR(t.g.ViewXR() - t.g.ViewXL(), span, 1e-9);
  // Already at the edge: a further pan that way does nothing, the other way works.
  t.g.PanPixels(50, 0);
  EXPECT_DOUBLE_EQ(t.g.ViewXL(), 0.0);
  t.g.PanPixels(-10000, 0);
  EXPECT_NEAR(t.g.ViewXR(), 500.0, 1e-9);
  t.g.SetDragMode(XGrapher::kDragZoom);
  t.g.SetClickZoom(XGrapher::kClickZoomIn);
  r = t.g.EscapeKey();
  EXPECT_TRUE(r & XGrapher::kEscaped);
  EXPECT_EQ(t.g.DragMode(), XGrapher::kDragPan);
  EXPECT_EQ(t.g.ClickZoomState(), XGrapher::kClickZoomOff);
  EXPECT_DOUBLE_EQ(t.g.ViewXL(), 0.0);
  EXPECT_DOUBLE_EQ(t.g.ViewXR(), 500.0);
  EXPECT_DOUBLE_EQ(t.g.ViewYU(), 1.0);
}

TEST(XGrapher, RightDragZoomsToTheRectangleAndIsRefusedInZoomMode) {
  ZoomView t;
  const int x0 = t.g.PixelX(100.0), x1 = t.g.PixelX(300.0);
  const int y0 = t.g.PixelY(0.8), y1 = t.g.PixelY(0.2);
  const std::vector<uint8_t> before(t.g.Store().Pixels(), t.g.Store().Pixels() + t.g.Store().Stride() * 300);
  t.g.MouseDown(x1, y1, XGrapher::kRight);
  t.g.MouseMove(x0 + 20, y0 + 20);
  t.g.MouseMove(x0, y0);  // the rubber band is inverted in and out
  t.g.MouseUp(x0, y0, XGrapher::kRight);
  EXPECT_NEAR(t.g.ViewXL(), 100.0, 1.0);
  EXPECT_NEAR(t.g.ViewXR(), 300.0, 1.0);
  EXPECT_NEAR(t.g.ViewYU(), 0.8, 0.01);
  EXPECT_NEAR(t.g.ViewYD(), 0.2, 0.01);
  // A rectangle beyond the plot is limited to the data.
  t.g.ResetView();
  EXPECT_EQ(std::vector<uint8_t>(t.g.Store().Pixels(), t.g.Store().Pixels() + t.g.Store().Stride() * 300),
            before);
  t.g.SetDragMode(XGrapher::kDragZoom);
  EXPECT_EQ(t.g.MouseDown(x0, y0, XGrapher::kRight), XGrapher::kBeep);
  t.g.MouseDown(0, 0, XGrapher::kLeft);
  t.g.MouseMove(399, 299);
  t.g.MouseUp(399, 299, XGrapher::kLeft);
  EXPECT_DOUBLE_EQ(t.g.ViewXL(), 0.0);
  EXPECT_DOUBLE_EQ(t.g.ViewXR(), 500.0);
}

}  // namespace
