// Builds small SEG-2 files byte by byte for the reader and writer tests, in
// either byte order, with string or plain-text trace descriptor strings.
#pragma once

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "support/ByteWriter.h"

namespace seg2test {

struct TestTrace {
  std::vector<std::string> strings;
  uint8_t format = 4;           // data format code
  std::vector<double> samples;  // stored in the format's type
  bool zeroPointer = false;     // the pointer slot is 0: no such trace
  bool plainText = false;       // trace strings as plain text lines
};

inline void PutStrings(kxtest::ByteWriter& b, const std::vector<std::string>& strings) {
  for (const auto& s : strings) {
    b.Put<uint16_t>(static_cast<uint16_t>(s.size() + 3));
    b.Text(s);
    b.U8(0);
  }
  b.Put<uint16_t>(0);
  b.PadTo(4);
}

inline void PutSamples(kxtest::ByteWriter& b, const TestTrace& t) {
  for (double v : t.samples) {
    switch (t.format) {
      case 1:
        b.Put<int16_t>(static_cast<int16_t>(v));
        break;
      case 2:
        b.Put<int32_t>(static_cast<int32_t>(v));
        break;
      case 5:
        b.Put<double>(v);
        break;
      case 3:
        b.U8(0), b.U8(0), b.U8(0);
        break;  // not a real packing; refused anyway
      default:
        b.Put<float>(static_cast<float>(v));
        break;
    }
  }
}

inline int BytesPer(uint8_t format) {
  return format == 1 ? 2 : format == 5 ? 8 : 4;
}

inline std::vector<uint8_t> MakeSeg2(bool big, const std::vector<std::string>& fileStrings,
                                     const std::vector<TestTrace>& traces, int extraSlots = 0) {
  kxtest::ByteWriter b(big);
  uint16_t n = static_cast<uint16_t>(traces.size());
  uint16_t m = static_cast<uint16_t>(4 * (n + extraSlots));
  b.U8(big ? 0x3A : 0x55), b.U8(big ? 0x55 : 0x3A);
  b.Put<int16_t>(1);
  b.Put<uint16_t>(m);
  b.Put<uint16_t>(n);
  b.U8(1), b.U8(0), b.U8(0), b.U8(1), b.U8(0x0A), b.U8(0);
  b.Zeros(32 + m - b.size());
  PutStrings(b, fileStrings);
  for (std::size_t i = 0; i < traces.size(); ++i) {
    const TestTrace& t = traces[i];
    if (t.zeroPointer) continue;
    b.PutAt<uint32_t>(33 + 4 * i, static_cast<uint32_t>(b.size()));  // 1-based position
    kxtest::ByteWriter s(big);
    if (t.plainText) {
      s.Put<uint16_t>(0);
      for (const auto& line : t.strings) s.Text(line + "\n");
      s.PadTo(4);
    } else {
      PutStrings(s, t.strings);
    }
    b.Put<uint16_t>(0x4422);
    b.Put<uint16_t>(static_cast<uint16_t>(32 + s.size()));
    b.Put<uint32_t>(static_cast<uint32_t>(t.samples.size() * (t.format == 3 ? 3 : BytesPer(t.format))));
    b.Put<uint32_t>(static_cast<uint32_t>(t.samples.size()));
    b.U8(t.format);
    b.Zeros(32 - 13);
    b.Bytes().insert(b.Bytes().end(), s.Bytes().begin(), s.Bytes().end());
    PutSamples(b, t);
  }
  return b.Bytes();
}
}  // namespace seg2test
