// The spectrum window through the real widgets: the curves it holds against
// kxtool spectrum on the same file, driven by the main view's highlight and
// selection, the dB axis, and a resampling that takes the section away.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "GuiTestFiles.h"
#include "app/MainViewLink.h"
#include "app/Workspace.h"
#include "display/XGrapher.h"
#include "gui/console/ConsoleWidget.h"
#include "gui/mainwindow/MainWindow.h"
#include "gui/mainwindow/Startup.h"
#include "gui/tools/AmpSpectrumWindow.h"
#include "section/SeismicSection.h"

namespace {

// kxtool spectrum's CSV rows; empty when it failed.
std::vector<CurvePoint> KxtoolSpectrum(const std::string& dir, const std::string& args) {
  const std::string out = dir + "/spectrum.csv";
  const std::string cmd = std::string(KX_KXTOOL) + " spectrum " + args + " --output " + out + " 2>/dev/null";
  const int rc = std::system(cmd.c_str());
  std::vector<CurvePoint> rows;
  if (!WIFEXITED(rc) || WEXITSTATUS(rc) != 0) return rows;
  std::ifstream in(out);
  std::string line;
  std::getline(in, line);
  while (std::getline(in, line)) {
    std::istringstream ss(line);
    float f = 0, a = 0;
    char comma = 0;
    ss >> f >> comma >> a;
    rows.push_back({f, a});
  }
  return rows;
}

void ExpectSameCurve(const std::vector<CurvePoint>& window, const std::vector<CurvePoint>& tool) {
  ASSERT_FALSE(tool.empty());
  ASSERT_EQ(window.size(), tool.size());
  for (std::size_t i = 0; i < tool.size(); ++i) {
    ASSERT_EQ(window[i].x, tool[i].x) << i;
    ASSERT_EQ(window[i].y, tool[i].y) << i;
  }
}

class SpectrumWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    m_path = m_files.Segy("spectrum.sgy", 24);
    m_main = StartMainWindow(m_ws, &m_console, {}, {"kestrix", QString::fromStdString(m_path)},
                             QRect(0, 0, 1280, 1024));
    ASSERT_NE(m_ws.Section(), nullptr);
    m_main->Action(kCmdSpectrum)->trigger();
    m_win = m_main->SpectrumWindow();
    ASSERT_NE(m_win, nullptr);
    ASSERT_TRUE(m_win->isVisible());
  }
  const std::vector<CurvePoint>& Curve(int slot) { return m_win->Model().Spectrum().Curve(slot).points; }

  GuiTestFiles m_files;
  std::string m_path;
  Workspace m_ws;
  ConsoleWidget m_console;
  std::unique_ptr<MainWindow> m_main;
  AmpSpectrumWindow* m_win = nullptr;
};

TEST_F(SpectrumWindowTest, HighlightedTraceAndItsFilteredCurveMatchKxtool) {
  m_ws.MainView()->SelectTrace(6);
  EXPECT_EQ(m_win->Model().Spectrum().CurrentTrace(), 6);
  ExpectSameCurve(Curve(AmpSpectrum::kTraceCurve), KxtoolSpectrum(m_files.Dir(), "--trace 7 " + m_path));
  EXPECT_TRUE(Curve(AmpSpectrum::kFilteredCurve).empty());
  m_win->FilteredBox()->click();
  ExpectSameCurve(Curve(AmpSpectrum::kFilteredCurve),
                  KxtoolSpectrum(m_files.Dir(), "--trace 7 --filtered " + m_path));
  // A sort moves another trace to that position: the window forgets it.
  m_ws.RevertSortTraces();
  EXPECT_EQ(m_win->Model().Spectrum().CurrentTrace(), -1);
  EXPECT_TRUE(Curve(AmpSpectrum::kTraceCurve).empty());
  EXPECT_TRUE(Curve(AmpSpectrum::kFilteredCurve).empty());
  m_ws.MainView()->SelectTrace(6);
  // The plotter draws what the model holds, in the curve's colour.
  const XGrapher& g = m_win->Model().Graph();
  ASSERT_NE(const_cast<XGrapher&>(g).Curve(AmpSpectrum::kTraceCurve), nullptr);
  EXPECT_EQ(const_cast<XGrapher&>(g).Curve(AmpSpectrum::kTraceCurve)->points.size(),
            Curve(AmpSpectrum::kTraceCurve).size());
}

TEST_F(SpectrumWindowTest, ViewSelectionDrivesTheRangeAndWholeSectionMatchesKxtool) {
  m_win->RangeBox()->click();  // no range yet: nothing to compute
  EXPECT_TRUE(Curve(AmpSpectrum::kRangeCurve).empty());
  m_ws.NotifySelectionChanged({9, 2, 0.02, 0.07});
  EXPECT_EQ(m_win->RangeField(0)->text(), "3");
  EXPECT_EQ(m_win->RangeField(1)->text(), "10");
  EXPECT_EQ(m_win->RangeField(2)->text(), "0.02");
  ExpectSameCurve(Curve(AmpSpectrum::kRangeCurve),
                  KxtoolSpectrum(m_files.Dir(), "--range 3:10:0.02:0.07 " + m_path));
  // Enter in a field recomputes from the edited text.
  m_win->RangeField(1)->setText("5");
  QTest::keyClick(m_win->RangeField(1), Qt::Key_Return);
  ExpectSameCurve(Curve(AmpSpectrum::kRangeCurve),
                  KxtoolSpectrum(m_files.Dir(), "--range 3:5:0.02:0.07 " + m_path));
  m_win->WholeBox()->click();
  ExpectSameCurve(Curve(AmpSpectrum::kWholeCurve), KxtoolSpectrum(m_files.Dir(), "--whole " + m_path));
}

TEST_F(SpectrumWindowTest, DbSwitchesTheAxisAndTheCurves) {
  m_ws.MainView()->SelectTrace(2);
  XGrapher& g = m_win->Model().Graph();
  EXPECT_DOUBLE_EQ(g.ViewYD(), 0.0);
  EXPECT_DOUBLE_EQ(g.ViewYU(), 1.0);
  m_win->DbBox()->click();
  EXPECT_DOUBLE_EQ(g.ViewYD(), -120.0);
  EXPECT_DOUBLE_EQ(g.ViewYU(), 0.0);
  EXPECT_DOUBLE_EQ(g.YAxis().grad.step, 20.0);
  ExpectSameCurve(Curve(AmpSpectrum::kTraceCurve), KxtoolSpectrum(m_files.Dir(), "--trace 3 --db " + m_path));
  m_win->DbBox()->click();
  EXPECT_DOUBLE_EQ(g.ViewYD(), 0.0);
}

TEST_F(SpectrumWindowTest, DisabledWhileResamplingAndRecomputedAfter) {
  m_ws.MainView()->SelectTrace(4);
  m_win->WholeBox()->click();
  const double nyquist = m_win->Model().Spectrum().Nyquist();
  ASSERT_FALSE(Curve(AmpSpectrum::kWholeCurve).empty());
  const double before = m_ws.Section()->Summary().minInterval;
  ASSERT_EQ(m_ws.ResampleTraces(before * 2.0), 0);
  EXPECT_FALSE(m_win->isEnabled());
  EXPECT_FALSE(m_win->Model().IsInitialized());
  EXPECT_TRUE(Curve(AmpSpectrum::kWholeCurve).empty());
  ASSERT_TRUE(QTest::qWaitFor([&] { return !m_ws.Busy(); }, 10000));
  EXPECT_TRUE(m_win->isEnabled());
  EXPECT_DOUBLE_EQ(m_win->Model().Spectrum().Nyquist(), nyquist / 2);
  ASSERT_FALSE(Curve(AmpSpectrum::kWholeCurve).empty());
  EXPECT_LE(Curve(AmpSpectrum::kWholeCurve).back().x, nyquist / 2);
}

}  // namespace
