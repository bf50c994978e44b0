// A fresh folder for one test under the system's temporary directory, made
// unique by mkdtemp (tests run in parallel processes) and removed with its
// contents when the object goes.
#pragma once

#include <stdlib.h>

#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

namespace kxtest {

class TempDir {
 public:
  explicit TempDir(const std::string& prefix = "kx_test") {
    std::string pattern = (std::filesystem::temp_directory_path() / (prefix + "_XXXXXX")).string();
    if (::mkdtemp(pattern.data())) m_path = pattern;
  }
  ~TempDir() {
    std::error_code ec;
    if (!m_path.empty()) std::filesystem::remove_all(m_path, ec);
  }
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  // False when the folder could not be made.
  bool Ok() const { return !m_path.empty(); }
  const std::string& Path() const { return m_path; }
  // The path of a file (or folder) in it.
  std::string File(const std::string& name) const { return (std::filesystem::path(m_path) / name).string(); }
  std::string operator/(const std::string& name) const { return File(name); }
  // Names of the entries in it.
  std::vector<std::string> Files() const {
    std::vector<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(m_path))
      names.push_back(e.path().filename().string());
    return names;
  }

 private:
  std::string m_path;
};

}  // namespace kxtest
