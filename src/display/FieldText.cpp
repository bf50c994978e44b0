#include "display/FieldText.h"

#include <charconv>
#include <cmath>

#include "log/Log.h"
#include "section/SeismicSection.h"

std::string FormatFieldValue(double value) {
  double magnitude = std::fabs(value);
  if (magnitude >= 1e7 || !std::isfinite(value)) return StrPrintf("%.2E", value);
  int decimals = magnitude < 0.001  ? 6
                 : magnitude < 0.01 ? 5
                 : magnitude < 0.1  ? 4
                 : magnitude < 10   ? 3
                 : magnitude < 100  ? 2
                 : magnitude < 1000 ? 1
                                    : 0;
  return StrPrintf("%.*f", decimals, value);
}

void TrimTrailingZeros(std::string* text) {
  std::size_t point = text->find('.');
  if (point == std::string::npos) return;
  std::size_t end = text->find_last_not_of('0');
  if (end == point) end = point - 1;  // nothing after the point: drop it too
  text->erase(end + 1);
}

std::string FormatTrimmed3(double value) {
  if (value == DBLE_UNDEF || !std::isfinite(value)) return std::string();
  std::string text = StrPrintf("%.3f", value);
  TrimTrailingZeros(&text);
  return text;
}

namespace {

// Trims blanks; returns false for an empty field.
bool TrimBlanks(std::string* text) {
  const char* blanks = " \t\r\n";
  std::size_t first = text->find_first_not_of(blanks);
  if (first == std::string::npos) {
    text->clear();
    return false;
  }
  *text = text->substr(first, text->find_last_not_of(blanks) - first + 1);
  return true;
}

// Parses the longest readable prefix; returns its length (0 when none).
template <typename T>
std::size_t ParsePrefix(const std::string& text, T* out) {
  std::size_t start = text.size() > 1 && text[0] == '+' && text[1] != '-' ? 1 : 0;
  const char* begin = text.data() + start;
  auto [end, ec] = std::from_chars(begin, text.data() + text.size(), *out);
  if (ec != std::errc()) return 0;
  if constexpr (std::is_floating_point_v<T>) {
    if (!std::isfinite(*out)) return 0;
  }
  return static_cast<std::size_t>(end - text.data());
}

template <typename T>
int ReadField(std::string* text, T* value) {
  if (!TrimBlanks(text)) return kFieldEmpty;
  T parsed{};
  std::size_t used = ParsePrefix(*text, &parsed);
  if (used > 0) *value = parsed;
  if (used == text->size()) return 0;
  text->erase(used);
  return kFieldCutShort;
}

}  // namespace

int ReadFieldDouble(std::string* text, double* value) {
  return ReadField(text, value);
}

int ReadFieldInt(std::string* text, int32_t* value) {
  return ReadField(text, value);
}
