// kxtool synth: a synthetic 2D shot survey written as SEG-Y, SU or SEG-2,
// chosen by the output file's extension.
#include <cstdlib>
#include <string>
#include <vector>

#include "app/SynthSurvey.h"
#include "cli/Command.h"
#include "cli/Options.h"
#include "cli/ProcessOutput.h"
#include "formats/DetectFileType.h"
#include "formats/Seg2Writer.h"
#include "formats/SegyWriter.h"
#include "log/Log.h"
#include "section/SeismicSection.h"

namespace {
int WriteByExtension(const SeismicSection& section, const std::string& out) {
  int type = FileTypeFromExtension(PathExtension(out));
  SaveOptions o;
  if (type == kFileSegy) return SaveAsSegyRev1(section, out, o);
  if (type == kFileSu) return SaveAsSu(section, out, o);
  if (type == kFileSeg2) {
    if (section.Count() > 16383) {
      LogPrint(LogError, "\nERROR: TOO MANY TRACES, max is 16'383 with SEG-2 format");
      return kOutputTooManyTraces;
    }
    return SaveAsSeg2(section, out, o);
  }
  LogPrint(LogError, "\nERROR: synth writes .segy/.sgy, .su or .seg2/.sg2/.dat files, not '%s'", out.c_str());
  return kOutputUnknownFormat;
}

bool IntOption(Options& opts, const char* name, int32_t* out) {
  long long v = *out;
  if (!opts.Int(name, &v)) return false;
  if (v < 1 || v > 100000000) {
    LogPrint(LogError, "\nERROR: %s must be from 1 to 100000000", name);
    return false;
  }
  *out = static_cast<int32_t>(v);
  return true;
}

int RunSynth(const CommandArgs& args) {
  Options opts(args.args);
  auto out = opts.Value("-o");
  if (!out) out = opts.Value("--output");
  SynthParams p;
  if (!IntOption(opts, "--shots", &p.shots) || !IntOption(opts, "--channels", &p.channels) ||
      !IntOption(opts, "--samples", &p.samples))
    return 2;
  if (auto dt = opts.Value("--dt")) {
    char* end = nullptr;
    p.dtMs = std::strtod(dt->c_str(), &end);
    if (end == dt->c_str() || *end != '\0' || !(p.dtMs > 0.0) || p.dtMs > 1000.0) {
      LogPrint(LogError, "\nERROR: --dt needs an interval in ms, above 0 and at most 1000");
      return 2;
    }
  }
  p.crooked = opts.Flag("--crooked");
  std::vector<std::string> rest;
  if (!opts.Rest(&rest)) return 2;
  if (!out || out->empty() || !rest.empty()) {
    LogPrint(LogError, "\nERROR: synth needs -o OUTPUT and no other file");
    return 2;
  }
  SeismicSection section;
  if (MakeSynthSurvey(section, p) <= 0) return 1;
  return WriteByExtension(section, *out) == 0 ? 0 : 1;
}
}  // namespace

KX_COMMAND(
    "synth", "synth -o OUT [--shots N] [--channels N] [--samples N] [--dt MS] [--crooked]",
    "write a synthetic 2D shot survey (SEG-Y, SU or SEG-2 by OUT's extension); --crooked: along a bent line",
    RunSynth);
