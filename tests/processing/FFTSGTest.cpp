#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "PythonOracle.h"
#include "processing/FFTSG.h"
#include "support/PeerCheck.h"
#include "support/TempDir.h"

namespace {

TEST(FFTSG, LengthIsNextPowerOfTwoAtLeastTwo) {
  FFTSG fft;
  EXPECT_EQ(fft.Initialize(1000), 0);
  EXPECT_EQ(fft.N(), 1024);
  EXPECT_EQ(fft.Initialize(1024), 0);
  EXPECT_EQ(fft.N(), 1024);
  EXPECT_EQ(fft.Initialize(1), 0);
  EXPECT_EQ(fft.N(), 2);
  EXPECT_EQ(fft.Initialize(0), 0);
  EXPECT_EQ(fft.N(), 2);
  EXPECT_EQ(FFTLength((int64_t{1} << 30) + 1), -1);
  FFTSG big;
  EXPECT_EQ(big.Initialize((int64_t{1} << 30) + 1), -1);
  EXPECT_EQ(big.N(), 0);
}

TEST(FFTSG, TablesHaveTheDocumentedSizes) {
  FFTSG fft;
  ASSERT_EQ(fft.Initialize(4096), 0);
  EXPECT_EQ(fft.BitReversalSize(), static_cast<int>(std::sqrt(4096.0) + 1.5) + 2);
  EXPECT_EQ(fft.TableSize(), 2048);
  EXPECT_EQ(fft.BitReversal()[0], 1024);
  EXPECT_EQ(fft.BitReversal()[1], 1024);
}

// All lengths 2 .. 2^20 in one exchange with numpy.
TEST(FFTSG, MagnitudesMatchNumpyRfftFromLength2To2Pow20) {
  KX_REQUIRE_PYTHON("numpy, scipy.signal");
  kxtest::TempDir dir;
  ASSERT_TRUE(dir.Ok());
  std::mt19937_64 rng(20261208);
  std::normal_distribution<double> gauss(0.0, 1.0);
  std::vector<double> data;
  std::string lengths;
  for (int p = 1; p <= 20; ++p) {
    int64_t n = int64_t{1} << p;
    for (int64_t i = 0; i < n; ++i) data.push_back(gauss(rng) + (p % 3 == 0 ? 5.0 : 0.0));
    lengths += " " + std::to_string(n);
  }
  {
    std::ofstream out(dir.File("in.bin"), std::ios::binary);
    out.write(reinterpret_cast<const char*>(data.data()), static_cast<std::streamsize>(data.size() * 8));
  }
  ASSERT_TRUE(
      oracle::RunScript("fft_reference.py", dir.File("in.bin") + " " + dir.File("out.bin") + lengths));
  std::vector<double> ref;
  {
    std::ifstream in(dir.File("out.bin"), std::ios::binary);
    double v;
    while (in.read(reinterpret_cast<char*>(&v), 8)) ref.push_back(v);
  }
  std::size_t pos = 0, rpos = 0;
  for (int p = 1; p <= 20; ++p) {
    int64_t n = int64_t{1} << p;
    FFTSG fft;
    ASSERT_EQ(fft.Initialize(n), 0);
    std::vector<double> a(data.begin() + static_cast<long>(pos), data.begin() + static_cast<long>(pos + n));
    fft.Forward(a.data());
    ASSERT_LE(rpos + n / 2 + 1, ref.size());
    const double* r = ref.data() + rpos;
    double scale = std::sqrt(static_cast<double>(n));  // typical magnitude of a bin
    double tol = 1e-12 * scale * (p + 1);
    EXPECT_NEAR(std::fabs(a[0]), r[0], tol) << "n=" << n << " bin 0";
    EXPECT_NEAR(std::fabs(a[1]), r[n / 2], tol) << "n=" << n << " Nyquist";
    int bad = 0;
    for (int64_t k = 1; k < n / 2 && bad < 3; ++k) {
      double m = std::hypot(a[2 * k], a[2 * k + 1]);
      if (!(std::fabs(m - r[k]) <= tol)) {
        ADD_FAILURE() << "n=" << n << " bin " << k << ": ours " << m << " numpy " << r[k];
        ++bad;
      }
    }
    pos += static_cast<std::size_t>(n);
    rpos += static_cast<std::size_t>(n / 2 + 1);
  }
}

TEST(FFTSG, ConstantTraceGivesHalfSumInBinZeroOnly) {
  FFTSG fft;
  ASSERT_EQ(fft.Initialize(1024), 0);
  std::vector<float> s(1024, -2.5f), amp(512, 0.0f);
  std::vector<double> work(1024);
  ASSERT_EQ(fft.AccumulateSpectrum(s.data(), 1024, work.data(), amp.data(), 1.0), 0);
  EXPECT_FLOAT_EQ(amp[0], 1024 * 2.5f / 2);
  for (int k = 1; k < 512; ++k) ASSERT_LT(amp[k], 1e-9f) << k;
  // Dead trace (scale 0) adds nothing; scale divides.
  ASSERT_EQ(fft.AccumulateSpectrum(s.data(), 1024, work.data(), amp.data(), 0.0), 0);
  EXPECT_FLOAT_EQ(amp[0], 1024 * 2.5f / 2);
  ASSERT_EQ(fft.AccumulateSpectrum(s.data(), 1024, work.data(), amp.data(), 2.5), 0);
  EXPECT_FLOAT_EQ(amp[0], 1024 * 2.5f / 2 + 512);
  FFTSG none;
  EXPECT_EQ(none.AccumulateSpectrum(s.data(), 1024, work.data(), amp.data(), 1.0), -1);
}

TEST(FFTSG, SineLandsInItsBinAndShorterTracesArePadded) {
  FFTSG fft;
  ASSERT_EQ(fft.Initialize(1000), 0);
  std::vector<float> s(1024);
  for (int i = 0; i < 1024; ++i) s[i] = static_cast<float>(std::sin(2 * M_PI * 37 * i / 1024.0));
  std::vector<float> amp(512, 0.0f);
  std::vector<double> work(1024);
  fft.AccumulateSpectrum(s.data(), 1024, work.data(), amp.data(), 1.0);
  EXPECT_NEAR(amp[37], 512.0f, 1e-3);
  EXPECT_LT(amp[36] + amp[38], 1e-3);
  // A table built for a larger N serves a smaller one after Initialize.
  ASSERT_EQ(fft.Initialize(8), 0);
  double a[8] = {1, 0, 0, 0, 0, 0, 0, 0};
  fft.Forward(a);
  EXPECT_DOUBLE_EQ(a[0], 1.0);
  EXPECT_DOUBLE_EQ(a[1], 1.0);
  for (int k = 1; k < 4; ++k) EXPECT_NEAR(std::hypot(a[2 * k], a[2 * k + 1]), 1.0, 1e-15);
}

}  // namespace
