#include <gtest/gtest.h>
#include <sys/wait.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "support/TempDir.h"

namespace {
struct ToolRun {
  int status;
  std::string out;
};

ToolRun Kxtool(const std::string& args) {
  std::string cmd = std::string(KX_KXTOOL) + " " + args + " 2>/dev/null";
  FILE* p = popen(cmd.c_str(), "r");
  std::string out;
  std::array<char, 4096> buf{};
  std::size_t n;
  while ((n = std::fread(buf.data(), 1, buf.size(), p)) > 0) out.append(buf.data(), n);
  int rc = pclose(p);
  return {WIFEXITED(rc) ? WEXITSTATUS(rc) : -1, out};
}
}  // namespace

TEST(KxtoolBasics, VersionAndHelp) {
  ToolRun v = Kxtool("--version");
  EXPECT_EQ(v.status, 0);
  EXPECT_EQ(v.out, std::string("kxtool ") + KX_VERSION + "\n");
  ToolRun h = Kxtool("help");
  EXPECT_EQ(h.status, 0);
  EXPECT_NE(h.out.find("--log-level N"), std::string::npos);
  EXPECT_NE(h.out.find("version"), std::string::npos);
}

TEST(KxtoolBasics, BadCommandsAndOptionsFail) {
  EXPECT_NE(Kxtool("no-such-command").status, 0);
  EXPECT_NE(Kxtool("help --threads zero").status, 0);
  EXPECT_NE(Kxtool("help --threads 0").status, 0);
  EXPECT_NE(Kxtool("help --bogus").status, 0);
  EXPECT_EQ(Kxtool("help --threads 2 --log-level 16").status, 0);
}

TEST(KxtoolBasics, LogFileReceivesMessages) {
  kxtest::TempDir dir("kx_basics");
  std::string path = dir / "log.txt";
  ToolRun r = Kxtool("no-such-command --log-file " + path);
  EXPECT_NE(r.status, 0);
  // The unknown command is reported before options are read, so the file stays absent.
  EXPECT_FALSE(std::filesystem::exists(path));
  r = Kxtool("help --log-file " + path + " --threads x");
  EXPECT_NE(r.status, 0);
  std::ifstream in(path);
  std::stringstream text;
  text << in.rdbuf();
  EXPECT_NE(text.str().find("ERROR: --threads needs an integer"), std::string::npos);
}
