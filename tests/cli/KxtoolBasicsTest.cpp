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
  // Users' scripts pick the --select mode by number: help names each one.
  for (const char* mode : {"1 crossline:inline", "2 cdp:line", "3 cdpx:cdpy", "4 ffid:chan", "5 trace index"})
    EXPECT_NE(h.out.find(mode), std::string::npos) << mode;
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

TEST(KxtoolBasics, SpectrumPngDrawsThePlotAndLeavesTheCsvAlone) {
  kxtest::TempDir dir("kx_spectrum_png");
  const std::string f3 = std::string(KX_TEST_DATA_DIR) + "/segy/segyio/f3.sgy";
  const std::string png = dir / "s.png", csv = dir / "s.csv";
  ToolRun plain = Kxtool("spectrum --trace 3 " + f3);
  ASSERT_EQ(plain.status, 0);
  ASSERT_EQ(plain.out.rfind("frequency_hz,amplitude\n", 0), 0u);
  // With a picture the CSV goes only to --output, and it is the same CSV.
  ToolRun drawn = Kxtool("spectrum --trace 3 --png " + png + " --size 300x200 " + f3);
  EXPECT_EQ(drawn.status, 0);
  EXPECT_EQ(drawn.out, "");
  ASSERT_EQ(Kxtool("spectrum --trace 3 --png " + png + " --size 300x200 --output " + csv + " " + f3).status,
            0);
  std::ifstream in(csv);
  std::stringstream text;
  text << in.rdbuf();
  EXPECT_EQ(text.str(), plain.out);
  std::ifstream pic(png, std::ios::binary);
  std::string head(24, '\0');
  pic.read(head.data(), 24);
  EXPECT_EQ(head.substr(1, 3), "PNG");
  auto be32 = [&](int at) {
    return (static_cast<unsigned char>(head[at]) << 24) | (static_cast<unsigned char>(head[at + 1]) << 16) |
           (static_cast<unsigned char>(head[at + 2]) << 8) | static_cast<unsigned char>(head[at + 3]);
  };
  EXPECT_EQ(be32(16), 300);
  EXPECT_EQ(be32(20), 200);
  EXPECT_EQ(Kxtool("spectrum --whole --png " + png + " --size 8x8 " + f3).status, 2);
}
