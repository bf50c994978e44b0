// kxtool traces: one JSON object per line for each trace of the loaded section.
#include <cctype>
#include <cmath>
#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

#include "cli/CliLoad.h"
#include "cli/Command.h"
#include "cli/Options.h"
#include "log/Log.h"
#include "section/TraceFields.h"

namespace {
bool SplitFields(const std::string& list, std::vector<const TraceField*>* out) {
  std::stringstream ss(list);
  std::string name;
  while (std::getline(ss, name, ',')) {
    for (char& c : name) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    const TraceField* f = FindTraceField(name);
    if (!f) {
      LogPrint(LogError, "\nERROR: no trace field named \"%s\"", name.c_str());
      return false;
    }
    out->push_back(f);
  }
  return !out->empty();
}

std::string FieldValue(const TraceRecord* t, const TraceField& f) {
  double v = GetFieldValue(t, f.type, f.offset);
  if (f.type == kTypeF32) return std::isfinite(v) ? StrPrintf("%.9g", v) : "null";
  if (f.type == kTypeF64) return std::isfinite(v) ? StrPrintf("%.17g", v) : "null";
  return StrPrintf("%.0f", v);
}

std::string TraceJson(const TraceRecord* t, int index, const std::vector<const TraceField*>& fields,
                      long long k) {
  std::string j = "{\"index\": " + std::to_string(index);
  j += ", \"ns\": " + std::to_string(t->NS);
  j += ", \"dt\": " + JsonNumber(t->DT);
  j += ", \"delay\": " + JsonNumber(t->DELAY);
  j += ", \"amax\": " + (std::isfinite(t->AMAX) ? StrPrintf("%.9g", t->AMAX) : std::string("null"));
  j += ", \"fields\": {";
  for (std::size_t i = 0; i < fields.size(); ++i) {
    if (i) j += ", ";
    j += "\"" + std::string(fields[i]->name) + "\": " + FieldValue(t, *fields[i]);
  }
  j += "}, \"samples\": [";
  long long n = k < t->NS ? k : t->NS;
  for (long long i = 0; i < n; ++i) {
    if (i) j += ", ";
    float s = t->Samples()[i];
    j += std::isfinite(s) ? StrPrintf("%.9g", s) : std::string("null");
  }
  return j + "]}";
}

int RunTraces(const CommandArgs& args) {
  Options opts(args.args);
  long long from = 0, to = 2147483647, k = 0;
  if (!opts.Int("--from", &from) || !opts.Int("--to", &to) || !opts.Int("--samples", &k)) return 2;
  std::vector<const TraceField*> fields;
  if (auto list = opts.Value("--fields")) {
    if (!SplitFields(*list, &fields)) return 2;
  } else {
    for (const TraceField& f : TraceFields()) fields.push_back(&f);
  }
  std::vector<std::string> files;
  if (!opts.Rest(&files)) return 2;
  if (files.empty() || from < 0 || k < 0) {
    LogPrint(LogError, "\nERROR: traces needs files, --from >= 0 and --samples >= 0");
    return 2;
  }
  // Only the traces printed are read: the readers pass over the others.
  LoadParams params;
  params.keepFrom = from;
  params.keepTo = to;
  int status = 0;
  int64_t skipped = 0;
  auto section = LoadSectionForCli(files, &status, params, &skipped);
  if (!section) return 1;
  for (long long i = from; i <= to && i - skipped < section->Count(); ++i) {
    const TraceRecord* t = section->Trace(static_cast<int>(i - skipped));
    std::fputs(TraceJson(t, static_cast<int>(i), fields, k).c_str(), stdout);
    std::fputc('\n', stdout);
  }
  return 0;
}
}  // namespace

KX_COMMAND("traces", "traces [--from N] [--to M] [--fields F1,F2] [--samples K] FILE...",
           "print each trace's header fields and first samples as JSON lines (index 0-based)", RunTraces);
