// kxtool spectrum: the normalised amplitude spectrum of one trace (raw or
// after the active filter), of the whole section, or of a range of traces in a
// time window, as CSV "frequency_hz,amplitude" on standard output or a file.
#include <cerrno>
#include <cstdio>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "app/AppSettings.h"
#include "app/tools/SpectrumRangeFields.h"
#include "cli/CliLoad.h"
#include "cli/Command.h"
#include "cli/FilterArgument.h"
#include "cli/Options.h"
#include "formats/SafeWrite.h"
#include "log/Log.h"
#include "log/Status.h"
#include "processing/ActiveFilter.h"
#include "processing/AmpSpectrum.h"
#include "section/SeismicSection.h"

namespace {
struct SpectrumArgs {
  long long trace = 1;  // 1-based, as the panel shows it
  bool whole = false, filtered = false, db = false;
  std::string range, filter, output;
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

// FIRST:LAST:T0:T1 through the panel's range rules (empty fields allowed as there).
int SetRangeFromText(const SeismicSection& s, const std::string& text, AmpSpectrum& sp) {
  std::vector<std::string> parts;
  std::stringstream ss(text);
  std::string part;
  while (std::getline(ss, part, ':')) parts.push_back(part);
  if (!text.empty() && text.back() == ':') parts.push_back("");
  if (parts.size() != 4) {
    LogPrint(LogError, "\nERROR: --range needs FIRST:LAST:T0:T1 (traces from 1, times in seconds)");
    return kStatusRefused;
  }
  SpectrumRangeFields fields{parts[0], parts[1], parts[2], parts[3]};
  SpectrumRangeLimits limits{s.Count(), s.Summary().minTime, s.Summary().maxTime};
  SpectrumRangeValue range;
  bool flash = false;
  if (ReadSpectrumRangeFields(fields, limits, true, &range, &flash) != 0) {
    LogPrint(LogError, "\nERROR: --range \"%s\" is not a valid range of traces and times", text.c_str());
    return kStatusRefused;
  }
  LogPrint(LogStep, "Range: traces %s to %s, %s to %s s", fields.firstTrace.c_str(), fields.lastTrace.c_str(),
           fields.startTime.c_str(), fields.endTime.c_str());
  sp.SetRange(range.first, range.last, range.t0, range.t1);
  return 0;
}

int Compute(const SeismicSection& s, const SpectrumArgs& a, AmpSpectrum& sp, int* slot) {
  if (a.whole) {
    sp.SetWholeOption(true);
    *slot = AmpSpectrum::kWholeCurve;
    return sp.ComputeWholeSpectrum(s, Settings().numThreads);
  }
  if (!a.range.empty()) {
    if (SetRangeFromText(s, a.range, sp) != 0) return kStatusRefused;
    sp.SetRangeOption(true);
    *slot = AmpSpectrum::kRangeCurve;
    return sp.ComputeRangeSpectrum(s, Settings().numThreads);
  }
  if (a.trace > s.Count()) {
    LogPrint(LogError, "\nERROR: --trace %lld: the dataset has %d traces", a.trace, s.Count());
    return kStatusRefused;
  }
  sp.SetFilteredOption(a.filtered);
  *slot = a.filtered ? AmpSpectrum::kFilteredCurve : AmpSpectrum::kTraceCurve;
  return sp.ComputeTraceSpectrum(s, static_cast<int>(a.trace - 1), ActiveFilter());
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
  int status = 0;
  std::unique_ptr<SeismicSection> section = LoadSectionForCli(a.files, &status);
  if (!section) return 1;
  ActiveFilterDatasetLoaded(SectionMinInterval(*section));
  if (!a.filter.empty() && SetActiveFilterFromArgument(a.filter) != 0) return 2;
  AmpSpectrum sp;
  if (sp.Initialize(*section, ActiveFilter()) != 0) {
    LogPrint(LogError, "\nERROR: the spectrum cannot be set up for this dataset");
    return 1;
  }
  sp.SetDbOption(a.db);
  int slot = AmpSpectrum::kTraceCurve;
  if (Compute(*section, a, sp, &slot) != 0) return 1;
  if (sp.Curve(slot).points.empty())
    LogPrint(LogWarning, "WARNING: the spectrum is empty (no signal in the chosen traces)");
  return WriteCsv(sp.Curve(slot), a.output);
}
}  // namespace

KX_COMMAND("spectrum",
           "spectrum [--trace N | --whole | --range FIRST:LAST:T0:T1] [--filtered] [--db] [--filter FILTER] "
           "[--output F] FILE...",
           "normalised amplitude spectrum as CSV (frequency_hz,amplitude); FILTER is "
           "TYPE:FAMILY:POLES:F1[:F2][:ripple=DB][:stop=DB]",
           RunSpectrum);
