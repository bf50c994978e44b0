// Elliptic prototype by Landen transformations: the descending sequence of the
// selectivity modulus gives the discrimination factor (and so the stop-band
// attenuation) in closed form, the ascending sequence of the ripple factor
// gives the pole radius, and the poles and zeros are mapped back up through
// the same moduli.
#include <algorithm>
#include <cmath>
#include <complex>
#include <numbers>

#include "log/Log.h"
#include "processing/IIRFilter.h"

namespace {
using cplx = std::complex<double>;

constexpr int kLandenMax = 10;

struct Landen {
  double K[kLandenMax + 1];
  double G[kLandenMax + 1];
  int L;
};

// Descending sequence of k and the discrimination sequence G; returns the
// stop-band attenuation (dB) that k achieves for ripple eps2.
double Descend(double k, int n, double eps2, Landen& s) {
  s.K[0] = k;
  s.L = 0;
  for (int j = 1; j <= kLandenMax; ++j) {
    double prev = s.K[j - 1];
    double v = prev / (1.0 + std::sqrt(1.0 - prev * prev));
    s.K[j] = v * v;
    if (s.K[j] <= 1e-6) {
      s.L = j;
      break;
    }
    if (j == kLandenMax - 1 && s.L == 0) {
      LogPrint(LogError, "ERROR in EllipticPoly() K[%d] not set", kLandenMax);
      ConsoleRaise();
      // Carry the sequence one step further rather than read an unset value.
      double w = s.K[j] / (1.0 + std::sqrt(1.0 - s.K[j] * s.K[j]));
      s.K[kLandenMax] = w * w;
      s.L = kLandenMax;
      break;
    }
  }
  int L = s.L;
  s.G[L] = 4.0 * std::pow(s.K[L] / 4.0, n);
  for (int j = L; j >= 1; --j) s.G[j - 1] = 2.0 * std::sqrt(s.G[j]) / (1.0 + s.G[j]);
  if (s.G[0] <= 0.0) s.G[0] = 1e-10;
  return 10.0 * std::log10(1.0 + eps2 / (s.G[0] * s.G[0]));
}

// One Landen step up: (x - K/x) / (1 + K), guarding a vanishing divisor.
template <typename T>
T Ascend(T x, double K) {
  T v = x - K / x;
  double d = 1.0 + K;
  return std::fabs(d) < 1e-50 ? v * 1e50 : v / d;
}
}  // namespace

EllipticResult EllipticPoly(int n, double rippleDB, double stopBandDB, cplx* poles, cplx* zeros) {
  double ripple = std::clamp(rippleDB, 0.001, 1.0);
  double eps2 = std::pow(10.0, ripple / 10.0) - 1.0;
  double eps0 = std::sqrt(eps2);
  double k = std::clamp((n - 2) * 0.1605 + 0.016, 0.01, 0.7);
  Landen s;
  double A = 0.0, Eprev = 0.0, delta = 0.0;
  for (int iter = 0; iter < 15; ++iter) {
    A = Descend(k, n, eps2, s);
    double E = stopBandDB - A;
    // The last pass keeps k, so the sequences below belong to the final k.
    if (std::fabs(E) < 0.1 || iter == 14) break;
    if (iter == 0) {
      delta = E > 0.0 ? 0.005 : -0.005;
    } else {
      double slope = (Eprev - E) / delta;
      if (slope == 0.0) break;
      delta = std::clamp(E / slope, -0.1, 0.1);
    }
    k = std::clamp(k - delta, 0.001, 0.99);
    Eprev = E;
  }
  int L = s.L;
  double eps = eps0;
  for (int j = 1; j <= L; ++j) {
    double t = (1.0 + s.G[j]) * eps;
    eps = t / 2.0 + std::sqrt(t * t / 4.0 + s.G[j]);
  }
  double v = std::log((std::sqrt(eps * eps + 1.0) + 1.0) / eps) / n;
  int count = 0, zcount = 0;
  for (int m = 1; m <= 2 * (n / 2) - 1; m += 2) {
    double phi = m * (std::numbers::pi / 2.0) / n;
    cplx d(-std::sin(phi) * std::sinh(v), std::cos(phi) * std::cosh(v));
    cplx P = std::conj(d) / std::max(std::norm(d), 1e-50);
    double u = 1.0 / std::cos(phi);
    for (int j = L; j >= 1; --j) {
      P = Ascend(P, s.K[j]);
      u = (u + s.K[j] / u) / (1.0 + s.K[j]);
    }
    cplx pole = 1.0 / P;
    poles[count++] = pole;
    poles[count++] = std::conj(pole);
    zeros[zcount++] = cplx(0.0, u / k);
    zeros[zcount++] = cplx(0.0, -u / k);
  }
  if (n % 2) {
    double o = 1.0 / std::sinh(v);
    for (int j = L; j >= 1; --j) o = Ascend(o, s.K[j]);
    poles[count++] = -1.0 / o;
  }
  return EllipticResult{count, zcount, k, A};
}
