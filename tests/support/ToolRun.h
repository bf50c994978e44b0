// Runs a shell command line and collects what it prints with its exit status.
#pragma once

#include <sys/wait.h>

#include <array>
#include <cstdio>
#include <string>

namespace kxtest {

struct ToolRun {
  int status;       // exit status, -1 when the command did not exit normally
  std::string out;  // what the command line printed on standard output
};

inline ToolRun RunCommand(const std::string& commandLine) {
  FILE* p = popen(commandLine.c_str(), "r");
  std::string out;
  if (!p) return {-1, out};
  std::array<char, 65536> buf{};
  std::size_t n;
  while ((n = std::fread(buf.data(), 1, buf.size(), p)) > 0) out.append(buf.data(), n);
  int rc = pclose(p);
  return {WIFEXITED(rc) ? WEXITSTATUS(rc) : -1, out};
}

}  // namespace kxtest
