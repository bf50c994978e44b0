// kxtool on damaged files, big files and hostile limits: exit statuses that
// tell a partial load from a clean one, reads bounded to the traces printed,
// writes under a file-size limit, and impossible values in files.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "support/ByteWriter.h"
#include "support/TempDir.h"

namespace {
namespace fs = std::filesystem;
using kxtest::ReadFileBytes;
using kxtest::WriteFileBytes;

const std::string kSmall = std::string(KX_TEST_DATA_DIR) + "/segy/segyio/small.sgy";  // 25 x 50, IBM
constexpr std::size_t kSmallTraceBytes = 240 + 50 * 4;

struct ToolRun {
  int status;
  std::string out, err;
  double seconds;
};

// Runs "prefix kxtool args" through the shell (prefix: ulimit settings). With
// errOnly the messages come through the pipe, out of reach of a file-size limit.
ToolRun Kxtool(const kxtest::TempDir& dir, const std::string& args, const std::string& prefix = "",
               bool errOnly = false) {
  std::string errPath = dir / "stderr.txt";
  std::string cmd = prefix + " " + KX_KXTOOL + " " + args + (errOnly ? " 2>&1 >/dev/null" : " 2>" + errPath);
  auto start = std::chrono::steady_clock::now();
  FILE* p = popen(("sh -c '" + cmd + "'").c_str(), "r");
  std::string out;
  std::array<char, 4096> buf{};
  std::size_t n;
  while ((n = std::fread(buf.data(), 1, buf.size(), p)) > 0) out.append(buf.data(), n);
  int rc = pclose(p);
  double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  int status = WIFEXITED(rc) ? WEXITSTATUS(rc) : 128 + WTERMSIG(rc);
  if (errOnly) return {status, "", out, seconds};
  auto err = ReadFileBytes(errPath);
  return {status, out, std::string(err.begin(), err.end()), seconds};
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string l; std::getline(in, l);) lines.push_back(l);
  return lines;
}

std::string Cut(const kxtest::TempDir& dir, const std::string& name, std::size_t bytes) {
  auto b = ReadFileBytes(kSmall);
  b.resize(bytes);
  std::string path = dir / name;
  WriteFileBytes(path, b);
  return path;
}

// KXF records (448-byte header, DIM floats) with the given interval, delay and samples.
std::string Kxf(const kxtest::TempDir& dir, const std::string& name,
                const std::vector<std::pair<double, double>>& timing, const std::vector<float>& samples) {
  kxtest::ByteWriter b(false);
  for (const auto& [dt, delay] : timing) {
    std::size_t start = b.size();
    float amax = 0.0f;  // as a writer stores it: the largest finite magnitude
    for (float v : samples) amax = std::isfinite(v) ? std::max(amax, std::fabs(v)) : amax;
    b.I32(static_cast<int32_t>(samples.size())).I32(static_cast<int32_t>(samples.size())).F64(dt).F64(delay);
    b.F32(amax);
    b.Zeros(start + 448 - b.size());
    for (float v : samples) b.F32(v);
  }
  std::string path = dir / name;
  WriteFileBytes(path, b.Bytes());
  return path;
}

bool HasTemporaryFile(const kxtest::TempDir& dir) {
  for (const auto& e : fs::directory_iterator(dir.Path()))
    if (e.path().filename().string().find(".kxtmp.") != std::string::npos) return true;
  return false;
}
}  // namespace

TEST(KxtoolExitStatus, CleanPartialFailedAndUsage) {
  kxtest::TempDir dir("kx_exit");
  // A file cut inside trace 11: ten traces are kept and used, the rest is lost.
  std::string cut = Cut(dir, "cut.sgy", 3600 + 10 * kSmallTraceBytes + 100);
  std::string empty = Cut(dir, "header-only.sgy", 3600 + 100);
  struct Case {
    std::string args;
    int status;
    std::size_t lines;  // of standard output; npos: not checked
  } cases[] = {
      {"info " + kSmall, 0, std::string::npos},
      {"traces --fields TRNO " + kSmall, 0, 25},
      {"info " + cut, 3, std::string::npos},
      {"traces --fields TRNO " + cut, 3, 10},
      {"convert " + cut + " -o " + (dir / "out.sgy"), 3, 0},
      {"info " + empty, 1, 0},
      {"info " + (dir / "absent.sgy"), 1, 0},
      {"info", 2, 0},
      {"traces --samples -1 " + kSmall, 2, 0},
      {"no-such-command", 2, 0},
  };
  for (const Case& c : cases) {
    ToolRun r = Kxtool(dir, c.args);
    EXPECT_EQ(r.status, c.status) << c.args << "\n" << r.err;
    if (c.lines != std::string::npos) {
      EXPECT_EQ(Lines(r.out).size(), c.lines) << c.args;
    }
  }
  EXPECT_TRUE(fs::exists(dir / "out.sgy"));  // the partial load was still written whole
  ToolRun help = Kxtool(dir, "help");
  for (const char* line : {"exit status:", "  0  ", "  1  ", "  2  ", "  3  done in part"})
    EXPECT_NE(help.out.find(line), std::string::npos) << line;
  // The README tells the same.
  auto readme = ReadFileBytes(std::string(KX_SOURCE_DIR) + "/README.md");
  EXPECT_NE(std::string(readme.begin(), readme.end()).find("`3` done in part"), std::string::npos);
}

TEST(KxtoolBoundedReads, WindowsMatchTheWholeLoadAcrossFilesAndFormats) {
  kxtest::TempDir dir("kx_window");
  std::string kxf = dir / "small.kxf";
  ASSERT_EQ(Kxtool(dir, "convert " + kSmall + " -o " + kxf).status, 0);
  std::string two = kSmall + " " + kSmall;
  for (const std::string& files : {kSmall, kxf, two}) {
    std::vector<std::string> all = Lines(Kxtool(dir, "traces --samples 5 " + files).out);
    ASSERT_GE(all.size(), 25u) << files;
    for (auto [from, to] : {std::pair{0, 0}, {3, 5}, {23, 30}, {24, 24}, {20, 27}, {49, 60}, {70, 80}}) {
      ToolRun r = Kxtool(dir, "traces --samples 5 --from " + std::to_string(from) + " --to " +
                                  std::to_string(to) + " " + files);
      EXPECT_EQ(r.status, 0) << files << " " << from << " " << r.err;
      std::vector<std::string> want;
      for (int i = from; i <= to && i < static_cast<int>(all.size()); ++i) want.push_back(all[i]);
      EXPECT_TRUE(Lines(r.out) == want) << files << " " << from << "-" << to << ":\n" << r.out.substr(0, 300);
    }
  }
}

// A 4 GiB SEG-Y file, sparse: the small file, zero traces (the binary header
// gives their length), and the small file's last trace again at the very end.
TEST(KxtoolBoundedReads, LastTracesOfAFourGibFileUnderAMemoryLimit) {
  kxtest::TempDir dir("kx_big");
  auto small = ReadFileBytes(kSmall);
  const uint64_t traces = (4ull << 30) / kSmallTraceBytes;
  const uint64_t size = 3600 + traces * kSmallTraceBytes;
  std::string big = dir / "big.sgy";
  WriteFileBytes(big, small);
  std::error_code ec;
  fs::resize_file(big, size, ec);
  if (ec) GTEST_SKIP() << "no room for a sparse 4 GiB file: " << ec.message();
  {
    FILE* f = std::fopen(big.c_str(), "r+b");
    ASSERT_TRUE(f);
    ASSERT_EQ(fseeko(f, static_cast<off_t>(size - kSmallTraceBytes), SEEK_SET), 0);
    ASSERT_EQ(std::fwrite(small.data() + small.size() - kSmallTraceBytes, 1, kSmallTraceBytes, f),
              kSmallTraceBytes);
    std::fclose(f);
  }
  std::string last =
      Lines(Kxtool(dir, "traces --samples 50 --from 24 --to 24 --fields NS " + kSmall).out).at(0);
  last = last.substr(last.find(", \"ns\""));  // all but the index
  const std::string range = " --from " + std::to_string(traces - 2) + " --to " + std::to_string(traces + 5);
  // 512 MB of address space: the whole file cannot be loaded, the two traces can. A sanitizer
  // build reserves terabytes of shadow memory at start, so there the limit is left out.
#if defined(__SANITIZE_ADDRESS__)
  const std::string limit;
#else
  const std::string limit = "ulimit -v 524288;";
#endif
  ToolRun r = Kxtool(dir, "traces --samples 50 --fields NS" + range + " " + big, limit);
  ASSERT_EQ(r.status, 0) << r.err;
  std::vector<std::string> lines = Lines(r.out);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0].find("{\"index\": " + std::to_string(traces - 2) + ", \"ns\": 50"), 0u);
  EXPECT_EQ(lines[1], "{\"index\": " + std::to_string(traces - 1) + last);
  ToolRun dump =
      Kxtool(dir, "dump --traces " + std::to_string(traces) + "-" + std::to_string(traces) + " " + big,
             limit);
  EXPECT_EQ(dump.status, 0) << dump.err;
}

TEST(KxtoolWrites, FileSizeLimitFailsLikeAFullDiskForEveryOutput) {
  kxtest::TempDir dir("kx_fsize");
  const std::string old = "the previous contents\n";
  for (std::string name : {"out.sgy", "out.kxf", "spectrum.csv", "words.txt"}) {
    std::string out = dir / name;
    WriteFileBytes(out, std::vector<uint8_t>(old.begin(), old.end()));
    std::string args = name == "spectrum.csv" ? "spectrum --whole --output " + out + " " + kSmall
                       : name == "words.txt"
                           ? "headers export " + kSmall + " " + out + " --words TRACF,CDP,SX,GX"
                           : "convert " + kSmall + " -o " + out;
    // No byte may be written.
    ToolRun r = Kxtool(dir, args, "ulimit -f 0;", true);
    EXPECT_EQ(r.status, 1) << name << "\n" << r.err;
    EXPECT_NE(r.err.find("File too large"), std::string::npos) << name << "\n" << r.err;
    auto kept = ReadFileBytes(out);
    EXPECT_EQ(std::string(kept.begin(), kept.end()), old) << name;
    EXPECT_FALSE(HasTemporaryFile(dir)) << name;
  }
  // Without the limit the spectrum replaces the old file whole.
  ToolRun ok = Kxtool(dir, "spectrum --whole --output " + (dir / "spectrum.csv") + " " + kSmall);
  EXPECT_EQ(ok.status, 0) << ok.err;
  auto csv = ReadFileBytes(dir / "spectrum.csv");
  EXPECT_EQ(std::string(csv.begin(), csv.end()).rfind("frequency_hz,amplitude\n", 0), 0u);
  // A folder that does not exist: the message carries the system's reason.
  ToolRun missing = Kxtool(dir, "spectrum --whole --output " + (dir / "no/such.csv") + " " + kSmall);
  EXPECT_EQ(missing.status, 1);
  EXPECT_NE(missing.err.find("No such file or directory"), std::string::npos) << missing.err;
}

TEST(KxtoolImpossibleValues, KxfTimingNonFiniteSamplesAndBcdDigits) {
  kxtest::TempDir dir("kx_values");
  const std::vector<float> samples = {1.0f, NAN, -3.0f, INFINITY, 2.0f, -INFINITY};
  struct Case {
    double dt, delay;
    bool refused;
  } cases[] = {{0.002, 0.0, false},   {0.0, 0.0, true},   {-0.002, 0.0, true},     {NAN, 0.0, true},
               {INFINITY, 0.0, true}, {0.002, NAN, true}, {0.002, -INFINITY, true}};
  for (const Case& c : cases) {
    // A good record, then the one under test: a refusal keeps the first (exit 3).
    std::string path = Kxf(dir, "t.kxf", {{0.001, 0.0}, {c.dt, c.delay}}, {1.0f, 2.0f});
    ToolRun r = Kxtool(dir, "traces --fields NS " + path);
    EXPECT_EQ(r.status, c.refused ? 3 : 0) << c.dt << " " << c.delay << r.err;
    EXPECT_EQ(Lines(r.out).size(), c.refused ? 1u : 2u) << c.dt << " " << c.delay;
    if (c.refused) {
      EXPECT_NE(r.err.find("ERROR: Invalid trace record, trace #2"), std::string::npos) << r.err;
    }
  }
  // Non-finite samples: one warning per file with the count; the spectrum skips them.
  std::string bad = Kxf(dir, "nonfinite.kxf", {{0.001, 0.0}, {0.001, 0.0}}, samples);
  ToolRun t = Kxtool(dir, "traces --fields NS " + bad + " " + bad);
  EXPECT_EQ(t.status, 0) << t.err;
  std::size_t at = t.err.find("WARNING: 6 non-finite samples (NaN or infinity) in '" + bad + "'");
  ASSERT_NE(at, std::string::npos) << t.err;
  EXPECT_NE(t.err.find("WARNING: 6 non-finite", at + 1), std::string::npos);  // once per file
  ToolRun s = Kxtool(dir, "spectrum --whole " + bad);
  EXPECT_EQ(s.status, 0) << s.err;
  EXPECT_GT(Lines(s.out).size(), 2u);
  EXPECT_EQ(s.out.find("nan"), std::string::npos) << s.out;
  EXPECT_EQ(s.out.find("inf"), std::string::npos) << s.out;
  // SEG-D General Header #1 with hex digits in BCD fields.
  std::vector<uint8_t> segd(64, 0);
  segd[0] = 0x1A, segd[1] = 0x34;    // file number
  segd[10] = 0x05;                   // year 2005
  segd[11] = 0x1C, segd[12] = 0x45;  // one additional block; day hundreds C
  segd[13] = 0x2B;                   // hour
  segd[14] = 0x59;
  std::string segdPath = dir / "hex.segd";
  WriteFileBytes(segdPath, segd);
  ToolRun d = Kxtool(dir, "segd " + segdPath);
  EXPECT_EQ(d.status, 3) << d.err;
  for (const char* line : {"file_number = invalid\n", "day_of_year = invalid\n", "hour = invalid\n",
                           "minute = 59\n", "year = 2005\n"})
    EXPECT_NE(d.out.find(line), std::string::npos) << line << d.out;
  EXPECT_NE(
      d.err.find("ERROR: invalid BCD digits in SEG-D General Header #1, file number (bytes 1-2: 1A 34)"),
      std::string::npos)
      << d.err;
}
