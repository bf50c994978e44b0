// kxtool convert: load files as one section and write it. SEG-Y rev 1, SU and
// SEG-2 go through the Save Dataset path (time crop, trace selection, offset
// limit, active filter and the format checks); KXF writes the whole section.
// The format comes from --format or from the output file's extension.
#include <algorithm>
#include <cctype>
#include <sstream>
#include <string>
#include <vector>

#include "app/AppSettings.h"
#include "app/SaveDataset.h"
#include "app/SavePrep.h"
#include "cli/CliLoad.h"
#include "cli/Command.h"
#include "cli/FilterArgument.h"
#include "cli/Options.h"
#include "cli/ProcessOutput.h"
#include "formats/DetectFileType.h"
#include "formats/KxfWriter.h"
#include "log/Log.h"
#include "processing/ActiveFilter.h"
#include "section/SeismicSection.h"

namespace {

struct ConvertArgs {
  std::string out, format, crop, filter, offsetLimit, select;
  std::vector<std::string> files;
};

std::vector<std::string> Split(const std::string& text) {
  std::vector<std::string> parts;
  std::stringstream in(text);
  std::string part;
  while (std::getline(in, part, ':')) parts.push_back(part);
  if (!text.empty() && text.back() == ':') parts.emplace_back();
  return parts;
}

bool BadField(const char* option, const std::string& text) {
  LogPrint(LogError, "\nERROR: bad value '%s' in %s", text.c_str(), option);
  return false;
}

// --crop T0:T1 in the section's display time unit; an empty end means the last sample.
bool ApplyCrop(const std::string& text, SaveParams& p) {
  std::vector<std::string> parts = Split(text);
  std::string prefix;
  if (parts.size() != 2 || !ParseRealField(parts[0], 47, &p.timeStart, &prefix) ||
      !ParseRealField(parts[1], 47, &p.timeEnd, &prefix))
    return BadField("--crop", text);
  p.timeCropOn = 1;
  return true;
}

bool ApplyOffsetLimit(const std::string& text, SaveParams& p) {
  double limit = 0;
  std::string prefix;
  if (!ParseRealField(text, 31, &limit, &prefix) || !(limit > 0.0)) return BadField("--offset-limit", text);
  p.offsetLimit = static_cast<float>(limit);
  p.offsetLimitOn = 1;
  return true;
}

bool ParseRange(const std::string* f, IntRange* r) {
  std::string prefix;
  if (!ParseIntField(f[0], 15, &r->from, &prefix) || !ParseIntField(f[1], 15, &r->to, &prefix)) return false;
  int32_t step = 1;
  if (!ParseIntField(f[2], 15, &step, &prefix)) return false;
  r->step = step == kNotGiven || step < 1 ? 1 : step;
  return true;
}

// --select MODE:FROM:TO:STEP[:FROM:TO:STEP]; mode 3 takes X from:to and Y from:to
// coordinates in the places of the two ranges (its steps are ignored).
bool ApplySelect(const std::string& text, SaveParams& p) {
  std::vector<std::string> f = Split(text);
  int32_t mode = 0;
  std::string prefix;
  if (f.size() < 4 || !ParseIntField(f[0], 15, &mode, &prefix) || mode < 1 || mode > 5)
    return BadField("--select", text);
  while (f.size() < 7) f.emplace_back();
  if (f.size() > 7 || (mode == kCropTraceIndex && !f[4].empty())) return BadField("--select", text);
  bool ok = true;
  if (mode == kCropCdpCoord) {
    ok = ParseRealField(f[1], 47, &p.cdpXFrom, &prefix) && ParseRealField(f[2], 47, &p.cdpXTo, &prefix) &&
         ParseRealField(f[4], 47, &p.cdpYFrom, &prefix) && ParseRealField(f[5], 47, &p.cdpYTo, &prefix);
  } else {
    IntRange* first[] = {&p.crossline, &p.cdp, nullptr, &p.ffid, &p.traceIndex};
    IntRange* second[] = {&p.inline_, &p.line, nullptr, &p.channel, nullptr};
    ok = ParseRange(&f[1], first[mode - 1]);
    // A second range not given keeps the section's full range.
    bool secondGiven = !f[4].empty() || !f[5].empty() || !f[6].empty();
    if (ok && second[mode - 1] && secondGiven) ok = ParseRange(&f[4], second[mode - 1]);
  }
  if (!ok) return BadField("--select", text);
  p.cropMode = mode;
  p.traceCropOn = 1;
  return true;
}

bool ParseArgs(const CommandArgs& args, ConvertArgs* a) {
  Options opts(args.args);
  auto take = [&](const char* name, std::string* out) {
    if (auto v = opts.Value(name)) *out = *v;
  };
  take("-o", &a->out);
  take("--output", &a->out);
  take("--format", &a->format);
  take("--crop", &a->crop);
  take("--filter", &a->filter);
  take("--offset-limit", &a->offsetLimit);
  take("--select", &a->select);
  if (!opts.Rest(&a->files)) return false;
  if (a->files.empty() || a->out.empty()) {
    LogPrint(LogError, "\nERROR: convert needs input files and -o OUTPUT");
    return false;
  }
  return true;
}

int SaveSection(SeismicSection& section, const ConvertArgs& a, int format) {
  SaveParams p;
  ResetSaveParamsFromSection(p, section);
  p.format = format;
  if (!a.crop.empty() && !ApplyCrop(a.crop, p)) return 2;
  if (!a.offsetLimit.empty() && !ApplyOffsetLimit(a.offsetLimit, p)) return 2;
  if (!a.select.empty() && !ApplySelect(a.select, p)) return 2;
  if (!a.filter.empty()) {
    ActiveFilterDatasetLoaded(section.Summary().minInterval);
    if (SetActiveFilterFromArgument(a.filter) != 0) return 2;
    p.applyFilter = 1;
  }
  SaveResult r = SaveDataset(section, p, a.out, &ActiveFilter(), Settings().numThreads);
  if (!r.message.empty()) LogPrint(LogError, "\nERROR: %s", r.message.c_str());
  return r.code == 0 ? 0 : 1;
}

int RunConvert(const CommandArgs& args) {
  ConvertArgs a;
  if (!ParseArgs(args, &a)) return 2;
  int format = OutputFormatFor(a.format, a.out);
  if (format == 0) {
    LogPrint(LogError, "\nERROR: no writer for the output file '%s'", a.out.c_str());
    LogPrint(
        LogError,
        "output formats: --format segy|su|seg2|kxf, or by extension .segy .sgy .su .seg2 .sg2 .dat .kxf");
    return 2;
  }
  bool saveOptions = !a.crop.empty() || !a.filter.empty() || !a.offsetLimit.empty() || !a.select.empty();
  if (format == kOutputKxf && saveOptions) {
    LogPrint(LogError,
             "\nERROR: KXF output takes the whole section: no --crop, --filter, --offset-limit or --select");
    return 2;
  }
  int status = 0;
  auto section = LoadSectionForCli(a.files, &status);
  if (!section) return 1;
  // The writers replace OUT only once it is complete, so OUT may also be an input.
  if (format == kOutputKxf) return WriteKxf(*section, a.out) == 0 ? 0 : 1;
  return SaveSection(*section, a, format);
}
}  // namespace

KX_COMMAND(
    "convert",
    "convert IN... -o OUT [--format segy|su|seg2|kxf] [--crop T0:T1] [--filter FILTER] [--offset-limit L] "
    "[--select MODE:FROM:TO:STEP[:FROM:TO:STEP]]",
    "load files as one section and write it (SEG-Y rev 1, SU, SEG-2 or KXF); --select MODE: 1 "
    "crossline:inline, "
    "2 cdp:line, 3 cdpx:cdpy (coordinate windows, steps ignored), 4 ffid:chan, 5 trace index (one range)",
    RunConvert);
