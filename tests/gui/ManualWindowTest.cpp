// Help > Manual: the Markdown manual found beside the program or in its share
// folder, shown in a window whose links work; the places looked when none is
// found; and the shipped manual itself (links resolve, menu items described).
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMenuBar>
#include <QScrollBar>
#include <QSet>
#include <QTest>
#include <QTextBlock>
#include <QTextBrowser>
#include <QUrl>
#include <functional>

#include "app/SettingsFile.h"
#include "app/Workspace.h"
#include "gui/console/ConsoleWidget.h"
#include "gui/mainwindow/MainCommands.h"
#include "gui/mainwindow/MainWindow.h"
#include "gui/mainwindow/ManualWindow.h"
#include "gui/mainwindow/Startup.h"
#include "support/LogCapture.h"
#include "support/TempDir.h"

namespace {
namespace fs = std::filesystem;

void WriteText(const fs::path& path, const QString& text) {
  fs::create_directories(path.parent_path());
  QFile f(QString::fromStdString(path.string()));
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write(text.toUtf8());
}

// A manual long enough to scroll, with a link from the top to its last heading.
QString LongManual() {
  QString md = "# Test manual\n\nSee [the parameters](#parameters-f9).\n\n";
  for (int i = 0; i < 200; ++i) md += QString("Paragraph %1 of filler text.\n\n").arg(i);
  return md + "## Parameters (F9)\n\nThe unique closing sentence.\n";
}

class ManualWindowTest : public ::testing::Test {
 protected:
  std::unique_ptr<MainWindow> Start() {
    return StartMainWindow(m_ws, &m_console, {}, {"kestrix"}, {0, 0, 1280, 1024});
  }
  fs::path Root() const { return m_dir.Path(); }
  // The program as if installed in <tmp>/bin.
  QString ProgramFolder() const { return QString::fromStdString((Root() / "bin").string()); }

  Workspace m_ws;
  ConsoleWidget m_console;
  kxtest::TempDir m_dir{"kx_manual"};
};

TEST_F(ManualWindowTest, HelpManualShowsTheMarkdownFromEitherPlace) {
  const char* places[] = {"bin/manual.md", "share/kestrix/manual.md"};
  for (const char* place : places) {
    SCOPED_TRACE(place);
    kxtest::TempDir dir("kx_manual_place");
    const fs::path root = dir.Path();
    WriteText(root / place, LongManual());
    fs::create_directories(root / "bin");
    auto w = Start();
    w->SetProgramFolder(QString::fromStdString((root / "bin").string()));
    w->Action(kCmdManual)->trigger();
    ManualWindow* manual = w->Manual();
    ASSERT_NE(manual, nullptr);
    EXPECT_TRUE(manual->isVisible());
    EXPECT_TRUE(manual->isWindow());
    EXPECT_EQ(manual->windowTitle(), "Kestrix Manual");
    const QString text = manual->Browser()->toPlainText();
    EXPECT_TRUE(text.contains("The unique closing sentence.")) << text.left(200).toStdString();
    EXPECT_FALSE(text.contains("## Parameters")) << "shown as Markdown, not as plain text";
  }
}

TEST_F(ManualWindowTest, ClosedManualComesBackAsTheSameWindow) {
  WriteText(Root() / "bin/manual.md", LongManual());
  auto w = Start();
  w->SetProgramFolder(ProgramFolder());
  w->ShowManual();
  ManualWindow* first = w->Manual();
  ASSERT_NE(first, nullptr);
  first->close();
  EXPECT_FALSE(first->isVisible());
  w->ShowManual();
  EXPECT_EQ(w->Manual(), first);
  EXPECT_TRUE(first->isVisible());
}

TEST_F(ManualWindowTest, MissingManualLogsEveryPlaceLooked) {
  fs::create_directories(Root() / "bin");
  auto w = Start();
  w->SetProgramFolder(ProgramFolder());
  kxtest::LogCapture log;
  w->Action(kCmdManual)->trigger();
  EXPECT_EQ(w->Manual(), nullptr);
  const std::string text = log.Text();
  EXPECT_NE(text.find("ERROR: no manual found"), std::string::npos) << text;
  const QStringList places = ManualPlaces(ProgramFolder());
  ASSERT_EQ(places.size(), 3);
  for (const QString& place : places)
    EXPECT_NE(text.find("'" + place.toStdString() + "'"), std::string::npos) << text;
  // The share folder is named as a real path, not through "..".
  EXPECT_EQ(places[2], QString::fromStdString((Root() / "share/kestrix/manual.md").string()));
}

TEST_F(ManualWindowTest, InternalLinkScrollsToItsHeading) {
  WriteText(Root() / "bin/manual.md", LongManual());
  ManualWindow* manual = ManualWindow::Open(ProgramFolder(), nullptr);
  ASSERT_NE(manual, nullptr);
  std::unique_ptr<ManualWindow> owner(manual);
  manual->resize(600, 400);
  manual->show();
  QApplication::processEvents();
  QScrollBar* bar = manual->Browser()->verticalScrollBar();
  ASSERT_GT(bar->maximum(), 0) << "the test manual must scroll";
  EXPECT_EQ(bar->value(), 0);
  ASSERT_EQ(manual->Links(), QStringList{"#parameters-f9"});
  // Click the link as a user does.
  QTextBrowser* browser = manual->Browser();
  QTextCursor link = browser->document()->find("the parameters");
  ASSERT_FALSE(link.isNull());
  link.setPosition(link.selectionStart() + 2);
  QTest::mouseClick(browser->viewport(), Qt::LeftButton, {}, browser->cursorRect(link).center());
  EXPECT_GT(bar->value(), bar->maximum() / 2);
  EXPECT_EQ(manual->Browser()->textCursor().block().text(), "Parameters (F9)");
  const int at = bar->value();
  EXPECT_FALSE(manual->FollowLink(QUrl("#no-such-heading")));
  EXPECT_EQ(bar->value(), at);
}

TEST(HeadingAnchor, FollowsTheMarkdownRule) {
  const struct {
    const char* heading;
    const char* anchor;
  } cases[] = {
      {"Opening files", "opening-files"},
      {"Parameters (F9)", "parameters-f9"},
      {"Export/Import of trace header words", "exportimport-of-trace-header-words"},
      {"kxtool: batch work", "kxtool-batch-work"},
      {"Settings that persist: _Kestrix.ini", "settings-that-persist-_kestrixini"},
      {"2D Binning", "2d-binning"},
      {"  Freq. Filter ", "freq-filter"},
  };
  for (const auto& c : cases) EXPECT_EQ(HeadingAnchor(c.heading), c.anchor) << c.heading;
}

// The manual that ships: every internal link lands on a heading, no two
// headings share an anchor, and every menu item of the program is described.
TEST_F(ManualWindowTest, ShippedManualLinksResolveAndNameEveryMenuItem) {
  ManualWindow manual;
  ASSERT_TRUE(manual.Load(KX_MANUAL_FILE));
  const QStringList anchors = manual.Anchors();
  ASSERT_GT(anchors.size(), 20);
  EXPECT_EQ(QSet<QString>(anchors.begin(), anchors.end()).size(), anchors.size()) << "duplicate headings";
  int internal = 0;
  for (const QString& link : manual.Links()) {
    if (!link.startsWith('#')) continue;
    ++internal;
    EXPECT_TRUE(anchors.contains(link.mid(1))) << link.toStdString();
  }
  EXPECT_GT(internal, 20);

  auto w = Start();
  const QString text = manual.Browser()->toPlainText();
  std::function<void(const QList<QAction*>&)> check = [&](const QList<QAction*>& actions) {
    for (QAction* a : actions) {
      if (a->menu()) check(a->menu()->actions());
      const QString label = a->text().remove('&').trimmed();
      if (label.isEmpty()) continue;
      EXPECT_TRUE(text.contains(label)) << label.toStdString();
    }
  };
  check(w->menuBar()->actions());
}
}  // namespace
