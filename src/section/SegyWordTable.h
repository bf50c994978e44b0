// The SEG-Y trace header word table: row 0 "idx" and
// the 92 words of the 240-byte SEG-Y trace header that header-word export and
// import handle, with get and set by word number on a raw header in
// either byte order, lookup by mnemonic and the export selection flags.
//
// The rows are constant; the selection flags are process-wide mutable state
// of the GUI thread (no lock), kept until the program ends.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string_view>

#include "section/ByteOrder.h"

// Storage of a word in the 240-byte header.
enum SegyWordType : uint8_t {
  kSegyNone = 0,  // row 0 (idx): not a header word
  kSegyI16 = 1,   // signed 16-bit, sign-extended on get
  kSegyU16 = 2,   // unsigned 16-bit (NS only), zero-extended on get
  kSegyI32 = 3,   // signed 32-bit
  kSegyText = 4,  // SEGA, SEGB: halves of the 8-character tag, no numeric value
};

struct SegyWordRow {
  const char* mnemonic;     // upper case, e.g. "TRACL"
  const char* description;  // as shown by the export dialog
  int16_t firstByte;        // 1-based first byte in the 240-byte header; 0 for idx
  int16_t lastByte;         // 1-based last byte, inclusive; 0 for idx
  SegyWordType type;
};

inline constexpr int kSegyTraceHeaderBytes = 240;
// Rows 0..92: idx and the words 1..92.
inline constexpr int kSegyWordRowCount = 93;
inline constexpr int kSegyLastNumericWord = 90;  // SMUN; 91 SEGA and 92 SEGB are text
inline constexpr int kSegyWordNs = 39;
inline constexpr int kSegyWordDt = 40;
inline constexpr int kSegyWordSega = 91;
inline constexpr int kSegyWordSegb = 92;

// Rows 0..92 in table order.
std::span<const SegyWordRow> SegyWordRows();
// The row of word number 0..92, or null.
const SegyWordRow* FindSegyWord(int word);

// Value of word 1..90 of a 240-byte header whose words are stored in the given
// byte order (bigEndian true: most significant byte first). int16 words are
// sign-extended (DT 0xFFFF gives -1), NS is zero-extended (40000 stays 40000).
// Words 91, 92 and numbers outside 1..90 give 0.
int32_t SegyWordGet(const uint8_t* header, int word, bool bigEndian);
// Stores value into word 1..90 in the given byte order: the low 16 bits for
// 16-bit words, all 32 bits otherwise. Other word numbers leave the header as it is.
void SegyWordSet(uint8_t* header, int word, int32_t value, bool bigEndian);
// The same on a header already in host byte order (the reader's swapped copy).
inline int32_t SegyWordGet(const uint8_t* header, int word) {
  return SegyWordGet(header, word, !kHostLittleEndian);
}
inline void SegyWordSet(uint8_t* header, int word, int32_t value) {
  SegyWordSet(header, word, value, !kHostLittleEndian);
}

// Case-insensitive lookup among rows 1..92: the word number, or 0 when none matches.
int SegyWordLookup(std::string_view mnemonic);

// A choice of rows 0..92 for export: all start selected except SEGA and SEGB.
// Numbers outside 0..92 read as not selected and are ignored when set.
class SegyWordSelection {
 public:
  SegyWordSelection();
  bool Selected(int word) const;
  void Set(int word, bool selected);

 private:
  std::array<bool, kSegyWordRowCount> m_selected;
};
