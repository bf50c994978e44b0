// Helpers of the SEG-Y reader tests: a byte-level SEG-Y/SU builder, a shared
// scratch folder, running the segyio oracle, and capturing log messages.
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

#include "log/Log.h"
#include "section/ByteOrder.h"
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

// Log messages written while it lives.
class LogCapture {
 public:
  LogCapture() : m_path((SharedDir() / ("log_" + std::to_string(++Counter()) + ".txt")).string()) {
    LogFileClose();
    LogFileOpen(m_path);
  }
  ~LogCapture() { LogFileClose(); }
  std::string Text() {
    LogFileClose();
    std::ifstream in(m_path);
    std::stringstream s;
    s << in.rdbuf();
    m_text += s.str();
    LogFileOpen(m_path + "x");
    m_path += "x";
    return m_text;
  }
  bool Has(const std::string& needle) { return Text().find(needle) != std::string::npos; }

 private:
  static int& Counter() {
    static int c = 0;
    return c;
  }
  std::string m_path;
  std::string m_text;
};

// Builds SEG-Y or SU bytes word by word. Positions are 1-based as in the standard.
class SegyBuilder {
 public:
  explicit SegyBuilder(bool bigEndian = true) : m_big(bigEndian) {
    m_text.assign(3200, ' ');
    m_binary.assign(400, 0);
    Bin16(25, 5);
  }
  bool Big() const { return m_big; }
  std::vector<uint8_t>& Text() { return m_text; }
  std::vector<uint8_t>& Binary() { return m_binary; }

  void Bin16(int pos, int v) { Put<int16_t>(m_binary, pos, static_cast<int16_t>(v)); }
  void Bin32(int pos, int32_t v) { Put<int32_t>(m_binary, pos, v); }
  void Bin64(int pos, int64_t v) { Put<int64_t>(m_binary, pos, v); }
  void BinF64(int pos, double v) { Put<uint64_t>(m_binary, pos, std::bit_cast<uint64_t>(v)); }
  void Revision(int major, int minor) {
    m_binary[300] = static_cast<uint8_t>(major);
    m_binary[301] = static_cast<uint8_t>(minor);
  }
  void AddExtText(const std::string& first80) {
    std::vector<uint8_t> b(3200, ' ');
    std::memcpy(b.data(), first80.data(), first80.size() < 3200 ? first80.size() : 3200);
    m_ext.insert(m_ext.end(), b.begin(), b.end());
  }

  // A new trace header (240 bytes, zero) with NS and DT set; returns its index.
  int AddTrace(int ns, int dtUs, const std::vector<float>& ieeeSamples) {
    std::vector<uint8_t> h(240, 0);
    Put<uint16_t>(h, 115, static_cast<uint16_t>(ns));
    Put<int16_t>(h, 117, static_cast<int16_t>(dtUs));
    m_headers.push_back(h);
    std::vector<uint8_t> s;
    for (float v : ieeeSamples) {
      std::vector<uint8_t> w(4);
      Put<uint32_t>(w, 1, std::bit_cast<uint32_t>(v));
      s.insert(s.end(), w.begin(), w.end());
    }
    m_samples.push_back(s);
    return static_cast<int>(m_headers.size()) - 1;
  }
  void Tr16(int trace, int pos, int v) { Put<int16_t>(m_headers[trace], pos, static_cast<int16_t>(v)); }
  void Tr32(int trace, int pos, int32_t v) { Put<int32_t>(m_headers[trace], pos, v); }
  // Raw bytes after a trace's header (extensions), before its samples.
  void TraceExtra(int trace, const std::vector<uint8_t>& bytes) { m_extra[trace] = bytes; }
  std::vector<uint8_t> Ext1() const { return std::vector<uint8_t>(240, 0); }
  template <typename T>
  void PutWord(std::vector<uint8_t>& buf, int pos, T v) const {
    Put<T>(buf, pos, v);
  }

  std::vector<uint8_t> Segy() const {
    std::vector<uint8_t> out(m_text);
    out.insert(out.end(), m_binary.begin(), m_binary.end());
    out.insert(out.end(), m_ext.begin(), m_ext.end());
    AppendTraces(out);
    return out;
  }
  std::vector<uint8_t> Su() const {
    std::vector<uint8_t> out;
    AppendTraces(out);
    return out;
  }

 private:
  template <typename T>
  void Put(std::vector<uint8_t>& buf, int pos, T v) const {
    StoreWord<T>(buf.data() + pos - 1, v, m_big);
  }
  void AppendTraces(std::vector<uint8_t>& out) const {
    for (std::size_t i = 0; i < m_headers.size(); ++i) {
      out.insert(out.end(), m_headers[i].begin(), m_headers[i].end());
      auto it = m_extra.find(static_cast<int>(i));
      if (it != m_extra.end()) out.insert(out.end(), it->second.begin(), it->second.end());
      out.insert(out.end(), m_samples[i].begin(), m_samples[i].end());
    }
  }
  bool m_big;
  std::vector<uint8_t> m_text, m_binary, m_ext;
  std::vector<std::vector<uint8_t>> m_headers, m_samples;
  std::map<int, std::vector<uint8_t>> m_extra;
};

}  // namespace segytest
