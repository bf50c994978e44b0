#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QImage>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QSlider>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>
#include <cmath>

#include "GuiTestFiles.h"
#include "app/AppSettings.h"
#include "app/LoadRefusalText.h"
#include "app/MainViewLink.h"
#include "app/SettingsFile.h"
#include "app/Workspace.h"
#include "app/WorkspaceObserver.h"
#include "display/FieldText.h"
#include "gui/console/ConsoleWidget.h"
#include "gui/mainwindow/MainWindow.h"
#include "gui/mainwindow/Startup.h"
#include "gui/settings/SettingsPanel.h"
#include "gui/traceview/CursorStatusStrip.h"
#include "gui/traceview/TraceViewWidget.h"
#include "section/HeaderLabelTable.h"
#include "section/SeismicSection.h"
#include "section/TraceInfo.h"
#include "support/ByteWriter.h"

namespace {
const QRect kScreen(0, 0, 1280, 1024);

// A tool window as the workspace sees it: records the view's reports.
class RecordingTool : public WorkspaceObserver {
 public:
  void HighlightChanged(int trace) override { highlights.push_back(trace); }
  void SelectionChanged(const ViewSelection& s) override { selections.push_back(s); }
  void ActiveFilterChanged() override { ++filterChanges; }
  void SectionClearing() override { ++clearings; }

  std::vector<int> highlights;
  std::vector<ViewSelection> selections;
  int filterChanges = 0;
  int clearings = 0;
};

// The loads the workspace reports: the parameters of those shown and of those refused.
class RecordingLoads : public WorkspaceObserver {
 public:
  void SectionLoaded(const SeismicSection&, const LoadParams& p) override { loaded.push_back(p); }
  void LoadRefused(const LoadRefusal& r) override { refusals.push_back(r); }

  std::vector<LoadParams> loaded;
  std::vector<LoadRefusal> refusals;
};

class MainWindowTest : public ::testing::Test {
 protected:
  std::unique_ptr<MainWindow> Start(const QStringList& args, const SettingsFileValues& values = {}) {
    return StartMainWindow(m_ws, &m_console, values, args, kScreen);
  }
  // Loads through the menu command with the open dialog replaced.
  int LoadThroughMenu(MainWindow& w, const std::string& path, int filter = 2) {
    w.SetFilesChooser([&](int* f) {
      *f = filter;
      return QStringList{QString::fromStdString(path)};
    });
    return w.LoadDatasetCommand();
  }
  // The data-dependent items by their rule.
  static bool DataMenusOn(const MainWindow& w) {
    return w.DataRuleEnabled(kCmdFreqFilter) && w.DataRuleEnabled(kCmdSpectrum) &&
           w.DataRuleEnabled(kCmdSaveDataset) && w.FunctionsMenu()->menuAction()->isEnabled();
  }
  static bool DataMenusOff(const MainWindow& w) {
    return !w.DataRuleEnabled(kCmdFreqFilter) && !w.DataRuleEnabled(kCmdSpectrum) &&
           !w.DataRuleEnabled(kCmdSaveDataset) && !w.DataRuleEnabled(kCmdBasemap) &&
           !w.FunctionsMenu()->menuAction()->isEnabled();
  }

  // The Trace Info values shown, and those of a trace, over the listed rows.
  static std::vector<std::string> TraceInfoRowsOf(const MainWindow& w) {
    std::vector<std::string> rows;
    for (int id : TraceInfoListIds()) rows.push_back(w.Panel()->TraceInfoValue(id).toStdString());
    return rows;
  }
  static std::vector<std::string> TraceInfoRowsOf(const SeismicSection& s, int trace) {
    TraceInfoCells cells;
    BuildTraceInfo(s, trace, cells);
    std::vector<std::string> rows;
    for (int id : TraceInfoListIds()) rows.push_back(cells[static_cast<std::size_t>(id)]);
    return rows;
  }

  Workspace m_ws;
  ConsoleWidget m_console;
  GuiTestFiles m_files;
};
}  // namespace

TEST_F(MainWindowTest, StartWithoutAFileShowsTheSplashAndGreysDataMenus) {
  auto w = Start({"kestrix"});
  EXPECT_TRUE(w->isVisible());
  EXPECT_TRUE(w->SplashShown());
  EXPECT_EQ(w->windowTitle(), QString(kMainWindowTitle));
  EXPECT_TRUE(DataMenusOff(*w));
  EXPECT_EQ(m_ws.Section(), nullptr);
  // Always available commands.
  EXPECT_TRUE(w->Action(kCmdLoadDataset)->isEnabled());
  EXPECT_TRUE(w->Action(kCmdDumpHeaders)->isEnabled());
  EXPECT_TRUE(w->Action(kCmdShowConsole)->isEnabled());
  EXPECT_FALSE(w->Action(kCmdBinning2D)->isEnabled());
}

TEST_F(MainWindowTest, StartWithAQuotedFileLoadsItWithoutSplash) {
  std::string path = m_files.Segy("start.sgy", 30);
  auto w = Start({"kestrix", QString("\"%1\"").arg(QString::fromStdString(path))});
  ASSERT_NE(m_ws.Section(), nullptr);
  EXPECT_EQ(m_ws.Section()->Count(), 30);
  EXPECT_FALSE(w->SplashShown());
  EXPECT_FALSE(m_ws.Splash());
  EXPECT_TRUE(DataMenusOn(*w));
  EXPECT_TRUE(w->DataRuleEnabled(kCmdBasemap));
  EXPECT_EQ(w->windowTitle(), QString::fromStdString(path));
  EXPECT_TRUE(w->TraceView()->HasData());
  EXPECT_FALSE(w->Panel()->SectionInfo().isEmpty());
}

TEST_F(MainWindowTest, StartWithAFileWithoutDataStillEndsTheSplash) {
  auto w = Start({"kestrix", QString::fromStdString(m_files.Junk("junk.sgy"))});
  EXPECT_EQ(m_ws.Section(), nullptr);
  EXPECT_FALSE(w->SplashShown());
  EXPECT_TRUE(DataMenusOff(*w));
  EXPECT_EQ(w->Panel()->SectionInfo(), QString(kNoDataInfoText));
}

TEST_F(MainWindowTest, MenusFollowLoadsAndFailedLoads) {
  auto w = Start({"kestrix"});
  // Nothing loaded yet: a file without data leaves the menus grey.
  EXPECT_EQ(LoadThroughMenu(*w, m_files.Junk("first.sgy")), -1);
  EXPECT_EQ(m_ws.Section(), nullptr);
  EXPECT_TRUE(DataMenusOff(*w));
  EXPECT_TRUE(w->SplashShown());
  // A tool that exists follows the data rule.
  w->SetToolAvailable(kCmdSpectrum, true);
  EXPECT_FALSE(w->Action(kCmdSpectrum)->isEnabled());

  ASSERT_EQ(LoadThroughMenu(*w, m_files.Segy("ok.sgy", 24)), 0);
  EXPECT_FALSE(w->SplashShown());
  EXPECT_TRUE(DataMenusOn(*w));
  EXPECT_EQ(m_ws.LastFilter(), 2);
  // Few traces: wiggles fitted to the view.
  EXPECT_EQ(w->TraceView()->Params().m_displayMode, kDisplayWiggle);
  // Every tool is built: each follows the data.
  for (int tool : {kCmdSpectrum, kCmdSortTraces, kCmdBinning2D, kCmdFileSelector})
    EXPECT_TRUE(w->Action(tool)->isEnabled()) << tool;

  // A file without data no longer costs the section on screen.
  EXPECT_EQ(LoadThroughMenu(*w, m_files.Junk("bad.sgy")), -1);
  ASSERT_NE(m_ws.Section(), nullptr);
  EXPECT_TRUE(DataMenusOn(*w));
  EXPECT_TRUE(w->TraceView()->HasData());

  ASSERT_EQ(LoadThroughMenu(*w, m_files.Segy("ok2.sgy", 1)), 0);
  EXPECT_TRUE(w->Action(kCmdSpectrum)->isEnabled());
  EXPECT_FALSE(w->DataRuleEnabled(kCmdBasemap));  // one trace: no basemap
}

TEST_F(MainWindowTest, BusyWindowRefusesLoadDumpParametersAndExit) {
  auto w = Start({"kestrix"});
  w->SetBusy(true);
  int asked = 0;
  w->SetFilesChooser([&](int*) {
    ++asked;
    return QStringList{};
  });
  EXPECT_EQ(w->LoadDatasetCommand(), -1);
  EXPECT_EQ(asked, 0);
  w->Action(kCmdExit)->trigger();
  EXPECT_TRUE(w->isVisible());
  w->ShowDumpHeaders();
  w->ShowParameters();
  EXPECT_EQ(w->DumpDialog(), nullptr);
  EXPECT_EQ(w->ParamsDialog(), nullptr);
  w->SetBusy(false);
  w->Action(kCmdExit)->trigger();
  EXPECT_FALSE(w->isVisible());
}

TEST_F(MainWindowTest, SettingsWrittenAtExitInTheirLayoutAndReadBack) {
  SettingsFileValues in;
  in.wndX = 5000;  // beyond the screen: moved back onto it
  in.wndY = 40;
  in.wndW = 900;
  in.wndH = 2000;  // taller than the screen: narrowed
  in.lastFilter = 4;
  auto w = Start({"kestrix"}, in);
  QRect g = w->geometry();
  EXPECT_EQ(g.height(), kScreen.height());
  EXPECT_EQ(g.x(), kScreen.width() - 900);
  EXPECT_EQ(g.y(), 0);
  std::string path = m_files.Segy("remember.sgy", 3);
  ASSERT_EQ(LoadThroughMenu(*w, path, 3), 0);
  w->setGeometry(100, 120, 700, 500);
  w->close();
  SettingsFileValues out = SettingsAtExit(m_ws, *w, in);
  std::string file = m_files.Dir() + "/Documents/" + kSettingsFileName;
  ASSERT_TRUE(WriteSettingsFile(file, out));
  SettingsFileValues back;
  ASSERT_TRUE(ReadSettingsFile(file, back));
  EXPECT_EQ(back.lastInputDir, m_files.Dir());
  EXPECT_EQ(back.lastFilter, 3);
  EXPECT_EQ(back.wndX, 100);
  EXPECT_EQ(back.wndY, 120);
  EXPECT_EQ(back.wndW, 700);
  EXPECT_EQ(back.wndH, 500);
  EXPECT_EQ(FormatSettingsFile(back), FormatSettingsFile(out));
  EXPECT_EQ(FormatSettingsFile(out).find("APP_LAST_IFILTER = 3\n\nAPP_WND_X = 100\n"),
            ("APP_LAST_IDIR = " + m_files.Dir() + "\n").size());
}

TEST_F(MainWindowTest, LoadedSectionIsDrawnInTheTraceView) {
  auto w = Start({"kestrix"});
  w->resize(900, 600);
  QApplication::processEvents();
  QImage before = w->TraceView()->grab().toImage();
  ASSERT_EQ(LoadThroughMenu(*w, m_files.Segy("draw.sgy", 12)), 0);
  QApplication::processEvents();
  QImage image = w->TraceView()->grab().toImage();
  ASSERT_FALSE(image.isNull());
  // Wiggles put dark pixels on the white background.
  int dark = 0;
  for (int y = 0; y < image.height(); y += 2)
    for (int x = 0; x < image.width(); x += 2)
      if (qGray(image.pixel(x, y)) < 100) ++dark;
  EXPECT_GT(dark, 100);
  EXPECT_NE(image, before);
}

TEST_F(MainWindowTest, CommandLineFileOfFewTracesIsFittedToTheView) {
  auto w = Start({"kestrix", QString::fromStdString(m_files.Segy("fit.sgy", 12))});
  const DisplayParams& p = w->TraceView()->Params();
  int plotWidth = w->TraceView()->Plotter().Geometry().plotWidth;
  EXPECT_GT(plotWidth, 200);
  EXPECT_EQ(p.m_displayMode, kDisplayWiggle);
  EXPECT_NEAR(p.m_pixPerTrace, (plotWidth - 1) / 12.0, 1e-9);
}

TEST_F(MainWindowTest, F5InTheViewSavesThePaletteIndexesItShows) {
  auto w = Start({"kestrix", QString::fromStdString(m_files.Segy("snap.sgy", 40))});
  TraceViewWidget* view = w->TraceView();
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  int asked = 0;
  w->SetSnapshotNameChooser([&] {
    ++asked;
    return dir.filePath("view");
  });
  EXPECT_TRUE(w->Action(kCmdSnapshot)->isEnabled());
  view->setFocus();
  QTest::keyClick(view, Qt::Key_F5);
  ASSERT_EQ(asked, 1);
  QImage img(dir.filePath("view.png"));
  const BackingStore& store = view->Plotter().Store();
  ASSERT_EQ(img.format(), QImage::Format_Indexed8);
  ASSERT_EQ(img.width(), store.ClientWidth() - 1);
  ASSERT_EQ(img.height(), store.ClientHeight());
  int drawn = 0;
  for (int y = 0; y < img.height(); ++y) {
    ASSERT_EQ(img.pixelIndex(0, y), 0);
    for (int x = 1; x < img.width(); ++x) {
      ASSERT_EQ(img.pixelIndex(x, y), store.Row(y)[x]) << x << "," << y;
      drawn += store.Row(y)[x] != 0;
    }
  }
  EXPECT_GT(drawn, 1000);  // the traces are in it, not a blank raster
}

TEST_F(MainWindowTest, CursorReadoutAndTraceInfoFollowTheView) {
  auto w = Start({"kestrix", QString::fromStdString(m_files.Segy("cursor.sgy", 40))});
  TraceViewWidget* view = w->TraceView();
  w->Panel()->Tabs()->setCurrentIndex(3);  // "Trace Info"
  const PixelRect plot = view->Plotter().PlotRect();
  const QPoint at(plot.left + 52, plot.top + 10);  // over trace 10 at 5 pixels per trace
  QMouseEvent move(QEvent::MouseMove, at, view->mapToGlobal(at), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
  QApplication::sendEvent(view, &move);
  EXPECT_TRUE(w->StatusStrip()->Text().startsWith("tr=")) << w->StatusStrip()->Text().toStdString();
  EXPECT_TRUE(w->StatusStrip()->Text().contains("TIME = "));
  const int under = view->Navigator().CursorTrace();
  ASSERT_GE(under, 0);
  EXPECT_EQ(TraceInfoRowsOf(*w), TraceInfoRowsOf(*m_ws.Section(), under));
  EXPECT_NE(TraceInfoRowsOf(*w), TraceInfoRowsOf(*m_ws.Section(), under + 1));

  // A highlighted trace holds the Trace Info while the cursor moves on.
  QTest::mouseClick(view, Qt::LeftButton, Qt::ShiftModifier, QPoint(plot.left + 2, plot.top + 10));
  const int highlighted = view->SelectedTrace();
  ASSERT_GE(highlighted, 0);
  ASSERT_NE(highlighted, under);
  QApplication::sendEvent(view, &move);
  EXPECT_EQ(TraceInfoRowsOf(*w), TraceInfoRowsOf(*m_ws.Section(), highlighted));
}

TEST_F(MainWindowTest, ResamplingRunsInTheBackgroundAndFinishesOnTheWindowsThread) {
  auto w = Start({"kestrix", QString::fromStdString(m_files.Segy("resample.sgy", 30))});
  ASSERT_NE(m_ws.Section(), nullptr);
  const double before = m_ws.Section()->Summary().minInterval;
  ASSERT_EQ(m_ws.ResampleTraces(before * 2.0), 0);
  // The run goes on while the window keeps its own thread: the view and the
  // commands that read the section are out of reach until the completion.
  EXPECT_TRUE(w->Busy());
  EXPECT_FALSE(w->TraceView()->isEnabled());
  EXPECT_EQ(w->LoadDatasetCommand(), -1);
  EXPECT_TRUE(QTest::qWaitFor([&] { return !w->Busy(); }, 10000));
  EXPECT_EQ(m_ws.LastResampleStatus(), 0);
  EXPECT_DOUBLE_EQ(m_ws.Section()->Summary().minInterval, before * 2.0);
  EXPECT_TRUE(w->TraceView()->isEnabled());
  EXPECT_EQ(w->TraceView()->SampleCount(), m_ws.Section()->Summary().maxSamples);
}

TEST_F(MainWindowTest, PanelAndViewDriveEachOther) {
  auto w = Start({"kestrix", QString::fromStdString(m_files.Segy("panel.sgy", 40))});
  TraceViewWidget* view = w->TraceView();
  SettingsPanel* panel = w->Panel();
  w->activateWindow();
  view->setFocus();
  QApplication::processEvents();
  ASSERT_EQ(panel->View(), static_cast<DisplayTarget*>(view));
  auto* slider = panel->findChild<QSlider*>("traceScaleSlider");
  auto* field = panel->findChild<QLineEdit*>("traceScaleField");
  ASSERT_TRUE(slider && field);

  // A page step of the slider rescales the real view and redraws it; the
  // view recorded the old scale, so Escape in the view takes it back.
  const double before = view->Params().m_pixPerTrace;
  const int pageBefore = view->Plotter().TracesPerPage();
  slider->triggerAction(QAbstractSlider::SliderPageStepAdd);
  EXPECT_DOUBLE_EQ(view->Params().m_pixPerTrace, before * std::pow(1.01, 10));
  EXPECT_LT(view->Plotter().TracesPerPage(), pageBefore);
  view->setFocus();
  QTest::keyClick(view, Qt::Key_Escape);
  EXPECT_DOUBLE_EQ(view->Params().m_pixPerTrace, before);
  EXPECT_EQ(field->text(), QString::fromStdString(FormatFieldValue(before)));

  // A key zoom in the view shows in the panel's field.
  QTest::keyClick(view, Qt::Key_Right, Qt::ControlModifier);
  EXPECT_DOUBLE_EQ(view->Params().m_pixPerTrace, before * 1.1);
  EXPECT_EQ(field->text(), QString::fromStdString(FormatFieldValue(before * 1.1)));

  // Norm -> Agc -> Norm on the real view keeps the Norm gain exactly.
  view->Params().m_colorGain = 2.5;
  panel->findChild<QAbstractButton*>("gainAgc")->click();
  EXPECT_EQ(view->Params().m_gainControl, kGainAgc);
  EXPECT_EQ(view->Params().m_colorGain, 1.0);
  panel->findChild<QAbstractButton*>("gainNorm")->click();
  EXPECT_EQ(view->Params().m_colorGain, 2.5);
}

// After a load from the command line or the menu the keys act on the view and
// the panel shows its values, without a click in the view first.
TEST_F(MainWindowTest, ViewTakesTheKeyboardAfterEveryLoad) {
  auto w = Start({"kestrix", QString::fromStdString(m_files.Segy("first.sgy", 40))});
  w->activateWindow();
  QApplication::processEvents();
  TraceViewWidget* view = w->TraceView();
  for (int load = 0; load < 2; ++load) {
    SCOPED_TRACE(load);
    EXPECT_EQ(QApplication::focusWidget(), view);
    EXPECT_EQ(w->Panel()->View(), static_cast<DisplayTarget*>(view));
    const double before = view->Params().m_pixPerTrace;
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Right, Qt::ControlModifier);
    EXPECT_DOUBLE_EQ(view->Params().m_pixPerTrace, before * 1.1);
    if (load == 0) {
      w->Panel()->setFocus();
      ASSERT_EQ(LoadThroughMenu(*w, m_files.Segy("second.sgy", 50)), 0);
    }
  }
}

// Ticking a word returns the focus to the view, which binds the panel again;
// the ticks must survive that until "Apply", under every focus policy.
TEST_F(MainWindowTest, TickedHeaderWordsSurviveTheFocusReturn) {
  const AppSettings saved = Settings();
  auto w = Start({"kestrix", QString::fromStdString(m_files.Segy("words.sgy", 40))});
  w->activateWindow();
  QApplication::processEvents();
  TraceViewWidget* view = w->TraceView();
  auto* list = w->Panel()->findChild<QTreeWidget*>("headerWords");
  auto* apply = w->Panel()->findChild<QAbstractButton*>("apply");
  ASSERT_TRUE(list && apply);
  for (int policy : {1, 2, 3}) {
    SCOPED_TRACE(policy);
    Settings().dialogFocusPolicy = policy;
    const std::vector<int> before = view->LabelWords();
    std::vector<QTreeWidgetItem*> ticked;
    for (int i = 0; ticked.size() < 2 && i < list->topLevelItemCount(); ++i)
      if (list->topLevelItem(i)->checkState(0) == Qt::Unchecked) ticked.push_back(list->topLevelItem(i));
    for (QTreeWidgetItem* item : ticked) {
      list->setFocus();
      item->setCheckState(0, Qt::Checked);
      QApplication::processEvents();
    }
    for (QTreeWidgetItem* item : ticked) EXPECT_EQ(item->checkState(0), Qt::Checked);
    EXPECT_EQ(view->LabelWords(), before);  // nothing applied yet
    apply->click();
    EXPECT_EQ(view->LabelWords().size(), before.size() + 2);
  }
  Settings() = saved;
}

TEST_F(MainWindowTest, ViewReportsReachEveryObserverAndToolsReachTheViewThroughTheWorkspace) {
  auto w = Start({"kestrix", QString::fromStdString(m_files.Segy("tools.sgy", 40))});
  TraceViewWidget* view = w->TraceView();
  RecordingTool tool;
  m_ws.AddObserver(&tool);
  w->activateWindow();
  view->setFocus();
  QApplication::processEvents();
  const PixelRect plot = view->Plotter().PlotRect();
  QTest::mouseClick(view, Qt::LeftButton, Qt::ShiftModifier, QPoint(plot.left + 52, plot.top + 10));
  const int clicked = view->SelectedTrace();
  ASSERT_GE(clicked, 0);
  EXPECT_EQ(tool.highlights, std::vector<int>{clicked});
  EXPECT_EQ(TraceInfoRowsOf(*w), TraceInfoRowsOf(*m_ws.Section(), clicked));

  // A tool highlights through the link; the Trace Info and the tool follow.
  MainViewLink* link = m_ws.MainView();
  ASSERT_NE(link, nullptr);
  EXPECT_EQ(link->SelectedTrace(), clicked);
  link->SelectTrace(3);
  EXPECT_EQ(view->SelectedTrace(), 3);
  EXPECT_EQ(tool.highlights, (std::vector<int>{clicked, 3}));
  EXPECT_EQ(TraceInfoRowsOf(*w), TraceInfoRowsOf(*m_ws.Section(), 3));

  view->Params().m_zoomTool = kZoomSelect;
  const QPoint from(plot.left + 12, plot.top + 20), to(plot.left + 92, plot.top + 120);
  QTest::mousePress(view, Qt::LeftButton, {}, from);
  QMouseEvent drag(QEvent::MouseMove, QPointF(to), view->mapToGlobal(QPointF(to)), Qt::NoButton,
                   Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(view, &drag);
  QTest::mouseRelease(view, Qt::LeftButton, {}, to);
  const VTracePlotter::Selection shown = view->Plotter().GetSelection();
  ASSERT_TRUE(shown.valid);
  ASSERT_EQ(tool.selections.size(), 1u);
  EXPECT_EQ(tool.selections[0].firstTrace, shown.firstTrace);
  EXPECT_EQ(tool.selections[0].lastTrace, shown.lastTrace);
  EXPECT_DOUBLE_EQ(tool.selections[0].firstTime, shown.firstTime);
  EXPECT_DOUBLE_EQ(tool.selections[0].lastTime, shown.lastTime);

  w->Panel()->findChild<QCheckBox*>("useFreqFilter")->click();
  EXPECT_EQ(tool.filterChanges, 1);

  // A removed tool hears nothing more; the main window still does.
  m_ws.RemoveObserver(&tool);
  link->SelectTrace(5);
  w->Panel()->findChild<QCheckBox*>("useFreqFilter")->click();
  const std::string next = m_files.Segy("next.sgy", 20);
  ASSERT_EQ(LoadThroughMenu(*w, next), 0);
  EXPECT_EQ(tool.highlights.size(), 2u);
  EXPECT_EQ(tool.filterChanges, 1);
  EXPECT_EQ(tool.clearings, 0);
  EXPECT_EQ(w->windowTitle(), QString::fromStdString(next));
}

// A few fitted traces, changed by the user, then many: the new file gets its
// own scales and a plain display, through the real widgets.
TEST_F(MainWindowTest, DisplaySettingsOfOneFileDoNotLeakIntoTheNext) {
  auto w = Start({"kestrix"});
  TraceViewWidget* view = w->TraceView();
  SettingsPanel* panel = w->Panel();
  ASSERT_EQ(LoadThroughMenu(*w, m_files.Segy("three.sgy", 3)), 0);
  QApplication::processEvents();
  int width = 0, height = 0;
  view->PlotSize(&width, &height);
  EXPECT_DOUBLE_EQ(view->Params().m_pixPerTrace, (width - 1) / 3.0);
  EXPECT_EQ(view->Plotter().TracesPerPage(), 3);
  view->setFocus();
  QTest::keyClick(view, 'i');  // inverse polarity
  panel->findChild<QAbstractButton*>("gainAgc")->click();
  panel->findChild<QAbstractButton*>("zeroLines")->click();
  ASSERT_EQ(view->Params().m_inversePolarity, 1);
  ASSERT_EQ(view->Params().m_zeroLines, 0);

  ASSERT_EQ(LoadThroughMenu(*w, m_files.Segy("sixty.sgy", 60)), 0);
  QApplication::processEvents();
  const DisplayParams& p = view->Params();
  EXPECT_DOUBLE_EQ(p.m_pixPerTrace, 5.0);
  EXPECT_GE(view->Plotter().TracesPerPage(), 60);
  EXPECT_EQ(p.m_firstTrace, 0);
  EXPECT_EQ(p.m_inversePolarity, 0);
  EXPECT_EQ(p.m_gainControl, kGainNorm);
  // The panel shows the new state.
  EXPECT_FALSE(panel->findChild<QCheckBox*>("inversePolarity")->isChecked());
  EXPECT_TRUE(panel->findChild<QAbstractButton*>("gainNorm")->isChecked());
  EXPECT_EQ(panel->findChild<QLineEdit*>("traceScaleField")->text(),
            QString::fromStdString(FormatFieldValue(5.0)));
  // Drawing choices stay: wiggles (from the three traces), no zero lines.
  EXPECT_EQ(p.m_displayMode, kDisplayWiggle);
  EXPECT_EQ(p.m_zeroLines, 0);
}

// After a resampling (unsaved processing) a file that cannot be read leaves
// the section alone and says why in the box, which can read it tolerantly.
TEST_F(MainWindowTest, UnreadableFileKeepsTheProcessedSectionAndOffersATolerantRead) {
  auto w = Start({"kestrix"});
  QStringList titles, texts;
  std::vector<bool> offers;
  bool again = false;
  w->SetRefusalAsker([&](const QString& title, const QString& text, bool offer) {
    titles << title;
    texts << text;
    offers.push_back(offer);
    return again;
  });
  RecordingTool tool;
  m_ws.AddObserver(&tool);
  ASSERT_EQ(LoadThroughMenu(*w, m_files.Segy("kept.sgy", 30)), 0);
  m_ws.SetUiPoster(nullptr);  // the resampling finishes before it returns
  ASSERT_EQ(m_ws.ResampleTraces(0.004), 0);
  ASSERT_EQ(m_ws.Section()->Trace(0)->NS, 51);
  const SeismicSection* kept = m_ws.Section();
  const QString title = w->windowTitle();
  const int clearings = tool.clearings;

  std::vector<uint8_t> cut(3300, 0x40);  // a textual header and part of a binary one
  const std::string truncated = m_files.Dir() + "/cut.sgy";
  kxtest::WriteFileBytes(truncated, cut);
  for (const std::string& bad : {m_files.Junk("junk.sgy"), truncated}) {
    SCOPED_TRACE(bad);
    EXPECT_EQ(LoadThroughMenu(*w, bad), -1);
    QApplication::processEvents();  // the box comes once the load returned
    EXPECT_EQ(m_ws.Section(), kept);
    EXPECT_EQ(m_ws.Section()->Trace(0)->NS, 51);
    EXPECT_TRUE(w->TraceView()->HasData());
    EXPECT_EQ(w->TraceView()->TraceCount(), 30);
    EXPECT_EQ(w->windowTitle(), title);
    EXPECT_TRUE(DataMenusOn(*w));
    EXPECT_EQ(tool.clearings, clearings);
    ASSERT_FALSE(texts.isEmpty());
    EXPECT_EQ(titles.back(), QString(kLoadRefusalTitle));
    EXPECT_TRUE(texts.back().contains("The section on screen is kept."));
    EXPECT_TRUE(texts.back().contains("ERROR")) << texts.back().toStdString();
    EXPECT_TRUE(offers.back());
  }
  // "Open tolerantly": the same file again with the flag; refused again, the
  // box no longer offers it.
  again = true;
  RecordingLoads loads;
  m_ws.AddObserver(&loads);
  EXPECT_EQ(LoadThroughMenu(*w, truncated), -1);
  QApplication::processEvents();
  QApplication::processEvents();
  ASSERT_EQ(loads.refusals.size(), 2u);
  EXPECT_FALSE(loads.refusals[0].params.tolerant);
  EXPECT_TRUE(loads.refusals[1].params.tolerant);
  EXPECT_EQ(loads.refusals[1].paths, std::vector<std::string>{truncated});
  EXPECT_FALSE(offers.back());
  EXPECT_EQ(m_ws.Section(), kept);
  m_ws.RemoveObserver(&loads);
  m_ws.RemoveObserver(&tool);
}

TEST_F(MainWindowTest, OpenTolerantlyLoadsWithTheFlagAndTheIntervalAsked) {
  auto w = Start({"kestrix"});
  ASSERT_TRUE(w->Action(kCmdOpenTolerantly)->isEnabled());
  EXPECT_EQ(w->Action(kCmdOpenTolerantly)->text(), QString(kOpenTolerantlyItem));
  const std::string path = m_files.Segy("tolerant.sgy", 12);
  RecordingLoads loads;
  m_ws.AddObserver(&loads);
  w->SetTolerantChooser([&](int* filter, int32_t* us) {
    *filter = 4;
    *us = 2500;
    return QStringList{QString::fromStdString(path)};
  });
  ASSERT_EQ(w->OpenTolerantlyCommand(), 0);
  ASSERT_EQ(loads.loaded.size(), 1u);
  EXPECT_TRUE(loads.loaded[0].tolerant);
  EXPECT_EQ(loads.loaded[0].tolerantIntervalUs, 2500);
  EXPECT_EQ(loads.loaded[0].resetDisplay, 1);
  EXPECT_EQ(m_ws.LastFilter(), 4);
  EXPECT_EQ(m_ws.Section()->Count(), 12);
  w->SetTolerantChooser([](int*, int32_t*) { return QStringList{}; });  // cancelled
  EXPECT_EQ(w->OpenTolerantlyCommand(), -1);
  EXPECT_EQ(loads.loaded.size(), 1u);
  m_ws.RemoveObserver(&loads);
}
