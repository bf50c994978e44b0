// What the log writes during a test, read back through the log file.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "log/Log.h"

namespace kxtest {
namespace fs = std::filesystem;

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
}  // namespace kxtest
