// Binary test files built byte by byte in either byte order: integers, IEEE
// and IBM floats and text appended in turn, and words patched afterwards at
// 1-based positions, as the format standards count bytes. Plus whole-file
// reads and writes.
#pragma once

#include <bit>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <type_traits>
#include <vector>

namespace kxtest {

// The IBM System/360 single-precision bits of v (base-16 exponent, 24-bit
// fraction, truncated); 0 for zero, not-a-number and values below the range.
inline uint32_t IbmBits(float v) {
  if (v == 0.0f || std::isnan(v)) return 0;
  uint32_t sign = std::signbit(v) ? 0x80000000u : 0u;
  double m = std::fabs(static_cast<double>(v));
  int exponent = 64;
  while (m >= 1.0) m /= 16.0, ++exponent;
  while (m < 1.0 / 16.0) m *= 16.0, --exponent;
  if (exponent < 0) return sign;
  auto fraction = static_cast<uint32_t>(m * 16777216.0);
  return sign | static_cast<uint32_t>(exponent) << 24 | fraction;
}

// True where the host stores words big-end first.
inline constexpr bool kHostBigEndian = std::endian::native == std::endian::big;

// Writes the bytes of v at `at` in the given order, for buffers no writer
// owns (headers already in a section, files read back).
template <typename T>
void StoreBytes(uint8_t* at, T v, bool bigEndian) {
  static_assert(std::is_arithmetic_v<T>);
  uint8_t raw[sizeof(T)];
  std::memcpy(raw, &v, sizeof v);
  bool swap = bigEndian != kHostBigEndian;
  for (std::size_t i = 0; i < sizeof v; ++i) at[i] = raw[swap ? sizeof v - 1 - i : i];
}

class ByteWriter {
 public:
  explicit ByteWriter(bool bigEndian) : m_big(bigEndian) {}
  bool BigEndian() const { return m_big; }

  // Appends an integer or IEEE float of T's width in the writer's order.
  template <typename T>
  ByteWriter& Put(T v) {
    m_bytes.resize(m_bytes.size() + sizeof v);
    StoreBytes(m_bytes.data() + m_bytes.size() - sizeof v, v, m_big);
    return *this;
  }
  ByteWriter& U8(uint8_t v) { return Put(v); }
  ByteWriter& I16(int16_t v) { return Put(v); }
  ByteWriter& U16(uint16_t v) { return Put(v); }
  ByteWriter& I32(int32_t v) { return Put(v); }
  ByteWriter& U32(uint32_t v) { return Put(v); }
  ByteWriter& F32(float v) { return Put(v); }
  ByteWriter& F64(double v) { return Put(v); }
  ByteWriter& Ibm(float v) { return Put(IbmBits(v)); }
  ByteWriter& Text(const std::string& s) {
    m_bytes.insert(m_bytes.end(), s.begin(), s.end());
    return *this;
  }
  ByteWriter& Zeros(std::size_t n) {
    m_bytes.resize(m_bytes.size() + n, 0);
    return *this;
  }
  // Zeros up to the next multiple of n bytes.
  ByteWriter& PadTo(std::size_t n) {
    while (m_bytes.size() % n) m_bytes.push_back(0);
    return *this;
  }

  // Overwrites the word at the 1-based position pos (the bytes must exist).
  template <typename T>
  void PutAt(std::size_t pos, T v) {
    StoreBytes(m_bytes.data() + pos - 1, v, m_big);
  }

  std::size_t size() const { return m_bytes.size(); }
  std::vector<uint8_t>& Bytes() { return m_bytes; }
  const std::vector<uint8_t>& Bytes() const { return m_bytes; }

 private:
  bool m_big;
  std::vector<uint8_t> m_bytes;
};

// Replaces the file with the bytes. The old file goes first: rewriting a
// truncated file in place makes some file systems flush it, which costs
// milliseconds per file in the fuzz loops.
inline void WriteFileBytes(const std::filesystem::path& path, const std::vector<uint8_t>& bytes) {
  std::error_code ec;
  std::filesystem::remove(path, ec);
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

// Every byte of the file; empty when it cannot be read.
inline std::vector<uint8_t> ReadFileBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

}  // namespace kxtest
