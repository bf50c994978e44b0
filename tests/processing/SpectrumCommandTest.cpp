// kxtool spectrum end to end, against numpy on the same file read by segyio.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "PythonOracle.h"
#include "support/PeerCheck.h"
#include "support/TempDir.h"

namespace {

const std::string kSmall = std::string(KX_TEST_DATA_DIR) + "/segy/segyio/small.sgy";

int Kxtool(const std::string& args, const std::string& out) {
  std::string cmd = std::string(KX_KXTOOL) + " spectrum " + args + " > " + out + " 2>/dev/null";
  int rc = std::system(cmd.c_str());
  return WIFEXITED(rc) ? WEXITSTATUS(rc) : -1;
}

std::vector<std::pair<double, double>> ReadCsv(const std::string& path, std::string* header) {
  std::ifstream in(path);
  std::vector<std::pair<double, double>> rows;
  std::getline(in, *header);
  std::string line;
  while (std::getline(in, line)) {
    std::istringstream ss(line);
    double f = 0, a = 0;
    char comma = 0;
    ss >> f >> comma >> a;
    rows.emplace_back(f, a);
  }
  return rows;
}

void ExpectSameSpectrum(const std::string& ours, const std::string& ref, double tol) {
  std::string h1, h2;
  auto a = ReadCsv(ours, &h1), b = ReadCsv(ref, &h2);
  EXPECT_EQ(h1, "frequency_hz,amplitude");
  ASSERT_EQ(a.size(), b.size());
  ASSERT_FALSE(a.empty());
  for (std::size_t i = 0; i < a.size(); ++i) {
    ASSERT_NEAR(a[i].first, b[i].first, 1e-6 * b[i].first) << i;
    ASSERT_NEAR(a[i].second, b[i].second, tol) << i;
  }
}

TEST(SpectrumCommand, MatchesNumpyForTraceWholeRangeAndDecibels) {
  KX_REQUIRE_PYTHON("numpy, segyio");
  kxtest::TempDir dir;
  struct Case {
    std::string kx, py;
    double tol;
  } cases[] = {{"--trace 3", "trace 3", 1e-6},
               {"", "trace 1", 1e-6},
               {"--whole", "whole", 1e-6},
               {"--range 5:2::", "range 2 5", 1e-6},
               {"--whole --db", "whole db", 1e-4}};
  std::ofstream jobs(dir.File("jobs.txt"));
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    std::string ours = dir.File("ours" + std::to_string(i) + ".csv");
    ASSERT_EQ(Kxtool(cases[i].kx + " " + kSmall, ours), 0) << cases[i].kx;
    jobs << dir.File("ref" + std::to_string(i) + ".csv") << " " << cases[i].py << "\n";
  }
  jobs.close();
  ASSERT_TRUE(oracle::RunScript("spectrum_reference.py", kSmall + " " + dir.File("jobs.txt")));
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    SCOPED_TRACE(cases[i].kx);
    ExpectSameSpectrum(dir.File("ours" + std::to_string(i) + ".csv"),
                       dir.File("ref" + std::to_string(i) + ".csv"), cases[i].tol);
  }
}

TEST(SpectrumCommand, FilterOptionFollowsThePanelRules) {
  kxtest::TempDir dir;
  std::string out = dir.File("out.csv");
  // small.sgy: 4 ms, Nyquist 125 Hz.
  EXPECT_EQ(Kxtool("--filtered --filter bandpass:butterworth:8:60:10 " + kSmall, out), 0);
  std::string header;
  auto rows = ReadCsv(out, &header);
  EXPECT_EQ(rows.size(), 32u);
  EXPECT_EQ(Kxtool("--filtered --filter lowpass:elliptic:18:40:ripple=0.1:stop=10 " + kSmall, out), 0);
  EXPECT_EQ(Kxtool("--filter lowpass:butterworth:4:300 " + kSmall, out), 2);  // above Nyquist
  EXPECT_EQ(Kxtool("--filter lowpass:chebyshev:4:30:ripple=0.5x " + kSmall, out), 2);
  EXPECT_EQ(Kxtool("--filter bandpass:butterworth:4:30 " + kSmall, out), 2);  // second edge missing
  EXPECT_EQ(Kxtool("--filter wide:butterworth:4:30 " + kSmall, out), 2);
  EXPECT_EQ(Kxtool("--filter lowpass:bessel:4:30 " + kSmall, out), 2);
  EXPECT_EQ(Kxtool("--filter lowpass:butterworth:x:30 " + kSmall, out), 2);
  EXPECT_EQ(Kxtool("--whole --filtered " + kSmall, out), 2);
  EXPECT_EQ(Kxtool("--whole --trace 2 " + kSmall, out), 2);
  EXPECT_EQ(Kxtool("--trace 26 " + kSmall, out), 1);
  EXPECT_EQ(Kxtool("--range 1:2:x:1 " + kSmall, out), 1);
}

// The filtered curve: our zero-phase run against scipy's sosfilt forward and
// backward from zero state with the same Butterworth design, relative to the
// raw trace's peak bin.
TEST(SpectrumCommand, FilteredTraceMatchesForwardBackwardScipy) {
  KX_REQUIRE_PYTHON("numpy, scipy.signal, segyio");
  kxtest::TempDir dir;
  std::string ours = dir.File("ours.csv"), ref = dir.File("ref.csv");
  ASSERT_EQ(Kxtool("--trace 4 --filtered --filter lowpass:butterworth:8:20 " + kSmall, ours), 0);
  {
    std::ofstream jobs(dir.File("jobs.txt"));
    jobs << ref << " filtered 4 8 0.16\n";
  }
  ASSERT_TRUE(oracle::RunScript("spectrum_reference.py", kSmall + " " + dir.File("jobs.txt")));
  ExpectSameSpectrum(ours, ref, 1e-5);
}

}  // namespace
