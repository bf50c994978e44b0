#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "app/AppSettings.h"
#include "gui/settings/DisplayTarget.h"
#include "gui/settings/HeaderPlotPage.h"
#include "gui/settings/HeaderWordsPage.h"
#include "section/HeaderLabelTable.h"

namespace {
// A view that keeps what the pages send and records each call.
class FakeView : public DisplayTarget {
 public:
  DisplayParams& TargetParams() override { return m_params; }
  int TargetClientHeight() const override { return m_clientHeight; }
  QWidget* FocusWidget() override { return m_focus; }
  void DisplayChanged(int) override { m_calls.push_back("DisplayChanged"); }
  void ScaleAboutToChange(int) override {}
  void FitTime() override {}
  void FitTraces() override {}
  void UndoZoom() override {}
  void ZoomToolChanged() override {}
  bool HasEnsembles() const override { return false; }
  void SetEnsembleView(bool) override {}
  void EnsembleStep(int, double) override {}
  void HeaderPlotCurveChosen(int curve, int row) override {
    m_calls.push_back("Curve");
    m_curveCalls.emplace_back(curve, row);
    m_plot.m_curveWord[curve] = row;
  }
  void SetHeaderPlotSettings(const HeaderPlotSettings& s) override {
    m_calls.push_back("SetHeaderPlot");
    m_plot = s;
  }
  const HeaderPlotSettings& GetHeaderPlotSettings() const override { return m_plot; }
  void SetLabelWords(const std::vector<int>& rows, int step) override {
    m_calls.push_back("SetLabelWords");
    m_words = rows;
    m_step = step;
  }
  void SetLabelGraduationSteps(int h, int v) override {
    m_calls.push_back("SetGrad");
    m_hgrad = h;
    m_vgrad = v;
  }
  std::vector<int> LabelWords() const override { return m_words; }
  int LabelGraduationStep() const override { return m_step; }
  int LabelHgrad() const override { return m_hgrad; }
  int LabelVgrad() const override { return m_vgrad; }
  int HighlightedAbsolute() const override { return -1; }

  int Count(const std::string& call) const {
    return static_cast<int>(std::count(m_calls.begin(), m_calls.end(), call));
  }

  DisplayParams m_params;
  HeaderPlotSettings m_plot;
  int m_clientHeight = 600;
  QWidget* m_focus = nullptr;
  std::vector<std::string> m_calls;
  std::vector<std::pair<int, int>> m_curveCalls;
  std::vector<int> m_words = {0};
  int m_step = 0;
  int m_hgrad = 2;
  int m_vgrad = 2;
};

class SettingsGuard {
 public:
  SettingsGuard() : m_saved(Settings()) {}
  ~SettingsGuard() { Settings() = m_saved; }

 private:
  AppSettings m_saved;
};

int Row(const char* shortLabel) {
  for (const HeaderLabelRow& r : HeaderLabelRows())
    if (std::string(r.shortLabel) == shortLabel) return r.id;
  return -1;
}

QTreeWidgetItem* WordItem(HeaderWordsPage& page, int row) {
  QTreeWidget* list = page.WordList();
  for (int i = 0; i < list->topLevelItemCount(); ++i)
    if (list->topLevelItem(i)->data(0, Qt::UserRole).toInt() == row) return list->topLevelItem(i);
  return nullptr;
}

void Check(HeaderWordsPage& page, const char* word, bool on) {
  QTreeWidgetItem* item = WordItem(page, Row(word));
  ASSERT_NE(item, nullptr) << word;
  item->setCheckState(0, on ? Qt::Checked : Qt::Unchecked);
}

QStringList ChosenTexts(HeaderWordsPage& page) {
  QStringList out;
  for (int i = 0; i < page.ChosenList()->count(); ++i) out << page.ChosenList()->item(i)->text();
  return out;
}

void Click(QAbstractButton* b) {
  QTest::mouseClick(b, Qt::LeftButton);
}
}  // namespace

TEST(HeaderPlotPage, CurveListsOfferNoneAndThePlottableWords) {
  HeaderPlotPage page;
  std::vector<int> ids = HeaderPlotChoiceIds();
  for (int c = 0; c < HeaderPlotPage::kCurves; ++c) {
    QComboBox* list = page.CurveList(c);
    ASSERT_EQ(list->count(), static_cast<int>(ids.size()));
    EXPECT_EQ(list->itemText(0), "None");
    EXPECT_EQ(list->itemData(0).toInt(), -1);
    EXPECT_EQ(list->findText("trace index"), -1);  // row 0 never offered
    EXPECT_GE(list->findData(Row("CDP")), 1);
    EXPECT_EQ(list->findData(Row("TRNO")), -1);  // not flagged for the plot
  }
}

TEST(HeaderPlotPage, ChoosingACurveNotifiesTheViewAtOnce) {
  FakeView view;
  view.m_plot.m_curveWord[1] = Row("OFF");
  HeaderPlotPage page;
  page.SetTarget(&view);
  EXPECT_EQ(page.CurveList(1)->currentData().toInt(), Row("OFF"));
  EXPECT_TRUE(view.m_calls.empty());  // refilling sends nothing
  page.CurveList(2)->setCurrentIndex(page.CurveList(2)->findData(Row("CHAN")));
  ASSERT_EQ(view.m_curveCalls.size(), 1u);
  EXPECT_EQ(view.m_curveCalls[0], std::make_pair(2, Row("CHAN")));
  page.CurveList(1)->setCurrentIndex(0);
  ASSERT_EQ(view.m_curveCalls.size(), 2u);
  EXPECT_EQ(view.m_curveCalls[1], std::make_pair(1, -1));
  EXPECT_EQ(view.Count("SetHeaderPlot"), 0);
}

TEST(HeaderPlotPage, SetSendsOnlyChangedLimitedSettingsAndRewritesTheFields) {
  FakeView view;
  view.m_clientHeight = 300;
  HeaderPlotPage page;
  page.SetTarget(&view);
  EXPECT_EQ(page.WindowHeightField()->text(), "150");
  Click(page.SetButton());
  EXPECT_EQ(view.Count("SetHeaderPlot"), 0);

  page.WindowHeightField()->setText("900");  // bounded by the client height
  page.MarginsField()->setText("99");
  page.PenField()->setText("0");
  page.TicksField()->setText("40");
  Click(page.SetButton());
  ASSERT_EQ(view.Count("SetHeaderPlot"), 1);
  EXPECT_EQ(view.m_plot.m_windowHeight, 250);
  EXPECT_EQ(view.m_plot.m_verticalMargin, 25);
  EXPECT_EQ(view.m_plot.m_penThickness, 1);
  EXPECT_EQ(view.m_plot.m_majorTicks, 21);
  EXPECT_EQ(page.WindowHeightField()->text(), "250");
  EXPECT_EQ(page.MarginsField()->text(), "25");
  EXPECT_EQ(page.PenField()->text(), "1");
  EXPECT_EQ(page.TicksField()->text(), "21");

  // Unreadable entries keep the value in force; nothing changed, nothing sent.
  page.WindowHeightField()->setText("tall");
  page.PenField()->setText("");
  Click(page.SetButton());
  EXPECT_EQ(view.Count("SetHeaderPlot"), 1);
  EXPECT_EQ(page.WindowHeightField()->text(), "250");
  EXPECT_EQ(page.PenField()->text(), "1");

  page.WindowHeightField()->setText("30");
  Click(page.SetButton());
  EXPECT_EQ(view.m_plot.m_windowHeight, 50);
  EXPECT_EQ(view.m_plot.m_verticalMargin, 5);  // 50 / 10
}

TEST(HeaderPlotPage, CheckBoxesReadTheFieldsAndKeepTheChosenCurves) {
  FakeView view;
  HeaderPlotPage page;
  page.SetTarget(&view);
  page.CurveList(0)->setCurrentIndex(page.CurveList(0)->findData(Row("FLDR")));
  page.TicksField()->setText("20");  // 150 px / 20 < 12
  Click(page.ShowPlotBox());
  ASSERT_EQ(view.Count("SetHeaderPlot"), 1);
  EXPECT_EQ(view.m_plot.m_showPlot, 1);
  EXPECT_EQ(view.m_plot.m_majorTicks, 13);
  EXPECT_EQ(view.m_plot.m_curveWord[0], Row("FLDR"));
  Click(page.TickLinesBox());
  EXPECT_EQ(view.m_plot.m_tickLines, 0);
  Click(page.BlackBackgroundBox());
  EXPECT_EQ(view.m_plot.m_blackBackground, 1);
  EXPECT_EQ(view.Count("SetHeaderPlot"), 3);

  // A view bound later shows its own record.
  FakeView other;
  other.m_plot.m_windowHeight = 200;
  page.SetTarget(&other);
  EXPECT_EQ(page.WindowHeightField()->text(), "200");
  EXPECT_FALSE(page.ShowPlotBox()->isChecked());
  EXPECT_EQ(page.CurveList(0)->currentIndex(), 0);
  page.SetTarget(nullptr);
  page.PenField()->setText("3");
  EXPECT_TRUE(page.Apply());  // without a view the page keeps its own record
  EXPECT_EQ(page.PlotSettings().m_penThickness, 3);
  EXPECT_EQ(other.Count("SetHeaderPlot"), 0);
}

TEST(HeaderWordsPage, ListsTheFlaggedRowsWithLongAndShortLabels) {
  HeaderWordsPage page;
  QTreeWidget* list = page.WordList();
  ASSERT_EQ(list->topLevelItemCount(), static_cast<int>(HeaderWordsListIds().size()));
  EXPECT_EQ(list->headerItem()->text(0), "Header Word");
  EXPECT_EQ(list->headerItem()->text(1), "Label");
  EXPECT_EQ(list->topLevelItem(0)->text(0), "trace index");
  EXPECT_EQ(list->topLevelItem(0)->text(1), "idx");
  EXPECT_EQ(WordItem(page, Row("TRF")), nullptr);
}

TEST(HeaderWordsPage, CheckingUpDownClearAndApplyThroughTheWidgets) {
  FakeView view;
  HeaderWordsPage page;
  page.SetTarget(&view);
  EXPECT_EQ(ChosenTexts(page), QStringList({"idx"}));
  EXPECT_EQ(WordItem(page, 0)->checkState(0), Qt::Checked);

  Check(page, "CHAN", true);
  Check(page, "FLDR", true);
  EXPECT_EQ(ChosenTexts(page), QStringList({"FLDR", "CHAN", "idx"}));
  Check(page, "CHAN", false);
  EXPECT_EQ(ChosenTexts(page), QStringList({"FLDR", "idx"}));
  Check(page, "OFF", true);
  EXPECT_EQ(ChosenTexts(page), QStringList({"OFF", "FLDR", "idx"}));

  page.ChosenList()->setCurrentRow(0);
  Click(page.UpButton());  // the first goes last
  EXPECT_EQ(ChosenTexts(page), QStringList({"FLDR", "idx", "OFF"}));
  EXPECT_EQ(page.ChosenList()->currentRow(), 2);
  Click(page.DownButton());  // the last goes first
  EXPECT_EQ(ChosenTexts(page), QStringList({"OFF", "FLDR", "idx"}));
  Click(page.DownButton());
  EXPECT_EQ(ChosenTexts(page), QStringList({"FLDR", "OFF", "idx"}));
  EXPECT_TRUE(view.m_calls.empty());  // nothing reaches the view before Apply

  page.GraduateStepField()->setText("10");
  Click(page.ApplyButton());
  ASSERT_EQ(view.Count("SetLabelWords"), 1);
  EXPECT_EQ(view.m_words, (std::vector<int>{Row("FLDR"), Row("OFF"), 0}));
  EXPECT_EQ(view.m_step, 10);

  Click(page.ClearButton());
  EXPECT_EQ(page.ChosenList()->count(), 0);
  for (int i = 0; i < page.WordList()->topLevelItemCount(); ++i)
    EXPECT_EQ(page.WordList()->topLevelItem(i)->checkState(0), Qt::Unchecked);
  page.GraduateStepField()->setText("0");
  Click(page.ApplyButton());
  EXPECT_TRUE(view.m_words.empty());
  EXPECT_EQ(view.m_step, 0);
  EXPECT_EQ(page.GraduateStepField()->text(), "auto");
}

TEST(HeaderWordsPage, ApplyHandsOverTheFirstTwelveWords) {
  FakeView view;
  HeaderWordsPage page;
  page.SetTarget(&view);
  Click(page.ClearButton());
  std::vector<int> ids = HeaderWordsListIds();
  ASSERT_GT(ids.size(), 14u);
  for (int i = 0; i < 14; ++i) WordItem(page, ids[i])->setCheckState(0, Qt::Checked);
  Click(page.ApplyButton());
  ASSERT_EQ(view.m_words.size(), 12u);
  EXPECT_EQ(view.m_words.front(), ids[13]);  // the last checked is on top
  EXPECT_EQ(view.m_words.back(), ids[2]);
}

TEST(HeaderWordsPage, GradSpinsStoreValueLessOneAtOnce) {
  FakeView view;
  view.m_hgrad = 0;
  view.m_vgrad = 4;
  view.m_step = 5;
  view.m_words = {Row("CDP"), Row("TRF"), 0};  // a word the list lacks is dropped
  HeaderWordsPage page;
  page.SetTarget(&view);
  EXPECT_EQ(page.HgradSpin()->value(), 1);
  EXPECT_EQ(page.VgradSpin()->value(), 5);
  EXPECT_EQ(page.GraduateStepField()->text(), "5");
  EXPECT_EQ(ChosenTexts(page), QStringList({"CDP", "idx"}));
  EXPECT_TRUE(view.m_calls.empty());
  EXPECT_EQ(page.HgradSpin()->minimum(), 1);
  EXPECT_EQ(page.HgradSpin()->maximum(), 5);

  page.HgradSpin()->setValue(4);
  EXPECT_EQ(view.Count("SetGrad"), 1);
  EXPECT_EQ(view.m_hgrad, 3);
  EXPECT_EQ(view.m_vgrad, 4);
  page.VgradSpin()->stepDown();
  EXPECT_EQ(view.Count("SetGrad"), 2);
  EXPECT_EQ(view.m_vgrad, 3);
  EXPECT_EQ(view.m_hgrad, 3);
}

TEST(HeaderPages, FocusGoesBackToTheViewUnlessThePolicySaysNever) {
  SettingsGuard guard;
  QWidget host;
  auto* layout = new QVBoxLayout(&host);
  auto* viewWidget = new QLineEdit(&host);
  auto* words = new HeaderWordsPage(&host);
  auto* plot = new HeaderPlotPage(&host);
  layout->addWidget(viewWidget);
  layout->addWidget(words);
  layout->addWidget(plot);
  host.show();
  QApplication::setActiveWindow(&host);
  ASSERT_TRUE(QTest::qWaitForWindowActive(&host));
  FakeView view;
  view.m_focus = viewWidget;
  words->SetTarget(&view);
  plot->SetTarget(&view);

  for (int policy : {1, 2}) {
    Settings().dialogFocusPolicy = policy;
    plot->TicksField()->setFocus();
    Click(plot->SetButton());
    EXPECT_EQ(QApplication::focusWidget(), viewWidget) << policy;
    words->GraduateStepField()->setFocus();
    words->HgradSpin()->setValue(policy + 3);  // differs from the view's 3
    EXPECT_EQ(QApplication::focusWidget(), viewWidget) << policy;
  }
  Settings().dialogFocusPolicy = 3;
  words->GraduateStepField()->setFocus();
  Click(words->ApplyButton());
  EXPECT_NE(QApplication::focusWidget(), viewWidget);
}
