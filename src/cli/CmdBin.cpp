// kxtool bin: 2D binning of the input section's midpoints along a profile
// read from a polyline text file, written to OUT.
#include <cmath>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/AppSettings.h"
#include "cli/CliLoad.h"
#include "cli/Command.h"
#include "cli/Options.h"
#include "cli/ProcessOutput.h"
#include "formats/ProfileText.h"
#include "log/Log.h"
#include "processing/Binning.h"

namespace {
// A finite number; false (logged) when present but not one.
bool NumberOption(Options& opts, const char* name, double* out, bool* present = nullptr) {
  auto v = opts.Value(name);
  if (present) *present = v.has_value();
  if (!v) return true;
  char* end = nullptr;
  double d = std::strtod(v->c_str(), &end);
  if (v->empty() || *end != '\0' || !std::isfinite(d)) {
    LogPrint(LogError, "\nERROR: %s needs a number, not '%s'", name, v->c_str());
    return false;
  }
  *out = d;
  return true;
}

bool ReadParams(Options& opts, BinningParams* p) {
  bool hasBin = false;
  bool ok = NumberOption(opts, "--bin-size", &p->binSize, &hasBin);
  ok = NumberOption(opts, "--max-offset", &p->maxOffset) && ok;
  ok = NumberOption(opts, "--max-distance", &p->maxDistance) && ok;
  return ok && hasBin && p->binSize > 0.0;
}

int Bin(SeismicSection& section, const Profile& profile, const BinningParams& params,
        const std::string& out) {
  if (ComputeMidpointsAndOffsets(section, Settings().numThreads) != 0) {
    LogPrint(LogError, "\nERROR: the traces have no usable source and receiver coordinates");
    return 1;
  }
  section.Scan();
  std::vector<int32_t> kept = RetainedMidpoints(section, params.maxOffset);
  LogPrint(LogStep, "%s", RetainedMidpointsText(static_cast<int32_t>(kept.size()), section.Count()).c_str());
  CliProgress progress("bin");
  std::unique_ptr<SeismicSection> binned;
  if (BinSection(section, params, profile, &binned, std::ref(progress)) != 0) return 1;
  LogPrint(LogStep, "%d binned traces in bins %d to %d", binned->Count(), binned->Trace(0)->CDP,
           binned->Trace(binned->Count() - 1)->CDP);
  return WriteProcessedSection(*binned, out) == 0 ? 0 : 1;
}

int RunBin(const CommandArgs& args) {
  Options opts(args.args);
  auto out = opts.Value("-o");
  if (!out) out = opts.Value("--output");
  auto profilePath = opts.Value("--profile");
  BinningParams params;
  bool paramsOk = ReadParams(opts, &params);
  std::vector<std::string> files;
  if (!opts.Rest(&files)) return 2;
  if (files.empty() || !out || out->empty() || !profilePath || !paramsOk) {
    LogPrint(LogError,
             "\nERROR: bin needs input files, --profile PROFILE.txt, --bin-size B > 0 and -o OUTPUT"
             " (optional --max-offset O, --max-distance D)");
    return 2;
  }
  std::vector<ProfilePoint> points;
  if (LoadProfileText(*profilePath, &points) != 0) return 1;
  Profile profile(points);
  if (profile.Count() < 2) {
    LogPrint(LogError, "\nERROR: the profile needs at least 2 points");
    return 1;
  }
  int status = 0;
  auto section = LoadSectionForCli(files, &status);
  if (!section) return 1;
  return Bin(*section, profile, params, *out);
}
}  // namespace

KX_COMMAND("bin", "bin IN... --profile PROFILE.txt --bin-size B [--max-offset O] [--max-distance D] -o OUT",
           "2D binning of the source-receiver midpoints along a digitized profile", RunBin);
