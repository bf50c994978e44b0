// kxtool headers export / import: trace header words of a SEG-Y or SU file to
// delimited text and back into the file, in place.
#include <sstream>
#include <string>
#include <vector>

#include "cli/Command.h"
#include "cli/Options.h"
#include "formats/HeaderWordsExport.h"
#include "formats/HeaderWordsText.h"
#include "log/Log.h"
#include "section/SegyWordTable.h"

namespace {
// Selects exactly the listed words; false (logged) for a name that is no word.
bool SelectWords(const std::string& list, SegyWordSelection* selection) {
  std::vector<int> words;
  std::stringstream in(list);
  std::string name;
  while (std::getline(in, name, ',')) {
    if (name.empty()) continue;
    int w = SegyWordLookup(name);
    if (w == 0) {
      LogPrint(LogError, "\nERROR: '%s' is not a SEG-Y trace header word", name.c_str());
      return false;
    }
    words.push_back(w);
  }
  if (words.empty()) {
    LogPrint(LogError, "\nERROR: bad parameters in Export SEGY/SU Trace Headers\n");
    return false;
  }
  for (int w = 1; w <= kSegyWordSegb; ++w) selection->Set(w, false);
  for (int w : words) selection->Set(w, true);
  return true;
}

int RunExport(const CommandArgs& args) {
  Options opts(args.args);
  auto words = opts.Value("--words");
  char sep = ';';
  if (auto s = opts.Value("--sep")) sep = HeaderWordsSeparator(*s);
  long long from = -1, to = -1;
  std::vector<std::string> files;
  if (!opts.Int("--from", &from) || !opts.Int("--to", &to) || !opts.Rest(&files)) return 2;
  bool badRange = (from != -1 && from < 1) || (to != -1 && (to < 1 || (from != -1 && to < from)));
  if (files.size() != 2 || sep == 0 || !words || badRange || from > 2147483647 || to > 2147483647) {
    LogPrint(LogError, "\nERROR: bad parameters in Export SEGY/SU Trace Headers\n");
    return 2;
  }
  SegyWordSelection selection;
  if (!SelectWords(*words, &selection)) return 2;
  int rc = ExportHeaderWords(files[0], files[1], selection, sep, static_cast<int32_t>(from),
                             static_cast<int32_t>(to));
  return rc == 0 ? 0 : 1;
}

int RunImport(const CommandArgs& args) {
  Options opts(args.args);
  std::vector<std::string> files;
  if (!opts.Rest(&files)) return 2;
  if (files.size() != 2 || files[0].empty() || files[1].empty()) {
    LogPrint(LogError, "\nERROR: bad parameters in Export SEGY/SU Trace Headers\n");
    return 2;
  }
  return ImportHeaderWords(files[0], files[1]) == 0 ? 0 : 1;
}
}  // namespace

KX_COMMAND("headers export",
           "headers export SEISMIC TEXT --words W1,W2,... [--sep semicolon|comma|tab] [--from N] [--to M]",
           "write trace header words of a SEG-Y/SU file as delimited text", RunExport);
KX_COMMAND("headers import", "headers import TEXT SEISMIC",
           "rewrite trace header words of a SEG-Y/SU file in place from delimited text", RunImport);
