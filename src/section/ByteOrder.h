// In-place byte-order reversal of arrays, and reads of big/little-endian words
// from byte buffers. Blocks of 16 bytes go through the vector unit where the
// compiler can use one; the remainder element by element.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>

void ReverseBytes16(void* data, std::size_t count);
void ReverseBytes32(void* data, std::size_t count);
void ReverseBytes64(void* data, std::size_t count);

inline constexpr bool kHostLittleEndian = std::endian::native == std::endian::little;

// Byte reversal of one integer (ByteSwap is not in C++20).
template <typename T>
constexpr T ByteSwap(T v) {
  if constexpr (sizeof(T) == 1) {
    return v;
  } else if constexpr (sizeof(T) == 2) {
    return static_cast<T>(__builtin_bswap16(static_cast<uint16_t>(v)));
  } else if constexpr (sizeof(T) == 4) {
    return static_cast<T>(__builtin_bswap32(static_cast<uint32_t>(v)));
  } else {
    static_assert(sizeof(T) == 8);
    return static_cast<T>(__builtin_bswap64(static_cast<uint64_t>(v)));
  }
}

template <typename T>
inline T LoadBE(const void* p) {
  T v;
  std::memcpy(&v, p, sizeof v);
  if constexpr (kHostLittleEndian && sizeof(T) > 1) v = ByteSwap(v);
  return v;
}
template <typename T>
inline T LoadLE(const void* p) {
  T v;
  std::memcpy(&v, p, sizeof v);
  if constexpr (!kHostLittleEndian && sizeof(T) > 1) v = ByteSwap(v);
  return v;
}
// Reads an integer word in the given order (bigEndian true: most significant byte first).
template <typename T>
inline T LoadWord(const void* p, bool bigEndian) {
  return bigEndian ? LoadBE<T>(p) : LoadLE<T>(p);
}
template <typename T>
inline void StoreWord(void* p, T v, bool bigEndian) {
  if constexpr (sizeof(T) > 1) {
    if (bigEndian == kHostLittleEndian) v = ByteSwap(v);
  }
  std::memcpy(p, &v, sizeof v);
}
