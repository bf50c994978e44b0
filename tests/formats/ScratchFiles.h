// Scratch files and log capture shared by the reader tests that build their
// inputs byte by byte.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "log/Log.h"

namespace scratch {
namespace fs = std::filesystem;

// Removes the old file first: rewriting a truncated file in place makes some
// file systems flush it, which costs milliseconds per file in the fuzz loops.
inline void WriteBytes(const fs::path& p, const std::vector<uint8_t>& bytes) {
  fs::remove(p);
  std::ofstream out(p, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

inline std::vector<uint8_t> ReadBytes(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

// Collects what the log writes while it lives, through the log file.
class LogCapture {
 public:
  explicit LogCapture(fs::path path) : m_path(std::move(path)) {
    LogFileClose();
    EXPECT_TRUE(LogFileOpen(m_path.string()));
  }
  ~LogCapture() {
    LogFileClose();
    fs::remove(m_path);
  }
  std::string Text() {
    LogFileClose();
    std::ifstream in(m_path);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  std::vector<std::string> Lines() {
    LogFileClose();
    std::ifstream in(m_path);
    std::vector<std::string> lines;
    for (std::string l; std::getline(in, l);) lines.push_back(l);
    return lines;
  }
  // Non-empty lines only: the log's leading "\n"s make empty lines.
  std::vector<std::string> TextLines() {
    std::vector<std::string> out;
    for (auto& l : Lines())
      if (!l.empty()) out.push_back(l);
    return out;
  }
  bool Has(const std::string& line) {
    auto lines = TextLines();
    return std::find(lines.begin(), lines.end(), line) != lines.end();
  }

 private:
  fs::path m_path;
};
}  // namespace scratch
