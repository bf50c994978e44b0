#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "display/BackingStore.h"
#include "display/BlockTextRenderer.h"
#include "display/RasterPainter.h"

namespace {

class RasterPainterTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(m_store.ResizeBackingStore(40, 30), 0);  // stride 44
    m_store.Clear(0);
  }
  int At(int x, int y) const { return m_store.Row(y)[x]; }
  int CountOf(int index) const {
    int n = 0;
    for (int y = 0; y < m_store.ClientHeight(); ++y)
      for (int x = 0; x < m_store.Stride(); ++x) n += At(x, y) == index;
    return n;
  }
  std::vector<uint8_t> Snapshot() const {
    return std::vector<uint8_t>(m_store.Pixels(),
                                m_store.Pixels() + m_store.Stride() * m_store.ClientHeight());
  }
  BackingStore m_store;
};

TEST_F(RasterPainterTest, LinesLeaveOutTheirEndPixel) {
  RasterPainter painter(m_store);
  painter.SetLineIndex(3);
  painter.Line(2, 5, 8, 5);
  for (int x = 2; x < 8; ++x) EXPECT_EQ(At(x, 5), 3) << x;
  EXPECT_EQ(At(8, 5), 0);
  EXPECT_EQ(At(1, 5), 0);
  painter.Line(10, 10, 14, 14);  // diagonal
  for (int i = 0; i < 4; ++i) EXPECT_EQ(At(10 + i, 10 + i), 3);
  EXPECT_EQ(At(14, 14), 0);
  painter.Line(20, 20, 20, 20);  // a single point draws nothing
  EXPECT_EQ(CountOf(3), 10);

  // A polyline draws every vertex but the last; a steep segment sets one
  // pixel per row.
  m_store.Clear(0);
  const PixelPoint pts[] = {{5, 2}, {5, 6}, {7, 20}};
  painter.Polyline(pts, 3);
  EXPECT_EQ(At(5, 2), 3);
  EXPECT_EQ(At(5, 6), 3);
  EXPECT_EQ(At(7, 20), 0);
  EXPECT_EQ(CountOf(3), 18);
  for (int y = 6; y < 20; ++y) {
    int hits = 0;
    for (int x = 0; x < 40; ++x) hits += At(x, y) == 3;
    EXPECT_EQ(hits, 1) << y;
  }
}

TEST_F(RasterPainterTest, ClippingNeverChangesWhichPixelsALineSets) {
  std::mt19937 rng(12345);
  std::uniform_int_distribution<int> coord(-30, 70);
  const PixelRect clip{6, 4, 31, 23};
  for (int trial = 0; trial < 400; ++trial) {
    int x0 = coord(rng), y0 = coord(rng), x1 = coord(rng), y1 = coord(rng);
    m_store.Clear(0);
    RasterPainter full(m_store);
    full.SetLineIndex(1);
    full.Line(x0, y0, x1, y1);
    std::vector<uint8_t> reference = Snapshot();
    m_store.Clear(0);
    RasterPainter clipped(m_store);
    clipped.SetClip(clip);
    clipped.SetLineIndex(1);
    clipped.Line(x0, y0, x1, y1);
    for (int y = 0; y < 30; ++y) {
      for (int x = 0; x < 44; ++x) {
        int expected = clip.Contains(x, y) ? reference[y * 44 + x] : 0;
        ASSERT_EQ(At(x, y), expected) << trial << " at " << x << "," << y;
      }
    }
  }
}

TEST_F(RasterPainterTest, HugeCoordinatesAreClippedCheaply) {
  RasterPainter painter(m_store);
  painter.SetLineIndex(2);
  painter.Line(-2000000000, 3, 2000000000, 3);
  for (int x = 0; x < 44; ++x) EXPECT_EQ(At(x, 3), 2);  // the spare column too
  painter.Line(7, 2000000000, 7, -2000000000);
  for (int y = 0; y < 30; ++y) EXPECT_EQ(At(7, y), 2);
  painter.Line(-2000000000, -2000000000, 2000000000, 2000000000);
  for (int i = 0; i < 30; ++i) EXPECT_EQ(At(i, i), 2);
  EXPECT_EQ(CountOf(2), 44 + 29 + 28);
}

TEST_F(RasterPainterTest, PolygonFillsInsideAndOutlinesInLineColour) {
  RasterPainter painter(m_store);
  painter.SetLineIndex(3);
  painter.SetFillIndex(5);
  const PixelPoint box[] = {{2, 2}, {10, 2}, {10, 8}, {2, 8}};
  ASSERT_EQ(painter.Polygon(box, 4), 0);
  for (int y = 0; y < 30; ++y) {
    for (int x = 0; x < 44; ++x) {
      bool border = (x == 2 || x == 10 || y == 2 || y == 8) && x >= 2 && x <= 10 && y >= 2 && y <= 8;
      bool inside = x > 2 && x < 10 && y > 2 && y < 8;
      ASSERT_EQ(At(x, y), border ? 3 : inside ? 5 : 0) << x << "," << y;
    }
  }
  // Without the outline the fill covers columns [2, 10) of rows [2, 8).
  m_store.Clear(0);
  ASSERT_EQ(painter.Polygon(box, 4, false), 0);
  EXPECT_EQ(CountOf(5), 8 * 6);
  EXPECT_EQ(At(2, 2), 5);
  EXPECT_EQ(At(10, 5), 0);
  EXPECT_EQ(At(5, 8), 0);
}

TEST_F(RasterPainterTest, PolygonUsesEvenOddFill) {
  RasterPainter painter(m_store);
  painter.SetLineIndex(3);
  painter.SetFillIndex(5);
  // A pentagram: its centre is crossed twice and stays empty.
  const PixelPoint star[] = {{20, 1}, {31, 28}, {3, 11}, {37, 11}, {9, 28}};
  ASSERT_EQ(painter.Polygon(star, 5), 0);
  EXPECT_EQ(At(20, 16), 0);
  EXPECT_EQ(At(20, 6), 5);  // upper point
  EXPECT_EQ(At(9, 12), 5);  // left point
  EXPECT_EQ(At(2, 2), 0);
}

TEST_F(RasterPainterTest, ClippedPolygonPaintsOnlyOneSideOfAWiggle) {
  // A wiggle at column 15 swinging both ways, closed along column 14: clipped
  // to columns 15.., only the positive lobe is painted.
  RasterPainter painter(m_store);
  painter.SetClip({15, 0, 40, 30});
  painter.SetLineIndex(3);
  painter.SetFillIndex(4);
  const PixelPoint wiggle[] = {{14, 2}, {15, 2}, {22, 8}, {15, 14}, {8, 20}, {15, 26}, {14, 26}};
  ASSERT_EQ(painter.Polygon(wiggle, 7), 0);
  EXPECT_EQ(At(18, 8), 4);
  EXPECT_EQ(At(13, 20), 0);
  EXPECT_EQ(At(14, 10), 0);
  for (int y = 0; y < 30; ++y)
    for (int x = 0; x < 15; ++x) ASSERT_EQ(At(x, y), 0);
}

TEST_F(RasterPainterTest, InvertedFramesAndClosedOutlinesUndoThemselves) {
  for (int i = 0; i < 44 * 30; ++i) m_store.Pixels()[i] = static_cast<uint8_t>(i * 7);
  std::vector<uint8_t> before = Snapshot();
  RasterPainter painter(m_store);
  painter.SetRasterOp(RasterOp::kInvert);
  painter.FrameRect({3, 4, 12, 9});
  int changed = 0;
  for (int i = 0; i < 44 * 30; ++i) changed += m_store.Pixels()[i] != before[i];
  EXPECT_EQ(changed, 2 * 9 + 2 * 3);  // each outline pixel exactly once
  EXPECT_EQ(At(3, 4), static_cast<uint8_t>(~before[4 * 44 + 3]));
  EXPECT_EQ(At(11, 8), static_cast<uint8_t>(~before[8 * 44 + 11]));
  painter.FrameRect({3, 4, 12, 9});
  EXPECT_EQ(Snapshot(), before);

  const PixelPoint loop[] = {{5, 5}, {25, 9}, {18, 20}, {5, 5}};
  painter.Polyline(loop, 4);
  EXPECT_NE(Snapshot(), before);
  painter.Polyline(loop, 4);
  EXPECT_EQ(Snapshot(), before);
}

TEST_F(RasterPainterTest, RectanglesRespectTheClip) {
  RasterPainter painter(m_store);
  painter.SetClip({5, 5, 10, 10});
  painter.FillRect({0, 0, 44, 30}, 6);
  EXPECT_EQ(CountOf(6), 25);
  painter.RemoveClip();
  painter.SetLineIndex(1);
  painter.FrameRect({-5, -5, 50, 40});  // entirely outside: nothing visible
  EXPECT_EQ(CountOf(1), 0);
  painter.FrameRect({0, 0, 44, 30});
  EXPECT_EQ(CountOf(1), 2 * 44 + 2 * 28);
  painter.PutPixel(44, 0, 9);  // past the stride
  painter.PutPixel(-1, 3, 9);
  EXPECT_EQ(CountOf(9), 0);
}

TEST_F(RasterPainterTest, WidePenCoversItsWidth) {
  RasterPainter painter(m_store);
  painter.SetLineIndex(2);
  painter.SetPenWidth(3);
  painter.Line(5, 10, 30, 10);
  for (int x = 6; x < 29; ++x) {
    EXPECT_EQ(At(x, 9), 2);
    EXPECT_EQ(At(x, 11), 2);
    EXPECT_EQ(At(x, 12), 0);
  }
}

TEST_F(RasterPainterTest, TextIsDrawnThroughTheRendererAtAnAngle) {
  BlockTextRenderer blocks;
  RasterPainter painter(m_store);
  TextStyle style;
  style.pixelHeight = 6;                                  // cells 3 x 6, two solid columns each
  EXPECT_EQ(painter.DrawText(0, 0, "ab", style, 1), -1);  // no renderer
  painter.SetTextRenderer(&blocks);
  EXPECT_EQ(painter.MeasureText("a b", style).width, 9);
  ASSERT_EQ(painter.DrawText(4, 2, "a b", style, 1), 0);
  EXPECT_EQ(CountOf(1), 2 * 2 * 6);
  EXPECT_EQ(At(4, 2), 1);
  EXPECT_EQ(At(6, 2), 0);  // gap column
  EXPECT_EQ(At(7, 7), 0);  // the blank
  EXPECT_EQ(At(11, 7), 1);

  m_store.Clear(0);
  style.angle = 90.0;  // reads upwards from the anchor
  ASSERT_EQ(painter.DrawText(20, 20, "ab", style, 2), 0);
  EXPECT_EQ(CountOf(2), 2 * 2 * 6);
  EXPECT_EQ(At(20, 19), 2);
  EXPECT_EQ(At(25, 15), 2);
  EXPECT_EQ(At(25, 14), 0);  // gap after the second character
  EXPECT_EQ(At(20, 20), 0);
  EXPECT_EQ(At(26, 19), 0);
  EXPECT_EQ(At(20, 17), 0);  // gap after the first character

  m_store.Clear(0);
  painter.SetClip({0, 0, 6, 30});
  style.angle = 0.0;
  ASSERT_EQ(painter.DrawText(4, -3, "ab", style, 3), 0);  // clipped at left/top edges of the text
  EXPECT_EQ(CountOf(3), 2 * 3);
}

}  // namespace
