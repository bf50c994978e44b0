// Every real file of the shared test data through the main window: load it,
// then drive the view the way a user does (keys, zooms, gain characters,
// both display modes, a rectangle zoom and a hand scroll, a snapshot). Files
// that hold no seismic data must leave the window usable; the others must
// survive every gesture with the view inside the section.
#include <gtest/gtest.h>

#include <QApplication>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <QTest>
#include <filesystem>
#include <string>
#include <vector>

#include "app/Workspace.h"
#include "gui/console/ConsoleWidget.h"
#include "gui/mainwindow/MainWindow.h"
#include "gui/mainwindow/Startup.h"
#include "gui/traceview/TraceViewWidget.h"
#include "section/SeismicSection.h"

namespace fs = std::filesystem;

namespace {
std::vector<std::string> RealFiles() {
  std::vector<std::string> files;
  for (const char* sub : {"segy", "su", "seg2", "segd"}) {
    const fs::path dir = fs::path(KX_TEST_DATA_DIR) / sub;
    if (!fs::is_directory(dir)) continue;
    for (const auto& e : fs::recursive_directory_iterator(dir))
      if (e.is_regular_file()) files.push_back(e.path().string());
  }
  return files;
}

void Drag(QWidget* w, QPoint from, QPoint to) {
  QTest::mousePress(w, Qt::LeftButton, {}, from);
  QMouseEvent move(QEvent::MouseMove, to, w->mapToGlobal(to), Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(w, &move);
  QTest::mouseRelease(w, Qt::LeftButton, {}, to);
}

// The view shows a page inside the section.
void ExpectInside(TraceViewWidget& v, const std::string& file) {
  const DisplayParams& p = v.Params();
  EXPECT_GE(p.m_firstTrace, 0) << file;
  EXPECT_LT(p.m_firstTrace, v.TraceCount()) << file;
  EXPECT_GE(p.m_startTime, v.Plotter().SectionStart() - 1e-9) << file;
  EXPECT_GT(p.m_pixPerTrace, 0.0) << file;
  EXPECT_GT(p.m_pixPerSec, 0.0) << file;
}

void DriveView(TraceViewWidget* v, const std::string& file) {
  const Qt::Key keys[] = {Qt::Key_End,  Qt::Key_Right, Qt::Key_Home, Qt::Key_PageDown,
                          Qt::Key_Down, Qt::Key_Up,    Qt::Key_Left, Qt::Key_PageUp};
  for (Qt::Key k : keys) QTest::keyClick(v, k);
  for (int i = 0; i < 3; ++i) QTest::keyClick(v, Qt::Key_Right, Qt::ControlModifier);
  QTest::keyClick(v, Qt::Key_Down, Qt::ControlModifier);
  QTest::keyClick(v, Qt::Key_End, Qt::ControlModifier);
  QTest::keyClick(v, Qt::Key_PageUp, Qt::ControlModifier);
  QTest::keyClick(v, Qt::Key_Escape);
  QTest::keyClick(v, Qt::Key_Escape);
  for (const char* c : {"*", "/", "+", "-", "%", "i", "="}) QTest::keyClicks(v, c);
  ExpectInside(*v, file);

  const PixelRect plot = v->Plotter().PlotRect();
  const QPoint a(plot.left + 3, plot.top + 3), b((plot.left + plot.right) / 2, (plot.top + plot.bottom) / 2);
  v->Params().m_zoomTool = kZoomRectangle;
  v->ZoomToolChanged();
  Drag(v, a, b);
  v->Params().m_zoomTool = kZoomNone;
  v->ZoomToolChanged();
  Drag(v, b, a);  // hand scroll
  QTest::keyClick(v, Qt::Key_Escape);
  ExpectInside(*v, file);
}
}  // namespace

TEST(RealFiles, EveryFileSurvivesLoadingAndTheViewsGestures) {
  const std::vector<std::string> files = RealFiles();
  ASSERT_GT(files.size(), 10u) << "no test data under " << KX_TEST_DATA_DIR;
  Workspace ws;
  ConsoleWidget console;
  auto w = StartMainWindow(ws, &console, {}, {"kestrix"}, QRect(0, 0, 1280, 1024));
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  TraceViewWidget* v = w->TraceView();
  int shown = 0;
  for (const std::string& file : files) {
    SCOPED_TRACE(file);
    const int rc = ws.LoadChosenFiles({file}, 1);
    if (rc != 0) {
      // Nothing to show: the view keeps the section before it, if any, and the window still loads.
      EXPECT_EQ(v->HasData(), ws.Section() != nullptr);
      if (ws.Section()) {
        EXPECT_EQ(v->TraceCount(), ws.Section()->Count());
      }
      continue;
    }
    ++shown;
    ASSERT_EQ(v->TraceCount(), ws.Section()->Count());
    for (int mode : {kDisplayWiggle, kDisplayColor}) {
      v->Params().m_displayMode = mode;
      v->DisplayChanged(1);
      v->setFocus();
      DriveView(v, file);
    }
    w->SetSnapshotNameChooser([&] { return dir.filePath("shot.png"); });
    EXPECT_EQ(w->SnapshotCommand(), 0);
  }
  EXPECT_GT(shown, 10);
}
