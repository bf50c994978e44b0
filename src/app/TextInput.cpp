#include "app/TextInput.h"

#include <climits>
#include <cstdint>

namespace {
bool IsBlank(char c) {
  return c == ' ' || c == '\t';
}
bool IsContinuation(unsigned char c) {
  return (c & 0xC0) == 0x80;
}

std::string_view Trim(std::string_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return s;
}

// Length of the UTF-8 sequence starting at text[i], or 0 when malformed.
std::size_t SequenceLength(std::string_view text, std::size_t i) {
  unsigned char c = static_cast<unsigned char>(text[i]);
  if (c < 0x80) return 1;
  std::size_t n = (c & 0xE0) == 0xC0 ? 2 : (c & 0xF0) == 0xE0 ? 3 : (c & 0xF8) == 0xF0 ? 4 : 0;
  if (n == 0 || i + n > text.size()) return 0;
  uint32_t cp = c & (0x7F >> n);
  for (std::size_t k = 1; k < n; ++k) {
    unsigned char d = static_cast<unsigned char>(text[i + k]);
    if (!IsContinuation(d)) return 0;
    cp = (cp << 6) | (d & 0x3F);
  }
  static const uint32_t kMin[5] = {0, 0, 0x80, 0x800, 0x10000};
  if (cp < kMin[n] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return 0;
  return n;
}
}  // namespace

bool ReadTextLine(std::FILE* fp, std::string* line, std::size_t maxChars) {
  line->clear();
  std::size_t chars = 0;
  bool any = false;
  bool full = false;
  for (int c = std::fgetc(fp); c != EOF; c = std::fgetc(fp)) {
    any = true;
    if (c == '\n') break;
    if (full) continue;
    // A continuation byte belongs to the character already counted.
    if (!IsContinuation(static_cast<unsigned char>(c))) {
      if (chars == maxChars) {
        full = true;
        continue;
      }
      ++chars;
    }
    line->push_back(static_cast<char>(c));
  }
  if (!line->empty() && line->back() == '\r') line->pop_back();
  return any;
}

bool SplitKeyValue(std::string_view line, std::string* key, std::string* value) {
  std::size_t sep = line.find_first_of("=:");
  if (sep == std::string_view::npos) return false;
  *key = std::string(Trim(line.substr(0, sep)));
  *value = std::string(Trim(line.substr(sep + 1)));
  return true;
}

int ParseInt(std::string_view text, std::size_t* end, bool* hasDigits) {
  std::size_t i = 0;
  while (i < text.size() && IsBlank(text[i])) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  int64_t v = 0;
  bool digits = false;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    digits = true;
    if (v <= int64_t{INT_MAX} + 1) v = v * 10 + (text[i] - '0');
  }
  if (negative) v = -v;
  if (v > INT_MAX) v = INT_MAX;
  if (v < INT_MIN) v = INT_MIN;
  if (end) *end = i;
  if (hasDigits) *hasDigits = digits;
  return digits ? static_cast<int>(v) : 0;
}

bool ParseIntList(std::string_view text, int* out, int n) {
  int values[16];
  if (n < 0 || n > 16) return false;
  std::size_t pos = 0;
  for (int k = 0; k < n; ++k) {
    while (pos < text.size() && (IsBlank(text[pos]) || text[pos] == ',' || text[pos] == ';')) ++pos;
    std::size_t used = 0;
    bool digits = false;
    values[k] = ParseInt(text.substr(pos), &used, &digits);
    if (!digits) return false;
    pos += used;
    // Each number must be ended by the end of the text or a separator.
    if (pos < text.size() && !IsBlank(text[pos]) && text[pos] != ',' && text[pos] != ';') return false;
  }
  for (int k = 0; k < n; ++k) out[k] = values[k];
  return true;
}

bool EqualsNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    char x = a[i] >= 'a' && a[i] <= 'z' ? static_cast<char>(a[i] - 32) : a[i];
    char y = b[i] >= 'a' && b[i] <= 'z' ? static_cast<char>(b[i] - 32) : b[i];
    if (x != y) return false;
  }
  return true;
}

bool IsValidUtf8(std::string_view text) {
  for (std::size_t i = 0; i < text.size();) {
    std::size_t n = SequenceLength(text, i);
    if (n == 0) return false;
    i += n;
  }
  return true;
}
