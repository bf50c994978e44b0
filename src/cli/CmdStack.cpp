// kxtool stack: the selective stack of repeated shot files, channel by
// channel, with traces or whole gathers left out, written in the shots' own
// format (SEG-Y rev 1 for SEG-Y and SU shots, SEG-2 for SEG-2 shots).
#include <cstdint>
#include <string>
#include <vector>

#include "app/SaveStacks.h"
#include "cli/CliLoad.h"
#include "cli/Command.h"
#include "cli/Options.h"
#include "formats/DetectFileType.h"
#include "log/Log.h"
#include "processing/SelectiveStack.h"

namespace {
struct Exclusions {
  std::vector<std::pair<long long, long long>> traces;  // (FLDR, 1-based channel position)
  std::vector<long long> gathers;                       // FLDR
};

bool ReadExclusions(Options& opts, Exclusions* ex) {
  while (auto v = opts.Value("--exclude-trace")) {
    std::size_t colon = v->find(':');
    long long fldr = 0, chan = 0;
    if (colon == std::string::npos || !ParseInteger(v->substr(0, colon), &fldr) ||
        !ParseInteger(v->substr(colon + 1), &chan)) {
      LogPrint(LogError, "\nERROR: --exclude-trace takes FILE_NO:CHAN, not '%s'", v->c_str());
      return false;
    }
    ex->traces.push_back({fldr, chan});
  }
  while (auto v = opts.Value("--exclude-gather")) {
    long long fldr = 0;
    if (!ParseInteger(*v, &fldr)) {
      LogPrint(LogError, "\nERROR: --exclude-gather takes FILE_NO, not '%s'", v->c_str());
      return false;
    }
    ex->gathers.push_back(fldr);
  }
  return true;
}

const Gather* FindGather(const SeismicSection& s, const std::vector<Gather>& gathers, long long fldr) {
  for (const Gather& g : gathers)
    if (g.count > 0 && s.Trace(g.first)->FLDR == fldr) return &g;
  LogPrint(LogError, "\nERROR: no gather with file number (FLDR) %lld", fldr);
  return nullptr;
}

// Marks the excluded traces (TSKIP); false when one names nothing.
bool ApplyExclusions(SeismicSection& s, const std::vector<Gather>& gathers, const Exclusions& ex) {
  for (auto [fldr, chan] : ex.traces) {
    const Gather* g = FindGather(s, gathers, fldr);
    if (!g) return false;
    if (chan < 1 || chan > g->count) {
      LogPrint(LogError, "\nERROR: gather %lld has channels 1 to %d, not %lld", fldr, g->count, chan);
      return false;
    }
    s.Trace(g->first + static_cast<int32_t>(chan) - 1)->TSKIP = 1;
  }
  for (long long fldr : ex.gathers) {
    const Gather* g = FindGather(s, gathers, fldr);
    if (!g) return false;
    for (int32_t i = g->first; i < g->first + g->count; ++i) s.Trace(i)->TSKIP = 1;
  }
  return true;
}

// The output name: the stack format's extension appended when OUT has none;
// refused when OUT's extension names another seismic format.
bool OutputPath(const std::string& out, int fileType, std::string* path) {
  int format = StackSaveFormat(fileType);
  if (format == kFileUnknown) {
    LogPrint(LogError, "\nERROR: stacks of file type %d cannot be saved (SEG-Y, SU or SEG-2 shots only)",
             fileType);
    return false;
  }
  int named = FileTypeFromExtension(PathExtension(out));
  if (named != kFileUnknown && named != format) {
    LogPrint(LogError, "\nERROR: the stacks of these shots are written as %s; '%s' names another format",
             format == kFileSeg2 ? "SEG-2 (.seg2, .sg2)" : "SEG-Y rev 1 (.segy, .sgy)", out.c_str());
    return false;
  }
  *path = StackSavePath(out, fileType);
  return true;
}

int Stack(SeismicSection& s, const Exclusions& ex) {
  if (AssignGatherNumbers(s) != 0) {
    LogPrint(LogError, "\nERROR:%s", kStackMissingFfid);
    return 1;
  }
  std::vector<Gather> gathers;
  const char* refusal = nullptr;
  if (PrepareStack(s, &gathers, &refusal) != 0) {
    LogPrint(LogError, "\nERROR:%s", refusal ? refusal : kStackNoMemory);
    return 1;
  }
  if (!ApplyExclusions(s, gathers, ex)) return 1;
  if (AllocateStackFor(s, gathers) != 0) {
    LogPrint(LogError, "\nERROR:%s", kStackNoMemory);
    return 1;
  }
  int status = StackAllGathers(s, gathers);
  if (status != 0) {
    LogPrint(LogError, "\nERROR in StackGathers() status=%d\n", status);
    return 1;
  }
  LogPrint(LogStep, "%d gathers of %d traces stacked", static_cast<int>(gathers.size()), gathers[0].count);
  return 0;
}

int RunStack(const CommandArgs& args) {
  Options opts(args.args);
  auto out = opts.Value("-o");
  if (!out) out = opts.Value("--output");
  Exclusions ex;
  bool exOk = ReadExclusions(opts, &ex);
  std::vector<std::string> files;
  if (!opts.Rest(&files)) return 2;
  if (files.empty() || !out || out->empty() || !exOk) {
    LogPrint(LogError,
             "\nERROR: stack needs shot files, -o OUTPUT, and takes --exclude-trace FILE_NO:CHAN and"
             " --exclude-gather FILE_NO (FILE_NO: the digits ending the file's name, else the FFID;"
             " CHAN: 1-based position in the gather by TRACF)");
    return 2;
  }
  LoadParams params;
  params.takeNameDigits = 1;  // shot_0123.sgy is file number 123
  int status = 0;
  auto section = LoadSectionForCli(files, &status, params);
  if (!section) return 1;
  std::string path;
  if (!OutputPath(*out, section->FileType(), &path)) return 1;
  if (Stack(*section, ex) != 0) return 1;
  return SaveStacks(*section, path) == 0 ? 0 : 1;
}
}  // namespace

KX_COMMAND("stack", "stack SHOTS... -o OUT [--exclude-trace FILE_NO:CHAN]... [--exclude-gather FILE_NO]...",
           "sum repeated shots per channel; FILE_NO = digits ending a file's name (else its FFID), CHAN ="
           " 1-based position in that gather by TRACF; written as SEG-Y rev 1 (SEG-Y/SU shots) or SEG-2",
           RunStack);
