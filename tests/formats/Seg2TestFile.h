// Builds small SEG-2 files byte by byte for the reader and writer tests, in
// either byte order, with string or plain-text trace descriptor strings.
#pragma once

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace seg2test {

struct TestTrace {
  std::vector<std::string> strings;
  uint8_t format = 4;           // data format code
  std::vector<double> samples;  // stored in the format's type
  bool zeroPointer = false;     // the pointer slot is 0: no such trace
  bool plainText = false;       // trace strings as plain text lines
};

class Bytes {
 public:
  explicit Bytes(bool big) : m_big(big) {}
  void U8(uint8_t v) { m_b.push_back(v); }
  template <typename T>
  void Put(T v) {
    uint8_t raw[sizeof(T)];
    std::memcpy(raw, &v, sizeof v);
    for (std::size_t i = 0; i < sizeof v; ++i) m_b.push_back(raw[m_big ? sizeof v - 1 - i : i]);
  }
  void Text(const std::string& s) { m_b.insert(m_b.end(), s.begin(), s.end()); }
  void PadTo4() {
    while (m_b.size() % 4) m_b.push_back(0);
  }
  template <typename T>
  void PutAt(std::size_t at, T v) {
    Bytes tmp(m_big);
    tmp.Put(v);
    std::memcpy(m_b.data() + at, tmp.m_b.data(), sizeof v);
  }
  std::size_t size() const { return m_b.size(); }
  std::vector<uint8_t>& data() { return m_b; }

 private:
  bool m_big;
  std::vector<uint8_t> m_b;
};

inline void PutStrings(Bytes& b, const std::vector<std::string>& strings) {
  for (const auto& s : strings) {
    b.Put<uint16_t>(static_cast<uint16_t>(s.size() + 3));
    b.Text(s);
    b.U8(0);
  }
  b.Put<uint16_t>(0);
  b.PadTo4();
}

inline void PutSamples(Bytes& b, const TestTrace& t) {
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
  Bytes b(big);
  uint16_t n = static_cast<uint16_t>(traces.size());
  uint16_t m = static_cast<uint16_t>(4 * (n + extraSlots));
  b.U8(big ? 0x3A : 0x55), b.U8(big ? 0x55 : 0x3A);
  b.Put<int16_t>(1);
  b.Put<uint16_t>(m);
  b.Put<uint16_t>(n);
  b.U8(1), b.U8(0), b.U8(0), b.U8(1), b.U8(0x0A), b.U8(0);
  while (b.size() < 32) b.U8(0);
  while (b.size() < 32u + m) b.U8(0);
  PutStrings(b, fileStrings);
  for (std::size_t i = 0; i < traces.size(); ++i) {
    const TestTrace& t = traces[i];
    if (t.zeroPointer) continue;
    b.PutAt<uint32_t>(32 + 4 * i, static_cast<uint32_t>(b.size()));
    Bytes s(big);
    if (t.plainText) {
      s.Put<uint16_t>(0);
      for (const auto& line : t.strings) s.Text(line + "\n");
      s.PadTo4();
    } else {
      PutStrings(s, t.strings);
    }
    b.Put<uint16_t>(0x4422);
    b.Put<uint16_t>(static_cast<uint16_t>(32 + s.size()));
    b.Put<uint32_t>(static_cast<uint32_t>(t.samples.size() * (t.format == 3 ? 3 : BytesPer(t.format))));
    b.Put<uint32_t>(static_cast<uint32_t>(t.samples.size()));
    b.U8(t.format);
    for (int k = 13; k < 32; ++k) b.U8(0);
    b.data().insert(b.data().end(), s.data().begin(), s.data().end());
    PutSamples(b, t);
  }
  return b.data();
}
}  // namespace seg2test
