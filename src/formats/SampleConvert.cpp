// Tight loops over one trace at a time. The IBM conversion and the peak search
// run four samples at a time with SSE2 where the processor has it; the rare
// words outside the normal single range take the exact scalar path.
#include "formats/SampleConvert.h"

#include <bit>
#include <cmath>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "section/ByteOrder.h"
#include "section/TraceRecord.h"

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
// The storage of a float slot still holding a file word: copied as bytes, never read through
// another type, so the compiler may not assume float and word accesses do not alias.
template <bool Big>
inline uint32_t Word32(const float* s, int32_t i) {
  uint32_t v;
  std::memcpy(&v, s + i, sizeof v);
  if constexpr (Big == kHostLittleEndian) v = __builtin_bswap32(v);
  return v;
}

inline void StoreBits(float* s, int32_t i, uint32_t bits) {
  std::memcpy(s + i, &bits, sizeof bits);
}

#if defined(__SSE2__)
// Reverses the bytes of each 32-bit lane with SSE2 only (no byte shuffle).
inline __m128i Bswap32x4(__m128i v) {
  v = _mm_or_si128(_mm_slli_epi16(v, 8), _mm_srli_epi16(v, 8));
  v = _mm_shufflelo_epi16(v, _MM_SHUFFLE(2, 3, 0, 1));
  return _mm_shufflehi_epi16(v, _MM_SHUFFLE(2, 3, 0, 1));
}

// Four words at a time: the int-to-float conversion of the 24-bit fraction is
// exact and normalises it; the base-16 exponent is then added to the binary
// one. A lane outside the normal range sends the four words to the exact path.
template <bool Big>
void IbmInPlace(float* s, int32_t n) {
  const __m128i kSign = _mm_set1_epi32(static_cast<int>(0x80000000u));
  const __m128i kFrac = _mm_set1_epi32(0x00FFFFFF);
  const __m128i kExp = _mm_set1_epi32(0x7F);
  const __m128i kBias = _mm_set1_epi32(280);
  const __m128i kZero = _mm_setzero_si128();
  const __m128i k255 = _mm_set1_epi32(255);
  int32_t i = 0;
  for (; i + 4 <= n; i += 4) {
    __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + i));
    if constexpr (Big == kHostLittleEndian) x = Bswap32x4(x);
    __m128i sign = _mm_and_si128(x, kSign);
    __m128i frac = _mm_and_si128(x, kFrac);
    __m128i shift = _mm_sub_epi32(_mm_slli_epi32(_mm_and_si128(_mm_srli_epi32(x, 24), kExp), 2), kBias);
    __m128i fb = _mm_castps_si128(_mm_cvtepi32_ps(frac));
    __m128i e = _mm_add_epi32(_mm_srli_epi32(fb, 23), shift);
    __m128i r = _mm_or_si128(_mm_add_epi32(fb, _mm_slli_epi32(shift, 23)), sign);
    __m128i zero = _mm_cmpeq_epi32(frac, kZero);
    __m128i normal = _mm_and_si128(_mm_cmpgt_epi32(e, kZero), _mm_cmpgt_epi32(k255, e));
    if (_mm_movemask_epi8(_mm_or_si128(zero, normal)) != 0xFFFF) {
      for (int k = 0; k < 4; ++k) StoreBits(s, i + k, IbmToIeeeBits(Word32<Big>(s, i + k)));
      continue;
    }
    r = _mm_or_si128(_mm_and_si128(zero, sign), _mm_andnot_si128(zero, r));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(s + i), r);
  }
  for (; i < n; ++i) StoreBits(s, i, IbmToIeeeBits(Word32<Big>(s, i)));
}
#else
template <bool Big>
void IbmInPlace(float* s, int32_t n) {
  for (int32_t i = 0; i < n; ++i) StoreBits(s, i, IbmToIeeeBits(Word32<Big>(s, i)));
}
#endif

template <bool Big>
void Int32InPlace(float* s, int32_t n) {
  for (int32_t i = 0; i < n; ++i) s[i] = static_cast<float>(static_cast<int32_t>(Word32<Big>(s, i)));
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

namespace {
// The first index at which s equals v (v is one of the values of s).
int32_t FirstIndexOf(const float* s, int32_t n, float v) {
  for (int32_t i = 0; i < n; ++i) {
    if (s[i] == v) return i;
  }
  return 0;
}
}  // namespace

void SamplePeak(const float* s, int32_t n, float* amax, int32_t* index) {
  if (n <= 0) {
    *amax = 0.0f;
    *index = 0;
    return;
  }
#if defined(__SSE2__)
  __m128 vmax = _mm_set1_ps(s[0]), vmin = vmax, nan = _mm_setzero_ps();
  int32_t i = 0;
  for (; i + 4 <= n; i += 4) {
    __m128 v = _mm_loadu_ps(s + i);
    vmax = _mm_max_ps(vmax, v);
    vmin = _mm_min_ps(vmin, v);
    nan = _mm_or_ps(nan, _mm_cmpunord_ps(v, v));
  }
  alignas(16) float hi[4], lo[4];
  _mm_store_ps(hi, vmax);
  _mm_store_ps(lo, vmin);
  if (_mm_movemask_ps(nan) != 0) {
    FindPeak(s, n, amax, index);  // NaN samples: skipped there
    return;
  }
  float top = hi[0], bottom = lo[0];
  for (int k = 1; k < 4; ++k) {
    top = hi[k] > top ? hi[k] : top;
    bottom = lo[k] < bottom ? lo[k] : bottom;
  }
  for (; i < n; ++i) {
    if (s[i] != s[i]) {
      FindPeak(s, n, amax, index);
      return;
    }
    top = s[i] > top ? s[i] : top;
    bottom = s[i] < bottom ? s[i] : bottom;
  }
  if (std::isinf(top) || std::isinf(bottom)) {
    FindPeak(s, n, amax, index);  // infinite samples are skipped there
    return;
  }
  if (std::fabs(top) >= std::fabs(bottom)) {
    *amax = std::fabs(top);
    *index = FirstIndexOf(s, n, top);
  } else {
    *amax = std::fabs(bottom);
    *index = FirstIndexOf(s, n, bottom);
  }
#else
  FindPeak(s, n, amax, index);
#endif
}
