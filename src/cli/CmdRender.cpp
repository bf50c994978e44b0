// kxtool render: draws the section as the trace view would at a given client
// size, from the view position a load gives, and saves the view's snapshot
// PNG. Text goes through Qt's font engine; without a display the offscreen
// platform is selected, so the command runs on headless machines.
#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdlib>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "app/AppSettings.h"
#include "cli/CliLoad.h"
#include "cli/Command.h"
#include "cli/FilterArgument.h"
#include "cli/HeadlessGui.h"
#include "cli/Options.h"
#include "display/DisplayRules.h"
#include "display/PngSnapshot.h"
#include "display/VTracePlotter.h"
#include "log/Log.h"
#include "processing/ActiveFilter.h"
#include "processing/AmpSpectrum.h"
#include "qttext/QtTextRenderer.h"
#include "section/HeaderLabelTable.h"

namespace {

struct RenderArgs {
  std::string output, mode, gain, palette, fill, filter, labels, headerPlot;
  int width = 1200, height = 800;
  std::optional<long long> firstTrace;
  std::optional<double> pixPerTrace, startMs, pixPerMs;
  std::vector<std::string> files;
};

std::vector<std::string> Split(const std::string& text, char sep) {
  std::vector<std::string> parts;
  std::stringstream ss(text);
  std::string part;
  while (std::getline(ss, part, sep)) parts.push_back(part);
  if (!text.empty() && text.back() == sep) parts.push_back("");
  return parts;
}

bool ParseNumber(const std::string& text, double* out) {
  char* end = nullptr;
  double v = std::strtod(text.c_str(), &end);
  if (text.empty() || *end != '\0' || !std::isfinite(v)) return false;
  *out = v;
  return true;
}

bool NumberOption(Options& opts, const char* name, std::optional<double>* out) {
  auto v = opts.Value(name);
  if (!v) return true;
  double d = 0.0;
  if (!ParseNumber(*v, &d)) {
    LogPrint(LogError, "\nERROR: %s needs a number, not \"%s\"", name, v->c_str());
    return false;
  }
  *out = d;
  return true;
}

bool ParseArgs(const CommandArgs& args, RenderArgs* a) {
  Options opts(args.args);
  auto out = opts.Value("-o");
  if (!out) out = opts.Value("--output");
  if (out) a->output = *out;
  if (auto v = opts.Value("--size"); v && !ParseImageSize(*v, &a->width, &a->height)) return false;
  for (auto [name, field] : {std::pair{"--mode", &a->mode},
                             {"--gain", &a->gain},
                             {"--palette", &a->palette},
                             {"--fill", &a->fill},
                             {"--filter", &a->filter},
                             {"--labels", &a->labels},
                             {"--header-plot", &a->headerPlot}}) {
    if (auto v = opts.Value(name)) *field = *v;
  }
  long long first = 0;
  if (auto v = opts.Value("--first-trace")) {
    if (!ParseInteger(*v, &first) || first < 1) {
      LogPrint(LogError, "\nERROR: --first-trace needs a trace number from 1, not \"%s\"", v->c_str());
      return false;
    }
    a->firstTrace = first;
  }
  if (!NumberOption(opts, "--pix-per-trace", &a->pixPerTrace) ||
      !NumberOption(opts, "--start-ms", &a->startMs) || !NumberOption(opts, "--pix-per-ms", &a->pixPerMs) ||
      !opts.Rest(&a->files))
    return false;
  if (a->output.empty() || a->files.empty()) {
    LogPrint(LogError, "\nERROR: render needs at least one file and -o OUT.png");
    return false;
  }
  return true;
}

// Header words by their short label ("idx" for the trace index), from the
// rows a list offers (flag).
bool ParseWords(const std::string& text, int32_t flag, std::size_t maxWords, const char* option,
                std::vector<int>* rows) {
  for (const std::string& word : Split(text, ',')) {
    const HeaderLabelRow* found = nullptr;
    for (const HeaderLabelRow& row : HeaderLabelRows()) {
      if ((row.flags & flag) && row.shortLabel[0] != '\0' && strcasecmp(row.shortLabel, word.c_str()) == 0)
        found = &row;
    }
    if (found == nullptr || (flag == kLabelHeaderPlot && found->id == kLabelIdx)) {
      LogPrint(LogError, "\nERROR: %s: \"%s\" is not a header word of that list", option, word.c_str());
      return false;
    }
    rows->push_back(found->id);
  }
  if (rows->empty() || rows->size() > maxWords) {
    LogPrint(LogError, "\nERROR: %s takes 1 to %zu words", option, maxWords);
    return false;
  }
  return true;
}

bool ApplyGain(const std::string& text, DisplayParams* p) {
  std::vector<std::string> parts = Split(text, ':');
  const std::string& kind = parts[0];
  int mode = kind == "none" ? kGainNone : kind == "norm" ? kGainNorm : kind == "agc" ? kGainAgc : 0;
  double ms = 0.0;
  bool ok = mode != 0 && (parts.size() == 1 || mode == kGainAgc) && parts.size() <= 3;
  if (ok && parts.size() >= 2) ok = ParseNumber(parts[1], &ms) && ms > 0.0;
  if (ok && parts.size() == 3) ok = parts[2] == "mean" || parts[2] == "rms";
  if (!ok) {
    LogPrint(LogError, "\nERROR: --gain needs none, norm or agc[:MS[:mean|rms]], not \"%s\"", text.c_str());
    return false;
  }
  SwitchGainControl(p, mode);
  if (parts.size() >= 2) p->m_agcWindow = ms / 1000.0;
  if (parts.size() == 3) p->m_agcType = parts[2] == "mean" ? kAgcMean : kAgcRms;
  return true;
}

bool ApplyLook(const RenderArgs& a, DisplayParams* p) {
  if (!a.mode.empty()) {
    if (a.mode != "density" && a.mode != "wiggle") {
      LogPrint(LogError, "\nERROR: --mode needs density or wiggle, not \"%s\"", a.mode.c_str());
      return false;
    }
    p->m_displayMode = a.mode == "wiggle" ? kDisplayWiggle : kDisplayColor;
  }
  if (!a.palette.empty()) {
    static const char* const kNames[kDensityPalettes] = {"grey", "red-black", "red-blue", "blue-yellow"};
    auto it = std::find(std::begin(kNames), std::end(kNames), a.palette);
    if (it == std::end(kNames)) {
      LogPrint(LogError, "\nERROR: --palette needs grey, red-black, red-blue or blue-yellow");
      return false;
    }
    SelectDensityPalette(p, static_cast<int>(it - std::begin(kNames)));
  }
  if (!a.fill.empty()) {
    if (a.fill != "none" && a.fill != "pos" && a.fill != "neg") {
      LogPrint(LogError, "\nERROR: --fill needs none, pos or neg");
      return false;
    }
    p->m_fillMode = a.fill == "pos" ? kFillPositive : a.fill == "neg" ? kFillNegative : kFillNone;
  }
  return a.gain.empty() || ApplyGain(a.gain, p);
}

void ApplyPosition(const RenderArgs& a, const VTracePlotter& view, DisplayParams* p) {
  if (a.pixPerTrace) p->m_pixPerTrace = LimitPixPerTrace(*a.pixPerTrace);
  if (a.pixPerMs && *a.pixPerMs > 0.0) p->m_pixPerSec = *a.pixPerMs * 1000.0;
  if (a.firstTrace)
    p->m_firstTrace = static_cast<int>(std::min<long long>(*a.firstTrace - 1, view.TraceCount() - 1));
  if (a.startMs) p->m_startTime = std::max(*a.startMs / 1000.0, view.SectionStart());
}

bool ApplyWords(const RenderArgs& a, VTracePlotter* view) {
  if (!a.labels.empty()) {
    std::vector<int> rows;
    if (!ParseWords(a.labels, kLabelHeaderWords, HeaderLabels::kMaxWords, "--labels", &rows)) return false;
    view->SetLabelWords(rows);
  }
  if (!a.headerPlot.empty()) {
    std::vector<int> rows;
    if (!ParseWords(a.headerPlot, kLabelHeaderPlot, HeaderPlot::kCurves, "--header-plot", &rows))
      return false;
    HeaderPlotSettings settings = view->GetHeaderPlot().Settings();
    settings.m_showPlot = 1;
    for (int c = 0; c < HeaderPlot::kCurves; ++c)
      settings.m_curveWord[c] = c < static_cast<int>(rows.size()) ? rows[static_cast<std::size_t>(c)] : -1;
    view->SetHeaderPlot(settings);
  }
  return true;
}

// The load's rule for a remembered AGC window that does not suit the section.
void CheckAgcWindow(const SeismicSection& s, DisplayParams* p) {
  double interval = SectionMinInterval(s);
  if (p->m_agcWindow > 0.5 * (s.Summary().maxTime - s.Summary().minTime) || p->m_agcWindow < 11.0 * interval)
    p->m_agcWindow = DBLE_UNDEF;
}

int Render(const RenderArgs& a, const SeismicSection& section) {
  QtTextRenderer text;
  VTracePlotter view(1);
  const AppSettings& settings = Settings();
  view.SetRenderSettings({settings.wiggleMinIntertrace, settings.evenSpacingBelow, settings.displayThreads});
  view.SetFilter(&ActiveFilter());
  if (view.Create(a.width, a.height, &text) != 0 ||
      view.AttachTraces(section.Traces(), section.Summary()) != 0)
    return 1;
  DisplayParams& p = view.Params();
  p.m_useFreqFilter = a.filter.empty() ? 0 : 1;
  CheckAgcWindow(section, &p);
  view.ApplyLoadPosition();
  if (!ApplyLook(a, &p) || !ApplyWords(a, &view)) return 2;
  ApplyPosition(a, view, &p);
  if (view.DisplayChanged(1) != 0) return 1;
  const AxisLayout::Result& g = view.Geometry();
  LogPrint(LogStep, "render: %d traces, plot %dx%d at (%d,%d), first trace %d, %.4f px/trace, %.4f px/ms",
           view.TraceCount(), g.plotWidth, g.plotHeight, g.plotLeft, g.plotTop, p.m_firstTrace + 1,
           p.m_pixPerTrace, p.m_pixPerSec / 1000.0);
  return SavePngSnapshot(view.Store(), a.output) == 0 ? 0 : 1;
}

int RunRender(const CommandArgs& args) {
  RenderArgs a;
  if (!ParseArgs(args, &a)) return 2;
  std::unique_ptr<QGuiApplication> app = StartHeadlessGui();
  int status = 0;
  std::unique_ptr<SeismicSection> section = LoadSectionForCli(a.files, &status);
  if (!section) return 1;
  ActiveFilterDatasetLoaded(SectionMinInterval(*section));
  if (!a.filter.empty() && SetActiveFilterFromArgument(a.filter) != 0) return 2;
  return Render(a, *section);
}

}  // namespace

KX_COMMAND(
    "render",
    "render IN... -o OUT.png [--size WxH] [--mode density|wiggle] [--gain none|norm|agc[:MS[:mean|rms]]] "
    "[--palette grey|red-black|red-blue|blue-yellow] [--fill none|pos|neg] [--filter FILTER] "
    "[--first-trace N] [--pix-per-trace X] [--start-ms T] [--pix-per-ms Y] [--labels W1,W2] "
    "[--header-plot W1[,W2,W3]]",
    "draws the section as the trace view would (default 1200x800) and saves the PNG snapshot; "
    "traces from 1, words by label (idx = trace index)",
    RunRender);
