// kxtool spectrum: the normalised amplitude spectrum of one trace (raw or
// after the active filter), of the whole section, or of a range of traces in a
// time window, as CSV "frequency_hz,amplitude" on standard output or a file,
// and with --png the spectrum window's plot of it, drawn without a window.
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "app/AppSettings.h"
#include "app/tools/AmpSpectrumPlotter.h"
#include "app/tools/SpectrumRangeFields.h"
#include "cli/CliLoad.h"
#include "cli/Command.h"
#include "cli/FilterArgument.h"
#include "cli/HeadlessGui.h"
#include "cli/Options.h"
#include "display/PngSnapshot.h"
#include "formats/SafeWrite.h"
#include "log/Log.h"
#include "log/Status.h"
#include "processing/ActiveFilter.h"
#include "processing/AmpSpectrum.h"
#include "qttext/QtTextRenderer.h"
#include "section/SeismicSection.h"

namespace {
struct SpectrumArgs {
  long long trace = 1;  // 1-based, as the panel shows it
  bool whole = false, filtered = false, db = false;
  std::string range, filter, output, png;
  int width = 800, height = 500;
  std::vector<std::string> files;
};

bool ParseArgs(const CommandArgs& args, SpectrumArgs* a) {
  Options opts(args.args);
  bool traceGiven = false;
  if (auto v = opts.Value("--trace")) {
    if (!ParseInteger(*v, &a->trace) || a->trace < 1) {
      LogPrint(LogError, "\nERROR: --trace needs a trace number from 1");
      return false;
    }
    traceGiven = true;
  }
  a->whole = opts.Flag("--whole");
  if (auto v = opts.Value("--range")) a->range = *v;
  a->filtered = opts.Flag("--filtered");
  a->db = opts.Flag("--db");
  if (auto v = opts.Value("--filter")) a->filter = *v;
  if (auto v = opts.Value("--output")) a->output = *v;
  if (auto v = opts.Value("--png")) a->png = *v;
  if (auto v = opts.Value("--size"); v && !ParseImageSize(*v, &a->width, &a->height)) return false;
  if (!opts.Rest(&a->files)) return false;
  int modes = (traceGiven ? 1 : 0) + (a->whole ? 1 : 0) + (a->range.empty() ? 0 : 1);
  if (modes > 1) {
    LogPrint(LogError, "\nERROR: spectrum takes one of --trace, --whole and --range");
    return false;
  }
  if (a->filtered && (a->whole || !a->range.empty())) {
    LogPrint(LogError, "\nERROR: --filtered applies to the spectrum of one trace (--trace)");
    return false;
  }
  if (a->files.empty()) {
    LogPrint(LogError, "\nERROR: spectrum needs at least one file");
    return false;
  }
  return true;
}

// FIRST:LAST:T0:T1 into the panel's range fields (empty fields allowed as there).
int RangeFieldsFromText(const std::string& text, SpectrumRangeFields* fields) {
  std::vector<std::string> parts;
  std::stringstream ss(text);
  std::string part;
  while (std::getline(ss, part, ':')) parts.push_back(part);
  if (!text.empty() && text.back() == ':') parts.push_back("");
  if (parts.size() != 4) {
    LogPrint(LogError, "\nERROR: --range needs FIRST:LAST:T0:T1 (traces from 1, times in seconds)");
    return kStatusRefused;
  }
  *fields = SpectrumRangeFields{parts[0], parts[1], parts[2], parts[3]};
  return 0;
}

// The window's own steps: the chosen curve computed and, beside the filtered
// one, the raw trace spectrum it is measured against.
int Compute(const SeismicSection& s, const SpectrumArgs& a, AmpSpectrumPlotter& plot, int* slot) {
  const int threads = Settings().numThreads;
  const IIRFilter& filter = ActiveFilter();
  if (a.whole || !a.range.empty()) plot.SetCurrentTrace(false, s, filter, false);
  if (a.whole) {
    *slot = AmpSpectrum::kWholeCurve;
    return plot.SetWhole(true, s, threads);
  }
  if (!a.range.empty()) {
    if (RangeFieldsFromText(a.range, &plot.Fields()) != 0) return kStatusRefused;
    bool flash = false;
    *slot = AmpSpectrum::kRangeCurve;
    if (plot.SetRangeOption(true, s, threads, &flash) != 0 || !plot.Spectrum().HasRange()) {
      LogPrint(LogError, "\nERROR: --range \"%s\" is not a valid range of traces and times", a.range.c_str());
      return kStatusRefused;
    }
    const SpectrumRangeFields& f = plot.Fields();
    LogPrint(LogStep, "Range: traces %s to %s, %s to %s s", f.firstTrace.c_str(), f.lastTrace.c_str(),
             f.startTime.c_str(), f.endTime.c_str());
    return 0;
  }
  if (a.trace > s.Count()) {
    LogPrint(LogError, "\nERROR: --trace %lld: the dataset has %d traces", a.trace, s.Count());
    return kStatusRefused;
  }
  plot.SetFiltered(a.filtered, s, filter, false);
  *slot = a.filtered ? AmpSpectrum::kFilteredCurve : AmpSpectrum::kTraceCurve;
  return plot.SelectTrace(s, static_cast<int>(a.trace - 1), filter, true);
}

void PrintCsv(const SpectrumCurve& curve, std::FILE* out) {
  std::fprintf(out, "frequency_hz,amplitude\n");
  for (const CurvePoint& p : curve.points) std::fprintf(out, "%.9g,%.9g\n", p.x, p.y);
}

// A named output goes through SafeWrite like every file kxtool writes: an
// existing file is replaced only by a complete one.
int WriteCsv(const SpectrumCurve& curve, const std::string& output) {
  if (output.empty()) {
    PrintCsv(curve, stdout);
    if (std::fflush(stdout) == 0) return 0;
    LogPrint(LogError, "\nERROR: writing the spectrum failed");
    LogSystemError(errno, 0);
    return 1;
  }
  SafeWrite out;
  if (out.Open(output) != 0) return 1;
  PrintCsv(curve, out.File());
  return out.Commit() == 0 ? 0 : 1;
}

int RunSpectrum(const CommandArgs& args) {
  SpectrumArgs a;
  if (!ParseArgs(args, &a)) return 2;
  // The picture needs the Qt application for its text.
  std::unique_ptr<QGuiApplication> app;
  std::unique_ptr<QtTextRenderer> text;
  if (!a.png.empty()) {
    app = StartHeadlessGui();
    text = std::make_unique<QtTextRenderer>();
  }
  int status = 0;
  std::unique_ptr<SeismicSection> section = LoadSectionForCli(a.files, &status);
  if (!section) return 1;
  ActiveFilterDatasetLoaded(SectionMinInterval(*section));
  if (!a.filter.empty() && SetActiveFilterFromArgument(a.filter) != 0) return 2;
  AmpSpectrumPlotter plot;
  // The snapshot leaves out the raster's last column: one more makes the picture WxH.
  if (plot.Create(a.png.empty() ? 16 : a.width + 1, a.png.empty() ? 16 : a.height, text.get()) != 0 ||
      plot.Initialize(*section, ActiveFilter()) != 0) {
    LogPrint(LogError, "\nERROR: the spectrum cannot be set up for this dataset");
    return 1;
  }
  plot.SetDb(a.db);
  int slot = AmpSpectrum::kTraceCurve;
  if (Compute(*section, a, plot, &slot) != 0) return 1;
  const SpectrumCurve& curve = plot.Spectrum().Curve(slot);
  if (curve.points.empty())
    LogPrint(LogWarning, "WARNING: the spectrum is empty (no signal in the chosen traces)");
  if (!a.png.empty() && SavePngSnapshot(plot.Graph().Store(), a.png) != 0) return 1;
  // With a picture asked for, the CSV goes only where --output names.
  if (!a.png.empty() && a.output.empty()) return 0;
  return WriteCsv(curve, a.output);
}
}  // namespace

KX_COMMAND("spectrum",
           "spectrum [--trace N | --whole | --range FIRST:LAST:T0:T1] [--filtered] [--db] [--filter FILTER] "
           "[--output F] [--png OUT.png [--size WxH]] FILE...",
           "normalised amplitude spectrum as CSV (frequency_hz,amplitude), or with --png the spectrum "
           "plot (the CSV then only to --output); FILTER is TYPE:FAMILY:POLES:F1[:F2][:ripple=DB][:stop=DB]",
           RunSpectrum);
