#include "display/HeaderLabels.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string_view>

#include "display/ColorScheme.h"
#include "display/FieldText.h"
#include "display/LabelLane.h"
#include "log/Log.h"
#include "section/HeaderLabelTable.h"

namespace {

constexpr int kNameLeft = 3;

bool In(std::string_view name, std::initializer_list<std::string_view> names) {
  return std::find(names.begin(), names.end(), name) != names.end();
}

std::string Trimmed(const char* format, double v) {
  std::string s = StrPrintf(format, v);
  TrimTrailingZeros(&s);
  return s;
}

const char* TraceCodeName(int code) {
  switch (code) {
    case 0:
      return "unk";
    case 1:
      return "S";
    case 2:
      return "dead";
    case 3:
      return "dummy";
    case 6:
      return "SW";
    case 18:
      return "RM";
    case 19:
      return "BP";
    case 20:
      return "GF";
    case 21:
      return "PT";
    case 8192:
      return "Vsum";
    case 8193:
      return "Hstack";
    case -1:
      return "oth";
    default:
      return nullptr;
  }
}

std::string FieldText(std::string_view name, const TraceRecord* t, double v, double factor) {
  if (In(name, {"TRNO", "TRACF", "TRACR", "DTID", "NS", "ESP", "CHAN", "CABLE", "NVS", "NHS", "CDP", "CDPT",
                "ILINE", "XLINE", "IGC", "IGI", "YEAR", "DAY"}))
    return StrPrintf("%d", static_cast<int>(v));
  if (name == "FLDR") return StrPrintf("%lld", static_cast<long long>(t->FLDR));
  if (name == "TRID") {
    const char* code = TraceCodeName(t->TRID);
    return code ? code : StrPrintf("%d", t->TRID);
  }
  if (In(name, {"DT", "DELAY", "LAGA", "LAGB", "SSTAT", "RSTAT", "TSTAT", "SUHT", "RUHT", "SMUTE", "EMUTE"}))
    return Trimmed("%.3f", v * factor);
  if (In(name, {"OFF", "RZ", "RZDAT", "RDEP", "RWDEP", "SZ", "SZDAT", "SDEP", "SWDEP", "RX", "RY", "CDPX",
                "CDPY", "SX", "SY"}))
    return StrPrintf("%.1f", v);
  if (In(name, {"RSTA", "SSTA"})) return Trimmed("%.2f", v);
  if (In(name, {"WVEL", "SWVEL"})) return Trimmed("%.1f", v);
  return {};
}

}  // namespace

std::string HeaderLabels::LabelText(int row, int index, const TraceRecord* trace, double baseTimeFactor) {
  const HeaderLabelRow* r = FindHeaderLabel(row);
  if (r == nullptr || trace == nullptr) return {};
  std::string_view name = r->shortLabel;
  std::string text;
  if (row == kLabelIdx) {
    text = StrPrintf("%d", index + 1);
  } else if (name == "HMS") {
    text = StrPrintf("%d:%02d:%02d", trace->HOUR, trace->MINUTE, trace->SEC);
  } else if (name == "SDIR") {
    static const char* const kDirections[3] = {"UP", "DN", "PW"};
    text = trace->SDIR < 3 ? kDirections[trace->SDIR] : "";
  } else if (auto v = HeaderLabelValue(trace, *r)) {
    if (!std::isfinite(*v)) return {};
    text = FieldText(name, trace, *v, baseTimeFactor);
  }
  if (text.size() > kMaxTextChars) text.resize(Utf8CutLength(text.data(), kMaxTextChars));
  return text;
}

void HeaderLabels::SetWords(const std::vector<int>& rows) {
  m_words.clear();
  for (int row : rows) {
    if (FindHeaderLabel(row) != nullptr && m_words.size() < kMaxWords) m_words.push_back(row);
  }
}

void HeaderLabels::SetGraduation(int step, int hgrad) {
  m_step = std::max(step, 0);
  m_hgrad = std::clamp(hgrad, 0, 4);
}

bool HeaderLabels::SteppedWord() const {
  if (m_step <= 0 || m_words.empty()) return false;
  int last = m_words.back();
  return last == kLabelIdx || In(FindHeaderLabel(last)->shortLabel,
                                 {"TRNO", "TRACF", "TRACR", "CHAN", "CDP", "CDPT", "ILINE", "XLINE"});
}

int HeaderLabels::MeasureLabelWidth(RasterPainter& painter, const TraceRendererInput& in,
                                    const AxisLayout::Metrics& m, double factor) const {
  int width = 0;
  int lastOfPage =
      std::min<int64_t>(static_cast<int64_t>(in.params->m_firstTrace) + in.tracesPerPage, in.count) - 1;
  for (int i : {in.params->m_firstTrace, lastOfPage}) {
    if (i < 0 || i >= in.count) continue;
    for (int row : m_words)
      width = std::max(width, painter.MeasureText(LabelText(row, i, in.traces[i], factor), m.light).width);
  }
  return width;
}

// Every label step-th trace number of the page, the step from a graduation
// that leaves room for the widest label.
void HeaderLabels::ChooseAutomatic(const TraceRendererInput& in, const AxisLayout::Metrics& m) {
  static const int kHgrad[5] = {1, 4, 10, 20, 40};
  const DisplayParams& p = *in.params;
  Graduation g;
  g.flags = 2;
  g.targetCount = static_cast<double>(in.plotWidth) / (m_labelWidth + kHgrad[m_hgrad] * m.charWidth);
  g.Compute(0.0, in.tracesPerPage);
  m_labelStep = std::max(PixelTrunc(g.step + 0.1), 1);
  g.step = m_labelStep;
  int64_t lastOfPage = std::min<int64_t>(static_cast<int64_t>(p.m_firstTrace) + in.tracesPerPage, in.count);
  g.ComputeTicks(p.m_firstTrace + 1.0, static_cast<double>(lastOfPage));
  for (int64_t t = static_cast<int64_t>(g.firstTick); t <= static_cast<int64_t>(g.lastTick);
       t += m_labelStep) {
    int64_t i = std::max<int64_t>(t - 1, 0);
    if (i >= in.count) continue;
    if (in.TraceCentre(i) >= in.clientWidth) break;
    m_labelled.push_back(static_cast<int>(i));
  }
}

// Traces whose value of the last word is a multiple of the step, at least v
// traces apart: v is the smallest multiple of the step that fits a label.
void HeaderLabels::ChooseStepped(const TraceRendererInput& in, const AxisLayout::Metrics& m) {
  const DisplayParams& p = *in.params;
  const double need = m_labelWidth + m.charWidth + 1;
  double multiples = std::ceil((need - 0.0001) / (p.m_pixPerTrace * m_step));
  int64_t v = m_step * static_cast<int64_t>(std::clamp(multiples, 1.0, 1e9));
  while (v * p.m_pixPerTrace + 0.0001 < need && v < (int64_t{1} << 40)) v += m_step;
  while (v > m_step && (v - m_step) * p.m_pixPerTrace + 0.0001 >= need) v -= m_step;
  const HeaderLabelRow* row = FindHeaderLabel(m_words.back());
  int64_t end = std::min<int64_t>(static_cast<int64_t>(p.m_firstTrace) + in.tracesPerPage, in.count);
  int64_t lastLabelled = INT64_MIN / 2;
  for (int64_t i = std::max(p.m_firstTrace, 0); i < end; ++i) {
    const TraceRecord* t = in.traces[i];
    if (t == nullptr) continue;
    int64_t value = i + 1;
    if (row->id != kLabelIdx) {
      auto d = HeaderLabelValue(t, *row);
      if (!d || !std::isfinite(*d)) continue;
      value = static_cast<int64_t>(*d);
    }
    if (value % m_step != 0 || i - lastLabelled < v) continue;
    if (in.TraceCentre(i) >= in.clientWidth) break;
    m_labelled.push_back(static_cast<int>(i));
    lastLabelled = i;
  }
}

// Names at the left of their rows; returns the right edge of the widest.
int HeaderLabels::DrawNames(RasterPainter& painter, const TraceRendererInput& in,
                            const AxisLayout::Metrics& m, int y0, std::vector<PlacedText>* placed) {
  const int rh = m.labelRowHeight;
  int right = 0;
  for (std::size_t r = 0; r < m_words.size(); ++r) {
    int top = y0 + static_cast<int>(r) * rh;
    if (m_words.size() > 1)
      painter.FillRect(PixelRect{1, top, in.clientWidth, top + rh},
                       r % 2 == 0 ? kSchemeLabelBackA : kSchemeLabelBackB);
    const char* name = FindHeaderLabel(m_words[r])->shortLabel;
    TextExtent e = painter.MeasureText(name, m.bold);
    PixelRect box{kNameLeft, top + (rh - m.textHeight) / 2, kNameLeft + e.width,
                  top + (rh - m.textHeight) / 2 + e.height};
    painter.DrawText(box.left, box.top, name, m.bold, kSchemeAxes);
    if (placed) placed->push_back({name, box});
    right = std::max(right, box.right);
  }
  return right;
}

void HeaderLabels::Draw(BackingStore& store, const TraceRendererInput& in, const AxisLayout::Metrics& m,
                        TextRenderer* text, double factor, std::vector<PlacedText>* placed) {
  m_labelled.clear();
  if (m_words.empty() || in.count <= 0) return;
  RasterPainter painter(store);
  painter.SetTextRenderer(text);
  const int rh = m.labelRowHeight;
  const int y0 = in.plotTop - 2 * m.gap - static_cast<int>(m_words.size()) * rh - 1;
  const int namesRight = DrawNames(painter, in, m, y0, placed);
  m_labelWidth = MeasureLabelWidth(painter, in, m, factor);
  if (SteppedWord()) {
    ChooseStepped(in, m);
  } else {
    ChooseAutomatic(in, m);
  }
  // One lane per row, right of the names: a label at either end of the page
  // slides in, and one that would then cover its neighbour is left out.
  std::vector<LabelLane> lanes;
  for (std::size_t r = 0; r < m_words.size(); ++r) {
    const int top = y0 + static_cast<int>(r) * rh;
    lanes.emplace_back(PixelRect{namesRight + m.charWidth, top, in.clientWidth, top + rh}, m.charWidth / 2);
  }
  painter.SetLineIndex(kSchemeAxes);
  for (int i : m_labelled) {
    int x = in.TraceCentre(i);
    painter.Line(x, in.plotTop - m.gap - 1, x, in.plotTop);
    if (in.traces[i] == nullptr || in.traces[i]->NS <= 0) continue;
    for (std::size_t r = 0; r < m_words.size(); ++r) {
      std::string label = LabelText(m_words[r], i, in.traces[i], factor);
      TextExtent e = painter.MeasureText(label, m.light);
      const int top = (rh - m.textHeight) / 2 + y0 + static_cast<int>(r) * rh;
      PixelRect box{x - e.width / 2, top, x - e.width / 2 + e.width, top + e.height};
      if (label.empty() || !lanes[r].Place(&box)) continue;
      painter.DrawText(box.left, box.top, label, m.light, kSchemeAxes);
      if (placed) placed->push_back({std::move(label), box});
    }
  }
}
