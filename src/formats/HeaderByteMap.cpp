#include "formats/HeaderByteMap.h"

#include <array>
#include <bit>
#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>

#include "formats/SampleConvert.h"
#include "log/Log.h"
#include "section/ByteOrder.h"
#include "section/SegyWordTable.h"

namespace {
constexpr std::array<const char*, 6> kTypeNames = {"i16", "i32", "u16", "u32", "f32", "ibm"};

std::string_view Trim(std::string_view s) {
  while (!s.empty() && std::isspace(static_cast<unsigned char>(s.front()))) s.remove_prefix(1);
  while (!s.empty() && std::isspace(static_cast<unsigned char>(s.back()))) s.remove_suffix(1);
  return s;
}

bool EqualNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
      return false;
  return true;
}

// A whole decimal number of at most 9 digits (no sign: a byte position).
bool ParseByte(std::string_view s, long* out) {
  if (s.empty() || s.size() > 9) return false;
  long v = 0;
  for (char c : s) {
    if (c < '0' || c > '9') return false;
    v = v * 10 + (c - '0');
  }
  *out = v;
  return true;
}

// The user's text in the message, cut so that a stray binary file stays readable.
std::string Quoted(std::string_view text) {
  constexpr std::size_t kMax = 60;
  std::string s(text.substr(0, kMax));
  for (char& c : s)
    if (static_cast<unsigned char>(c) < 0x20) c = '?';
  return "\"" + s + (text.size() > kMax ? "...\"" : "\"");
}

// The raw value at the mapped position, as a double (every type fits one exactly).
double ReadValue(const uint8_t* raw, const HeaderMapEntry& e, bool big) {
  const uint8_t* p = raw + (e.byte - 1);
  switch (e.type) {
    case HeaderMapType::kI16:
      return LoadWord<int16_t>(p, big);
    case HeaderMapType::kI32:
      return LoadWord<int32_t>(p, big);
    case HeaderMapType::kU16:
      return LoadWord<uint16_t>(p, big);
    case HeaderMapType::kU32:
      return LoadWord<uint32_t>(p, big);
    case HeaderMapType::kF32:
      return std::bit_cast<float>(LoadWord<uint32_t>(p, big));
    case HeaderMapType::kIbm:
      return IbmToIeee(LoadWord<uint32_t>(p, big));
  }
  return 0.0;
}

// v rounded into [lo, hi]; *fits false when it had to be changed beyond rounding.
int64_t Fit(double v, int64_t lo, int64_t hi, bool* fits) {
  *fits = std::isfinite(v);
  if (!*fits) return 0;
  double r = std::round(v);
  if (r < static_cast<double>(lo)) {
    *fits = false;
    return lo;
  }
  if (r > static_cast<double>(hi)) {
    *fits = false;
    return hi;
  }
  return static_cast<int64_t>(r);
}
}  // namespace

std::span<const char* const> HeaderMapTypeNames() {
  return kTypeNames;
}

const char* HeaderMapTypeName(HeaderMapType type) {
  return kTypeNames[static_cast<std::size_t>(type)];
}

int HeaderMapTypeBytes(HeaderMapType type) {
  return type == HeaderMapType::kI16 || type == HeaderMapType::kU16 ? 2 : 4;
}

int ParseHeaderMapEntry(std::string_view text, HeaderMapEntry* out, std::string* message) {
  const std::string shown = Quoted(Trim(text));
  std::size_t eq = text.find('=');
  std::size_t colon = eq == std::string_view::npos ? eq : text.find(':', eq + 1);
  if (eq == std::string_view::npos || colon == std::string_view::npos) {
    *message = shown + " is not WORD=BYTE:TYPE (e.g. CDP=189:i32)";
    return kMapMalformed;
  }
  std::string_view name = Trim(text.substr(0, eq));
  std::string_view byteText = Trim(text.substr(eq + 1, colon - eq - 1));
  std::string_view typeText = Trim(text.substr(colon + 1));
  int word = name.empty() ? 0 : SegyWordLookup(name);
  if (word == 0) {
    *message = shown + ": no trace header word named " + Quoted(name);
    return kMapUnknownWord;
  }
  if (word > kSegyLastNumericWord) {
    *message = shown + ": " + std::string(name) + " has no numeric value";
    return kMapUnknownWord;
  }
  long byte = 0;
  if (!ParseByte(byteText, &byte)) {
    *message = shown + ": the byte " + Quoted(byteText) + " is not a whole number";
    return kMapMalformed;
  }
  int type = -1;
  for (std::size_t i = 0; i < kTypeNames.size(); ++i)
    if (EqualNoCase(typeText, kTypeNames[i])) type = static_cast<int>(i);
  if (type < 0) {
    *message = shown + ": unknown type " + Quoted(typeText) + " (i16, i32, u16, u32, f32 or ibm)";
    return kMapUnknownType;
  }
  int size = HeaderMapTypeBytes(static_cast<HeaderMapType>(type));
  if (byte < 1 || byte + size - 1 > kSegyTraceHeaderBytes) {
    *message = shown + StrPrintf(": bytes %ld-%ld are outside the %d-byte trace header (bytes 1-%d)", byte,
                                 byte + size - 1, kSegyTraceHeaderBytes, kSegyTraceHeaderBytes);
    return kMapOutside;
  }
  *out = {word, static_cast<int>(byte), static_cast<HeaderMapType>(type)};
  return 0;
}

std::string HeaderMapEntryText(const HeaderMapEntry& e) {
  const SegyWordRow* row = FindSegyWord(e.word);
  return StrPrintf("%s=%d:%s", row ? row->mnemonic : "?", e.byte, HeaderMapTypeName(e.type));
}

int HeaderByteMap::Add(const HeaderMapEntry& entry, std::string* message) {
  for (const HeaderMapEntry& e : m_entries) {
    if (e.word == entry.word) {
      *message = "\"" + HeaderMapEntryText(entry) + "\": " + FindSegyWord(entry.word)->mnemonic +
                 " is mapped already (" + HeaderMapEntryText(e) + ")";
      return kMapTwice;
    }
  }
  m_entries.push_back(entry);
  return 0;
}

int HeaderByteMap::Add(std::string_view text, std::string* message) {
  HeaderMapEntry e;
  int rc = ParseHeaderMapEntry(text, &e, message);
  return rc != 0 ? rc : Add(e, message);
}

int HeaderByteMap::AddText(std::string_view text, const std::string& source, std::string* message) {
  HeaderByteMap grown = *this;
  int lineNumber = 0;
  while (!text.empty()) {
    std::size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    ++lineNumber;
    line = Trim(line.substr(0, line.find('#')));
    if (line.empty()) continue;
    std::string why;
    if (int rc = grown.Add(line, &why); rc != 0) {
      *message = StrPrintf("%s line %d: ", source.c_str(), lineNumber) + why;
      return rc;
    }
  }
  *this = std::move(grown);
  return 0;
}

int HeaderByteMap::AddFile(const std::string& path, std::string* message) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    *message = "cannot read the map file " + path + ": " + std::strerror(errno);
    return kMapUnreadable;
  }
  std::ostringstream text;
  text << in.rdbuf();
  return AddText(text.str(), path, message);
}

std::string HeaderByteMap::Text() const {
  std::string text;
  for (const HeaderMapEntry& e : m_entries) {
    if (!text.empty()) text += ", ";
    text += HeaderMapEntryText(e);
  }
  return text;
}

int HeaderByteMap::Apply(const uint8_t* raw, uint8_t* header, bool bigEndian) const {
  int unfit = 0;
  for (const HeaderMapEntry& e : m_entries) {
    const SegyWordRow* row = FindSegyWord(e.word);
    if (!row) continue;
    double v = ReadValue(raw, e, bigEndian);
    bool fits = true;
    int32_t stored = 0;
    switch (row->type) {
      case kSegyI16:
        stored = static_cast<int32_t>(Fit(v, INT16_MIN, INT16_MAX, &fits));
        break;
      case kSegyU16:
        stored = static_cast<int32_t>(Fit(v, 0, UINT16_MAX, &fits));
        break;
      case kSegyI32:
        stored = static_cast<int32_t>(Fit(v, INT32_MIN, INT32_MAX, &fits));
        break;
      case kSegyNone:
      case kSegyText:
        continue;
    }
    if (!fits) ++unfit;
    SegyWordSet(header, e.word, stored, bigEndian);
  }
  return unfit;
}
