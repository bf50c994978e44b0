// kxtool shift: every trace moved by a whole number of samples, written to OUT.
#include <functional>
#include <string>
#include <vector>

#include "app/AppSettings.h"
#include "cli/CliLoad.h"
#include "cli/Command.h"
#include "cli/Options.h"
#include "cli/ProcessOutput.h"
#include "log/Log.h"
#include "processing/TimeShift.h"

namespace {
bool ReadDelrt(Options& opts, int32_t* mode) {
  auto v = opts.Value("--delrt");
  if (!v) return true;
  if (*v == "zero")
    *mode = kDelrtResetToZero;
  else if (*v == "keep")
    *mode = kDelrtLeftAs;
  else if (*v == "follow")
    *mode = kDelrtFollowsShift;
  else
    return false;
  return true;
}

int RunShift(const CommandArgs& args) {
  Options opts(args.args);
  auto out = opts.Value("-o");
  if (!out) out = opts.Value("--output");
  ShiftDialogFields f;
  f.unitFactor = 1000.0;
  auto shift = opts.Value("--shift");
  f.shiftText = shift ? *shift : "";
  f.keepLength = opts.Flag("--grow") ? 0 : 1;
  auto taper = opts.Value("--taper");
  long long taperValue = 0;
  f.taperText = taper ? *taper : "8";
  bool taperOk = !taper || (ParseInteger(*taper, &taperValue) && taperValue >= 0 && taperValue <= 2147483647);
  bool delrtOk = ReadDelrt(opts, &f.delrtMode);
  std::vector<std::string> files;
  if (!opts.Rest(&files)) return 2;
  ShiftSettings settings;
  if (files.empty() || !out || out->empty() || !shift || !taperOk || !delrtOk ||
      !ReadShiftDialog(f, &settings, nullptr)) {
    LogPrint(LogError,
             "\nERROR: shift needs input files, -o OUTPUT and --shift MS (0 only with --delrt zero);"
             " --delrt zero|keep|follow, --taper N (N >= 0)");
    return 2;
  }
  int status = 0;
  auto section = LoadSectionForCli(files, &status);
  if (!section) return 1;
  CliProgress progress("shift");
  if (ShiftSection(*section, settings, Settings().numThreads, std::ref(progress)) != 0) return 1;
  LogPrint(LogStep, "shifted %d traces by %g ms (taper %d)", section->Count(), settings.shiftTime * 1000.0,
           settings.taper);
  return WriteProcessedSection(*section, *out) == 0 ? 0 : 1;
}
}  // namespace

KX_COMMAND("shift", "shift IN... -o OUT --shift MS [--delrt zero|keep|follow] [--taper N] [--grow]",
           "move every trace by whole samples (keep length unless --grow; taper 8 by default)", RunShift);
