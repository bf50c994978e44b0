// kxtool sort: the trace order by up to three keys of the sort key table,
// written to OUT.
#include <cstdlib>
#include <string>
#include <vector>

#include "cli/CliLoad.h"
#include "cli/Command.h"
#include "cli/Options.h"
#include "cli/ProcessOutput.h"
#include "log/Log.h"
#include "log/Status.h"
#include "processing/TraceSort.h"
#include "section/SortKeyTable.h"

namespace {
// "NAME" or "NAME:asc" / "NAME:desc" into params; false when unknown.
bool AddKey(const std::string& text, SortParams* p) {
  std::string name = text;
  int32_t dir = kSortAscending;
  std::size_t colon = text.rfind(':');
  if (colon != std::string::npos) {
    std::string d = text.substr(colon + 1);
    name = text.substr(0, colon);
    if (d == "desc")
      dir = kSortDescending;
    else if (d != "asc")
      return false;
  }
  int id = FindSortKeyByName(name);
  if (id < 1 || p->keyCount >= kMaxSortKeys) return false;
  for (int32_t k = 0; k < p->keyCount; ++k)
    if (p->keys[k] == id) return false;
  p->keys[p->keyCount] = id;
  p->directions[p->keyCount] = dir;
  ++p->keyCount;
  return true;
}

bool ReadKeys(Options& opts, SortParams* p) {
  while (auto key = opts.Value("--key")) {
    if (!AddKey(*key, p)) {
      LogPrint(LogError, "\nERROR: bad, repeated or fourth sort key '%s'", key->c_str());
      return false;
    }
  }
  if (auto w = opts.Value("--class-width")) {
    char* end = nullptr;
    double v = std::strtod(w->c_str(), &end);
    if (end == w->c_str() || *end != '\0' || !(v > 0.0) || v > 3.0e38) return false;
    p->classWidth = static_cast<float>(v);
  }
  return p->keyCount > 0;
}

int RunSort(const CommandArgs& args) {
  Options opts(args.args);
  auto out = opts.Value("-o");
  if (!out) out = opts.Value("--output");
  SortParams params;
  bool keysOk = ReadKeys(opts, &params);
  std::vector<std::string> files;
  if (!opts.Rest(&files)) return 2;
  if (files.empty() || !out || out->empty() || !keysOk) {
    LogPrint(LogError,
             "\nERROR: sort needs input files, -o OUTPUT and 1 to 3 different --key NAME[:desc]"
             " (names such as FLDR, CHAN, CDP, OFFSET, OFFCLS, TRACL; --class-width W > 0)");
    return 2;
  }
  int status = 0;
  auto section = LoadSectionForCli(files, &status);
  if (!section) return 1;
  if (section->Count() < 2) {
    LogPrint(LogError, "\nERROR: a section of fewer than 2 traces cannot be sorted");
    return 1;
  }
  int r = SortSection(*section, params);
  if (r == kStatusNoMemory) return 1;
  if (r == 0) {
    const SortKeyRow* key = FindSortKey(section->m_ensembleKey);
    LogPrint(LogStep, "%d ensembles by%s", section->m_ensembleCount, key ? key->label : " ?");
  } else {
    LogPrint(LogStep, "sorted, no ensembles");
  }
  return WriteProcessedSection(*section, *out) == 0 ? 0 : 1;
}
}  // namespace

KX_COMMAND("sort", "sort IN... -o OUT --key NAME[:desc] [--key ...] [--class-width W]",
           "order the traces by up to three header keys (FLDR, CHAN, CDP, OFFSET, ...)", RunSort);
