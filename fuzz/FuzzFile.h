// Shared by the fuzz harnesses: the readers take a path, so each input goes
// through a file of this process's own (in memory when /dev/shm exists).
#pragma once

#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>

#include "log/Log.h"

namespace kxfuzz {

// A folder of this process's own, made on first use; the log is silenced then too,
// since millions of runs must not print millions of messages.
inline const std::filesystem::path& WorkDir() {
  static const std::filesystem::path dir = [] {
    LogSetThreshold(-1);
    std::error_code ec;
    std::filesystem::path base = std::filesystem::exists("/dev/shm", ec) ? "/dev/shm" : "/tmp";
    std::filesystem::path d = base / ("kxfuzz-" + std::to_string(getpid()));
    std::filesystem::create_directories(d, ec);
    return d;
  }();
  return dir;
}

// Writes the bytes to WorkDir()/name and returns the path.
inline std::string WriteInput(const std::string& name, const uint8_t* data, std::size_t size) {
  std::string path = (WorkDir() / name).string();
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) std::abort();
  if (size && std::fwrite(data, 1, size, f) != size) std::abort();
  std::fclose(f);
  return path;
}

}  // namespace kxfuzz
