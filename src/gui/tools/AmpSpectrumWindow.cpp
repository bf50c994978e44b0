#include "gui/tools/AmpSpectrumWindow.h"

#include <QApplication>
#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/AppSettings.h"
#include "app/MainViewLink.h"
#include "app/Workspace.h"
#include "gui/tools/BadInputFlash.h"
#include "gui/tools/XGrapherWidget.h"
#include "processing/ActiveFilter.h"
#include "section/SeismicSection.h"

namespace {

QCheckBox* Box(const char* text, const char* color, QWidget* parent) {
  auto* b = new QCheckBox(text, parent);
  b->setStyleSheet(QString("QCheckBox { color: %1; }").arg(color));
  return b;
}

QLineEdit* Field(QWidget* parent, int width) {
  auto* e = new QLineEdit(parent);
  e->setFixedWidth(width);
  return e;
}

}  // namespace

AmpSpectrumWindow::AmpSpectrumWindow(Workspace& workspace, QWidget* parent)
    : QWidget(parent, Qt::Window), m_workspace(workspace) {
  setWindowTitle(" Amplitude Spectrum");
  m_model.Create(400, 250, &m_text);
  m_model.SetStatusHook([this](const std::string& text) { ShowStatus(text); });
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(2, 2, 2, 2);
  layout->setSpacing(2);
  layout->addWidget(BuildPanel());
  m_plot = new XGrapherWidget(m_model.Graph(), this);
  layout->addWidget(m_plot, 1);
  m_status = new QLabel(this);
  m_status->setMinimumHeight(18);
  layout->addWidget(m_status);
  connect(m_plot, &XGrapherWidget::MouseMoved, this, [this] {
    m_status->setText(m_plot->underMouse() ? QString::fromStdString(m_model.Readout()) : QString());
  });
  connect(m_plot, &XGrapherWidget::Escaped, this, [this] { m_zoom->setChecked(false); });
  m_workspace.AddObserver(this);
}

AmpSpectrumWindow::~AmpSpectrumWindow() {
  m_workspace.RemoveObserver(this);
}

QWidget* AmpSpectrumWindow::BuildPanel() {
  auto* panel = new QWidget(this);
  panel->setAutoFillBackground(true);
  QPalette pal = panel->palette();
  pal.setColor(QPalette::Window, QColor(240, 240, 240));
  panel->setPalette(pal);
  auto* grid = new QGridLayout(panel);
  grid->setContentsMargins(4, 2, 4, 2);
  grid->setVerticalSpacing(2);
  m_trace = Box("Current Trace", "blue", panel);
  m_trace->setChecked(true);
  m_filtered = Box("Filtered", "red", panel);
  m_whole = Box("Whole Section", "rgb(30,165,70)", panel);
  m_range = Box("Range", "magenta", panel);
  m_db = new QCheckBox("dB", panel);
  m_traceField = Field(panel, 56);
  m_traceField->setReadOnly(true);
  auto* row1 = new QHBoxLayout;
  row1->addWidget(m_trace);
  row1->addWidget(m_traceField);
  row1->addWidget(m_filtered);
  row1->addWidget(m_whole);
  row1->addStretch(1);
  row1->addWidget(m_db);
  grid->addLayout(row1, 0, 0);
  auto* row2 = new QHBoxLayout;
  row2->addWidget(m_range);
  for (int i = 0; i < 4; ++i) {
    m_fields[i] = Field(panel, i < 2 ? 50 : 60);
    if (i == 2) row2->addSpacing(6);
    row2->addWidget(m_fields[i]);
    connect(m_fields[i], &QLineEdit::returnPressed, this, &AmpSpectrumWindow::ApplyRange);
  }
  row2->addWidget(new QLabel("sec", panel));
  row2->addStretch(1);
  m_zoom = new QPushButton("Zoom", panel);
  m_zoom->setCheckable(true);
  m_zoom->setToolTip("rectangle zoom and click zoom (Shift: out) instead of panning");
  m_dark = new QPushButton("Dark", panel);
  m_dark->setCheckable(true);
  m_full = new QPushButton("Full", panel);
  for (QPushButton* b : {m_zoom, m_dark, m_full}) {
    b->setFixedWidth(44);
    b->setFocusPolicy(Qt::NoFocus);
    row2->addWidget(b);
  }
  grid->addLayout(row2, 1, 0);
  m_title = new QLabel(panel);
  grid->addWidget(m_title, 2, 0);

  auto traceOption = [this](bool filtered, bool on) {
    const SeismicSection* s = Section();
    if (!s) return;
    if (filtered)
      m_model.SetFiltered(on, *s, ActiveFilter(), isVisible());
    else
      m_model.SetCurrentTrace(on, *s, ActiveFilter(), isVisible());
    FieldsOut();
    Repaint();
  };
  connect(m_trace, &QCheckBox::toggled, this, [traceOption](bool on) { traceOption(false, on); });
  connect(m_filtered, &QCheckBox::toggled, this, [traceOption](bool on) { traceOption(true, on); });
  connect(m_whole, &QCheckBox::toggled, this, [this](bool on) {
    if (const SeismicSection* s = Section()) m_model.SetWhole(on, *s, Threads());
    Repaint();
  });
  connect(m_range, &QCheckBox::toggled, this, [this](bool on) {
    const SeismicSection* s = Section();
    if (!s) return;
    FieldsIn();
    bool flash = false;
    m_model.SetRangeOption(on, *s, Threads(), &flash);
    FieldsOut();
    if (flash) BadInputFlash::Signal(this);
    Repaint();
  });
  connect(m_db, &QCheckBox::toggled, this, [this](bool on) {
    m_model.SetDb(on);
    Repaint();
  });
  connect(m_zoom, &QPushButton::toggled, this, [this](bool on) {
    m_model.Graph().SetDragMode(on ? XGrapher::kDragZoom : XGrapher::kDragPan);
    m_model.Graph().SetClickZoom(on ? XGrapher::kClickZoomIn : XGrapher::kClickZoomOff);
    m_plot->UpdateCursor();
  });
  connect(m_dark, &QPushButton::toggled, this, [this](bool on) {
    m_model.SetDark(on);
    Repaint();
  });
  connect(m_full, &QPushButton::clicked, this, [this] {
    m_model.FullView();
    Repaint();
  });
  return panel;
}

const SeismicSection* AmpSpectrumWindow::Section() const {
  const SeismicSection* s = m_workspace.Section();
  return s && s->Count() > 0 && !m_workspace.Busy() ? s : nullptr;
}

int AmpSpectrumWindow::Threads() const {
  return Settings().numThreads;
}

void AmpSpectrumWindow::Open() {
  const SeismicSection* s = Section();
  if (!s) return;
  if (!m_placed) {
    m_placed = true;
    setGeometry(10, 10, 550, 380);
    if (parentWidget()) move(parentWidget()->geometry().topLeft() + QPoint(10, 10));
    if (!m_model.IsInitialized()) Refresh();
  }
  showNormal();
  raise();
  activateWindow();
  SelectCurrentTrace();
  FieldsIn();
  bool flash = false;
  if (m_range->isChecked()) m_model.ApplyRangeFields(*s, Threads(), &flash);
  m_model.RecomputeWhole(*s, Threads());
  FieldsOut();
  Repaint();
}

void AmpSpectrumWindow::SelectCurrentTrace() {
  const SeismicSection* s = Section();
  MainViewLink* view = m_workspace.MainView();
  if (!s) return;
  int trace = view ? view->SelectedTrace() : m_model.Spectrum().CurrentTrace();
  if (trace < 0) trace = m_model.Spectrum().CurrentTrace();
  if (trace >= 0) m_model.SelectTrace(*s, trace, ActiveFilter(), isVisible());
  FieldsOut();
}

void AmpSpectrumWindow::Refresh() {
  const SeismicSection* s = Section();
  if (!s) return;
  m_model.Reset();
  if (m_model.Initialize(*s, ActiveFilter()) != 0) return;
  m_model.SetDark(m_dark->isChecked());
  m_title->setText(QString::fromStdString(m_model.Spectrum().Title()));
  if (isVisible()) {
    SelectCurrentTrace();
    m_model.RecomputeWhole(*s, Threads());
  }
  FieldsOut();
  Repaint();
}

void AmpSpectrumWindow::ApplyRange() {
  const SeismicSection* s = Section();
  if (!s) return;
  FieldsIn();
  bool flash = false;
  m_model.ApplyRangeFields(*s, Threads(), &flash);
  FieldsOut();
  if (flash) BadInputFlash::Signal(this);
  Repaint();
}

void AmpSpectrumWindow::FieldsIn() {
  SpectrumRangeFields& f = m_model.Fields();
  f.firstTrace = m_fields[0]->text().toStdString();
  f.lastTrace = m_fields[1]->text().toStdString();
  f.startTime = m_fields[2]->text().toStdString();
  f.endTime = m_fields[3]->text().toStdString();
}

void AmpSpectrumWindow::FieldsOut() {
  const SpectrumRangeFields& f = m_model.Fields();
  const std::string* texts[4] = {&f.firstTrace, &f.lastTrace, &f.startTime, &f.endTime};
  for (int i = 0; i < 4; ++i) m_fields[i]->setText(QString::fromStdString(*texts[i]));
  m_traceField->setText(QString::fromStdString(m_model.TraceField()));
}

void AmpSpectrumWindow::ShowStatus(const std::string& text) {
  m_status->setText(QString::fromStdString(text));
  if (text.empty()) {
    QApplication::restoreOverrideCursor();
    return;
  }
  QApplication::setOverrideCursor(Qt::WaitCursor);
  m_status->repaint();
}

void AmpSpectrumWindow::Repaint() {
  m_plot->update();
}

void AmpSpectrumWindow::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape) return;  // the plot's Escape; closing is the title bar's
  QWidget::keyPressEvent(event);
}

void AmpSpectrumWindow::HighlightChanged(int absoluteTrace) {
  const SeismicSection* s = Section();
  if (!s || absoluteTrace < 0) return;
  m_model.SelectTrace(*s, absoluteTrace, ActiveFilter(), isVisible());
  FieldsOut();
  Repaint();
}

void AmpSpectrumWindow::SelectionChanged(const ViewSelection& selection) {
  const SeismicSection* s = Section();
  if (!s) return;
  m_model.SetRangeFromView(selection, *s, Threads(), isVisible());
  FieldsOut();
  Repaint();
}

void AmpSpectrumWindow::ActiveFilterChanged() {
  const SeismicSection* s = Section();
  if (!s || !m_model.IsInitialized()) return;
  m_model.FilterChanged(*s, ActiveFilter(), isVisible());
  Repaint();
}

void AmpSpectrumWindow::SectionLoaded(const SeismicSection&, const LoadParams&) {
  Refresh();
}

void AmpSpectrumWindow::SectionClearing() {
  m_model.Reset();
  FieldsOut();
  m_title->clear();
  Repaint();
}

void AmpSpectrumWindow::TracesReordered(const SeismicSection&) {
  m_model.ForgetTrace();
  FieldsOut();
  Repaint();
}

void AmpSpectrumWindow::SectionLost() {
  hide();
}

void AmpSpectrumWindow::BusyChanged(bool busy) {
  setEnabled(!busy);
  if (busy) {
    SectionClearing();
    return;
  }
  // A failed operation gives the section back unchanged without TracesChanged.
  if (!m_model.IsInitialized()) Refresh();
}

void AmpSpectrumWindow::TracesChanged(const SeismicSection&) {
  Refresh();
}
