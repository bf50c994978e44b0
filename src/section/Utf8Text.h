// Character-bounded UTF-8 text: bounds of "N characters" applied to UTF-8
// std::string, counting code points and never cutting inside a
// sequence. Plain functions, no state.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// Number of characters (code points) of a UTF-8 text: bytes that are not
// continuation bytes (10xxxxxx).
std::size_t Utf8Length(std::string_view s);
// Byte length of the first maxChars characters of s (all of s when shorter).
std::size_t Utf8PrefixBytes(std::string_view s, std::size_t maxChars);
// The first maxChars characters of s.
inline std::string_view Utf8Prefix(std::string_view s, std::size_t maxChars) {
  return s.substr(0, Utf8PrefixBytes(s, maxChars));
}
// Appends the first maxPiece characters of piece to out, and no more than
// keeps out within maxTotal characters. Returns the characters appended.
std::size_t Utf8AppendBounded(std::string& out, std::string_view piece, std::size_t maxPiece,
                              std::size_t maxTotal);
