// The "Header Mapping" dialog offscreen: rows edited, a bad row refused, the
// map applied to the next load and kept through the settings file.
#include <gtest/gtest.h>

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>

#include "GuiTestFiles.h"
#include "app/SettingsFile.h"
#include "app/Workspace.h"
#include "gui/console/ConsoleWidget.h"
#include "gui/mainwindow/MainCommands.h"
#include "gui/mainwindow/MainWindow.h"
#include "gui/mainwindow/Startup.h"
#include "gui/settings/SettingsPanel.h"
#include "gui/tools/BadInputFlash.h"
#include "gui/tools/HeaderMappingDialog.h"

namespace {
int g_beeps = 0;

void SetRow(QTableWidget* t, int row, const char* word, const char* byte, const char* type) {
  t->item(row, 0)->setText(word);
  t->item(row, 1)->setText(byte);
  qobject_cast<QComboBox*>(t->cellWidget(row, 2))->setCurrentText(type);
}

class HeaderMappingDialogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    BadInputFlash::SetBeeper([] { ++g_beeps; });
  }
  void TearDown() override { BadInputFlash::SetBeeper(nullptr); }

  Workspace m_ws;
  ConsoleWidget m_console;
  GuiTestFiles m_files;
};
}  // namespace

TEST_F(HeaderMappingDialogTest, EditsRowsRefusesABadOneAndFeedsTheNextLoad) {
  SettingsFileValues values;
  std::string message;
  ASSERT_EQ(values.headerMap.Add("CDP=189:i32", &message), 0);
  auto w = StartMainWindow(m_ws, &m_console, values, {"kestrix"}, QRect(0, 0, 1280, 1024));
  ASSERT_TRUE(w->Action(kCmdHeaderMapping)->isEnabled()) << "open before any data";
  w->Action(kCmdHeaderMapping)->trigger();
  HeaderMappingDialog* d = w->HeaderMappingDlg();
  ASSERT_TRUE(d && d->isVisible());
  QTableWidget* t = d->Table();
  ASSERT_EQ(t->rowCount(), 1);
  EXPECT_EQ(t->item(0, 0)->text(), "CDP");
  EXPECT_EQ(t->item(0, 1)->text(), "189");

  d->AddRow();
  ASSERT_EQ(t->rowCount(), 2);
  SetRow(t, 1, "CDPX", "239", "i32");
  const int beeps = g_beeps;
  QTest::mouseClick(d->SetButton(), Qt::LeftButton);
  EXPECT_EQ(g_beeps, beeps + 1);
  EXPECT_EQ(t->currentRow(), 1);
  EXPECT_TRUE(d->StatusLabel()->text().contains("row 2: \"CDPX=239:i32\": bytes 239-242 are outside"))
      << d->StatusLabel()->text().toStdString();
  EXPECT_EQ(m_ws.HeaderMap()->Text(), "CDP=189:i32") << "a refused row changes nothing";

  SetRow(t, 1, "CDPX", "181", "ibm");
  t->setCurrentCell(0, 0);
  d->RemoveRow();
  QTest::mouseClick(d->SetButton(), Qt::LeftButton);
  EXPECT_EQ(m_ws.HeaderMap()->Text(), "CDPX=181:ibm");
  EXPECT_EQ(t->rowCount(), 1);

  ASSERT_EQ(m_ws.LoadDataset({m_files.Segy("mapped.sgy", 3)}, Workspace::DefaultLoadParams()), 0);
  EXPECT_TRUE(w->Panel()->SectionInfo().contains(" Header map   : CDPX=181:ibm"))
      << w->Panel()->SectionInfo().toStdString();

  // Through the settings file into the next start.
  std::string file = m_files.Dir() + "/" + kSettingsFileName;
  ASSERT_TRUE(WriteSettingsFile(file, SettingsAtExit(m_ws, *w, values)));
  w.reset();
  SettingsFileValues back;
  ASSERT_TRUE(ReadSettingsFile(file, back));
  Workspace next;
  auto again = StartMainWindow(next, &m_console, back, {"kestrix"}, QRect(0, 0, 1280, 1024));
  EXPECT_EQ(next.HeaderMap()->Text(), "CDPX=181:ibm");
  again->ShowHeaderMapping();
  EXPECT_EQ(again->HeaderMappingDlg()->Rows().size(), 1u);

  // Emptied: the standard positions again, and no line in Section Info.
  again->HeaderMappingDlg()->SetRows({});
  EXPECT_TRUE(again->HeaderMappingDlg()->Apply());
  EXPECT_TRUE(next.HeaderMap()->Empty());
  ASSERT_EQ(next.LoadDataset({m_files.Segy("plain.sgy", 3)}, Workspace::DefaultLoadParams()), 0);
  EXPECT_FALSE(again->Panel()->SectionInfo().contains("Header map"));
}
