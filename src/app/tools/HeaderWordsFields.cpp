#include "app/tools/HeaderWordsFields.h"

#include <cerrno>
#include <climits>
#include <cstdlib>

#include "log/Log.h"

namespace {
std::string CutPath(const std::string& path) {
  // A bound on characters: never cut inside a UTF-8 sequence.
  std::size_t chars = 0, i = 0;
  for (; i < path.size(); ++i) {
    if ((static_cast<unsigned char>(path[i]) & 0xC0) != 0x80 && chars++ == kHeaderWordsPathChars) break;
  }
  return path.substr(0, i);
}

// Empty gives -1; otherwise an integer of at least minimum, else false.
bool ReadTrace(const std::string& text, int64_t minimum, int32_t* value) {
  std::size_t a = text.find_first_not_of(" \t");
  if (a == std::string::npos) {
    *value = -1;
    return true;
  }
  std::size_t b = text.find_last_not_of(" \t");
  std::string t = text.substr(a, b - a + 1);
  errno = 0;
  char* end = nullptr;
  long long v = std::strtoll(t.c_str(), &end, 10);
  if (errno != 0 || *end != '\0' || v < minimum || v > INT_MAX) return false;
  *value = static_cast<int32_t>(v);
  return true;
}

void LogBadParameters() {
  LogPrint(LogError, "\nERROR: bad parameters in Export SEGY/SU Trace Headers\n");
}
}  // namespace

int ReadExportFields(const ExportFieldTexts& texts, HeaderWordsChoices* choices) {
  HeaderWordsChoices c = *choices;
  c.seismicPath = CutPath(texts.seismicPath);
  c.textPath = CutPath(texts.textPath);
  c.separator = texts.separator;
  c.words = texts.words;
  int errors = 0;
  if (c.seismicPath.empty() || c.textPath.empty()) errors |= kExportPathMissing;
  bool any = false;
  for (int w = 1; w <= kSegyWordSegb; ++w) any = any || c.words.Selected(w);
  if (!any) errors |= kExportNoWord;
  if (!ReadTrace(texts.firstTrace, 1, &c.firstTrace)) errors |= kExportBadFirst;
  int64_t lowest = (errors & kExportBadFirst) || c.firstTrace < 1 ? 1 : c.firstTrace;
  if (!ReadTrace(texts.lastTrace, lowest, &c.lastTrace)) errors |= kExportBadLast;
  if (errors & kExportBadFirst) c.firstTrace = choices->firstTrace;
  if (errors & kExportBadLast) c.lastTrace = choices->lastTrace;
  *choices = c;
  if (errors) LogBadParameters();
  return errors;
}

bool ReadImportPaths(const std::string& textPath, const std::string& seismicPath,
                     HeaderWordsChoices* choices) {
  choices->textPath = CutPath(textPath);
  choices->seismicPath = CutPath(seismicPath);
  if (choices->textPath.empty() || choices->seismicPath.empty()) {
    LogBadParameters();
    return false;
  }
  return true;
}
