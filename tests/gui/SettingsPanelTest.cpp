// The settings panel driven through its real widgets against a recording
// stand-in for the trace view.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QSlider>
#include <QTabWidget>
#include <QTest>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <cmath>
#include <string>
#include <vector>

#include "app/AppSettings.h"
#include "display/FieldText.h"
#include "gui/settings/DisplaySettingsPage.h"
#include "gui/settings/SettingsPanel.h"
#include "log/ConsoleLineStore.h"
#include "log/Log.h"
#include "section/HeaderLabelTable.h"

// Readable failure messages for texts.
inline void PrintTo(const QString& text, std::ostream* os) {
  *os << '"' << text.toStdString() << '"';
}

namespace {

class FakeView : public DisplayTarget {
 public:
  DisplayParams params;
  QLineEdit focusTarget;  // stands for the view widget
  std::vector<int> hints;
  std::vector<int> scaleAnnounced;
  std::vector<std::string> calls;
  std::vector<std::pair<int, double>> steps;
  bool hasEnsembles = false;
  int highlighted = -1;
  HeaderPlotSettings plot;

  DisplayParams& TargetParams() override { return params; }
  int TargetClientHeight() const override { return 600; }
  QWidget* FocusWidget() override { return &focusTarget; }
  void DisplayChanged(int hint) override { hints.push_back(hint); }
  void ScaleAboutToChange(int which) override { scaleAnnounced.push_back(which); }
  void FitTime() override { calls.push_back("FitTime"); }
  void FitTraces() override {
    calls.push_back("FitTraces");
    params.m_pixPerTrace = 1.5;
  }
  void UndoZoom() override {
    calls.push_back("UndoZoom");
    params.m_pixPerTrace = 5.0;
  }
  void ZoomToolChanged() override { calls.push_back("ZoomToolChanged"); }
  bool HasEnsembles() const override { return hasEnsembles; }
  void SetEnsembleView(bool on) override {
    calls.push_back(on ? "EnsembleOn" : "EnsembleOff");
    params.m_ensembleView = on ? 1 : 0;
    if (on) params.m_ensembleKey = 101.0;
  }
  void EnsembleStep(int step, double key) override {
    steps.emplace_back(step, key);
    params.m_ensembleKey = step == 3 ? key : params.m_ensembleKey + (step == 1 ? 1 : -1);
  }
  void HeaderPlotCurveChosen(int, int) override {}
  void SetHeaderPlotSettings(const HeaderPlotSettings& s) override { plot = s; }
  const HeaderPlotSettings& GetHeaderPlotSettings() const override { return plot; }
  void SetLabelWords(const std::vector<int>&, int) override {}
  void SetLabelGraduationSteps(int, int) override {}
  std::vector<int> LabelWords() const override { return {}; }
  int LabelGraduationStep() const override { return 0; }
  int LabelHgrad() const override { return 0; }
  int LabelVgrad() const override { return 0; }
  int HighlightedAbsolute() const override { return highlighted; }
};

class SettingsGuard {
 public:
  SettingsGuard() : m_saved(Settings()), m_threshold(LogGetThreshold()) {}
  ~SettingsGuard() {
    Settings() = m_saved;
    LogSetThreshold(m_threshold);
  }

 private:
  AppSettings m_saved;
  int m_threshold;
};

bool ConsoleHas(const std::string& text) {
  bool found = false;
  ConsoleAccess([&](ConsoleLineStore& s) {
    for (const std::u16string& l : s.Lines())
      if (Utf16ToUtf8(l).find(text) != std::string::npos) found = true;
  });
  return found;
}

class SettingsPanelTest : public ::testing::Test {
 protected:
  void SetUp() override { view.params.m_displayMode = kDisplayWiggle; }

  template <typename T>
  T* Find(const char* name) {
    T* w = panel.findChild<T*>(name);
    if (!w && panel.DetachedWindow()) w = panel.DetachedWindow()->findChild<T*>(name);
    EXPECT_NE(w, nullptr) << name;
    return w;
  }
  QSlider* Slider(const char* name) { return Find<QSlider>(name); }
  QLineEdit* Field(const char* name) { return Find<QLineEdit>(name); }
  void Enter(const char* field, const QString& text) {
    QLineEdit* f = Field(field);
    f->setText(text);
    QTest::keyClick(f, Qt::Key_Return);
  }
  void Drag(QSlider* s, std::initializer_list<int> positions) {
    s->setSliderDown(true);
    for (int p : positions) s->setSliderPosition(p);
    s->setSliderDown(false);
  }

  SettingsGuard guard;
  FakeView view;
  SettingsPanel panel;
};

}  // namespace

TEST_F(SettingsPanelTest, TabsTitlesNoDataTextAndFocusPolicySetOnCreation) {
  Settings().dialogFocusPolicy = 3;
  SettingsPanel fresh;
  EXPECT_EQ(Settings().dialogFocusPolicy, 2);
  QTabWidget* tabs = fresh.Tabs();
  ASSERT_EQ(tabs->count(), 5);
  const char* titles[] = {"Display Settings", "Header Plot", "Header Words", "Trace Info", "Section Info"};
  for (int i = 0; i < 5; ++i) EXPECT_EQ(tabs->tabText(i), titles[i]) << i;
  EXPECT_EQ(fresh.SectionInfo(), QString("\n\n\n  NO Data Loaded"));
  EXPECT_FALSE(fresh.DisplayPage()->isEnabled());  // nothing to edit before a view binds
  fresh.SetSectionInfo("\n\n SU file");
  EXPECT_EQ(fresh.SectionInfo(), "\n\n SU file");
}

TEST_F(SettingsPanelTest, AttachFillsControlsAndLogsTheTime) {
  LogSetThreshold(LogInfo);
  view.params.m_pixPerTrace = 12.5;
  view.params.m_pixPerSec = 2000.0;
  view.params.m_colorGain = 0.25;
  view.params.m_wiggleGain = 3.0;
  view.params.m_wiggleClip = 350.0f;
  panel.AttachView(&view);
  EXPECT_TRUE(panel.DisplayPage()->isEnabled());
  EXPECT_EQ(Field("traceScaleField")->text(), "12.50");
  EXPECT_EQ(Field("timeScaleField")->text(), "2.000");  // pixels per millisecond
  EXPECT_EQ(Field("colorGainField")->text(), "0.250");
  EXPECT_EQ(Field("wiggleGainField")->text(), "3.000");
  EXPECT_EQ(Slider("wiggleClipSlider")->value(), 350);
  EXPECT_TRUE(Find<QAbstractButton>("wiggleMode")->isChecked());
  EXPECT_TRUE(ConsoleHas("ShowSettings in "));
  EXPECT_TRUE(view.hints.empty());  // filling the controls changes nothing

  panel.DetachView(&view);
  EXPECT_EQ(panel.View(), nullptr);
  EXPECT_FALSE(panel.DisplayPage()->isEnabled());
}

TEST_F(SettingsPanelTest, TraceScaleDragAppliesOnceAndStepsSnapBack) {
  panel.AttachView(&view);
  QSlider* s = Slider("traceScaleSlider");
  Drag(s, {10, 30, 50});
  EXPECT_NEAR(view.params.m_pixPerTrace, 5.0 * std::pow(1.01, 50), 1e-12);
  EXPECT_EQ(s->value(), 0);
  EXPECT_EQ(Field("traceScaleField")->text(),
            QString::fromStdString(FormatFieldValue(view.params.m_pixPerTrace)));
  EXPECT_EQ(view.scaleAnnounced, std::vector<int>(3, 2));

  view.params.m_pixPerTrace = 5.0;
  s->triggerAction(QAbstractSlider::SliderPageStepAdd);
  EXPECT_NEAR(view.params.m_pixPerTrace, 5.0 * std::pow(1.01, 10), 1e-12);
  EXPECT_EQ(s->value(), 0);
  EXPECT_EQ(s->sliderPosition(), 0);
  s->triggerAction(QAbstractSlider::SliderSingleStepSub);
  EXPECT_NEAR(view.params.m_pixPerTrace, 5.0 * std::pow(1.01, 9), 1e-12);
  EXPECT_EQ(s->value(), 0);

  // A drag back and forth counts the net movement once.
  view.params.m_pixPerTrace = 5.0;
  Drag(s, {40, -20, 0});
  EXPECT_NEAR(view.params.m_pixPerTrace, 5.0, 1e-12);
}

TEST_F(SettingsPanelTest, TraceScaleLimitedBySliderAndEntry) {
  panel.AttachView(&view);
  view.params.m_pixPerTrace = 1990.0;
  Slider("traceScaleSlider")->triggerAction(QAbstractSlider::SliderPageStepAdd);
  EXPECT_EQ(view.params.m_pixPerTrace, 2000.0);
  view.params.m_pixPerTrace = 0.0011;
  Slider("traceScaleSlider")->triggerAction(QAbstractSlider::SliderPageStepSub);
  EXPECT_EQ(view.params.m_pixPerTrace, 0.001);
  size_t announced = view.scaleAnnounced.size();
  Slider("traceScaleSlider")->triggerAction(QAbstractSlider::SliderPageStepSub);
  EXPECT_EQ(view.scaleAnnounced.size(), announced);  // at the limit nothing changes

  Enter("traceScaleField", "5000");
  EXPECT_EQ(view.params.m_pixPerTrace, 2000.0);
  EXPECT_EQ(Field("traceScaleField")->text(), "2000");
  Enter("traceScaleField", " 0.0000001 ");
  EXPECT_EQ(view.params.m_pixPerTrace, 0.001);
  Enter("traceScaleField", "7.5");
  EXPECT_EQ(view.params.m_pixPerTrace, 7.5);
  Enter("traceScaleField", "abc");
  EXPECT_EQ(view.params.m_pixPerTrace, 7.5);
  EXPECT_EQ(Field("traceScaleField")->text(), "7.500");  // the value in force again
  Enter("traceScaleField", "12x");
  EXPECT_EQ(view.params.m_pixPerTrace, 12.0);  // the readable start counts
}

TEST_F(SettingsPanelTest, GainSlidersAndEntriesFollowTheDisplayMode) {
  panel.AttachView(&view);
  Find<QAbstractButton>("colorMode")->click();
  Slider("wiggleGainSlider")->triggerAction(QAbstractSlider::SliderSingleStepSub);
  EXPECT_DOUBLE_EQ(view.params.m_overlayGain, 0.9852216748768474);  // the highlighted trace's wiggle
  EXPECT_EQ(view.params.m_wiggleGain, 1.0);
  EXPECT_EQ(Field("wiggleGainField")->text(), "0.985");
  Enter("wiggleGainField", "");  // unreadable: ignored
  EXPECT_DOUBLE_EQ(view.params.m_overlayGain, 0.9852216748768474);
  Enter("colorGainField", "1e30");
  EXPECT_EQ(view.params.m_colorGain, 1e27);
  QSlider* clip = Slider("wiggleClipSlider");
  clip->triggerAction(QAbstractSlider::SliderPageStepSub);
  EXPECT_FLOAT_EQ(view.params.m_overlayClip, 950.0f);
  EXPECT_FLOAT_EQ(view.params.m_wiggleClip, 1000.0f);
  EXPECT_TRUE(view.scaleAnnounced.empty());  // gains are no scales

  Enter("timeScaleField", "2.5");  // pixels per millisecond
  EXPECT_DOUBLE_EQ(view.params.m_pixPerSec, 2500.0);
  Enter("timeScaleField", "0");
  EXPECT_DOUBLE_EQ(view.params.m_pixPerSec, 2500.0);
  EXPECT_EQ(view.scaleAnnounced, std::vector<int>{1});
}

TEST_F(SettingsPanelTest, GainModesRememberTheirGains) {
  view.params.m_wiggleGain = 3.7;
  view.params.m_colorGain = 0.42;
  panel.AttachView(&view);
  Find<QAbstractButton>("gainAgc")->click();
  EXPECT_EQ(view.params.m_gainControl, kGainAgc);
  EXPECT_EQ(view.params.m_wiggleGain, 1.0);
  EXPECT_EQ(Field("wiggleGainField")->text(), "1.000");
  Enter("wiggleGainField", "9");
  Find<QAbstractButton>("gainNorm")->click();
  EXPECT_EQ(view.params.m_wiggleGain, 3.7);
  EXPECT_EQ(view.params.m_colorGain, 0.42);
  EXPECT_EQ(Field("colorGainField")->text(), "0.420");
  Find<QAbstractButton>("gainAgc")->click();
  EXPECT_EQ(view.params.m_wiggleGain, 9.0);

  // "Agc" without a usable window: the field shows the window in force and
  // the view is not redrawn.
  Find<QAbstractButton>("gainNone")->click();
  size_t redraws = view.hints.size();
  Field("agcWindow")->setText("-3");
  Find<QAbstractButton>("gainAgc")->click();
  EXPECT_EQ(view.hints.size(), redraws);
  EXPECT_EQ(Field("agcWindow")->text(), "250");
  EXPECT_EQ(view.params.m_agcWindow, 0.25);
}

TEST_F(SettingsPanelTest, AgcWindowFieldInTheUnitOfTheSection) {
  panel.AttachView(&view);
  EXPECT_EQ(Find<QLabel>("agcUnit")->text(), "ms");
  EXPECT_EQ(Field("agcWindow")->text(), "250");
  Enter("agcWindow", "100");
  EXPECT_DOUBLE_EQ(view.params.m_agcWindow, 0.1);
  Enter("agcWindow", "0");
  EXPECT_DOUBLE_EQ(view.params.m_agcWindow, 0.1);
  EXPECT_EQ(Field("agcWindow")->text(), "100");

  view.params.m_timeUnitCode = 2;
  panel.AttachView(&view);
  EXPECT_EQ(Find<QLabel>("agcUnit")->text(), QString::fromUtf8("\u03bcs"));
  EXPECT_EQ(Field("agcWindow")->text(), "100000");
  Enter("agcWindow", "500");
  EXPECT_DOUBLE_EQ(view.params.m_agcWindow, 0.0005);
  Enter("agcWindow", "x");
  EXPECT_EQ(Field("agcWindow")->text(), "500");

  view.params.m_timeUnitCode = 4;
  view.params.m_agcWindow = DBLE_UNDEF;
  panel.AttachView(&view);
  EXPECT_EQ(Find<QLabel>("agcUnit")->text(), "ns");
  EXPECT_EQ(Field("agcWindow")->text(), "");

  // The type list reads the window again; it redraws only under "Agc".
  size_t redraws = view.hints.size();
  Field("agcWindow")->setText("20");
  QComboBox* type = Find<QComboBox>("agcType");
  QTest::keyClick(type, Qt::Key_Down);
  EXPECT_EQ(view.params.m_agcType, kAgcRms);
  EXPECT_DOUBLE_EQ(view.params.m_agcWindow, 20e-9);
  EXPECT_EQ(view.hints.size(), redraws);
}

TEST_F(SettingsPanelTest, ModePaletteAndCheckBoxes) {
  panel.AttachView(&view);
  QCheckBox* timeLines = Find<QCheckBox>("timeLines");
  QCheckBox* zeroLines = Find<QCheckBox>("zeroLines");
  EXPECT_FALSE(zeroLines->isHidden());
  EXPECT_TRUE(timeLines->isChecked());  // the wiggle-mode flag

  // In wiggle mode the palette changes the record but draws nothing.
  QComboBox* palette = Find<QComboBox>("palette");
  QTest::keyClick(palette, Qt::Key_Down);
  EXPECT_EQ(view.params.m_palette, 1);
  EXPECT_EQ(view.params.m_colorScheme, 3);
  EXPECT_TRUE(view.hints.empty());

  Find<QAbstractButton>("colorMode")->click();
  EXPECT_EQ(view.params.m_displayMode, kDisplayColor);
  EXPECT_EQ(view.hints, std::vector<int>{1});
  EXPECT_TRUE(zeroLines->isHidden());
  EXPECT_FALSE(timeLines->isChecked());  // the colour-mode flag
  timeLines->click();
  EXPECT_EQ(view.params.m_timeLinesColor, 1);
  EXPECT_EQ(view.params.m_timeLinesWiggle, 1);

  QTest::keyClick(palette, Qt::Key_Down);  // "Red-Blue"
  EXPECT_EQ(view.params.m_colorScheme, 2);
  QTest::keyClick(palette, Qt::Key_Up);  // "Red-Black"
  EXPECT_EQ(view.params.m_colorScheme, 3);
  EXPECT_EQ(view.hints.back(), 2);

  QSignalSpy freq(&panel, &SettingsPanel::UseFreqFilterChanged);
  Find<QCheckBox>("useFreqFilter")->click();
  EXPECT_EQ(view.params.m_useFreqFilter, 1);
  ASSERT_EQ(freq.count(), 1);
  EXPECT_TRUE(freq.at(0).at(0).toBool());
  Find<QCheckBox>("crossLinesCursor")->click();
  EXPECT_EQ(view.params.m_crossLinesCursor, 1);
  Find<QAbstractButton>("fillNegative")->click();
  EXPECT_EQ(view.params.m_fillMode, kFillNegative);
  EXPECT_EQ(view.hints.back(), 0);
}

TEST_F(SettingsPanelTest, EnsembleViewZoomToolsAndFitButtons) {
  panel.AttachView(&view);
  QLineEdit* key = Field("ensembleKey");
  Find<QPushButton>("full")->click();
  EXPECT_TRUE(view.calls.empty());  // no ensembles: "Full" does nothing
  EXPECT_TRUE(key->isHidden());

  view.hasEnsembles = true;
  Find<QPushButton>("full")->click();
  EXPECT_EQ(view.calls.back(), "EnsembleOn");
  EXPECT_FALSE(key->isHidden());
  EXPECT_FALSE(Find<QLabel>("wordLabel")->isHidden());
  EXPECT_EQ(key->text(), "101");
  Find<QAbstractButton>("nextEnsemble")->click();
  EXPECT_EQ(key->text(), "102");
  Enter("ensembleKey", "12.5");
  EXPECT_EQ(view.steps.back(), std::make_pair(3, 12.5));
  size_t stepCount = view.steps.size();
  Enter("ensembleKey", "abc");
  EXPECT_EQ(view.steps.size(), stepCount);
  EXPECT_EQ(key->text(), "12.5");
  panel.NoEnsembles();
  EXPECT_TRUE(key->isHidden());
  Find<QPushButton>("full")->click();
  EXPECT_EQ(view.calls.back(), "EnsembleOff");

  QPushButton* zr = Find<QPushButton>("zoomRectangle");
  QPushButton* sr = Find<QPushButton>("selectRectangle");
  zr->click();
  sr->click();
  EXPECT_EQ(view.params.m_zoomTool, kZoomSelect);
  EXPECT_FALSE(zr->isChecked());
  sr->click();
  EXPECT_EQ(view.params.m_zoomTool, kZoomNone);
  EXPECT_EQ(view.calls.back(), "ZoomToolChanged");

  Find<QAbstractButton>("fitTraces")->click();
  EXPECT_EQ(Field("traceScaleField")->text(), "1.500");
  Find<QPushButton>("undoZoom")->click();
  EXPECT_EQ(view.calls.back(), "UndoZoom");
  EXPECT_EQ(Field("traceScaleField")->text(), "5.000");
}

TEST_F(SettingsPanelTest, FocusGoesBackToTheViewByPolicy) {
  QWidget window;
  auto* layout = new QHBoxLayout(&window);
  layout->addWidget(&panel);
  layout->addWidget(&view.focusTarget);
  window.show();
  window.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
  panel.AttachView(&view);
  QLineEdit* traceField = Field("traceScaleField");
  QSlider* slider = Slider("traceScaleSlider");
  auto focusAfter = [&](QWidget* start, auto action) {
    start->setFocus();
    action();
    return QApplication::focusWidget();
  };
  auto clickMode = [&] { Find<QAbstractButton>("fillNone")->click(); };
  auto stepSlider = [&] { slider->triggerAction(QAbstractSlider::SliderSingleStepAdd); };

  Settings().dialogFocusPolicy = 2;
  EXPECT_EQ(focusAfter(traceField, clickMode), &view.focusTarget);
  EXPECT_EQ(focusAfter(slider, stepSlider), slider);
  Settings().dialogFocusPolicy = 1;
  EXPECT_EQ(focusAfter(slider, stepSlider), &view.focusTarget);
  Settings().dialogFocusPolicy = 3;
  EXPECT_EQ(focusAfter(traceField, clickMode), traceField);
  EXPECT_EQ(focusAfter(traceField, [&] { Enter("traceScaleField", "6"); }), traceField);
  layout->removeWidget(&panel);
  layout->removeWidget(&view.focusTarget);
  panel.setParent(nullptr);
  view.focusTarget.setParent(nullptr);
}

TEST_F(SettingsPanelTest, CollapseAndExpandTellTheWidth) {
  QSignalSpy width(&panel, &SettingsPanel::WidthChanged);
  int expanded = panel.width();
  QPushButton* button = panel.CollapseButton();
  EXPECT_EQ(button->text(), "<");
  button->click();
  EXPECT_TRUE(panel.IsCollapsed());
  EXPECT_TRUE(panel.Tabs()->isHidden());
  EXPECT_NE(button->text(), "<");
  ASSERT_EQ(width.count(), 1);
  int collapsed = width.at(0).at(0).toInt();
  EXPECT_LT(collapsed, expanded);
  EXPECT_EQ(panel.width(), collapsed);
  button->click();
  EXPECT_FALSE(panel.Tabs()->isHidden());
  EXPECT_EQ(button->text(), "<");
  ASSERT_EQ(width.count(), 2);
  EXPECT_EQ(width.at(1).at(0).toInt(), expanded);
}

TEST_F(SettingsPanelTest, DetachedPageReturnsToItsTabWhenItsWindowCloses) {
  panel.AttachView(&view);
  panel.Tabs()->setCurrentIndex(4);
  panel.DetachButton()->click();
  ASSERT_TRUE(panel.IsDisplayPageDetached());
  EXPECT_TRUE(ConsoleHas("IDC_DETACH"));
  QWidget* window = panel.DetachedWindow();
  ASSERT_NE(window, nullptr);
  EXPECT_TRUE(window->isWindow());
  EXPECT_EQ(window->windowTitle(), "Traces Display Parameters");
  EXPECT_TRUE(window->isVisible());
  EXPECT_EQ(panel.Tabs()->count(), 4);
  EXPECT_EQ(panel.Tabs()->tabText(0), "Header Plot");
  EXPECT_EQ(panel.DisplayPage()->window(), window);
  EXPECT_FALSE(panel.DetachButton()->isEnabled());

  // The page keeps working in its window.
  Enter("traceScaleField", "8");
  EXPECT_EQ(view.params.m_pixPerTrace, 8.0);

  window->close();
  EXPECT_FALSE(panel.IsDisplayPageDetached());
  ASSERT_EQ(panel.Tabs()->count(), 5);
  EXPECT_EQ(panel.Tabs()->widget(0), panel.DisplayPage());
  EXPECT_EQ(panel.Tabs()->tabText(0), "Display Settings");
  EXPECT_EQ(panel.Tabs()->tabText(4), "Section Info");
  EXPECT_TRUE(panel.DetachButton()->isEnabled());
  EXPECT_FALSE(window->isVisible());
}

TEST_F(SettingsPanelTest, TraceInfoPageShowsCellsAndAsksForTheHighlightedTrace) {
  panel.AttachView(&view);
  QSignalSpy wanted(&panel, &SettingsPanel::TraceInfoWanted);
  panel.Tabs()->setCurrentIndex(3);
  EXPECT_EQ(wanted.count(), 0);  // nothing highlighted
  panel.Tabs()->setCurrentIndex(4);
  view.highlighted = 42;
  panel.Tabs()->setCurrentIndex(3);
  ASSERT_EQ(wanted.count(), 1);
  EXPECT_EQ(wanted.at(0).at(0).toInt(), 42);
  EXPECT_TRUE(panel.IsTraceInfoShown());
  panel.Tabs()->setCurrentIndex(0);
  EXPECT_EQ(wanted.count(), 1);
  EXPECT_FALSE(panel.IsTraceInfoShown());
  panel.DetachDisplayPage();
  panel.Tabs()->setCurrentIndex(2);
  EXPECT_TRUE(panel.IsTraceInfoShown());
  EXPECT_EQ(wanted.count(), 2);
  panel.AttachDisplayPage();

  TraceInfoCells cells;
  cells[kLabelTrno] = "17";
  cells[kLabelTrid] = "seismic";
  cells[kLabelIdx] = "tr idx 3";
  panel.SetTraceInfo(cells);
  EXPECT_EQ(panel.TraceInfoValue(kLabelTrno), "17");
  EXPECT_EQ(panel.TraceInfoValue(kLabelTrid), "seismic");
  EXPECT_EQ(panel.TraceInfoValue(kLabelIdx), "tr idx 3");  // above the list, not a row of it
  QTreeWidget* list = Find<QTreeWidget>("traceInfo");
  ASSERT_EQ(list->topLevelItemCount(), static_cast<int>(TraceInfoListIds().size()));
  EXPECT_EQ(list->topLevelItem(0)->text(1), "17");  // TRNO heads the list
  panel.SetTraceInfo(nullptr, -1);
  EXPECT_EQ(panel.TraceInfoValue(kLabelTrid), "");
  EXPECT_EQ(panel.TraceInfoValue(kLabelIdx), "");
}
