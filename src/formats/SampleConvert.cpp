// Tight loops over one trace at a time. The IBM conversion runs a branch-free
// pass over blocks of 64 words that the compiler turns into vector code, and
// falls back to the exact scalar path for the rare block that holds a value
// outside the normal single-precision range.
#include "formats/SampleConvert.h"

#include <bit>
#include <cstring>

#include "section/ByteOrder.h"

uint32_t IbmToIeeeBits(uint32_t ibm) {
  uint32_t sign = ibm & 0x80000000u;
  uint32_t frac = ibm & 0x00FFFFFFu;
  if (frac == 0) return sign;
  int exp16 = static_cast<int>((ibm >> 24) & 0x7F);
  int lz = __builtin_clz(frac) - 8;  // 0..23: shifts that bring the top bit to bit 23
  uint32_t full = frac << lz;        // 24 significant bits, bit 23 set
  int e = 4 * exp16 - lz - 130;      // biased IEEE exponent of full * 2^-23
  if (e >= 255) return sign | 0x7F800000u;
  if (e >= 1) return sign | (static_cast<uint32_t>(e) << 23) | (full & 0x007FFFFFu);
  int shift = 1 - e;  // subnormal: the significand moves right, truncated
  if (shift > 24) return sign;
  return sign | (full >> shift);
}

float IbmToIeee(uint32_t ibm) {
  return std::bit_cast<float>(IbmToIeeeBits(ibm));
}

namespace {
constexpr int kBlock = 64;

template <bool Big>
inline uint32_t Word32(const uint32_t* w, int32_t i) {
  uint32_t v = w[i];
  if constexpr (Big == kHostLittleEndian) v = __builtin_bswap32(v);
  return v;
}

// Normal-range results only; returns non-zero when a word needs the exact path.
template <bool Big>
uint32_t IbmBlockFast(const uint32_t* in, uint32_t* out, int n) {
  uint32_t special = 0;
  for (int i = 0; i < n; ++i) {
    uint32_t x = Word32<Big>(in, i);
    int32_t frac = static_cast<int32_t>(x & 0x00FFFFFFu);
    // The int to float conversion is exact (24 bits) and normalises for us.
    uint32_t fb = std::bit_cast<uint32_t>(static_cast<float>(frac));
    int32_t e = static_cast<int32_t>(fb >> 23) + 4 * static_cast<int32_t>((x >> 24) & 0x7F) - 280;
    uint32_t r = (fb + (static_cast<uint32_t>(4 * static_cast<int32_t>((x >> 24) & 0x7F) - 280) << 23)) |
                 (x & 0x80000000u);
    bool zero = frac == 0;
    bool normal = e >= 1 && e <= 254;
    special |= static_cast<uint32_t>(!zero && !normal);
    out[i] = zero ? (x & 0x80000000u) : r;
  }
  return special;
}

template <bool Big>
void IbmInPlace(float* s, int32_t n) {
  auto* w = reinterpret_cast<uint32_t*>(s);
  alignas(64) uint32_t tmp[kBlock];
  for (int32_t start = 0; start < n; start += kBlock) {
    int len = n - start < kBlock ? static_cast<int>(n - start) : kBlock;
    if (IbmBlockFast<Big>(w + start, tmp, len) == 0) {
      std::memcpy(w + start, tmp, static_cast<std::size_t>(len) * 4);
    } else {
      for (int i = 0; i < len; ++i) w[start + i] = IbmToIeeeBits(Word32<Big>(w + start, i));
    }
  }
}

template <bool Big>
void Int32InPlace(float* s, int32_t n) {
  auto* w = reinterpret_cast<uint32_t*>(s);
  for (int32_t i = 0; i < n; ++i) s[i] = static_cast<float>(static_cast<int32_t>(Word32<Big>(w, i)));
}

template <bool Big>
void IeeeInPlace(float* s, int32_t n) {
  if constexpr (Big == kHostLittleEndian) ReverseBytes32(s, static_cast<std::size_t>(n));
}

// Narrow words are widened from the last one backwards, so that each float
// lands on input that has already been read.
template <bool Big>
void Int16InPlace(float* s, int32_t n) {
  const auto* b = reinterpret_cast<const uint8_t*>(s);
  for (int32_t i = n - 1; i >= 0; --i) {
    int16_t v = Big ? LoadBE<int16_t>(b + 2 * i) : LoadLE<int16_t>(b + 2 * i);
    s[i] = static_cast<float>(v);
  }
}

void Int8InPlace(float* s, int32_t n) {
  const auto* b = reinterpret_cast<const int8_t*>(s);
  for (int32_t i = n - 1; i >= 0; --i) {
    int8_t v = b[i];
    s[i] = static_cast<float>(v);
  }
}

template <bool Big>
bool ConvertOrdered(float* s, int32_t n, int formatCode) {
  switch (formatCode) {
    case 1:
      IbmInPlace<Big>(s, n);
      return true;
    case 2:
      Int32InPlace<Big>(s, n);
      return true;
    case 3:
      Int16InPlace<Big>(s, n);
      return true;
    case 5:
      IeeeInPlace<Big>(s, n);
      return true;
    case 8:
      Int8InPlace(s, n);
      return true;
    default:
      return false;
  }
}
}  // namespace

bool ConvertSamplesInPlace(float* s, int32_t n, int formatCode, bool bigEndian) {
  if (n <= 0)
    return formatCode == 1 || formatCode == 2 || formatCode == 3 || formatCode == 5 || formatCode == 8;
  return bigEndian ? ConvertOrdered<true>(s, n, formatCode) : ConvertOrdered<false>(s, n, formatCode);
}

void ConvertDoubles(const void* raw, float* s, int32_t n, bool bigEndian) {
  const auto* b = static_cast<const uint8_t*>(raw);
  if (bigEndian) {
    for (int32_t i = 0; i < n; ++i)
      s[i] = static_cast<float>(std::bit_cast<double>(LoadBE<uint64_t>(b + 8 * i)));
  } else {
    for (int32_t i = 0; i < n; ++i)
      s[i] = static_cast<float>(std::bit_cast<double>(LoadLE<uint64_t>(b + 8 * i)));
  }
}
