#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <cstring>
#include <vector>

#include "GuiTestFiles.h"
#include "app/Workspace.h"
#include "display/VTracePlotter.h"
#include "gui/console/ConsoleWidget.h"
#include "gui/mainwindow/MainWindow.h"
#include "gui/mainwindow/Startup.h"
#include "gui/settings/DisplaySettingsPage.h"
#include "gui/settings/SettingsPanel.h"
#include "gui/tools/BadInputFlash.h"
#include "gui/tools/FilterPanel.h"
#include "gui/traceview/TraceViewWidget.h"
#include "processing/ActiveFilter.h"
#include "section/SeismicSection.h"

namespace {
int g_beeps = 0;

bool SameCascades(const IIRFilter& a, const IIRFilter& b) {
  return a.passType == b.passType && a.runSections == b.runSections &&
         std::memcmp(a.cascade1, b.cascade1, sizeof a.cascade1) == 0 &&
         std::memcmp(a.cascade2, b.cascade2, sizeof a.cascade2) == 0;
}

// The plot area of the view's raster (the focus line around it comes and goes).
std::vector<uint8_t> Raster(TraceViewWidget* view) {
  const BackingStore& s = view->Plotter().Store();
  const PixelRect r = view->Plotter().PlotRect();
  std::vector<uint8_t> pixels;
  for (int y = r.top + 1; y < r.bottom - 1; ++y)
    pixels.insert(pixels.end(), s.Row(y) + r.left + 1, s.Row(y) + r.right - 1);
  return pixels;
}

class FilterPanelTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ActiveFilter() = IIRFilterInit();
    DesignFilter(ActiveFilter());
    g_beeps = 0;
    BadInputFlash::SetBeeper([] { ++g_beeps; });
  }
  void TearDown() override {
    BadInputFlash::SetBeeper(nullptr);
    ActiveFilter() = IIRFilterInit();
    DesignFilter(ActiveFilter());
  }
  // The main window on a one-shot file of `channels` traces sampled at dtMs,
  // with the filter panel opened through its command.
  FilterPanel* Open(int channels = 24, double dtMs = 1.0) {
    m_window =
        StartMainWindow(m_ws, &m_console, {}, {"kestrix", Path(channels, dtMs)}, QRect(0, 0, 1280, 1024));
    m_window->resize(900, 600);
    QApplication::processEvents();
    m_window->Action(kCmdFreqFilter)->trigger();
    return m_window->FreqFilterPanel();
  }
  QString Path(int channels, double dtMs) {
    std::string name =
        "f" + std::to_string(channels) + "_" + std::to_string(static_cast<int>(dtMs * 1000)) + ".sgy";
    return QString::fromStdString(m_files.Segy(name.c_str(), channels, dtMs));
  }
  static void Type(QLineEdit* field, const char* text) { field->setText(text); }

  Workspace m_ws;
  ConsoleWidget m_console;
  GuiTestFiles m_files;
  std::unique_ptr<MainWindow> m_window;
};
}  // namespace

TEST_F(FilterPanelTest, CommandNeedsDataOpensOnePanelAndShowsTheControlsInOrder) {
  m_window = StartMainWindow(m_ws, &m_console, {}, {"kestrix"}, QRect(0, 0, 1280, 1024));
  m_window->ShowFreqFilter();
  EXPECT_EQ(m_window->FreqFilterPanel(), nullptr);  // no dataset: nothing
  m_window.reset();

  FilterPanel* panel = Open(24, 1.0);
  ASSERT_NE(panel, nullptr);
  EXPECT_TRUE(panel->isVisible());
  EXPECT_FALSE(panel->isModal());
  EXPECT_EQ(panel->windowTitle(), " Frequency Filtering");
  m_window->Action(kCmdFreqFilter)->trigger();
  EXPECT_EQ(m_window->FreqFilterPanel(), panel);  // kept, not made again

  EXPECT_EQ(panel->NyquistText()->text(), "Nyquist = 500.0 Hz");
  EXPECT_EQ(panel->PassList()->currentText(), " Low Pass");
  EXPECT_EQ(panel->FirstLabel()->text(), "Cutoff frequency Hz");
  EXPECT_EQ(panel->FirstField()->text(), "350");
  EXPECT_TRUE(panel->SecondField()->isHidden());
  EXPECT_EQ(panel->FamilyList()->currentText(), " Butterworth");
  EXPECT_EQ(panel->PolesSpin()->value(), 6);
  EXPECT_EQ(panel->PolesSpin()->maximum(), 20);
  EXPECT_FALSE(panel->RippleField()->isEnabled());
  EXPECT_FALSE(panel->StopBandField()->isEnabled());

  // Labels and fields by pass type, family enabling and the poles maximum.
  panel->PassList()->setCurrentIndex(3);  // Notch
  EXPECT_EQ(panel->FirstLabel()->text(), "Central frequency Hz");
  EXPECT_EQ(panel->SecondLabel()->text(), "Bandwidth Hz");
  EXPECT_FALSE(panel->SecondField()->isHidden());
  panel->PassList()->setCurrentIndex(2);  // Band Pass
  EXPECT_EQ(panel->FirstLabel()->text(), "Low Cut frequency Hz");
  EXPECT_EQ(panel->SecondLabel()->text(), "High Cut frequency Hz");
  panel->FamilyList()->setCurrentIndex(1);  // Chebyshev
  EXPECT_TRUE(panel->RippleField()->isEnabled());
  EXPECT_FALSE(panel->StopBandField()->isEnabled());
  panel->PolesSpin()->setValue(18);
  panel->FamilyList()->setCurrentIndex(2);  // Elliptic
  EXPECT_TRUE(panel->StopBandField()->isEnabled());
  EXPECT_EQ(panel->PolesSpin()->maximum(), 15);
  EXPECT_EQ(panel->PolesSpin()->value(), 15);
}

// Each refused entry: the field as rewritten, a beep with the flash, and the
// designed filter exactly as before. Each accepted one: what it stores.
TEST_F(FilterPanelTest, SetValidatesEveryFieldThroughTheControls) {
  FilterPanel* panel = Open(24, 1.0);  // Nyquist 500 Hz
  ASSERT_NE(panel, nullptr);
  struct Case {
    int passIndex, familyIndex;
    const char *f1, *f2, *ripple, *stopBand;
    int status;
    const char *shown1, *shown2, *shownRipple, *shownStop;
  };
  const Case cases[] = {
      {0, 0, "600", "", "0.5", "60", -1, "", "", "0.500", "60.0"},        // above Nyquist: emptied
      {0, 0, "-5", "", "0.5", "60", -1, "", "", "0.500", "60.0"},         // negative
      {0, 0, "350Hz", "", "0.5", "60", -1, "", "", "0.500", "60.0"},      // trailing letters
      {0, 1, "100", "", "0.5abc", "60", -1, "100", "", "0.020", "60.0"},  // bad ripple
      {0, 2, "100", "", "0.5", "x", -1, "100", "", "0.500", "60.0"},      // bad stop band
      {0, 0, "100", "", "", "60", -1, "100", "", "0.020", "60.0"},        // an empty ripple is no number
      {2, 0, "300", "20", "0.5", "60", 0, "20", "300", "0.500", "60.0"},  // edges swapped
      {0, 1, "350", "", "3", "200", 0, "350", "", "1.000", "120.0"},      // limited
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.f1) + "/" + c.f2 + " ripple " + c.ripple + " stop " + c.stopBand);
    panel->PassList()->setCurrentIndex(c.passIndex);
    panel->FamilyList()->setCurrentIndex(c.familyIndex);
    Type(panel->FirstField(), c.f1);
    Type(panel->SecondField(), c.f2);
    Type(panel->RippleField(), c.ripple);
    Type(panel->StopBandField(), c.stopBand);
    const IIRFilter before = ActiveFilter();
    const int beeps = g_beeps;
    QTest::mouseClick(panel->SetButton(), Qt::LeftButton);
    EXPECT_EQ(panel->FirstField()->text(), c.shown1);
    if (c.passIndex == 2) {
      EXPECT_EQ(panel->SecondField()->text(), c.shown2);
    }
    EXPECT_EQ(panel->RippleField()->text(), c.shownRipple);
    EXPECT_EQ(panel->StopBandField()->text(), c.shownStop);
    if (c.status != 0) {
      EXPECT_EQ(g_beeps, beeps + 1);
      ASSERT_NE(panel->findChild<BadInputFlash*>(), nullptr);
      EXPECT_TRUE(SameCascades(ActiveFilter(), before));
      EXPECT_EQ(ActiveFilter().lowPassCutoff, before.lowPassCutoff);
      EXPECT_EQ(ActiveFilter().family, before.family);
    } else {
      EXPECT_EQ(g_beeps, beeps);
      EXPECT_EQ(ActiveFilter().passType, c.passIndex + 1);
    }
  }
  // The last two accepted rows stored these.
  EXPECT_DOUBLE_EQ(ActiveFilter().bandPassLow, 20.0 / 500.0);
  EXPECT_DOUBLE_EQ(ActiveFilter().bandPassHigh, 300.0 / 500.0);
  EXPECT_DOUBLE_EQ(ActiveFilter().lowPassCutoff, 0.7);
  EXPECT_DOUBLE_EQ(ActiveFilter().rippleDB, 1.0);
  EXPECT_DOUBLE_EQ(ActiveFilter().stopBandDB, 120.0);
  // 0 and Nyquist itself are held within 0.0001 .. 0.99.
  for (auto [text, fraction] : {std::pair{"0", 0.0001}, std::pair{"500", 0.99}}) {
    Type(panel->FirstField(), text);
    EXPECT_EQ(panel->Apply(), 0);
    EXPECT_DOUBLE_EQ(ActiveFilter().lowPassCutoff, fraction) << text;
  }
}

TEST_F(FilterPanelTest, UseFilterBoxesMirrorEachOtherAndTheViewDrawsFiltered) {
  FilterPanel* panel = Open(24, 1.0);
  ASSERT_NE(panel, nullptr);
  TraceViewWidget* view = m_window->TraceView();
  QCheckBox* displayBox = m_window->Panel()->DisplayPage()->findChild<QCheckBox*>("useFreqFilter");
  ASSERT_NE(displayBox, nullptr);
  m_window->Panel()->AttachView(view);  // as when the view gets the focus
  const std::vector<uint8_t> plain = Raster(view);

  // A band pass set in the panel, then " Use Filter": the view draws it.
  panel->PassList()->setCurrentIndex(2);
  Type(panel->FirstField(), "40");
  Type(panel->SecondField(), "60");
  ASSERT_EQ(panel->Apply(), 0);
  EXPECT_EQ(Raster(view), plain);  // designed, not yet used
  QTest::mouseClick(panel->UseFilterBox(), Qt::LeftButton);
  EXPECT_TRUE(panel->UseFilterBox()->isChecked());
  EXPECT_TRUE(displayBox->isChecked());
  EXPECT_EQ(view->Params().m_useFreqFilter, 1);
  const std::vector<uint8_t> filtered = Raster(view);
  EXPECT_NE(filtered, plain);
  // The traces drawn are the filtered ones: their peaks are the filter's.
  const TraceRecord* t = m_ws.Section()->Traces()[3];
  std::vector<float> out(static_cast<std::size_t>(t->NS));
  EXPECT_EQ(t->DNORM, RunFilter(ActiveFilter(), t->Samples(), out.data(), t->NS));
  EXPECT_LT(t->DNORM, t->AMAX);

  // The display panel's box switches the panel's box off, and the view back.
  QTest::mouseClick(displayBox, Qt::LeftButton);
  EXPECT_FALSE(panel->UseFilterBox()->isChecked());
  EXPECT_EQ(view->Params().m_useFreqFilter, 0);
  EXPECT_EQ(Raster(view), plain);
  QTest::mouseClick(displayBox, Qt::LeftButton);
  EXPECT_TRUE(panel->UseFilterBox()->isChecked());
  EXPECT_EQ(Raster(view), filtered);
  QTest::mouseClick(panel->UseFilterBox(), Qt::LeftButton);
  EXPECT_FALSE(displayBox->isChecked());
  EXPECT_EQ(Raster(view), plain);
}

TEST_F(FilterPanelTest, PanelFollowsTheNyquistOfEachNewSection) {
  FilterPanel* panel = Open(24, 2.0);
  ASSERT_NE(panel, nullptr);
  EXPECT_EQ(panel->NyquistText()->text(), "Nyquist = 250.0 Hz");
  EXPECT_EQ(panel->FirstField()->text(), "175");
  m_window->SetFilesChooser([&](int* f) {
    *f = 2;
    return QStringList{Path(24, 0.25)};
  });
  ASSERT_EQ(m_window->LoadDatasetCommand(), 0);
  EXPECT_EQ(panel->NyquistText()->text(), "Nyquist = 2000 Hz");
  EXPECT_EQ(panel->FirstField()->text(), "1400");
  EXPECT_DOUBLE_EQ(ActiveFilter().Nyquist, 2000.0);
  EXPECT_DOUBLE_EQ(ActiveFilter().lowPassCutoff, 0.7);
}
