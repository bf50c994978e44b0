// Helpers of the SEG-Y reader tests: a byte-level SEG-Y/SU builder, a shared
// scratch folder and running the segyio oracle.
#pragma once

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "support/ByteWriter.h"
#include "support/TempDir.h"

namespace segytest {

// One folder for the whole test program, removed when it ends.
inline std::filesystem::path SharedDir() {
  static const kxtest::TempDir dir("kx_segy_tests");
  return dir.Path();
}

inline std::string WriteTemp(const std::string& name, const std::vector<uint8_t>& bytes) {
  auto p = SharedDir() / name;
  kxtest::WriteFileBytes(p, bytes);
  return p.string();
}

inline std::string DataPath(const std::string& rel) {
  return std::string(KX_TEST_DATA_DIR) + "/" + rel;
}

// Runs a shell command and returns its standard output.
inline std::string Capture(const std::string& cmd, int* status = nullptr) {
  FILE* p = popen(cmd.c_str(), "r");
  std::string out;
  std::array<char, 65536> buf{};
  std::size_t n;
  while ((n = std::fread(buf.data(), 1, buf.size(), p)) > 0) out.append(buf.data(), n);
  int rc = pclose(p);
  if (status) *status = rc;
  return out;
}

// "key v1 v2 ..." lines into a map.
inline std::map<std::string, std::vector<std::string>> KeyLines(const std::string& text) {
  std::map<std::string, std::vector<std::string>> m;
  std::istringstream in(text);
  std::string line;
  while (std::getline(in, line)) {
    std::istringstream words(line);
    std::string key, w;
    words >> key;
    while (words >> w) m[key].push_back(w);
  }
  return m;
}

inline std::string Oracle(const std::string& args) {
  return Capture("/usr/bin/python3 " + std::string(KX_SOURCE_DIR) + "/tests/formats/segy_oracle.py " + args +
                 " 2>/dev/null");
}

// Builds SEG-Y or SU bytes word by word. Positions are 1-based as in the standard.
class SegyBuilder {
 public:
  explicit SegyBuilder(bool bigEndian = true) : m_binary(bigEndian) {
    m_text.assign(3200, ' ');
    m_binary.Zeros(400);
    Bin16(25, 5);
  }
  std::vector<uint8_t>& Text() { return m_text; }
  std::vector<uint8_t>& Binary() { return m_binary.Bytes(); }

  void Bin16(int pos, int v) { m_binary.PutAt(pos, static_cast<int16_t>(v)); }
  void Bin32(int pos, int32_t v) { m_binary.PutAt(pos, v); }
  void Bin64(int pos, int64_t v) { m_binary.PutAt(pos, v); }
  void Revision(int major, int minor) {
    m_binary.Bytes()[300] = static_cast<uint8_t>(major);
    m_binary.Bytes()[301] = static_cast<uint8_t>(minor);
  }
  void AddExtText(std::string block) {
    block.resize(3200, ' ');
    m_ext.insert(m_ext.end(), block.begin(), block.end());
  }

  // A new trace header (240 bytes, zero) with NS and DT set; returns its index.
  int AddTrace(int ns, int dtUs, const std::vector<float>& ieeeSamples) {
    Trace t{Words(240), {}, Words(0)};
    t.header.PutAt(115, static_cast<uint16_t>(ns));
    t.header.PutAt(117, static_cast<int16_t>(dtUs));
    for (float v : ieeeSamples) t.samples.F32(v);
    m_traces.push_back(t);
    return static_cast<int>(m_traces.size()) - 1;
  }
  void Tr16(int trace, int pos, int v) { m_traces[trace].header.PutAt(pos, static_cast<int16_t>(v)); }
  void Tr32(int trace, int pos, int32_t v) { m_traces[trace].header.PutAt(pos, v); }
  // Zeroed bytes in the file's order, for trace header extensions.
  kxtest::ByteWriter Words(std::size_t n) const { return kxtest::ByteWriter(m_binary.BigEndian()).Zeros(n); }
  // Raw bytes after a trace's header (extensions), before its samples.
  void TraceExtra(int trace, const kxtest::ByteWriter& bytes) { m_traces[trace].extra = bytes.Bytes(); }

  std::vector<uint8_t> Segy() const {
    std::vector<uint8_t> out(m_text);
    Append(out, m_binary.Bytes());
    Append(out, m_ext);
    AppendTraces(out);
    return out;
  }
  std::vector<uint8_t> Su() const {
    std::vector<uint8_t> out;
    AppendTraces(out);
    return out;
  }

 private:
  struct Trace {
    kxtest::ByteWriter header;
    std::vector<uint8_t> extra;
    kxtest::ByteWriter samples;
  };
  static void Append(std::vector<uint8_t>& out, const std::vector<uint8_t>& bytes) {
    out.insert(out.end(), bytes.begin(), bytes.end());
  }
  void AppendTraces(std::vector<uint8_t>& out) const {
    for (const Trace& t : m_traces) {
      Append(out, t.header.Bytes());
      Append(out, t.extra);
      Append(out, t.samples.Bytes());
    }
  }
  std::vector<uint8_t> m_text, m_ext;
  kxtest::ByteWriter m_binary;
  std::vector<Trace> m_traces;
};

}  // namespace segytest
