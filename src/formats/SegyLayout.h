// Byte layout of SEG-Y file and trace headers: the word tables used to bring
// headers into host order and to dump them, and the text code conversion.
// Positions are the named 1-based positions of section/SegyBytePositions.h.
#pragma once

#include <cstddef>
#include <cstdint>

#include "section/SegyBytePositions.h"
#include "section/SegyWordTable.h"  // kSegyTraceHeaderBytes

inline constexpr int kSegyTextBytes = 3200;
inline constexpr int kSegyBinaryBytes = 400;
inline constexpr int64_t kSegyFirstTraceDefault = 3600;
inline constexpr int32_t kMaxSamplesPerTrace = 2147483616;

// Value types of binary header fields.
enum class BhType : uint8_t { I16, U16, I32, U32, I64, F64, Revision };

struct BinaryHeaderField {
  int16_t pos;  // first byte in the file: kBh...
  BhType type;
  const char* label;  // dump label
};

// Trace header words: 2 or 4 bytes (the energy direction is three 2-byte words).
struct TraceHeaderWord {
  int16_t pos;   // first byte: kTr...
  int8_t bytes;  // 2, 4, or 6 for the three energy direction words
  bool isUnsigned;
  const char* label;
};

// The binary header fields in header order; a null label marks a separator
// line before the next field ("Rev 1.0" before kBhRevisionMajor, else "Rev 2.0").
const BinaryHeaderField* BinaryHeaderFields(std::size_t* count);
// The trace header words 1..232 in header order.
const TraceHeaderWord* TraceHeaderWords(std::size_t* count);

// Reverses every binary header field in place as its type says; the revision
// bytes and the unassigned areas stay.
void SwapBinaryHeader(uint8_t* bh);
// Reverses every trace header word in place (bytes 233-240 stay). The same call
// turns a host-order header back into the other order.
void SwapTraceHeader(uint8_t* th);

// Native-order reads and writes of a trace header copy at a trace header position (kTr...).
template <typename T>
inline T HeaderValue(const uint8_t* h, int pos) {
  T v;
  __builtin_memcpy(&v, h + TraceHeaderOffset(pos), sizeof v);
  return v;
}
template <typename T>
inline void SetHeaderValue(uint8_t* h, int pos, T v) {
  __builtin_memcpy(h + TraceHeaderOffset(pos), &v, sizeof v);
}
// The same on a 400-byte binary header copy at a binary header position (kBh...).
template <typename T>
inline T BinaryWord(const uint8_t* bh, int pos) {
  T v;
  __builtin_memcpy(&v, bh + BinaryHeaderOffset(pos), sizeof v);
  return v;
}
template <typename T>
inline void SetBinaryWord(uint8_t* bh, int pos, T v) {
  __builtin_memcpy(bh + BinaryHeaderOffset(pos), &v, sizeof v);
}

// Number of bytes per sample of a format code; 0 for unknown codes (13, 14,
// out of 1..16).
int SegyBytesPerSample(int formatCode);
// True for the codes this reader converts: 1, 2, 3, 5, 6, 8.
bool SegyFormatSupported(int formatCode);

// Counts the bytes of a textual header that have the top bit set or equal
// 0x40; at least three quarters of them make it EBCDIC.
bool TextIsEbcdic(const uint8_t* text, std::size_t n);
// Converts EBCDIC (code page 037) to 7-bit ASCII in place; codes with no 7-bit
// counterpart become spaces, 0x6A becomes '|'.
void EbcdicToAscii(uint8_t* text, std::size_t n);
// Replaces the first case-insensitive "END EBCDIC" starting at or before byte
// 3183 (0-based 3182) with "END TEXTUAL HEADER".
void ReplaceEndEbcdic(uint8_t* text, std::size_t n);
// True when the first 80 bytes, spaces ignored, begin with "((SEG: EndText))"
// in any letter case, in ASCII or in EBCDIC.
bool IsEndTextStanza(const uint8_t* block);
