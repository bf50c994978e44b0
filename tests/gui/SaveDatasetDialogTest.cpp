// The Save Dataset dialog driven through its controls: every format with a
// time crop and each trace crop mode, read back by our readers and, for SEG-Y
// and SU, by segyio; refusals and failures that write nothing; the saving
// state; the main window's opener. Then the header word export and import
// dialogs on a real file: unchanged round trip, a corrected column, a bad line.
#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTreeWidget>
#include <cstdio>
#include <fstream>
#include <sstream>

#include "app/SaveDataset.h"
#include "app/Workspace.h"
#include "app/tools/SaveDatasetFields.h"
#include "formats/LoadFileList.h"
#include "formats/SegyWriter.h"
#include "gui/console/ConsoleWidget.h"
#include "gui/mainwindow/MainCommands.h"
#include "gui/mainwindow/MainWindow.h"
#include "gui/mainwindow/Startup.h"
#include "gui/tools/BadInputFlash.h"
#include "gui/tools/HeaderWordsExportDialog.h"
#include "gui/tools/HeaderWordsImportDialog.h"
#include "gui/tools/SaveDatasetDialog.h"
#include "log/Log.h"
#include "log/Status.h"
#include "section/ByteOrder.h"
#include "support/ByteWriter.h"
#include "support/LogCapture.h"
#include "support/SectionBuilder.h"
#include "support/TempDir.h"

namespace {
constexpr int kTraces = 24;

// Trace n: XLINE 100 + n % 6, ILINE 10 + n / 6, CDP 500 + n, CDPX 1000 + 10 n,
// CDPY 2000 + 5 n, FLDR 1 + n / 12, CHAN 1 + n % 12; sample i is 1000 n + i.
std::string SurveyFile(const kxtest::TempDir& dir) {
  auto s = kxtest::MakeSection(
      kTraces, 200, 0.001, [](int n, int i) { return static_cast<float>(1000 * n + i); }, 0.0,
      [](TraceRecord& t, int n) {
        t.XLINE = 100 + n % 6, t.ILINE = 10 + n / 6, t.CDP = 500 + n;
        t.CDPX = 1000 + 10 * n, t.CDPY = 2000 + 5 * n;
        t.FLDR = 1 + n / 12, t.CHAN = 1 + n % 12, t.OFF = static_cast<float>(n);
      });
  SaveOptions o;
  EXPECT_EQ(SaveAsSegyRev1(*s, dir / "survey.segy", o), 0);
  return dir / "survey.segy";
}

struct CropCase {
  int32_t mode;
  const char* rows[2][3];  // from, to, step of each row
  std::vector<int> kept;   // traces n written, in order
};
const CropCase kCrops[] = {
    {kCropLines, {{"101", "105", "2"}, {"11", "12", ""}}, {7, 9, 11, 13, 15, 17}},
    {kCropCdpLine, {{"502", "515", "3"}, {"", "", "1"}}, {2, 5, 8, 11, 14}},
    {kCropCdpCoord, {{"1050", "1100", ""}, {"", "2040", ""}}, {5, 6, 7, 8}},
    {kCropFfidChan, {{"2", "2", "1"}, {"1", "12", "4"}}, {12, 16, 20}},
    {kCropTraceIndex, {{"3", "24", "7"}, {"", "", ""}}, {2, 9, 16, 23}},
};

void Pick(QComboBox* box, int data) {
  box->setCurrentIndex(box->findData(data));
}

std::unique_ptr<SeismicSection> Read(const std::string& path) {
  auto s = std::make_unique<SeismicSection>();
  LoadParams p;
  p.fileCount = 1;
  LogSetThreshold(0);
  LoadFileList(*s, {path}, p);
  LogSetThreshold(kLogDefaultThreshold);
  return s;
}

// segyio's view: "count samples", then per trace "CDP DELRT first-sample".
const char* const kPeer = R"(
import sys, segyio
path, kind = sys.argv[1], sys.argv[2]
F = segyio.TraceField
opener = segyio.su.open if kind == 'su' else segyio.open
kw = {'endian': 'little'} if kind == 'su' else {}
with opener(path, ignore_geometry=True, **kw) as f:
    print(f.tracecount, len(f.samples))
    for i in range(f.tracecount):
        print(f.header[i][F.CDP], f.header[i][F.DelayRecordingTime], repr(float(f.trace[i][0])))
)";

bool PeerAvailable() {
  static int have = std::system("/usr/bin/python3 -c 'import segyio.su' >/dev/null 2>&1") == 0 ? 1 : 0;
  return have == 1;
}

std::vector<std::vector<double>> Peer(const kxtest::TempDir& dir, const std::string& file, const char* kind) {
  std::ofstream(dir / "peer.py") << kPeer;
  std::string cmd = "/usr/bin/python3 " + (dir / "peer.py") + " " + file + " " + kind + " 2>&1";
  std::vector<std::vector<double>> rows;
  FILE* p = popen(cmd.c_str(), "r");
  char line[512];
  while (p && std::fgets(line, sizeof line, p)) {
    std::istringstream in(line);
    std::vector<double> row;
    for (double v; in >> v;) row.push_back(v);
    rows.push_back(row);
  }
  if (p) pclose(p);
  return rows;
}

class SaveDatasetDialogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    LogSetThreshold(0);
    ASSERT_EQ(m_ws.LoadDataset({SurveyFile(m_dir)}, Workspace::DefaultLoadParams()), 0);
    LogSetThreshold(kLogDefaultThreshold);
    s_beeps = 0;
    BadInputFlash::SetBeeper([] { ++s_beeps; });
  }
  void TearDown() override { BadInputFlash::SetBeeper(nullptr); }

  // A dialog whose file chooser answers name (counted) and whose message boxes are recorded.
  std::unique_ptr<SaveDatasetDialog> Dialog(const std::string& name) {
    auto d = std::make_unique<SaveDatasetDialog>(m_ws);
    d->SetNameChooser([this, name](const SaveFileChoice& c) {
      ++m_asked;
      m_lastTitle = c.title;
      return name.empty() ? QString() : QString::fromStdString(m_dir / name);
    });
    d->SetMessageShower([this](const QString& caption, const QString& text) {
      m_messages.push_back((caption + "|" + text).toStdString());
    });
    return d;
  }
  int Click(SaveDatasetDialog& d) {
    LogSetThreshold(0);
    int rc = d.Save();
    LogSetThreshold(kLogDefaultThreshold);
    return rc;
  }

  static inline int s_beeps = 0;
  kxtest::TempDir m_dir{"kx_save_dialog"};
  Workspace m_ws;
  int m_asked = 0;
  std::string m_lastTitle;
  std::vector<std::string> m_messages;
};

TEST_F(SaveDatasetDialogTest, EveryFormatWithATimeCropAndEachTraceCropMode) {
  const struct {
    int32_t format;
    const char* ext;
    const char* peer;  // segyio's kind, or null
  } formats[] = {{kSaveSegy, "segy", "segy"}, {kSaveSuFormat, "su", "su"}, {kSaveSeg2, "seg2", nullptr}};
  for (const auto& fmt : formats) {
    for (const CropCase& crop : kCrops) {
      std::string name = "out" + std::to_string(crop.mode) + "." + fmt.ext;
      SCOPED_TRACE(name);
      auto d = Dialog(name);
      d->TimeBox()->setChecked(true);
      d->TimeFromField()->setText("20");
      d->TimeToField()->setText("120");
      d->TraceBox()->setChecked(true);
      Pick(d->ModeChoice(), crop.mode);
      for (int r = 0; r < 2; ++r)
        for (int c = 0; c < 3; ++c)
          if (d->RangeField(r, c)->isVisibleTo(d.get())) d->RangeField(r, c)->setText(crop.rows[r][c]);
      Pick(d->FormatChoice(), fmt.format);
      QSignalSpy done(d.get(), &SaveDatasetDialog::Finished);
      ASSERT_EQ(Click(*d), 0);
      EXPECT_EQ(done.count(), 1);
      EXPECT_EQ(d->SaveButton()->text(), "Save");
      auto back = Read(m_dir / name);
      ASSERT_EQ(back->Count(), static_cast<int>(crop.kept.size()));
      for (std::size_t k = 0; k < crop.kept.size(); ++k) {
        const TraceRecord* t = back->Trace(static_cast<int>(k));
        EXPECT_EQ(t->NS, 101);  // 20 .. 120 ms at 1 ms
        EXPECT_NEAR(t->DELAY, 0.020, 1e-9);
        EXPECT_EQ(t->Samples()[0], 1000.0f * crop.kept[k] + 20.0f) << k;
        EXPECT_EQ(t->Samples()[100], 1000.0f * crop.kept[k] + 120.0f) << k;
      }
      if (!fmt.peer || !PeerAvailable()) continue;
      auto rows = Peer(m_dir, m_dir / name, fmt.peer);
      ASSERT_EQ(rows.size(), crop.kept.size() + 1);
      EXPECT_EQ(rows[0], (std::vector<double>{static_cast<double>(crop.kept.size()), 101}));
      for (std::size_t k = 0; k < crop.kept.size(); ++k)
        EXPECT_EQ(rows[k + 1], (std::vector<double>{500.0 + crop.kept[k], 20, 1000.0 * crop.kept[k] + 20}));
    }
  }
  if (!PeerAvailable()) GTEST_SKIP() << "segyio not installed for /usr/bin/python3";
}

TEST_F(SaveDatasetDialogTest, RefusalsAndFailuresWriteNothing) {
  auto d = Dialog("x.segy");
  // Bad fields: beep and flash, the bad text cut back, no file asked for.
  d->TimeBox()->setChecked(true);
  d->TimeFromField()->setText("2x");
  EXPECT_EQ(Click(*d), kStatusRefused);
  EXPECT_EQ(s_beeps, 1);
  EXPECT_EQ(d->TimeFromField()->text(), "2");
  d->OffsetBox()->setChecked(true);
  d->OffsetField()->setText("0");
  EXPECT_EQ(Click(*d), kStatusRefused);
  EXPECT_EQ(s_beeps, 2);
  d->OffsetBox()->setChecked(false);
  // An empty save set: the message box, no file asked for.
  d->TraceBox()->setChecked(true);
  Pick(d->ModeChoice(), kCropTraceIndex);
  d->RangeField(0, 0)->setText("100");
  d->RangeField(0, 1)->setText("200");
  EXPECT_EQ(Click(*d), -1);
  EXPECT_EQ(m_messages,
            std::vector<std::string>{" Save Dataset Error|Empty saveset after applying defined crop"});
  EXPECT_EQ(m_asked, 0);
  EXPECT_FALSE(d->RowTitle(1)->isVisibleTo(d.get()));  // mode 5 has one row
  // A cancelled chooser, then a folder that does not exist: nothing written, the dialog ready again.
  d->TraceBox()->setChecked(false);
  auto cancel = Dialog("");
  EXPECT_EQ(Click(*cancel), kStatusRefused);
  auto missing = Dialog("no/such/folder/x.segy");
  EXPECT_NE(Click(*missing), 0);
  EXPECT_EQ(missing->SaveButton()->text(), "Save");
  EXPECT_TRUE(missing->SaveButton()->isEnabled());
  EXPECT_EQ(m_dir.Files().size(), 1u);  // the survey alone
  EXPECT_EQ(m_lastTitle, "Save dataset as SEG-Y rev 1 file");
}

TEST_F(SaveDatasetDialogTest, SavingStateHoldsDuringTheWriteAndANameGetsItsExtension) {
  auto d = Dialog("plain");
  Pick(d->FormatChoice(), kSaveSeg2);
  d->show();
  const Qt::WindowFlags before = d->windowFlags();
  std::vector<qint64> done;
  QObject::connect(d.get(), &SaveDatasetDialog::Progress, [&](qint64 n, qint64 total) {
    done.push_back(n);
    EXPECT_EQ(total, kTraces);
    EXPECT_EQ(d->SaveButton()->text(), "saving ...");
    EXPECT_FALSE(d->SaveButton()->isEnabled());
    EXPECT_FALSE(d->windowFlags() & Qt::WindowCloseButtonHint);
    EXPECT_FALSE(d->close());
    EXPECT_TRUE(m_ws.Busy());
  });
  ASSERT_EQ(Click(*d), 0);
  EXPECT_EQ(done.front(), 0);
  EXPECT_EQ(done.back(), kTraces);
  EXPECT_EQ(m_lastTitle, "Save dataset as SEG-2 file");
  EXPECT_EQ(Read(m_dir / "plain.seg2")->Count(), kTraces);
  EXPECT_FALSE(m_ws.Busy());
  EXPECT_EQ(d->windowFlags(), before);
  // The choices outlive the dialog; the ranges come from the section again.
  d->TraceBox()->setChecked(true);
  d->RangeField(0, 2)->setText("3");
  d.reset();
  auto again = Dialog("x");
  EXPECT_EQ(again->FormatChoice()->currentData().toInt(), kSaveSeg2);
  EXPECT_EQ(again->RangeField(0, 0)->text(), "100");
  EXPECT_EQ(again->RangeField(0, 2)->text(), "3");
}

TEST_F(SaveDatasetDialogTest, MainWindowOpensTheDialogsAndDeletesTheSaveDialogAfterASave) {
  ConsoleWidget console;
  auto window = StartMainWindow(m_ws, &console, {}, {"kestrix"}, QRect(0, 0, 1280, 1024));
  MainWindow& w = *window;
  ASSERT_EQ(m_ws.LoadDataset({m_dir / "survey.segy"}, Workspace::DefaultLoadParams()), 0);
  w.Action(kCmdSaveDataset)->trigger();
  ASSERT_NE(w.SaveDialog(), nullptr);
  EXPECT_TRUE(w.SaveDialog()->isVisible());
  w.SaveDialog()->SetNameChooser(
      [this](const SaveFileChoice&) { return QString::fromStdString(m_dir / "m.su"); });
  Pick(w.SaveDialog()->FormatChoice(), kSaveSuFormat);
  std::string log = kxtest::CaptureLog(LogError, [&] { EXPECT_EQ(w.SaveDialog()->Save(), 0); });
  EXPECT_NE(log.find("main: deleting IDD_SAVE_DATASET"), std::string::npos);
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_EQ(w.SaveDialog(), nullptr);
  w.Action(kCmdExportHeaders)->trigger();
  w.Action(kCmdImportHeaders)->trigger();
  ASSERT_NE(w.ExportDialog(), nullptr);
  ASSERT_NE(w.ImportDialog(), nullptr);
  EXPECT_EQ(w.ExportDialog()->WordList()->topLevelItemCount(), 92);
}

class HeaderWordsDialogsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    m_seismic = SurveyFile(m_dir);
    m_before = kxtest::ReadFileBytes(m_seismic);
  }
  // Exports the checked words through the dialog.
  void Export(std::initializer_list<const char*> words, int separatorIndex) {
    HeaderWordsExportDialog d(m_ws);
    d.SeismicField()->setText(QString::fromStdString(m_seismic));
    d.TextField()->setText(QString::fromStdString(m_dir / "words.txt"));
    d.SeparatorChoice()->setCurrentIndex(separatorIndex);
    d.SelectAll(words.size() == 0);
    for (const char* w : words)
      d.WordList()->findItems(w, Qt::MatchExactly).value(0)->setCheckState(0, Qt::Checked);
    d.show();
    QTest::mouseClick(d.ExportButton(), Qt::LeftButton);
    EXPECT_FALSE(d.isVisible());  // a successful export hides the dialog
  }
  int Import(std::string* log = nullptr) {
    HeaderWordsImportDialog d(m_ws);
    d.show();  // shows the paths the export dialog left
    EXPECT_EQ(d.SeismicField()->text().toStdString(), m_seismic);
    int rc = 0;
    std::string text = kxtest::CaptureLog(LogWarning, [&] { rc = d.Import(); });
    if (log) *log = text;
    EXPECT_EQ(d.isVisible(), rc != 0);
    return rc;
  }
  std::string Text() {
    std::stringstream s;
    s << std::ifstream(m_dir / "words.txt").rdbuf();
    return s.str();
  }

  kxtest::TempDir m_dir{"kx_words_dialog"};
  Workspace m_ws;
  std::string m_seismic;
  std::vector<uint8_t> m_before;
};

TEST_F(HeaderWordsDialogsTest, UnchangedTextImportsBackByteForByte) {
  Export({}, 2);  // every word, TAB
  EXPECT_EQ(Text().substr(0, 10), "idx\tTRACL\t");
  ASSERT_EQ(Import(), 0);
  EXPECT_EQ(kxtest::ReadFileBytes(m_seismic), m_before);
}

TEST_F(HeaderWordsDialogsTest, ACorrectedColumnChangesExactlyThoseWords) {
  Export({"CDP", "OFFSET"}, 0);
  std::string text = Text();
  ASSERT_EQ(text.substr(0, 33), "idx;CDP;OFFSET\n1;500;0\n2;501;1\n3;");
  std::ofstream(m_dir / "words.txt") << "idx;CDP;OFFSET\n1;900;0\n2;;1\n24;923;23\n";
  ASSERT_EQ(Import(), 0);
  std::vector<uint8_t> after = kxtest::ReadFileBytes(m_seismic);
  ASSERT_EQ(after.size(), m_before.size());
  const std::size_t traceBytes = 240 + 200 * 4;
  std::vector<std::size_t> changed;
  for (std::size_t i = 0; i < after.size(); ++i)
    if (after[i] != m_before[i]) changed.push_back(i);
  // Only bytes of CDP (21-24) of traces 1 and 24, in big-endian order.
  for (std::size_t i : changed) {
    std::size_t inTrace = (i - 3600) % traceBytes;
    EXPECT_TRUE(inTrace >= 20 && inTrace < 24) << i;
  }
  EXPECT_EQ(LoadBE<int32_t>(after.data() + 3600 + 20), 900);
  EXPECT_EQ(LoadBE<int32_t>(after.data() + 3600 + traceBytes + 20), 501);
  EXPECT_EQ(LoadBE<int32_t>(after.data() + 3600 + 23 * traceBytes + 20), 923);
}

TEST_F(HeaderWordsDialogsTest, OneBadLineLeavesTheFileAsItWasAndIsNamed) {
  Export({"CDP"}, 1);
  std::string text = Text();
  std::size_t cut = text.find("\n20,");
  ASSERT_NE(cut, std::string::npos);
  text.insert(cut + 1, "# a comment\n7,5O3\n");  // a letter O for a zero, at line 22
  std::ofstream(m_dir / "words.txt") << text;
  std::string log;
  EXPECT_EQ(Import(&log), -1);
  EXPECT_EQ(kxtest::ReadFileBytes(m_seismic), m_before);
  EXPECT_NE(log.find("ERROR: bad field value row=21 col=2"), std::string::npos) << log;
  EXPECT_NE(log.find("row 21 is line 22 of the text file"), std::string::npos) << log;
  // A missing path beeps and imports nothing.
  int beeps = 0;
  static int* counter = &beeps;
  BadInputFlash::SetBeeper([] { ++*counter; });
  HeaderWordsImportDialog d(m_ws);
  d.SeismicField()->clear();
  kxtest::CaptureLog(LogWarning, [&] { EXPECT_EQ(d.Import(), kStatusRefused); });
  EXPECT_EQ(beeps, 1);
  BadInputFlash::SetBeeper(nullptr);
}
}  // namespace
