#include "section/ByteOrder.h"

#include <algorithm>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {
// The fixed-size inner loops let the compiler turn each block into one
// vector shuffle; the tail goes element by element.
template <typename T>
void ReverseArray(void* data, std::size_t count) {
  auto* p = static_cast<unsigned char*>(data);
  constexpr std::size_t kPerBlock = 16 / sizeof(T);
  std::size_t blocks = count / kPerBlock;
  for (std::size_t b = 0; b < blocks; ++b) {
    unsigned char* q = p + b * 16;
    T v[kPerBlock];
    std::memcpy(v, q, 16);
    for (std::size_t i = 0; i < kPerBlock; ++i) v[i] = ByteSwap(v[i]);
    std::memcpy(q, v, 16);
  }
  for (std::size_t i = blocks * kPerBlock; i < count; ++i) {
    T v;
    std::memcpy(&v, p + i * sizeof(T), sizeof(T));
    v = ByteSwap(v);
    std::memcpy(p + i * sizeof(T), &v, sizeof(T));
  }
}

#if defined(__SSE2__)
// Sixteen bytes at a time in registers: the scalar loop above stores words
// one by one and reloads them as a block, which stalls on every block (the
// loads cannot be served from the pending stores), and the samples of every
// SEG-Y read and write pass through here. Bytes swap within 16-bit halves,
// then halves within 32-bit words, then words within 64-bit ones.
template <typename T>
void ReverseVector(void* data, std::size_t count) {
  auto* p = static_cast<unsigned char*>(data);
  constexpr std::size_t kPerBlock = 16 / sizeof(T);
  const std::size_t blocks = count / kPerBlock;
  for (std::size_t b = 0; b < blocks; ++b) {
    auto* q = reinterpret_cast<__m128i*>(p + b * 16);
    __m128i v = _mm_loadu_si128(q);
    v = _mm_or_si128(_mm_slli_epi16(v, 8), _mm_srli_epi16(v, 8));
    if constexpr (sizeof(T) >= 4) v = _mm_shufflehi_epi16(_mm_shufflelo_epi16(v, 0xB1), 0xB1);
    if constexpr (sizeof(T) == 8) v = _mm_shuffle_epi32(v, 0xB1);
    _mm_storeu_si128(q, v);
  }
  ReverseArray<T>(p + blocks * 16, count - blocks * kPerBlock);
}
#else
template <typename T>
void ReverseVector(void* data, std::size_t count) {
  ReverseArray<T>(data, count);
}
#endif
}  // namespace

void ReverseBytes16(void* data, std::size_t count) {
  ReverseVector<uint16_t>(data, count);
}
void ReverseBytes32(void* data, std::size_t count) {
  ReverseVector<uint32_t>(data, count);
}
void ReverseBytes64(void* data, std::size_t count) {
  ReverseVector<uint64_t>(data, count);
}
