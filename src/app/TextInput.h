// Text input routines shared by the settings file and the other text inputs:
// a bounded line reader, a KEY = value splitter and a forgiving integer parser.
// All are plain functions without state; they never throw.
#pragma once

#include <cstddef>
#include <cstdio>
#include <string>
#include <string_view>

// Longest line the readers keep, in characters; the rest of a longer line is
// discarded.
inline constexpr std::size_t kTextLineMaxChars = 255;

// Reads one line from fp into *line without its LF or CR LF, keeping at most
// maxChars characters (UTF-8 sequences are never cut) and discarding the rest
// of the line. Returns false at the end of the file when nothing was read.
bool ReadTextLine(std::FILE* fp, std::string* line, std::size_t maxChars = kTextLineMaxChars);

// Splits "KEY = value" (or "KEY : value") at the first '=' or ':'. Blanks and
// tabs around the key and the value are removed. Returns false, outputs
// untouched, for a line without either separator.
bool SplitKeyValue(std::string_view line, std::string* key, std::string* value);

// Parses optional blanks, an optional sign and decimal digits, ended by the end
// of the text, a blank, a tab, ',' or ';'. Text that does not start with digits
// gives 0; trailing garbage is ignored. Values beyond the int range saturate.
// Returns the value; *end (when given) receives the number of bytes consumed,
// and *hasDigits whether any digit was found.
int ParseInt(std::string_view text, std::size_t* end = nullptr, bool* hasDigits = nullptr);

// Parses n integers separated by blanks, tabs, ',' or ';'. Returns true only
// when all n have digits; out is written only then.
bool ParseIntList(std::string_view text, int* out, int n);

// Case-insensitive ASCII comparison.
bool EqualsNoCase(std::string_view a, std::string_view b);

// True when text is well-formed UTF-8 (no overlong forms or surrogates).
bool IsValidUtf8(std::string_view text);
