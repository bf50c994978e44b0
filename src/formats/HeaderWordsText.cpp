#include "formats/HeaderWordsText.h"

#include <strings.h>

#include <cerrno>
#include <climits>
#include <cstdlib>

#include "log/Log.h"
#include "section/SegyWordTable.h"

namespace {
bool IsBlank(char c) {
  return c == ' ' || c == '\t';
}
bool IsSeparator(char c) {
  return c == ';' || c == ',';
}
}  // namespace

std::string HeaderWordsTitleLine(const SegyWordSelection& words, char separator) {
  std::string line = "idx";
  for (int w = 1; w <= kSegyWordSegb; ++w) {
    if (!words.Selected(w)) continue;
    line += separator;
    line += FindSegyWord(w)->mnemonic;
  }
  return line;
}

std::string HeaderWordsDataLine(int64_t position, const uint8_t* header, const SegyWordSelection& words,
                                char separator) {
  std::string line = StrPrintf("%lld", static_cast<long long>(position));
  for (int w = 1; w <= kSegyWordSegb; ++w) {
    if (!words.Selected(w)) continue;
    line += StrPrintf("%c%d", separator, SegyWordGet(header, w));
  }
  return line;
}

std::vector<std::string> SplitHeaderWordsLine(const std::string& text) {
  std::vector<std::string> fields;
  std::size_t n = text.size();
  while (n > 0 && (text[n - 1] == '\r' || text[n - 1] == '\n')) --n;
  std::size_t i = 0;
  while (i < n && IsBlank(text[i])) ++i;
  if (i == n || text[i] == '#') return fields;
  while (true) {
    std::string field;
    if (i < n && (text[i] == '"' || text[i] == '\'')) {
      char quote = text[i++];
      while (i < n && text[i] != quote) field += text[i++];
      if (i < n) ++i;
      while (i < n && !IsBlank(text[i]) && !IsSeparator(text[i])) ++i;
    } else {
      while (i < n && !IsBlank(text[i]) && !IsSeparator(text[i])) field += text[i++];
    }
    fields.push_back(field);
    while (i < n && IsBlank(text[i])) ++i;
    if (i >= n) break;
    if (IsSeparator(text[i])) {
      ++i;
      while (i < n && IsBlank(text[i])) ++i;
      if (i >= n) {
        fields.emplace_back();  // a separator at the end leaves an empty last field
        break;
      }
    }
  }
  return fields;
}

bool ParseHeaderWordValue(const std::string& field, int64_t* value) {
  if (field.empty()) return false;
  errno = 0;
  char* end = nullptr;
  long long v = std::strtoll(field.c_str(), &end, 10);
  if (errno != 0 || *end != '\0' || end == field.c_str()) return false;
  if (v < INT_MIN || v > INT_MAX) return false;
  *value = v;
  return true;
}

char HeaderWordsSeparator(const std::string& name) {
  if (name == "semicolon" || name == ";") return ';';
  if (name == "comma" || name == ",") return ',';
  if (name == "tab") return '\t';
  return 0;
}

int HeaderWordsFileKind(const std::string& path, std::string* ext) {
  std::size_t slash = path.find_last_of("/\\");
  std::size_t dot = path.rfind('.');
  ext->clear();
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return 0;
  *ext = path.substr(dot);
  if (strcasecmp(ext->c_str(), ".segy") == 0 || strcasecmp(ext->c_str(), ".sgy") == 0) return 1;
  if (strcasecmp(ext->c_str(), ".su") == 0) return 2;
  return 0;
}
