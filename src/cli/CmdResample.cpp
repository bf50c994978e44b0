// kxtool resample: every trace to a new sampling interval (anti-alias filter
// when the interval grows), written to OUT.
#include <functional>
#include <string>
#include <vector>

#include "app/AppSettings.h"
#include "cli/CliLoad.h"
#include "cli/Command.h"
#include "cli/Options.h"
#include "cli/ProcessOutput.h"
#include "log/Log.h"
#include "processing/ActiveFilter.h"
#include "processing/Resample.h"

namespace {
int RunResample(const CommandArgs& args) {
  Options opts(args.args);
  auto out = opts.Value("-o");
  if (!out) out = opts.Value("--output");
  auto dt = opts.Value("--dt");
  std::vector<std::string> files;
  if (!opts.Rest(&files)) return 2;
  double seconds = 0.0;
  if (files.empty() || !out || out->empty() || !dt || !ReadResampleInterval(*dt, 1000.0, &seconds)) {
    LogPrint(LogError,
             "\nERROR: resample needs input files, -o OUTPUT and --dt MS (a positive interval in ms)");
    return 2;
  }
  int status = 0;
  auto section = LoadSectionForCli(files, &status);
  if (!section) return 1;
  CliProgress progress("resample");
  ResampleReport report;
  if (ResampleSection(*section, seconds, 1, Settings().numThreads, std::ref(progress), &report) != 0)
    return 1;
  LogPrint(LogStep, "resampled %d traces to %g ms (%d left unchanged, %d without samples)", report.resampled,
           seconds * 1000.0, report.failed, report.skipped);
  if (report.failed) return 1;
  ActiveFilterDatasetLoaded(seconds);
  return WriteProcessedSection(*section, *out) == 0 ? 0 : 1;
}
}  // namespace

KX_COMMAND("resample", "resample IN... -o OUT --dt MS",
           "resample every trace to a new interval in ms (anti-alias filter when it grows)", RunResample);
