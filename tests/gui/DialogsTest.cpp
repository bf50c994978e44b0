#include <gtest/gtest.h>

#include <QCheckBox>
#include <QDialog>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>

#include "GuiTestFiles.h"
#include "app/AppSettings.h"
#include "app/Workspace.h"
#include "gui/tools/BadInputFlash.h"
#include "gui/tools/DumpHeadersDialog.h"
#include "gui/tools/ParametersDialog.h"
#include "log/ConsoleLineStore.h"
#include "log/Log.h"

namespace {
// Restores the process-wide settings after a test changed them.
class SettingsGuard {
 public:
  SettingsGuard() : m_saved(Settings()) {}
  ~SettingsGuard() { Settings() = m_saved; }

 private:
  AppSettings m_saved;
};

std::vector<std::string> ConsoleLines() {
  std::vector<std::string> out;
  ConsoleAccess([&](ConsoleLineStore& s) {
    for (const std::u16string& l : s.Lines()) out.push_back(Utf16ToUtf8(l));
  });
  return out;
}

bool ConsoleHas(const std::string& text) {
  for (const std::string& l : ConsoleLines())
    if (l.find(text) != std::string::npos) return true;
  return false;
}
}  // namespace

TEST(ParametersDialog, RefusesZeroAndHundredForTheSlowTimeStep) {
  SettingsGuard guard;
  Settings().timeScrollSlow = 4;
  ParametersDialog d;
  EXPECT_EQ(d.TimeSlowField()->text(), "4");
  for (const char* bad : {"0", "100"}) {
    d.TimeSlowField()->setText(bad);
    QTest::mouseClick(d.SetButton(), Qt::LeftButton);
    EXPECT_EQ(Settings().timeScrollSlow, 4) << bad;
    EXPECT_EQ(d.TimeSlowField()->text(), "4") << bad;  // the value in force is shown again
  }
  d.TimeSlowField()->setText("99");
  d.TimeFastField()->setText("abc");
  d.Apply();
  EXPECT_EQ(Settings().timeScrollSlow, 99);
  EXPECT_EQ(d.TimeFastField()->text(), QString::number(Settings().timeScrollFast));
}

TEST(ParametersDialog, ThreadCountChangesLeaveTheRendererTeam) {
  SettingsGuard guard;
  Settings().processors.logical = 4;
  Settings().numThreads = 4;
  Settings().displayThreads = 3;
  ParametersDialog d;
  EXPECT_EQ(d.ThreadsSpin()->maximum(), 4);
  EXPECT_TRUE(d.CoresLabel()->text().startsWith("Cores :     physical "));
  d.ThreadsSpin()->setValue(2);
  d.Apply();
  EXPECT_EQ(Settings().numThreads, 2);
  EXPECT_EQ(Settings().displayThreads, 3);
}

TEST(DumpHeadersDialog, OpenFileDumpsTheChosenTracesAndCurrentFileNeedsASection) {
  GuiTestFiles files;
  std::string path = files.Segy("dumpme.sgy", 8);
  Workspace ws;
  DumpHeadersDialog d(ws);
  EXPECT_FALSE(d.CurrentFileButton()->isEnabled());
  d.SetFileChooser([&] { return QString::fromStdString(path); });
  d.TracesBox()->setChecked(true);
  d.FromField()->setText("5");
  d.ToField()->setText("7");
  ConsoleClearAll();
  d.OpenFile();
  EXPECT_TRUE(ConsoleHas("# file: dumpme.sgy #"));

  ASSERT_EQ(ws.LoadDataset({path}, Workspace::DefaultLoadParams()), 0);
  d.UpdateCurrentFileButton();
  EXPECT_TRUE(d.CurrentFileButton()->isEnabled());
  ConsoleClearAll();
  d.TracesBox()->setChecked(false);
  d.CurrentFile();  // no box: the binary header alone
  EXPECT_FALSE(ConsoleLines().size() <= 1);
}

TEST(BadInputFlash, BeepsAndFlashesTheDialogThreeTimesAt75ms) {
  static int beeps = 0;
  beeps = 0;
  BadInputFlash::SetBeeper([] { ++beeps; });
  QDialog dialog;
  const QColor normal = dialog.palette().color(QPalette::Window);
  const QColor lit = dialog.palette().color(QPalette::Highlight);
  ASSERT_NE(normal, lit);
  QElapsedTimer clock;
  clock.start();
  BadInputFlash::Signal(&dialog);
  // A second refusal while it runs starts the flash over: still one flash.
  BadInputFlash::Signal(&dialog);
  ASSERT_EQ(dialog.findChildren<BadInputFlash*>().size(), 1);
  BadInputFlash* flash = dialog.findChild<BadInputFlash*>();
  EXPECT_TRUE(flash->Highlighted());
  EXPECT_EQ(dialog.palette().color(QPalette::Window), lit);
  std::vector<qint64> at;
  std::vector<bool> states;
  QObject::connect(flash, &BadInputFlash::Toggled, [&](bool on) {
    at.push_back(clock.elapsed());
    states.push_back(on);
  });
  EXPECT_TRUE(QTest::qWaitFor([&] { return at.size() >= 5; }, 5000));
  QTest::qWait(3 * BadInputFlash::kIntervalMs);  // no toggle after the last
  EXPECT_EQ(beeps, 2);
  EXPECT_EQ(states, (std::vector<bool>{false, true, false, true, false}));
  // The timer keeps its schedule: toggle k comes k intervals after the start.
  for (std::size_t k = 0; k < at.size(); ++k)
    EXPECT_GE(at[k], static_cast<qint64>(k + 1) * BadInputFlash::kIntervalMs - 1) << k;
  EXPECT_FALSE(flash->Highlighted());
  EXPECT_EQ(dialog.palette().color(QPalette::Window), normal);
  EXPECT_FALSE(dialog.testAttribute(Qt::WA_SetPalette));
  BadInputFlash::SetBeeper(nullptr);
}
