#include "gui/tools/Basemap.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

#include "app/MainViewLink.h"
#include "app/Workspace.h"
#include "display/BasemapGraphs.h"
#include "formats/ProfileText.h"
#include "gui/tools/XYMapperWidget.h"
#include "log/Log.h"
#include "log/Status.h"
#include "section/SeismicSection.h"

namespace {
constexpr int kSymSizes[] = {3, 5, 7, 9, 11, 13};
constexpr int kDefaultSymSize = 1;  // 5 pixels

// Bar order of the set boxes and the graph each toggles.
struct SetBoxDef {
  const char* text;
  int graph;
  const char* color;  // the set's colour as a style sheet colour
};
constexpr SetBoxDef kSetBoxes[] = {{"Sources", kMapSources, "#0000FF"},
                                   {"Receivers", kMapReceivers, "#FF0000"},
                                   {"CDPs", kMapCdps, "#1EA546"}};

struct ToolButtonDef {
  const char* text;
  const char* tip;
  MapTool tool;
};
constexpr ToolButtonDef kToolButtons[] = {{"Zoom", "Zoom in (Shift: zoom out)", MapTool::kZoom},
                                          {"Hand", "Move the map", MapTool::kHand},
                                          {"Rect", "Rectangle zoom", MapTool::kRectangle},
                                          {"Dist", "Measure a distance", MapTool::kDistance}};
}  // namespace

Basemap::Basemap(Workspace& workspace, QWidget* parent)
    : QWidget(parent, Qt::Window), m_workspace(workspace) {
  setWindowTitle(kBasemapTitle);
  auto* column = new QVBoxLayout(this);
  column->setContentsMargins(0, 0, 0, 0);
  column->setSpacing(0);
  column->addWidget(BuildBar());
  m_map = new XYMapperWidget(this);
  column->addWidget(m_map, 1);
  m_graphs = MakeBasemapGraphs(kSymSizes[kDefaultSymSize]);
  m_graphs[kMapProfileGraph].visible = false;
  connect(m_map, &XYMapperWidget::MapClicked, this, &Basemap::MapClicked);
  connect(m_map, &XYMapperWidget::MapMoved, this, &Basemap::MapMoved);
  connect(m_map, &XYMapperWidget::EscapePressed, this, &Basemap::EscapePressed);
  connect(m_map, &XYMapperWidget::BackspacePressed, this, &Basemap::BackspacePressed);
  m_chooseOpen = [this](const QString& title, const QString& filter) {
    return QFileDialog::getOpenFileName(this, title, QString::fromStdString(m_workspace.DialogStartFolder()),
                                        filter);
  };
  m_chooseSave = [this](const QString& title, const QString& filter) {
    return QFileDialog::getSaveFileName(this, title, QString::fromStdString(m_workspace.DialogStartFolder()),
                                        filter);
  };
  m_ask = [this](const QString& title, const QString& text) {
    return QMessageBox::warning(this, title, text, QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
  };
  resize(900, 700);
  FillActionList();
  m_workspace.AddObserver(this);
  Rebuild(m_workspace.Section());
}

Basemap::~Basemap() {
  m_workspace.RemoveObserver(this);
}

QWidget* Basemap::BuildBar() {
  auto* bar = new QWidget(this);
  bar->setObjectName("basemapBar");
  auto* row = new QHBoxLayout(bar);
  row->setContentsMargins(6, 3, 6, 3);
  row->addWidget(new QLabel("Show : ", bar));
  for (const SetBoxDef& s : kSetBoxes) {
    auto* box = new QCheckBox(s.text, bar);
    box->setChecked(true);
    box->setStyleSheet(QString("QCheckBox { color: %1; background: #F0F0F0; }").arg(s.color));
    const int graph = s.graph;
    connect(box, &QCheckBox::toggled, this, [this, graph](bool on) {
      m_graphs[static_cast<std::size_t>(graph)].visible = on;
      m_map->Redraw();
    });
    m_setBoxes[static_cast<std::size_t>(graph)] = box;
    row->addWidget(box);
  }
  row->addSpacing(10);
  BuildTools(bar, row);
  row->addSpacing(10);
  row->addWidget(new QLabel("Sym Size", bar));
  m_symSize = new QComboBox(bar);
  for (int s : kSymSizes) m_symSize->addItem(QString::number(s));
  m_symSize->setCurrentIndex(kDefaultSymSize);
  connect(m_symSize, &QComboBox::currentIndexChanged, this, [this] {
    ApplySymbolSizes();
    m_map->Redraw();
  });
  row->addWidget(m_symSize);
  row->addSpacing(10);
  m_profileBox = new QCheckBox(" Profile", bar);
  connect(m_profileBox, &QCheckBox::toggled, this, &Basemap::ProfileToggled);
  row->addWidget(m_profileBox);
  m_actions = new QComboBox(bar);
  m_actions->setMinimumContentsLength(14);
  m_actions->setVisible(false);
  connect(m_actions, &QComboBox::activated, this, &Basemap::ActionPicked);
  row->addWidget(m_actions);
  row->addStretch(1);
  auto* binning = new QPushButton("2D binning", bar);
  connect(binning, &QPushButton::clicked, this, &Basemap::BinningWanted);
  row->addWidget(binning);
  return bar;
}

void Basemap::BuildTools(QWidget* bar, QHBoxLayout* row) {
  for (std::size_t i = 0; i < m_tools.size(); ++i) {
    auto* b = new QToolButton(bar);
    b->setText(kToolButtons[i].text);
    b->setToolTip(kToolButtons[i].tip);
    b->setCheckable(true);
    const int tool = static_cast<int>(i);
    connect(b, &QToolButton::toggled, this, [this, tool](bool on) { ToolToggled(tool, on); });
    m_tools[i] = b;
    row->addWidget(b);
  }
  auto* full = new QToolButton(bar);
  full->setText("Full");
  full->setToolTip("Full extent");
  connect(full, &QToolButton::clicked, this, &Basemap::FullExtent);
  row->addWidget(full);
}

// The tool buttons exclude each other; unchecking the checked one returns to
// the plain pointer.
void Basemap::ToolToggled(int tool, bool on) {
  if (on) {
    for (std::size_t i = 0; i < m_tools.size(); ++i)
      if (static_cast<int>(i) != tool && m_tools[i]->isChecked()) {
        QSignalBlocker block(m_tools[i]);
        m_tools[i]->setChecked(false);
      }
    m_map->SetTool(kToolButtons[tool].tool);
  } else if (m_map->Tool() == kToolButtons[tool].tool) {
    m_map->SetTool(MapTool::kPointer);
  }
}

void Basemap::ApplySymbolSizes() {
  SetBasemapSymbolSize(&m_graphs, kSymSizes[std::max(0, m_symSize->currentIndex())]);
}

std::vector<const XYGraph*> Basemap::Shown() const {
  return {&m_graphs[0], &m_graphs[1], &m_graphs[2], &m_graphs[3]};
}

void Basemap::Rebuild(const SeismicSection* section, bool fullExtent) {
  m_section = section;
  for (int set : {kMapCdps, kMapReceivers, kMapSources}) {
    m_graphs[static_cast<std::size_t>(set)].points =
        section ? BuildMapPoints(section->Traces(), static_cast<MapSet>(set)) : std::vector<MapPoint>{};
  }
  m_map->SetGraphs(Shown());
  if (fullExtent)
    FullExtent();
  else
    m_map->Redraw();
}

void Basemap::SetCdpPoints(std::vector<MapPoint> points) {
  m_graphs[kMapCdps].points = std::move(points);
  m_map->Redraw();
}

void Basemap::FullExtent() {
  MapRange extent;
  if (m_userRange.Valid()) {
    LogPrint(LogError, "user range");
    extent = m_userRange;
  } else {
    std::vector<const XYGraph*> shown;
    for (const XYGraph& g : m_graphs)
      if (g.visible) shown.push_back(&g);
    if (!GraphsExtent(shown, &extent)) {
      m_map->Redraw();
      return;
    }
    extent = WithMargin(extent, kMapExtentMargin);
  }
  m_map->SetPanLimit(extent);
  m_map->FitMap(extent);
}

void Basemap::closeEvent(QCloseEvent* event) {
  hide();
  event->ignore();
}

// ---- the profile ----

void Basemap::FillActionList() {
  m_fillingActions = true;
  m_actions->clear();
  for (const std::string& item : m_profile.ActionItems()) m_actions->addItem(QString::fromStdString(item));
  m_actions->setCurrentIndex(0);
  m_fillingActions = false;
}

void Basemap::ProfileToggled(bool on) {
  m_graphs[kMapProfileGraph].visible = on;
  m_actions->setVisible(on);
  if (!on) FinishDigitizing();
  m_map->Redraw();
}

void Basemap::ActionPicked(int index) {
  if (m_fillingActions || index <= 0) return;
  ChooseAction(m_actions->itemText(index));
}

void Basemap::ChooseAction(const QString& item) {
  const std::string text = item.toStdString();
  if (text == kActionLoad) {
    FinishDigitizing();
    LoadPolyline();
  } else if (text == kActionSave) {
    FinishDigitizing();
    SavePolyline();
  } else if (text == kActionFinished) {
    FinishDigitizing();
  } else if (text == kActionClear) {
    m_profile.ClearAll();
    m_map->SetDigitizing(false);
  } else if (ProfileEditor::ActionOfItem(text) != ProfileAction::kNone) {
    m_profile.Start(ProfileEditor::ActionOfItem(text));
    m_map->SetDigitizing(true);
    m_map->setFocus();
  }
  ProfileChanged();
}

void Basemap::FinishDigitizing() {
  m_profile.Finish();
  m_map->SetDigitizing(false);
}

void Basemap::ProfileChanged() {
  m_graphs[kMapProfileGraph].points = m_profile.Points();
  FillActionList();
  m_map->Redraw();
}

int Basemap::LoadPolyline() {
  if (m_profile.Count() > 0 && !m_ask("Warning", kReplacePolylineText)) return kStatusRefused;
  const QString path = m_chooseOpen(kPolylineLoadTitle, QString(kPolylineFilter) + " (*.txt *.csv)");
  if (path.isEmpty()) return kStatusRefused;
  std::vector<ProfilePoint> points;
  const int status = LoadProfileText(path.toStdString(), &points);
  if (status != 0) return status;
  m_profile.SetPoints(points);
  ProfileChanged();
  return 0;
}

int Basemap::SavePolyline() {
  const std::vector<ProfilePoint> points = m_profile.DefinedPoints();
  if (points.empty()) return kStatusRefused;
  const QString path = m_chooseSave(kPolylineSaveTitle, QString(kPolylineFilter) + " (*.txt *.csv)");
  if (path.isEmpty()) return kStatusRefused;
  return SaveProfileText(path.toStdString(), points);
}

// ---- the mouse ----

void Basemap::MapClicked(double x, double y) {
  if (m_profile.Digitizing()) {
    if (m_profile.Click(x, y)) ProfileChanged();
    return;
  }
  // A click on a point highlights its trace in the main view.
  const int set = ReadoutSet();
  MainViewLink* view = m_workspace.MainView();
  if (set < 0 || !view) return;
  const int i = NearestPoint(m_graphs[static_cast<std::size_t>(set)], x, y);
  if (i >= 0)
    view->SelectTrace(m_graphs[static_cast<std::size_t>(set)].points[static_cast<std::size_t>(i)].tag);
}

// The set described under the mouse: with " Profile" off, the first shown of
// CDPs, Sources, Receivers; -1 for the plain position.
int Basemap::ReadoutSet() const {
  if (m_profileBox->isChecked()) return -1;
  for (int set : {kMapCdps, kMapSources, kMapReceivers})
    if (m_setBoxes[static_cast<std::size_t>(set)]->isChecked() &&
        !m_graphs[static_cast<std::size_t>(set)].points.empty())
      return set;
  return -1;
}

void Basemap::MapMoved(double x, double y) {
  if (m_profile.Digitizing() && m_profile.Move(x, y)) {
    m_graphs[kMapProfileGraph].points = m_profile.Points();
    m_map->Redraw();
  }
  const int set = ReadoutSet();
  if (set < 0 || !m_section) return m_map->SetStatus(PositionText(x, y));
  const XYGraph& g = m_graphs[static_cast<std::size_t>(set)];
  const int i = NearestPoint(g, x, y);
  const int trace = i < 0 ? -1 : g.points[static_cast<std::size_t>(i)].tag;
  if (trace < 0 || trace >= m_section->Count()) return m_map->SetStatus(PositionText(x, y));
  m_map->SetStatus(TraceReadout(static_cast<MapSet>(set), *m_section->Trace(trace), trace));
}

void Basemap::EscapePressed() {
  if (m_profile.Digitizing()) {
    FinishDigitizing();
    ProfileChanged();
    return;
  }
  for (QToolButton* b : m_tools) b->setChecked(false);
  m_map->SetTool(MapTool::kPointer);
}

void Basemap::BackspacePressed() {
  if (m_profile.Backspace()) ProfileChanged();
}
