// The header-word text import on arbitrary text against a small SEG-Y file,
// remade for every run because the import rewrites headers in place. Whatever
// the text, the seismic file keeps its size.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <vector>

#include "formats/HeaderWordsExport.h"
#include "fuzz/FuzzFile.h"

namespace {
constexpr int kTraces = 3;
constexpr int kSamples = 4;

void PutBE16(std::vector<uint8_t>& b, std::size_t at, uint16_t v) {
  b[at] = static_cast<uint8_t>(v >> 8);
  b[at + 1] = static_cast<uint8_t>(v);
}

// Textual header, binary header (IEEE samples, 1 ms, 4 samples), three traces.
const std::vector<uint8_t>& SeismicBytes() {
  static const std::vector<uint8_t> bytes = [] {
    std::vector<uint8_t> b(3600 + kTraces * (240 + 4 * kSamples), 0);
    for (std::size_t i = 0; i < 3200; ++i) b[i] = ' ';
    PutBE16(b, 3216, 1000);
    PutBE16(b, 3220, kSamples);
    PutBE16(b, 3224, 5);
    for (int t = 0; t < kTraces; ++t) {
      std::size_t h = 3600 + static_cast<std::size_t>(t) * (240 + 4 * kSamples);
      PutBE16(b, h + 2, static_cast<uint16_t>(t + 1));
      PutBE16(b, h + 114, kSamples);
      PutBE16(b, h + 116, 1000);
    }
    return b;
  }();
  return bytes;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  const std::vector<uint8_t>& seismic = SeismicBytes();
  std::string segy = kxfuzz::WriteInput("target.sgy", seismic.data(), seismic.size());
  std::string text = kxfuzz::WriteInput("words.txt", data, size);
  ImportHeaderWords(text, segy);
  std::error_code ec;
  if (std::filesystem::file_size(segy, ec) != seismic.size() || ec) std::abort();
  return 0;
}
