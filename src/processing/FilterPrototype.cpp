// Analog low-pass prototypes normalised to 1 rad/s, as factors of at most
// second order.
#include <algorithm>
#include <cmath>
#include <complex>
#include <numbers>

#include "log/Log.h"
#include "processing/IIRFilter.h"

namespace {
using cplx = std::complex<double>;

// Chebyshev poles above 15 need a smaller ripple to keep the sections well
// conditioned.
double ChebyshevRippleCap(int poles) {
  switch (poles) {
    case 16:
      return 0.5;
    case 17:
      return 0.4;
    case 18:
      return 0.25;
    case 19:
      return 0.125;
    case 20:
      return 0.1;
    default:
      return 1.0;
  }
}

void ClampParameters(IIRFilter& f) {
  f.NumPole = std::clamp(f.NumPole, 1, kMaxPoles);
  if (f.family == kElliptic && f.NumPole > kMaxEllipticPoles) f.NumPole = kMaxEllipticPoles;
  if (!(f.rippleDB >= 1e-4)) f.rippleDB = 1e-4;  // also catches NaN
  if (f.rippleDB > 1.0) f.rippleDB = 1.0;
  if (f.family == kChebyshev) f.rippleDB = std::min(f.rippleDB, ChebyshevRippleCap(f.NumPole));
  if (!(f.stopBandDB >= 20.0)) f.stopBandDB = 20.0;
  if (f.stopBandDB > 120.0) f.stopBandDB = 120.0;
}

int ButterworthPoles(int n, cplx* p) {
  int count = 0;
  for (int i = 0; i < n / 2; ++i) {
    double theta = std::numbers::pi * (n + 2 * i + 1) / (2.0 * n);
    p[count++] = cplx(std::cos(theta), std::sin(theta));
    p[count++] = cplx(std::cos(theta), -std::sin(theta));
  }
  if (n % 2) p[count++] = -1.0;
  return count;
}

int ChebyshevPoles(int n, double rippleDB, cplx* p) {
  double eps = std::clamp(std::sqrt(std::pow(10.0, rippleDB / 10.0) - 1.0), 1e-5, 0.996);
  double inv = 1.0 / eps;
  double a = std::log(std::sqrt(inv * inv + 1.0) + inv) / n;
  int count = 0;
  for (int k = 0; k < n / 2; ++k) {
    double phi = (2 * k + 1) * std::numbers::pi / (2.0 * n);
    double re = -std::sin(phi) * std::sinh(a), im = std::cos(phi) * std::cosh(a);
    p[count++] = cplx(re, im);
    p[count++] = cplx(re, -im);
  }
  if (n % 2) p[count++] = -std::sinh(a);
  return count;
}

void ResetPrototype(IIRFilter& f) {
  std::fill_n(f.N2, kMaxSections, 0.0);
  std::fill_n(f.N1, kMaxSections, 0.0);
  std::fill_n(f.N0, kMaxSections, 1.0);
  std::fill_n(f.D2, kMaxSections, 0.0);
  std::fill_n(f.D1, kMaxSections, 0.0);
  std::fill_n(f.D0, kMaxSections, 1.0);
  f.protoCount = 0;
}

// Elliptic: zero pairs go to the numerators; with an odd order the first
// section holds the real pole alone, so the zero sections move up one slot.
int EllipticSections(IIRFilter& f, int* rootCount, int* numerCount, int* zeroCount) {
  cplx poles[kMaxPoles], zeros[kMaxPoles];
  EllipticResult r = EllipticPoly(f.NumPole, f.rippleDB, f.stopBandDB, poles, zeros);
  *rootCount = r.poleCount;
  *zeroCount = r.zeroCount;
  int denom = RootsToSections(poles, r.poleCount, true, f.D2, f.D1, f.D0);
  *numerCount = RootsToSections(zeros, r.zeroCount, false, f.N2, f.N1, f.N0);
  if (*numerCount > 0 && f.NumPole % 2) {
    for (int k = std::min(*numerCount, kMaxSections - 1); k > 0; --k) {
      f.N2[k] = f.N2[k - 1];
      f.N0[k] = f.N0[k - 1];
    }
    f.N2[0] = 0.0;
    f.N0[0] = 1.0;
  }
  return denom;
}
}  // namespace

int RootsToSections(cplx* roots, int count, bool poles, double* c2, double* c1, double* c0) {
  for (int i = 0; i < count; ++i) {
    double re = roots[i].real(), im = roots[i].imag();
    if (!poles && std::fabs(re) * 1000.0 < std::fabs(im)) re = 0.0;
    if (std::fabs(im) * 1000.0 < std::fabs(re)) im = 0.0;
    roots[i] = cplx(re, im);
  }
  if (count <= 0) return 0;
  bool byReal = roots[0].real() != 0.0;
  std::stable_sort(roots, roots + count, [byReal](const cplx& x, const cplx& y) {
    return byReal ? x.real() < y.real() : std::fabs(x.imag()) < std::fabs(y.imag());
  });
  for (int b = 0; b < count; ++b) {
    if (roots[b].real() > 0.0) continue;
    for (int i = b + 1; i < count; ++i) {
      if (std::fabs(roots[b].real() - roots[i].real()) < 0.001 &&
          std::fabs(roots[b].imag() - roots[i].imag()) < 0.001)
        roots[i] = cplx(std::fabs(roots[i].real()) + 1.0, roots[i].imag());
    }
  }
  int sections = 0;
  for (int i = 0; i < count && sections < kMaxSections; ++i) {
    double re = roots[i].real(), im = roots[i].imag();
    if (re > 0.0) continue;
    if (re == 0.0 && im == 0.0) {
      LogPrint(LogError, "\nERROR with 2nd order polynomials calc: RE & IM are at the origin\n");
      ConsoleRaise();
      continue;
    }
    if (im != 0.0) {
      c2[sections] = 1.0;
      c1[sections] = -2.0 * re;
      c0[sections] = re * re + im * im;
      ++i;  // its conjugate
    } else {
      c2[sections] = 0.0;
      c1[sections] = 1.0;
      c0[sections] = -re;
    }
    ++sections;
  }
  return sections;
}

void NormalizeMinus3dB(IIRFilter& f) {
  int n = f.protoCount;
  double g = 1.0;
  for (int k = 0; k < n; ++k) g *= f.D0[k] / f.N0[k];
  double w = 0.0;
  for (int i = 1;; ++i) {
    w = i / 512.0;
    cplx h = 1.0;
    for (int k = 0; k < n; ++k) {
      cplx num(f.N0[k] - f.N2[k] * w * w, f.N1[k] * w);
      cplx den(f.D0[k] - f.D2[k] * w * w, f.D1[k] * w);
      double d2 = std::max(std::norm(den), 1e-50);
      h *= num * std::conj(den) / d2;
    }
    if (std::abs(g * h) < 0.7071 || i >= 5999) break;
  }
  double e = 1.0 / w;
  for (int k = 0; k < n; ++k) {
    if (f.D0[k] > 0.0) {
      if (f.D2[k] != 0.0) {
        f.D0[k] *= e * e;
        f.D1[k] *= e;
      } else {
        f.D0[k] *= e;
      }
    }
    if (f.N2[k] != 0.0) f.N0[k] *= e * e;
  }
}

void CalcSPlaneCoeff(IIRFilter& f) {
  ResetPrototype(f);
  ClampParameters(f);
  int n = f.NumPole;
  if (n == 1) {
    f.D1[0] = 1.0;
    f.D0[0] = 1.0;
    f.protoCount = 1;
    return;
  }
  cplx poles[kMaxPoles];
  int roots = 0, denom = 0, numer = 0, zeros = 0;
  if (f.family == kButterworth) {
    roots = ButterworthPoles(n, poles);
    denom = RootsToSections(poles, roots, true, f.D2, f.D1, f.D0);
  } else if (f.family == kChebyshev) {
    roots = ChebyshevPoles(n, f.rippleDB, poles);
    denom = RootsToSections(poles, roots, true, f.D2, f.D1, f.D0);
    f.protoCount = denom;
    NormalizeMinus3dB(f);
  } else if (f.family == kElliptic) {
    denom = EllipticSections(f, &roots, &numer, &zeros);
    f.protoCount = denom;
    NormalizeMinus3dB(f);
  }
  f.protoCount = denom;
  if (roots == 0 || denom == 0) {
    LogPrint(LogError, "\nERROR with SPlane Coeff calculation !!!!");
    LogPrint(LogError, "\nNumPole=%d   NumRoots=%d, DenomCount=NumSections=%d, NumerCount=%d, ZeroCount=%d\n",
             n, roots, denom, numer, zeros);
    ConsoleRaise();
  }
}
