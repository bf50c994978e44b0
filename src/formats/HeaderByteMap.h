// Header byte maps: trace header words read from other bytes of the 240-byte
// SEG-Y/SU trace header than their standard ones, as files from other software
// often need (the ensemble number in the in-line bytes, coordinates in the CDP
// X/Y bytes of a revision-0 file). The SEG-Y/SU readers apply a map to every
// trace header as read, in the file's byte order, before decoding it, so the
// scalars (SCALCO, SCALEL, TIMSCAL, ...) apply to mapped words as to standard
// ones; the writers know nothing of maps and keep the standard positions.
//
// A mapping is written WORD=BYTE:TYPE: WORD a trace header mnemonic (any case),
// BYTE the 1-based first byte of the value, TYPE one of i16 i32 u16 u32 f32
// (IEEE) ibm (IBM single). The value is converted to the word's own type:
// integers saturate at the word's range, floats are rounded to the nearest
// integer first (halves away from zero), not-a-number and infinities give 0.
//
// Parsers return 0 or a HeaderMapRefusal with a message for the user (no
// "ERROR:" lead-in; the caller logs or shows it) and leave the map as it was.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

enum class HeaderMapType : uint8_t { kI16, kI32, kU16, kU32, kF32, kIbm };

struct HeaderMapEntry {
  int word = 0;  // SEG-Y trace header word number, 1..90 (SegyWordLookup)
  int byte = 0;  // 1-based first byte of the value, the value within bytes 1..240
  HeaderMapType type = HeaderMapType::kI32;
  bool operator==(const HeaderMapEntry&) const = default;
};

enum HeaderMapRefusal : int {
  kMapMalformed = -1,    // not WORD=BYTE:TYPE, or BYTE not a whole number
  kMapUnknownWord = -2,  // no trace header word of that name, or one without a numeric value
  kMapUnknownType = -3,
  kMapOutside = -4,  // the value's bytes are not all within 1..240
  kMapTwice = -5,    // the word is mapped already
  kMapUnreadable = -6,
};

// The six type names in HeaderMapType order: "i16", "i32", "u16", "u32", "f32", "ibm".
std::span<const char* const> HeaderMapTypeNames();
const char* HeaderMapTypeName(HeaderMapType type);
int HeaderMapTypeBytes(HeaderMapType type);

// Parses one mapping (blanks around the parts allowed).
int ParseHeaderMapEntry(std::string_view text, HeaderMapEntry* out, std::string* message);
// "CDP=189:i32".
std::string HeaderMapEntryText(const HeaderMapEntry& entry);

class HeaderByteMap {
 public:
  // Adds one mapping; a word may be mapped once.
  int Add(std::string_view text, std::string* message);
  int Add(const HeaderMapEntry& entry, std::string* message);
  // Adds the mappings of a map file's text, one a line; '#' starts a comment,
  // blank lines are skipped. All or nothing; the message names the source and
  // the line ("maps.txt line 3: ...").
  int AddText(std::string_view text, const std::string& source, std::string* message);
  int AddFile(const std::string& path, std::string* message);

  bool Empty() const { return m_entries.empty(); }
  std::span<const HeaderMapEntry> Entries() const { return m_entries; }
  // "CDP=189:i32, CDPX=181:i32"; empty for an empty map.
  std::string Text() const;

  // Stores each mapped word at its standard position of header, read from its
  // mapped position of raw (the header as read; header may have been changed
  // since, e.g. undefined bytes cleared). Both are 240 bytes in the file's
  // byte order. Returns how many values did not fit their word.
  int Apply(const uint8_t* raw, uint8_t* header, bool bigEndian) const;

 private:
  std::vector<HeaderMapEntry> m_entries;
};
