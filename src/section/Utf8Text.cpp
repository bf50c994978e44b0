#include "section/Utf8Text.h"

namespace {
bool IsContinuation(char c) {
  return (static_cast<unsigned char>(c) & 0xC0u) == 0x80u;
}
}  // namespace

std::size_t Utf8Length(std::string_view s) {
  std::size_t n = 0;
  for (char c : s)
    if (!IsContinuation(c)) ++n;
  return n;
}

std::size_t Utf8PrefixBytes(std::string_view s, std::size_t maxChars) {
  std::size_t chars = 0;
  for (std::size_t i = 0; i < s.size(); ++i) {
    if (IsContinuation(s[i])) continue;
    if (chars == maxChars) return i;
    ++chars;
  }
  return s.size();
}

std::size_t Utf8AppendBounded(std::string& out, std::string_view piece, std::size_t maxPiece,
                              std::size_t maxTotal) {
  std::size_t have = Utf8Length(out);
  if (have >= maxTotal) return 0;
  std::size_t room = maxTotal - have;
  std::size_t take = maxPiece < room ? maxPiece : room;
  std::string_view cut = Utf8Prefix(piece, take);
  out.append(cut);
  return Utf8Length(cut);
}
