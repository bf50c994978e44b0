// Magnitude responses of our designs against scipy's (see filter_reference.py
// for how scipy's prototypes are brought to our conventions).
#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "PythonOracle.h"
#include "processing/IIRFilter.h"
#include "support/PeerCheck.h"
#include "support/TempDir.h"

namespace {

struct Case {
  int kind;  // 1 low, 2 high, 3 band, 4 notch
  int family;
  int poles;
  double ripple, stop, omega, bw;
};

constexpr int kPoints = 1500;

IIRFilter Design(const Case& c) {
  IIRFilter f = IIRFilterInit();
  f.family = c.family;
  f.NumPole = c.poles;
  f.rippleDB = c.ripple;
  f.stopBandDB = c.stop;
  f.passType = c.kind;
  if (c.kind == 1) f.lowPassCutoff = c.omega;
  if (c.kind == 2) f.highPassCutoff = c.omega;
  if (c.kind == 3) f.bandPassLow = c.omega, f.bandPassHigh = c.bw;
  if (c.kind == 4) f.notchCentre = c.omega, f.notchBandwidth = c.bw;
  EXPECT_EQ(DesignFilter(f), 0);
  return f;
}

// The line for the reference script, with the parameters as our design
// clamped them and, for Elliptic, the stop band our modulus search reached.
std::string CaseLine(const Case& c, const IIRFilter& f) {
  double stop = f.stopBandDB;
  if (f.family == kElliptic && f.NumPole > 1) {
    std::complex<double> p[kMaxPoles], z[kMaxPoles];
    stop = EllipticPoly(f.NumPole, f.rippleDB, f.stopBandDB, p, z).attenuationDB;
  }
  char buf[256];
  std::snprintf(buf, sizeof buf, "%d %d %d %.17g %.17g %.17g %.17g %d\n", c.kind, f.family, f.NumPole,
                f.rippleDB, stop, c.omega, c.bw, kPoints);
  return buf;
}

std::vector<Case> Cases() {
  std::vector<Case> cases;
  const int families[] = {kButterworth, kChebyshev, kElliptic};
  const int orders[] = {1, 2, 3, 4, 5, 6, 8, 11, 15, 20};
  const double corners[] = {0.05, 0.3, 0.5, 0.83};
  const double ripples[] = {0.02, 0.5, 1.0};
  const double stops[] = {40.0, 60.0, 80.0};
  int i = 0;
  for (int fam : families) {
    for (int n : orders) {
      for (double w : corners) {
        double rp = ripples[i % 3], rs = stops[(i / 3) % 3];
        ++i;
        cases.push_back({1, fam, n, rp, rs, w, 0});
        cases.push_back({2, fam, n, rp, rs, w, 0});
      }
      cases.push_back({3, fam, n, ripples[n % 3], stops[n % 3], 0.08, 0.6});
      cases.push_back({4, fam, n, ripples[n % 3], stops[n % 3], 0.5, 0.02});
      cases.push_back({4, fam, n, ripples[(n + 1) % 3], stops[n % 3], 0.2, 0.01});
      cases.push_back({4, fam, n, ripples[(n + 2) % 3], stops[n % 3], 0.7, 0.05});
    }
  }
  return cases;
}

std::string Describe(const Case& c) {
  char buf[160];
  std::snprintf(buf, sizeof buf, "kind %d family %d poles %d ripple %g stop %g omega %g bw %g", c.kind,
                c.family, c.poles, c.ripple, c.stop, c.omega, c.bw);
  return buf;
}

// Pass band and transition band: wherever the reference is above -80 dB the
// responses agree to a relative 1e-6 (4e-6 dB); below it, to 1e-8 absolute.
void ExpectMatches(const Case& c, const IIRFilter& f, const std::vector<double>& ref) {
  ASSERT_EQ(ref.size(), static_cast<std::size_t>(kPoints)) << Describe(c);
  int bad = 0;
  for (int i = 0; i < kPoints && bad < 3; ++i) {
    double w = (i + 0.5) / kPoints;
    double ours = FilterMagnitude(f, w);
    double tol = 1e-6 * ref[i] + 1e-14;
    if (!(std::fabs(ours - ref[i]) <= tol)) {
      ADD_FAILURE() << Describe(c) << " at w=" << w << ": ours " << ours << " scipy " << ref[i];
      ++bad;
    }
  }
}

TEST(FilterScipy, MagnitudeSquaredMatchesScipyForEveryFamilyAndPassType) {
  KX_REQUIRE_PYTHON("numpy, scipy.signal");
  kxtest::TempDir dir;
  ASSERT_TRUE(dir.Ok());
  std::vector<Case> cases = Cases();
  std::vector<IIRFilter> filters;
  {
    std::ofstream out(dir.File("cases.txt"));
    for (const Case& c : cases) {
      filters.push_back(Design(c));
      out << CaseLine(c, filters.back());
    }
  }
  ASSERT_TRUE(oracle::RunScript("filter_reference.py", dir.File("cases.txt") + " " + dir.File("ref.txt")));
  auto rows = oracle::ReadRows(dir.File("ref.txt"));
  ASSERT_EQ(rows.size(), cases.size());
  for (std::size_t i = 0; i < cases.size(); ++i) ExpectMatches(cases[i], filters[i], rows[i]);
}

}  // namespace
