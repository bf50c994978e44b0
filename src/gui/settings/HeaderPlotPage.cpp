#include "gui/settings/HeaderPlotPage.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>
#include <climits>
#include <string>

#include "display/FieldText.h"
#include "gui/settings/DisplayTarget.h"
#include "gui/settings/ScrolledPage.h"
#include "section/HeaderLabelTable.h"

namespace {
const char* const kCurveNames[HeaderPlotPage::kCurves] = {"Red", "Blue", "Green"};

QLineEdit* NumberField(QWidget* parent, const char* name) {
  auto* e = new QLineEdit(parent);
  e->setObjectName(name);
  e->setMaximumWidth(70);
  return e;
}

// An unreadable or empty field leaves *value as it was; a partly readable one
// takes the readable part.
void ReadField(QLineEdit* field, int32_t* value) {
  std::string text = field->text().toStdString();
  ReadFieldInt(&text, value);
}

void ShowField(QLineEdit* field, int32_t value) {
  field->setText(QString::number(value));
}
}  // namespace

HeaderPlotPage::HeaderPlotPage(QWidget* parent) : QWidget(parent) {
  auto* layout = new QVBoxLayout(MakeScrolledBody(this));
  layout->addWidget(BuildCurveBox());
  layout->addWidget(BuildFieldBox());
  m_show = new QCheckBox("Show Plot", this);
  m_tickLines = new QCheckBox("Draw Tick Lines", this);
  m_black = new QCheckBox(" Black Background", this);
  m_set = new QPushButton("Set", this);
  m_show->setObjectName("showPlot");
  m_tickLines->setObjectName("drawTickLines");
  m_black->setObjectName("blackBackground");
  m_set->setObjectName("set");
  for (QCheckBox* box : {m_show, m_tickLines, m_black}) {
    layout->addWidget(box);
    connect(box, &QCheckBox::clicked, this, [this] {
      Apply();
      ReturnFocus();
    });
  }
  layout->addWidget(m_set, 0, Qt::AlignLeft);
  layout->addStretch(1);
  connect(m_set, &QPushButton::clicked, this, [this] {
    Apply();
    ReturnFocus();
  });
  FillControls();
}

QWidget* HeaderPlotPage::BuildCurveBox() {
  auto* box = new QGroupBox("Curves", this);
  auto* form = new QFormLayout(box);
  for (int c = 0; c < kCurves; ++c) {
    auto* list = new QComboBox(box);
    list->setObjectName(QString(kCurveNames[c]).toLower());
    for (int row : HeaderPlotChoiceIds()) {
      const HeaderLabelRow* r = FindHeaderLabel(row);
      list->addItem(r ? QString::fromUtf8(r->longLabel) : QStringLiteral("None"), row);
    }
    connect(list, &QComboBox::currentIndexChanged, this, [this, c](int index) { CurveChosen(c, index); });
    form->addRow(kCurveNames[c], list);
    m_curves[c] = list;
  }
  return box;
}

QWidget* HeaderPlotPage::BuildFieldBox() {
  auto* box = new QWidget(this);
  auto* form = new QFormLayout(box);
  m_height = NumberField(box, "windowHeight");
  m_margins = NumberField(box, "vertMargins");
  m_pen = NumberField(box, "penThickness");
  m_ticks = NumberField(box, "numMajorTicks");
  form->addRow("Window Height", m_height);
  form->addRow("Vert Margins", m_margins);
  form->addRow("Pen Thickness", m_pen);
  form->addRow("Num Major Ticks", m_ticks);
  for (QLineEdit* field : {m_height, m_margins, m_pen, m_ticks}) {
    connect(field, &QLineEdit::returnPressed, this, [this] {
      Apply();
      ReturnFocus();
    });
  }
  return box;
}

void HeaderPlotPage::SetTarget(DisplayTarget* view) {
  m_view = view;
  if (m_view) m_settings = m_view->GetHeaderPlotSettings();
  FillControls();
}

void HeaderPlotPage::CurveChosen(int curve, int index) {
  int row = m_curves[curve]->itemData(index).toInt();
  m_settings.m_curveWord[curve] = row;
  if (m_view) m_view->HeaderPlotCurveChosen(curve, row);
  ReturnFocus();
}

bool HeaderPlotPage::Apply() {
  // The view may have changed its record since the page was filled (curve
  // choices); start from what it holds so nothing is sent back stale.
  HeaderPlotSettings before = m_view ? m_view->GetHeaderPlotSettings() : m_settings;
  HeaderPlotSettings s = before;
  ReadField(m_height, &s.m_windowHeight);
  ReadField(m_margins, &s.m_verticalMargin);
  ReadField(m_pen, &s.m_penThickness);
  ReadField(m_ticks, &s.m_majorTicks);
  s.m_showPlot = m_show->isChecked() ? 1 : 0;
  s.m_tickLines = m_tickLines->isChecked() ? 1 : 0;
  s.m_blackBackground = m_black->isChecked() ? 1 : 0;
  // Without a view there is no client area to bound the band.
  s.Limit(m_view ? m_view->TargetClientHeight() : INT_MAX);
  m_settings = s;
  bool changed = !(s == before);
  if (changed && m_view) m_view->SetHeaderPlotSettings(s);
  FillControls();
  return changed;
}

void HeaderPlotPage::FillControls() {
  ShowField(m_height, m_settings.m_windowHeight);
  ShowField(m_margins, m_settings.m_verticalMargin);
  ShowField(m_pen, m_settings.m_penThickness);
  ShowField(m_ticks, m_settings.m_majorTicks);
  m_show->setChecked(m_settings.m_showPlot != 0);
  m_tickLines->setChecked(m_settings.m_tickLines != 0);
  m_black->setChecked(m_settings.m_blackBackground != 0);
  for (int c = 0; c < kCurves; ++c) {
    QSignalBlocker block(m_curves[c]);
    int index = m_curves[c]->findData(m_settings.m_curveWord[c]);
    m_curves[c]->setCurrentIndex(index < 0 ? 0 : index);
  }
}

void HeaderPlotPage::ReturnFocus() {
  ReturnFocusToView(m_view, this, false);  // no sliders on this page
}
