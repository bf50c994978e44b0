// The Basemap window and the " Binning" dialog driven as a user would, on a
// synthetic survey shot along a bent line.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QTest>
#include <QToolButton>
#include <cmath>
#include <cstdlib>
#include <vector>

#include "app/SynthSurvey.h"
#include "app/Workspace.h"
#include "formats/ProfileText.h"
#include "formats/SaveOptions.h"
#include "formats/SegyWriter.h"
#include "gui/console/ConsoleWidget.h"
#include "gui/mainwindow/MainWindow.h"
#include "gui/mainwindow/Startup.h"
#include "gui/tools/BadInputFlash.h"
#include "gui/tools/Basemap.h"
#include "gui/tools/BinningDialog.h"
#include "gui/tools/XYMapperWidget.h"
#include "gui/traceview/TraceViewWidget.h"
#include "log/Log.h"
#include "log/Status.h"
#include "processing/TraceSort.h"
#include "section/SeismicSection.h"
#include "support/ByteWriter.h"
#include "support/TempDir.h"

namespace {
const QRect kScreen(0, 0, 1600, 1200);
int g_beeps = 0;

class BasemapTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SeismicSection s;
    SynthParams p;
    p.shots = 12;
    p.channels = 24;
    p.samples = 51;
    p.crooked = true;
    ASSERT_EQ(MakeSynthSurvey(s, p), 12 * 24);
    m_input = m_dir.File("crooked.sgy");
    SaveOptions o;
    ASSERT_EQ(SaveAsSegyRev1(s, m_input, o), 0);
    m_window = StartMainWindow(m_ws, &m_console, {}, {"kestrix", QString::fromStdString(m_input)}, kScreen);
    ASSERT_EQ(m_ws.TraceCount(), 12 * 24);
    QAction* open = m_window->Action(kCmdBasemap);
    ASSERT_TRUE(open->isEnabled());
    open->trigger();
    ASSERT_NE(B(), nullptr);
    B()->resize(1000, 700);
    QApplication::processEvents();
    B()->FullExtent();
    B()->ProfileBox()->setChecked(true);
    B()->SetAsker([this](const QString& title, const QString& text) {
      m_questions << title + "|" + text;
      return m_answer;
    });
  }
  void TearDown() override {
    m_window.reset();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }

  Basemap* B() const { return m_window->BasemapWindow(); }
  XYMapperWidget* Map() const { return B()->Map(); }
  // A plot pixel relative to the plot's top-left corner.
  QPoint At(int dx, int dy) const {
    return {Map()->Mapper().Plot().left + dx, Map()->Mapper().Plot().top + dy};
  }
  ProfilePoint MapOf(QPoint p) const { return {Map()->Mapper().MapX(p.x()), Map()->Mapper().MapY(p.y())}; }

  void Pick(const char* item) {
    QComboBox* list = B()->ActionList();
    const int i = list->findText(item);
    ASSERT_GE(i, 0) << item;
    list->setCurrentIndex(i);
    emit list->activated(i);
  }
  void Click(QPoint p) { QTest::mouseClick(Map(), Qt::LeftButton, Qt::NoModifier, p); }
  void Move(QPoint p) {
    QMouseEvent e(QEvent::MouseMove, QPointF(p), Map()->mapToGlobal(QPointF(p)), Qt::NoButton, Qt::NoButton,
                  Qt::NoModifier);
    QApplication::sendEvent(Map(), &e);
  }
  void Key(Qt::Key key) { QTest::keyClick(Map(), key); }
  // The profile placed on plot pixels.
  void PlaceProfile(const std::vector<QPoint>& pixels) {
    std::vector<ProfilePoint> points;
    for (QPoint p : pixels) points.push_back(MapOf(p));
    B()->Profile().SetPoints(points);
    B()->ChooseAction(kActionSelect);  // the list and the map follow
  }
  void ExpectProfile(const std::vector<QPoint>& pixels) {
    const std::vector<ProfilePoint> got = B()->Profile().DefinedPoints();
    ASSERT_EQ(got.size(), pixels.size());
    const double unit = 1.0 / Map()->Mapper().Scale();  // one pixel in map units
    for (std::size_t i = 0; i < got.size(); ++i) {
      EXPECT_NEAR(got[i].x, MapOf(pixels[i]).x, unit) << i;
      EXPECT_NEAR(got[i].y, MapOf(pixels[i]).y, unit) << i;
    }
  }

  kxtest::TempDir m_dir{"kx_basemap"};
  std::string m_input;
  Workspace m_ws;
  ConsoleWidget m_console;
  std::unique_ptr<MainWindow> m_window;
  QStringList m_questions;
  bool m_answer = false;
};

TEST_F(BasemapTest, DigitizedPointsAreSavedAsAPolyline) {
  Pick(kActionDigitize);
  EXPECT_TRUE(Map()->Digitizing());
  const std::vector<QPoint> clicks{At(40, 300), At(350, 120), At(700, 200)};
  for (QPoint p : clicks) Click(p);
  const std::string path = m_dir.File("profile.txt");
  B()->SetSaveChooser([&](const QString& title, const QString&) {
    EXPECT_EQ(title, kPolylineSaveTitle);
    return QString::fromStdString(path);
  });
  Pick(kActionSave);
  std::string expected = "3\n";
  for (QPoint p : clicks) expected += StrPrintf("%11.3lf , %11.3lf\n", MapOf(p).x, MapOf(p).y);
  const std::vector<uint8_t> bytes = kxtest::ReadFileBytes(path);
  EXPECT_EQ(std::string(bytes.begin(), bytes.end()), expected);
  EXPECT_FALSE(Map()->Digitizing());  // saving finished the digitizing
  EXPECT_EQ(B()->Graph(kMapProfileGraph).points.size(), 3u);
}

TEST_F(BasemapTest, LoadingOverAProfileAsksFirst) {
  const std::string path = m_dir.File("two.txt");
  ASSERT_EQ(SaveProfileText(path, {{512000.0, 6715000.0}, {512100.5, 6715050.25}}), 0);
  int chosen = 0;
  B()->SetOpenChooser([&](const QString&, const QString&) {
    ++chosen;
    return QString::fromStdString(path);
  });
  PlaceProfile({At(10, 10), At(20, 20), At(30, 30)});
  m_answer = false;
  Pick(kActionLoad);
  EXPECT_EQ(m_questions, QStringList{"Warning|Replace current polyline ?"});
  EXPECT_EQ(chosen, 0);
  EXPECT_EQ(B()->Profile().Count(), 3);
  m_answer = true;
  Pick(kActionLoad);
  ASSERT_EQ(B()->Profile().Count(), 2);
  EXPECT_DOUBLE_EQ(B()->Profile().Points()[1].y, 6715050.25);
}

TEST_F(BasemapTest, EditsActOnTheNearestPoint) {
  const QPoint a = At(100, 200), b = At(300, 200), c = At(500, 200);
  // Remove: the click is nearest to b.
  PlaceProfile({a, b, c});
  Pick(kActionRemove);
  Click(b + QPoint(-12, 9));
  ExpectProfile({a, c});
  // Reshape: c follows the mouse until the next click.
  PlaceProfile({a, b, c});
  Pick(kActionReshape);
  Click(c + QPoint(5, -4));
  Move(At(520, 320));
  ExpectProfile({a, b, At(520, 320)});
  Click(At(520, 320));
  ExpectProfile({a, b, At(520, 320)});
  // Still reshaping ("Reshape" is left out of the list meanwhile): a reshape
  // left with Escape goes back to its place.
  EXPECT_EQ(B()->ActionList()->findText(kActionReshape), -1);
  Click(b + QPoint(3, 3));
  Move(At(300, 50));
  Key(Qt::Key_Escape);
  ExpectProfile({a, b, At(520, 320)});
  // Insert: a click between a and b opens a point there that the mouse places.
  PlaceProfile({a, b, c});
  Pick(kActionInsert);
  Click(At(190, 215));
  EXPECT_EQ(B()->Profile().Count(), 4);
  Move(At(200, 120));
  Click(At(200, 120));
  ExpectProfile({a, At(200, 120), b, c});
  // Insert beyond the last point extends the line.
  Click(c + QPoint(80, 0));
  Click(c + QPoint(90, 10));
  ExpectProfile({a, At(200, 120), b, c, c + QPoint(90, 10)});
}

TEST_F(BasemapTest, BackspaceAndEscape) {
  Pick(kActionDigitize);
  Click(At(10, 10));
  Click(At(60, 60));
  Click(At(90, 20));
  Key(Qt::Key_Backspace);
  ExpectProfile({At(10, 10), At(60, 60)});
  Key(Qt::Key_Escape);
  EXPECT_FALSE(Map()->Digitizing());
  EXPECT_EQ(B()->ActionList()->currentText(), kActionSelect);
  EXPECT_NE(B()->ActionList()->findText(kActionAdd), -1);
  EXPECT_EQ(B()->ActionList()->findText(kActionFinished), -1);
  // Backspace does nothing unless adding; Escape then leaves the map tool.
  Key(Qt::Key_Backspace);
  EXPECT_EQ(B()->Profile().Count(), 2);
  B()->ToolButton(2)->click();
  EXPECT_EQ(Map()->Tool(), MapTool::kRectangle);
  Key(Qt::Key_Escape);
  EXPECT_EQ(Map()->Tool(), MapTool::kPointer);
  EXPECT_FALSE(B()->ToolButton(2)->isChecked());
}

TEST_F(BasemapTest, HoverDescribesTheNearestTraceAndAClickHighlightsIt) {
  B()->ProfileBox()->setChecked(false);
  const MapPoint cdp = B()->Graph(kMapCdps).points[40];
  const QPoint p = Map()->PixelOf(cdp.x, cdp.y);
  Move(p);
  EXPECT_EQ(Map()->Status().rfind("trace ", 0), 0u);
  EXPECT_NE(Map()->Status().find("cdpX:"), std::string::npos);
  Click(p);
  const int highlighted = m_window->SelectedTrace();
  ASSERT_GE(highlighted, 0);
  const TraceRecord* t = m_ws.Section()->Trace(highlighted);
  EXPECT_NEAR(t->CDPX, cdp.x, 1.0 / Map()->Mapper().Scale() + 1e-6);

  // After a sort the same point still names its own trace, at its new position.
  SortParams reverse;
  reverse.keys[0] = 20;  // load order
  reverse.directions[0] = kSortDescending;
  reverse.keyCount = 1;
  m_ws.SortTraces(reverse);
  Click(p);
  ASSERT_GE(m_window->SelectedTrace(), 0);
  EXPECT_NE(m_window->SelectedTrace(), highlighted);
  EXPECT_NEAR(m_ws.Section()->Trace(m_window->SelectedTrace())->CDPX, cdp.x,
              1.0 / Map()->Mapper().Scale() + 1e-6);
}

class BinningTest : public BasemapTest {
 protected:
  void SetUp() override {
    BasemapTest::SetUp();
    BadInputFlash::SetBeeper([] { ++g_beeps; });
    g_beeps = 0;
    m_window->ShowBinning();
    ASSERT_NE(D(), nullptr);
  }
  void TearDown() override {
    BadInputFlash::SetBeeper(nullptr);
    BasemapTest::TearDown();
  }
  BinningDialog* D() const { return m_window->Binning(); }
  void Fields(const char* offset, const char* distance, const char* bin) {
    D()->MaxOffsetField()->setText(offset);
    D()->MaxDistanceField()->setText(distance);
    D()->BinSizeField()->setText(bin);
  }
  // The bent line the synthetic survey was shot along.
  std::vector<ProfilePoint> Line() const {
    const double bearings[3] = {30.0, 75.0, 10.0}, leg = (11 * 20.0 + 20.0 + 23 * 10.0) / 3.0;
    std::vector<ProfilePoint> line{{512000.0, 6715000.0}};
    for (double deg : bearings) {
      const double r = deg * M_PI / 180.0;
      line.push_back({line.back().x + leg * std::cos(r), line.back().y + leg * std::sin(r)});
    }
    return line;
  }
};

TEST_F(BinningTest, BadFieldsFlashAndKeepThePreviousValues) {
  Fields("150", "", "25");
  ASSERT_EQ(D()->Show(), 0);
  EXPECT_EQ(D()->Params().maxOffset, 150.0);
  EXPECT_TRUE(D()->RetainedLabel()->text().endsWith(" / 288 MPs retained"));
  const std::size_t shown = B()->Graph(kMapCdps).points.size();
  const struct {
    const char *offset, *distance, *bin;
  } bad[] = {{"", "", ""}, {"abc", "", "25"}, {"150", "1e999", "25"}, {"150", "", "0"}, {"150", "", "-3"}};
  for (const auto& f : bad) {
    Fields(f.offset, f.distance, f.bin);
    EXPECT_EQ(D()->Show(), kStatusRefused) << f.offset << "|" << f.distance << "|" << f.bin;
    EXPECT_EQ(D()->BinSizeField()->text(), "25");
    EXPECT_EQ(D()->Params().binSize, 25.0);
    EXPECT_EQ(D()->Params().maxOffset, 150.0);
  }
  EXPECT_EQ(D()->MaxOffsetField()->text(), "150");
  EXPECT_EQ(g_beeps, 5);
  EXPECT_EQ(B()->Graph(kMapCdps).points.size(), shown);
}

TEST_F(BinningTest, BinnedFileMatchesKxtoolAndOpensInANewInstance) {
  const std::string profilePath = m_dir.File("line.txt");
  ASSERT_EQ(SaveProfileText(profilePath, Line()), 0);
  std::vector<ProfilePoint> points;
  ASSERT_EQ(LoadProfileText(profilePath, &points), 0);  // the three-decimal profile both use
  B()->Profile().SetPoints(points);
  Fields("", "30", "25");
  QString program;
  QStringList args;
  D()->SetSaveChooser([&](const QString& title, const QString&) {
    EXPECT_EQ(title, kBinnedSaveTitle);
    return QString::fromStdString(m_dir.File("binned"));
  });
  D()->SetProcessStarter([&](const QString& p, const QStringList& a) {
    program = p, args = a;
    return true;
  });
  ASSERT_EQ(D()->Bin2D(), 0);
  const std::string saved = m_dir.File("binned.segy");
  EXPECT_EQ(program, QCoreApplication::applicationFilePath());
  EXPECT_EQ(args, QStringList{QString::fromStdString(saved)});
  EXPECT_EQ(D()->BinnedView(), nullptr);
  const std::string cli = m_dir.File("cli.segy");
  const std::string command = std::string(KX_KXTOOL) + " bin '" + m_input + "' --profile '" + profilePath +
                              "' --bin-size 25 --max-distance 30 -o '" + cli + "' --log-level 0";
  ASSERT_EQ(std::system(command.c_str()), 0);
  const std::vector<uint8_t> a = kxtest::ReadFileBytes(saved), b = kxtest::ReadFileBytes(cli);
  ASSERT_GT(a.size(), 3600u + 240u);
  EXPECT_TRUE(a == b) << a.size() << " vs " << b.size();
}

TEST_F(BinningTest, CancelledSaveShowsTheBinnedView) {
  B()->Profile().SetPoints(Line());
  Fields("", "", "25");
  D()->SetSaveChooser([](const QString&, const QString&) { return QString(); });
  bool started = false;
  D()->SetProcessStarter([&](const QString&, const QStringList&) { return started = true; });
  ASSERT_EQ(D()->Bin2D(), 0);
  EXPECT_FALSE(started);
  ASSERT_NE(D()->BinnedView(), nullptr);
  EXPECT_EQ(D()->BinnedView()->windowTitle(), kBinnedViewTitle);
  EXPECT_GE(D()->BinnedView()->TraceCount(), 12 * 24);
  // Without a profile the button refuses.
  B()->Profile().ClearAll();
  EXPECT_EQ(D()->Bin2D(), kStatusRefused);
}
}  // namespace
