// kxtool headers export / import: trace header words of a SEG-Y or SU file to
// delimited text and back into the file, in place.
#include <sstream>
#include <string>
#include <vector>

#include "app/tools/HeaderWordsFields.h"
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
  ExportFieldTexts texts;
  if (auto s = opts.Value("--sep")) texts.separator = HeaderWordsSeparator(*s);
  texts.firstTrace = opts.Value("--from").value_or("");
  texts.lastTrace = opts.Value("--to").value_or("");
  std::vector<std::string> files;
  if (!opts.Rest(&files)) return 2;
  if (files.size() != 2 || texts.separator == 0 || !words) {
    LogPrint(LogError, "\nERROR: bad parameters in Export SEGY/SU Trace Headers\n");
    return 2;
  }
  if (!SelectWords(*words, &texts.words)) return 2;
  texts.seismicPath = files[0];
  texts.textPath = files[1];
  // The same reading rule as the export dialog's.
  HeaderWordsChoices c;
  if (ReadExportFields(texts, &c) != 0) return 2;
  int rc = ExportHeaderWords(c.seismicPath, c.textPath, c.words, c.separator, c.firstTrace, c.lastTrace);
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
