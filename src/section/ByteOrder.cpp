#include "section/ByteOrder.h"

#include <algorithm>

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
}  // namespace

void ReverseBytes16(void* data, std::size_t count) { ReverseArray<uint16_t>(data, count); }
void ReverseBytes32(void* data, std::size_t count) { ReverseArray<uint32_t>(data, count); }
void ReverseBytes64(void* data, std::size_t count) { ReverseArray<uint64_t>(data, count); }
