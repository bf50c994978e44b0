#include "gui/settings/DisplaySettingsPage.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QSlider>
#include <QToolButton>
#include <QVBoxLayout>
#include <string>

#include "display/FieldText.h"
#include "display/RelativeSlider.h"
#include "gui/settings/DisplayTarget.h"
#include "gui/settings/ScrolledPage.h"

namespace {

// One remembered drag position per slider, whichever view the page drives.
RelativeSlider& SliderMemory(ScaleSlider which) {
  static RelativeSlider memories[4];
  return memories[static_cast<int>(which)];
}

int RowOf(ScaleSlider which) {
  return static_cast<int>(which);
}

// A field's number, or false when the text holds none. A field cut to its
// readable start counts with the part that could be read.
bool ReadLineEdit(QLineEdit* field, double* value) {
  std::string text = field->text().toStdString();
  int status = ReadFieldDouble(&text, value);
  if (status == kFieldCutShort) field->setText(QString::fromStdString(text));
  return status == 0 || (status == kFieldCutShort && !text.empty());
}

void ShowNumber(QLineEdit* field, double value) {
  field->setText(QString::fromStdString(FormatFieldValue(value)));
}

void CheckId(QButtonGroup* group, int id) {
  if (QAbstractButton* b = group->button(id)) {
    b->setChecked(true);
    return;
  }
  // A value no button stands for: show none checked.
  group->setExclusive(false);
  for (QAbstractButton* b : group->buttons()) b->setChecked(false);
  group->setExclusive(true);
}

}  // namespace

DisplaySettingsPage::DisplaySettingsPage(QWidget* parent) : QWidget(parent) {
  auto* layout = new QVBoxLayout(MakeScrolledBody(this));
  layout->setContentsMargins(4, 4, 4, 4);
  layout->setSpacing(4);
  layout->addWidget(BuildModeBox());
  layout->addWidget(BuildFlagsBox());
  layout->addWidget(BuildGainBox());
  layout->addWidget(BuildSliderBox());
  layout->addWidget(BuildEnsembleBox());
  layout->addStretch(1);
  setEnabled(false);
  ShowEnsembleKeyControls(false);
}

QCheckBox* DisplaySettingsPage::AddCheck(QLayout* layout, const char* text, const char* name) {
  auto* box = new QCheckBox(QString::fromUtf8(text), this);
  box->setObjectName(name);
  layout->addWidget(box);
  connect(box, &QCheckBox::clicked, this, [this, box](bool on) { OnCheckBox(box, on); });
  return box;
}

QAbstractButton* DisplaySettingsPage::AddRadio(QButtonGroup* group, QLayout* layout, const char* text, int id,
                                               const char* name) {
  auto* button = new QRadioButton(QString::fromUtf8(text), this);
  button->setObjectName(name);
  group->addButton(button, id);
  layout->addWidget(button);
  return button;
}

QWidget* DisplaySettingsPage::BuildModeBox() {
  auto* box = new QGroupBox(this);
  auto* grid = new QGridLayout(box);
  auto* modes = new QHBoxLayout;
  m_modeGroup = new QButtonGroup(this);
  AddRadio(m_modeGroup, modes, "Wiggle", kDisplayWiggle, "wiggleMode");
  AddRadio(m_modeGroup, modes, "Color", kDisplayColor, "colorMode");
  connect(m_modeGroup, &QButtonGroup::idClicked, this, &DisplaySettingsPage::OnDisplayMode);
  grid->addLayout(modes, 0, 0);
  m_palette = new QComboBox(this);
  m_palette->setObjectName("palette");
  const char* palettes[] = {"grey scale", "Red-Black", "Red-Blue", "Blue-Yellow"};
  for (int i = 0; i < 4; ++i) m_palette->addItem(palettes[i], i);
  connect(m_palette, &QComboBox::activated, this, &DisplaySettingsPage::OnPalette);
  grid->addWidget(m_palette, 0, 1);
  auto* fills = new QHBoxLayout;
  m_fillGroup = new QButtonGroup(this);
  AddRadio(m_fillGroup, fills, "Area +", kFillPositive, "fillPositive");
  AddRadio(m_fillGroup, fills, "Area  -", kFillNegative, "fillNegative");
  AddRadio(m_fillGroup, fills, "None", kFillNone, "fillNone");
  connect(m_fillGroup, &QButtonGroup::idClicked, this, &DisplaySettingsPage::OnFillMode);
  grid->addLayout(fills, 1, 0, 1, 2);
  return box;
}

QWidget* DisplaySettingsPage::BuildFlagsBox() {
  auto* box = new QGroupBox(this);
  auto* grid = new QGridLayout(box);
  auto* left = new QVBoxLayout;
  auto* right = new QVBoxLayout;
  m_timeLines = AddCheck(left, "Time Lines", "timeLines");
  m_zeroLines = AddCheck(left, "Zero Amp Lines", "zeroLines");
  m_invPol = AddCheck(left, " Inv Pol", "inversePolarity");
  m_useFreqFilter = AddCheck(right, " Use Freq Filter", "useFreqFilter");
  m_crossCursor = AddCheck(right, " Cross Lines Cursor", "crossLinesCursor");
  m_headerWords = AddCheck(right, " Trace Header Words", "traceHeaderWords");
  grid->addLayout(left, 0, 0);
  grid->addLayout(right, 0, 1);
  return box;
}

QWidget* DisplaySettingsPage::BuildGainBox() {
  auto* box = new QGroupBox(this);
  auto* grid = new QGridLayout(box);
  auto* modes = new QHBoxLayout;
  m_gainGroup = new QButtonGroup(this);
  AddRadio(m_gainGroup, modes, "none", kGainNone, "gainNone");
  AddRadio(m_gainGroup, modes, "Norm", kGainNorm, "gainNorm");
  AddRadio(m_gainGroup, modes, "Agc", kGainAgc, "gainAgc");
  connect(m_gainGroup, &QButtonGroup::idClicked, this, &DisplaySettingsPage::OnGainControl);
  grid->addLayout(modes, 0, 0, 1, 3);
  m_agcType = new QComboBox(this);
  m_agcType->setObjectName("agcType");
  m_agcType->addItem("mean", kAgcMean);
  m_agcType->addItem("rms", kAgcRms);
  connect(m_agcType, &QComboBox::activated, this, &DisplaySettingsPage::OnAgcType);
  grid->addWidget(m_agcType, 1, 0);
  m_agcWindow = new QLineEdit(this);
  m_agcWindow->setObjectName("agcWindow");
  connect(m_agcWindow, &QLineEdit::returnPressed, this, &DisplaySettingsPage::OnAgcWindowEntered);
  grid->addWidget(m_agcWindow, 1, 1);
  m_agcUnit = new QLabel("ms", this);
  m_agcUnit->setObjectName("agcUnit");
  grid->addWidget(m_agcUnit, 1, 2);
  return box;
}

void DisplaySettingsPage::AddScaleRow(QGridLayout* grid, int row, const char* label, ScaleSlider which,
                                      const char* name) {
  ScaleRow& r = m_rows[RowOf(which)];
  grid->addWidget(new QLabel(label, this), row, 0);
  r.slider = new QSlider(Qt::Horizontal, this);
  r.slider->setObjectName(QString(name) + "Slider");
  r.slider->setRange(RelativeSlider::kMin, RelativeSlider::kMax);
  r.slider->setSingleStep(RelativeSlider::kLineStep);
  r.slider->setPageStep(RelativeSlider::kPageStep);
  r.slider->setValue(0);
  connect(r.slider, &QSlider::actionTriggered, this,
          [this, which](int action) { OnSliderAction(which, action); });
  connect(r.slider, &QSlider::sliderReleased, this, [this, which] { OnSliderReleased(which); });
  grid->addWidget(r.slider, row, 1);
  r.field = new QLineEdit(this);
  r.field->setObjectName(QString(name) + "Field");
  r.field->setMaximumWidth(80);
  connect(r.field, &QLineEdit::returnPressed, this, [this, which] { OnScaleEntered(which); });
  grid->addWidget(r.field, row, 2);
}

QWidget* DisplaySettingsPage::BuildSliderBox() {
  auto* box = new QGroupBox(this);
  auto* grid = new QGridLayout(box);
  AddScaleRow(grid, 0, "trace scale", ScaleSlider::kTraceScale, "traceScale");
  AddScaleRow(grid, 1, "time scale", ScaleSlider::kTimeScale, "timeScale");
  AddScaleRow(grid, 2, "color gain", ScaleSlider::kColorGain, "colorGain");
  AddScaleRow(grid, 3, "wiggle gain", ScaleSlider::kWiggleGain, "wiggleGain");
  for (int row = 0; row < 2; ++row) {
    bool time = row == 1;
    auto* fit = new QToolButton(this);
    fit->setText("R");
    fit->setToolTip(time ? "fit time" : "fit traces");
    fit->setObjectName(time ? "fitTime" : "fitTraces");
    connect(fit, &QToolButton::clicked, this, [this, time] { OnFit(time); });
    grid->addWidget(fit, row, 3);
  }
  grid->addWidget(new QLabel("wiggle clip", this), 4, 0);
  m_clip = new QSlider(Qt::Horizontal, this);
  m_clip->setObjectName("wiggleClipSlider");
  m_clip->setRange(0, kMaxClipSlider);
  m_clip->setSingleStep(5);
  m_clip->setPageStep(50);
  connect(m_clip, &QSlider::actionTriggered, this, [this](int action) {
    if (action != QAbstractSlider::SliderNoAction) OnClipSlider(m_clip->sliderPosition());
  });
  grid->addWidget(m_clip, 4, 1, 1, 2);
  return box;
}

QWidget* DisplaySettingsPage::BuildEnsembleBox() {
  auto* box = new QGroupBox(this);
  auto* row = new QHBoxLayout(box);
  m_full = new QPushButton("Full", this);
  m_full->setObjectName("full");
  connect(m_full, &QPushButton::clicked, this, &DisplaySettingsPage::OnFull);
  row->addWidget(m_full);
  m_ensembleKey = new QLineEdit(this);
  m_ensembleKey->setObjectName("ensembleKey");
  m_ensembleKey->setMaximumWidth(80);
  connect(m_ensembleKey, &QLineEdit::returnPressed, this, &DisplaySettingsPage::OnEnsembleKeyEntered);
  row->addWidget(m_ensembleKey);
  auto* updown = new QVBoxLayout;
  updown->setSpacing(0);
  m_nextEnsemble = new QToolButton(this);
  m_nextEnsemble->setObjectName("nextEnsemble");
  m_nextEnsemble->setArrowType(Qt::UpArrow);
  connect(m_nextEnsemble, &QToolButton::clicked, this, [this] { OnEnsembleStep(1); });
  m_prevEnsemble = new QToolButton(this);
  m_prevEnsemble->setObjectName("previousEnsemble");
  m_prevEnsemble->setArrowType(Qt::DownArrow);
  connect(m_prevEnsemble, &QToolButton::clicked, this, [this] { OnEnsembleStep(2); });
  updown->addWidget(m_nextEnsemble);
  updown->addWidget(m_prevEnsemble);
  row->addLayout(updown);
  m_wordLabel = new QLabel("word", this);
  m_wordLabel->setObjectName("wordLabel");
  row->addWidget(m_wordLabel);
  row->addStretch(1);
  m_zoomRect = new QPushButton("ZR", this);
  m_zoomSelect = new QPushButton("SR", this);
  m_undoZoom = new QPushButton("ESC", this);
  m_zoomRect->setObjectName("zoomRectangle");
  m_zoomSelect->setObjectName("selectRectangle");
  m_undoZoom->setObjectName("undoZoom");
  for (QPushButton* b : {m_zoomRect, m_zoomSelect, m_undoZoom}) {
    b->setMaximumWidth(40);
    row->addWidget(b);
  }
  m_zoomRect->setCheckable(true);
  m_zoomSelect->setCheckable(true);
  connect(m_zoomRect, &QPushButton::clicked, this, [this](bool on) { OnZoomTool(kZoomRectangle, on); });
  connect(m_zoomSelect, &QPushButton::clicked, this, [this](bool on) { OnZoomTool(kZoomSelect, on); });
  connect(m_undoZoom, &QPushButton::clicked, this, &DisplaySettingsPage::OnUndoZoom);
  return box;
}

// ---- binding and filling ----

void DisplaySettingsPage::SetTarget(DisplayTarget* view) {
  m_view = view;
  setEnabled(view != nullptr);
  if (!view) return;
  m_agcUnit->setText(QString::fromUtf8(AgcUnitLabel(view->TargetParams().m_timeUnitCode)));
  RefreshAllControls();
}

void DisplaySettingsPage::RefreshAllControls() {
  if (!m_view) return;
  m_filling = true;
  FillModeControls();
  FillFlagControls();
  RefreshScaleFields();
  RefreshGainFields();
  ShowAgcWindow();
  FillEnsembleControls();
  m_filling = false;
}

void DisplaySettingsPage::FillModeControls() {
  const DisplayParams& p = m_view->TargetParams();
  CheckId(m_modeGroup, p.m_displayMode);
  m_palette->setCurrentIndex(m_palette->findData(p.m_palette));
  CheckId(m_fillGroup, p.m_fillMode);
  CheckId(m_gainGroup, p.m_gainControl);
  m_agcType->setCurrentIndex(m_agcType->findData(p.m_agcType));
  m_zoomRect->setChecked(p.m_zoomTool == kZoomRectangle);
  m_zoomSelect->setChecked(p.m_zoomTool == kZoomSelect);
}

void DisplaySettingsPage::FillFlagControls() {
  const DisplayParams& p = m_view->TargetParams();
  bool wiggle = p.m_displayMode == kDisplayWiggle;
  m_timeLines->setChecked((wiggle ? p.m_timeLinesWiggle : p.m_timeLinesColor) != 0);
  m_zeroLines->setChecked(p.m_zeroLines != 0);
  m_zeroLines->setVisible(wiggle);
  m_invPol->setChecked(p.m_inversePolarity != 0);
  m_useFreqFilter->setChecked(p.m_useFreqFilter != 0);
  m_crossCursor->setChecked(p.m_crossLinesCursor != 0);
  m_headerWords->setChecked(p.m_headerWordLabels != 0);
}

void DisplaySettingsPage::FillEnsembleControls() {
  const DisplayParams& p = m_view->TargetParams();
  ShowEnsembleKeyControls(p.m_ensembleView != 0);
  SetEnsembleKey(p.m_ensembleKey);
}

void DisplaySettingsPage::ShowEnsembleKeyControls(bool on) {
  for (QWidget* w :
       std::initializer_list<QWidget*>{m_ensembleKey, m_nextEnsemble, m_prevEnsemble, m_wordLabel})
    w->setVisible(on);
}

void DisplaySettingsPage::RefreshScaleFields() {
  if (!m_view) return;
  const DisplayParams& p = m_view->TargetParams();
  ShowNumber(m_rows[RowOf(ScaleSlider::kTraceScale)].field, p.m_pixPerTrace);
  ShowNumber(m_rows[RowOf(ScaleSlider::kTimeScale)].field, TimeScaleFieldValue(p));
}

void DisplaySettingsPage::RefreshGainFields() {
  if (!m_view) return;
  const DisplayParams& p = m_view->TargetParams();
  ShowNumber(m_rows[RowOf(ScaleSlider::kColorGain)].field, p.m_colorGain);
  ShowNumber(m_rows[RowOf(ScaleSlider::kWiggleGain)].field, WiggleGainInForce());
  QSignalBlocker block(m_clip);
  float clip = p.m_displayMode == kDisplayWiggle ? p.m_wiggleClip : p.m_overlayClip;
  m_clip->setValue(static_cast<int>(clip));
}

void DisplaySettingsPage::ShowAgcWindow() {
  const DisplayParams& p = m_view->TargetParams();
  double value =
      p.m_agcWindow == DBLE_UNDEF ? DBLE_UNDEF : p.m_agcWindow * AgcUnitsPerSecond(p.m_timeUnitCode);
  m_agcWindow->setText(QString::fromStdString(FormatTrimmed3(value)));
}

void DisplaySettingsPage::SetEnsembleKey(double key) {
  m_ensembleKey->setText(QString::fromStdString(FormatTrimmed3(key)));
}

void DisplaySettingsPage::NoEnsembles() {
  ShowEnsembleKeyControls(false);
}

double DisplaySettingsPage::WiggleGainInForce() const {
  return *SliderParameter(&m_view->TargetParams(), ScaleSlider::kWiggleGain);
}

void DisplaySettingsPage::SetWiggleGainInForce(double gain) {
  *SliderParameter(&m_view->TargetParams(), ScaleSlider::kWiggleGain) = gain;
}

// ---- common steps after a control ----

void DisplaySettingsPage::Changed(int hint) {
  const DisplayParams& p = m_view->TargetParams();
  bool wiggle = p.m_displayMode == kDisplayWiggle;
  m_timeLines->setChecked((wiggle ? p.m_timeLinesWiggle : p.m_timeLinesColor) != 0);
  m_zeroLines->setChecked(p.m_zeroLines != 0);
  m_view->DisplayChanged(hint);
}

void DisplaySettingsPage::ReturnFocus(bool fromSlider) {
  ReturnFocusToView(m_view, this, fromSlider);
}

// ---- handlers ----

void DisplaySettingsPage::OnDisplayMode(int mode) {
  if (!m_view) return;
  DisplayParams& p = m_view->TargetParams();
  if (mode != p.m_displayMode) {
    p.m_displayMode = mode;
    RefreshAllControls();
    Changed(1);
  }
  ReturnFocus(false);
}

void DisplaySettingsPage::OnPalette(int index) {
  if (!m_view) return;
  DisplayParams& p = m_view->TargetParams();
  SelectDensityPalette(&p, m_palette->itemData(index).toInt());
  if (p.m_displayMode == kDisplayColor) Changed(2);
  ReturnFocus(false);
}

void DisplaySettingsPage::OnFillMode(int mode) {
  if (!m_view) return;
  m_view->TargetParams().m_fillMode = mode;
  Changed(0);
  ReturnFocus(false);
}

void DisplaySettingsPage::OnCheckBox(QCheckBox* box, bool on) {
  if (!m_view) return;
  DisplayParams& p = m_view->TargetParams();
  int32_t flag = on ? 1 : 0;
  if (box == m_timeLines) {
    (p.m_displayMode == kDisplayWiggle ? p.m_timeLinesWiggle : p.m_timeLinesColor) = flag;
  } else if (box == m_zeroLines) {
    p.m_zeroLines = flag;
  } else if (box == m_invPol) {
    p.m_inversePolarity = flag;
  } else if (box == m_useFreqFilter) {
    p.m_useFreqFilter = flag;
  } else if (box == m_crossCursor) {
    p.m_crossLinesCursor = flag;
  } else {
    p.m_headerWordLabels = flag;
  }
  Changed(0);
  if (box == m_useFreqFilter) emit UseFreqFilterChanged(on);
  ReturnFocus(false);
}

void DisplaySettingsPage::OnGainControl(int mode) {
  if (!m_view) return;
  DisplayParams& p = m_view->TargetParams();
  if (mode != p.m_gainControl) {
    SwitchGainControl(&p, mode);
    RefreshGainFields();
    // Without a usable window the field shows the one in force and the view
    // keeps its picture until a window is entered.
    bool redraw = mode != kGainAgc || ReadAgcWindowField();
    if (redraw) Changed(0);
  }
  ReturnFocus(false);
}

void DisplaySettingsPage::OnAgcType(int index) {
  if (!m_view) return;
  DisplayParams& p = m_view->TargetParams();
  p.m_agcType = m_agcType->itemData(index).toInt();
  bool valid = ReadAgcWindowField();
  if (valid && p.m_gainControl == kGainAgc) Changed(0);
  ReturnFocus(false);
}

void DisplaySettingsPage::OnAgcWindowEntered() {
  if (!m_view) return;
  DisplayParams& p = m_view->TargetParams();
  double before = p.m_agcWindow;
  if (ReadAgcWindowField() && p.m_agcWindow != before && p.m_gainControl == kGainAgc) Changed(0);
  ReturnFocus(false);
}

bool DisplaySettingsPage::ReadAgcWindowField() {
  double value = 0.0;
  bool valid =
      ReadLineEdit(m_agcWindow, &value) && SetAgcWindowFromField(&m_view->TargetParams(), value) == 0;
  ShowAgcWindow();
  return valid;
}

bool DisplaySettingsPage::ApplySteps(ScaleSlider which, int delta) {
  if (delta == 0) return false;
  double* value = SliderParameter(&m_view->TargetParams(), which);
  return StoreScale(which, ScaleBySliderSteps(which, *value, delta));
}

// A new value for a slider's parameter, announced to the view's zoom history
// first when it is a scale. False when nothing changes.
bool DisplaySettingsPage::StoreScale(ScaleSlider which, double next) {
  double* value = SliderParameter(&m_view->TargetParams(), which);
  if (next == *value) return false;
  if (int kind = ScaleChangeKind(which); kind != 0) m_view->ScaleAboutToChange(kind);
  *value = next;
  return true;
}

void DisplaySettingsPage::OnSliderAction(ScaleSlider which, int action) {
  if (!m_view || m_filling || action == QAbstractSlider::SliderNoAction) return;
  QSlider* slider = m_rows[RowOf(which)].slider;
  SliderMove move = SliderMove::kLine;
  if (action == QAbstractSlider::SliderMove && slider->isSliderDown()) move = SliderMove::kDrag;
  if (action == QAbstractSlider::SliderPageStepAdd || action == QAbstractSlider::SliderPageStepSub)
    move = SliderMove::kPage;
  bool snapBack = false;
  int delta = SliderMemory(which).Move(move, slider->sliderPosition(), &snapBack);
  // Called before the slider takes the new position as its value, so moving
  // the position back here leaves the thumb at rest.
  if (snapBack) slider->setSliderPosition(0);
  if (ApplySteps(which, delta)) {
    if (which == ScaleSlider::kTraceScale || which == ScaleSlider::kTimeScale) {
      RefreshScaleFields();
    } else {
      RefreshGainFields();
    }
    Changed(0);
  }
  if (move != SliderMove::kDrag) ReturnFocus(true);
}

void DisplaySettingsPage::OnSliderReleased(ScaleSlider which) {
  if (!m_view) return;
  bool snapBack = false;
  SliderMemory(which).Move(SliderMove::kEndDrag, 0, &snapBack);
  m_rows[RowOf(which)].slider->setValue(0);
  ReturnFocus(true);
}

void DisplaySettingsPage::OnClipSlider(int position) {
  if (!m_view || m_filling) return;
  ApplyClipSlider(&m_view->TargetParams(), position);
  Changed(0);
  if (!m_clip->isSliderDown()) ReturnFocus(true);
}

void DisplaySettingsPage::OnScaleEntered(ScaleSlider which) {
  if (!m_view) return;
  double entered = 0.0, next = 0.0;
  bool changed = ReadLineEdit(m_rows[RowOf(which)].field, &entered) &&
                 ScaleFromField(m_view->TargetParams(), which, entered, &next) && StoreScale(which, next);
  RefreshScaleFields();
  RefreshGainFields();
  if (changed) Changed(0);
  ReturnFocus(false);
}

void DisplaySettingsPage::OnFit(bool time) {
  if (!m_view) return;
  if (time) {
    m_view->FitTime();
  } else {
    m_view->FitTraces();
  }
  RefreshScaleFields();
  ReturnFocus(false);
}

void DisplaySettingsPage::OnFull() {
  if (!m_view) return;
  if (m_view->TargetParams().m_ensembleView) {
    m_view->SetEnsembleView(false);
  } else if (m_view->HasEnsembles()) {
    m_view->SetEnsembleView(true);
  }
  RefreshScaleFields();
  FillEnsembleControls();
  ReturnFocus(false);
}

void DisplaySettingsPage::OnEnsembleStep(int step) {
  if (!m_view) return;
  m_view->EnsembleStep(step, m_view->TargetParams().m_ensembleKey);
  SetEnsembleKey(m_view->TargetParams().m_ensembleKey);
  RefreshScaleFields();
  ReturnFocus(false);
}

void DisplaySettingsPage::OnEnsembleKeyEntered() {
  if (!m_view) return;
  double key = 0.0;
  if (ReadLineEdit(m_ensembleKey, &key) && m_view->TargetParams().m_ensembleView)
    m_view->EnsembleStep(3, key);
  SetEnsembleKey(m_view->TargetParams().m_ensembleKey);
  ReturnFocus(false);
}

void DisplaySettingsPage::OnZoomTool(int tool, bool on) {
  if (!m_view) return;
  DisplayParams& p = m_view->TargetParams();
  if (on) {
    p.m_zoomTool = tool;
  } else if (p.m_zoomTool == tool) {
    p.m_zoomTool = kZoomNone;
  }
  m_zoomRect->setChecked(p.m_zoomTool == kZoomRectangle);
  m_zoomSelect->setChecked(p.m_zoomTool == kZoomSelect);
  m_view->ZoomToolChanged();
  ReturnFocus(false);
}

void DisplaySettingsPage::OnUndoZoom() {
  if (!m_view) return;
  m_view->UndoZoom();
  RefreshScaleFields();
  ReturnFocus(false);
}
