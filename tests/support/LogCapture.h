// What the log writes during a test, read back through the log file.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "log/Log.h"
#include "support/TempDir.h"

namespace kxtest {
namespace fs = std::filesystem;

// Collects what the log writes while it lives, through the log file: in a
// folder of its own, or at path. A threshold, when given, holds while it
// lives. The log flushes every message, so reading leaves the capture on.
class LogCapture {
 public:
  explicit LogCapture(std::optional<int> threshold = {}) : LogCapture(fs::path(), threshold) {}
  explicit LogCapture(fs::path path, std::optional<int> threshold = {})
      : m_path(std::move(path)), m_oldThreshold(LogGetThreshold()) {
    if (m_path.empty()) m_path = m_dir.emplace("kx_log").File("log.txt");
    LogFileClose();
    EXPECT_TRUE(LogFileOpen(m_path.string()));
    if (threshold) LogSetThreshold(*threshold);
  }
  ~LogCapture() {
    LogSetThreshold(m_oldThreshold);
    LogFileClose();
    std::error_code ec;
    fs::remove(m_path, ec);
  }
  LogCapture(const LogCapture&) = delete;
  LogCapture& operator=(const LogCapture&) = delete;

  std::string Text() const {
    std::ifstream in(m_path);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  std::vector<std::string> Lines() const {
    std::ifstream in(m_path);
    std::vector<std::string> lines;
    for (std::string l; std::getline(in, l);) lines.push_back(l);
    return lines;
  }
  // Non-empty lines only: the log's leading "\n"s make empty lines.
  std::vector<std::string> TextLines() const {
    std::vector<std::string> out;
    for (auto& l : Lines())
      if (!l.empty()) out.push_back(l);
    return out;
  }
  // Whether a whole line is `line`.
  bool Has(const std::string& line) const {
    auto lines = TextLines();
    return std::find(lines.begin(), lines.end(), line) != lines.end();
  }
  // Whether `piece` occurs anywhere, across lines too.
  bool Contains(const std::string& piece) const { return Text().find(piece) != std::string::npos; }

 private:
  std::optional<TempDir> m_dir;
  fs::path m_path;
  int m_oldThreshold;
};

// What the log writes while fn runs at the given threshold.
inline std::string CaptureLog(int threshold, const std::function<void()>& fn) {
  LogCapture log(threshold);
  fn();
  return log.Text();
}
}  // namespace kxtest
