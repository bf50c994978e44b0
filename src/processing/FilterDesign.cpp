// Digital sections from the analog prototype: the bilinear transform with the
// corner prewarped, applied to the section (low-pass), to the section with
// s -> 1/s (high-pass) or with s -> s / (Q (s^2 + 1)) (band-stop).
#include <chrono>
#include <cmath>
#include <complex>
#include <numbers>

#include "log/Log.h"
#include "log/Status.h"
#include "processing/IIRFilter.h"
#include "processing/PolyRoots.h"

namespace {
using cplx = std::complex<double>;

void ClearDigital(IIRFilter& f) {
  for (int k = 0; k < kMaxSections; ++k) {
    f.a0[k] = f.a1[k] = f.a2[k] = f.a3[k] = f.a4[k] = 0.0;
    f.b0[k] = f.b1[k] = f.b2[k] = f.b3[k] = f.b4[k] = 0.0;
  }
}

// Polynomial in s (ascending p[0..4]) under s = (2/T)(z-1)/(z+1), times
// T^4 (z+1)^4 / z^4: out[i] is the coefficient of z^-i.
void BilinearQuartic(const double* p, double T, double* out) {
  double acc[5] = {0, 0, 0, 0, 0};  // ascending powers of z
  for (int m = 0; m <= 4; ++m) {
    double poly[5] = {1, 0, 0, 0, 0};
    int deg = 0;
    for (int i = 0; i < 4; ++i) {  // (z-1)^m (z+1)^(4-m)
      double r = i < m ? -1.0 : 1.0;
      for (int d = deg + 1; d >= 1; --d) poly[d] = poly[d - 1] + r * poly[d];
      poly[0] *= r;
      ++deg;
    }
    double scale = p[m] * std::pow(2.0, m) * std::pow(T, 4 - m);
    for (int d = 0; d <= 4; ++d) acc[d] += scale * poly[d];
  }
  for (int i = 0; i <= 4; ++i) out[i] = acc[4 - i];
}

// One quadratic factor of a quartic in z^-1 as a section: c0 + c1 z^-1 + c2 z^-2.
void FactorToSection(cplx r1, cplx r2, double s, double* c0, double* c1, double* c2) {
  *c0 = s * (r1 * r2).real();
  *c1 = -s * (r1.real() + r2.real());
  *c2 = s;
}

// A second-order prototype section under the band-stop substitution becomes a
// fourth-order section, split into two second-order ones at slots idx, idx+1.
void NotchQuartic(IIRFilter& f, int k, double T, double Q, int idx) {
  double num[5] = {f.N0[k] * Q * Q, f.N1[k] * Q, 2 * f.N0[k] * Q * Q + f.N2[k], f.N1[k] * Q, f.N0[k] * Q * Q};
  double den[5] = {f.D0[k] * Q * Q, f.D1[k] * Q, 2 * f.D0[k] * Q * Q + f.D2[k], f.D1[k] * Q, f.D0[k] * Q * Q};
  double A[5], B[5];
  BilinearQuartic(den, T, A);
  BilinearQuartic(num, T, B);
  for (int i = 0; i <= 4; ++i) {
    B[i] *= f.D0[k];
    A[i] *= f.N0[k];
  }
  if (std::fabs(T - 2.0) < 5e-4) A[1] = A[3] = B[1] = B[3] = 0.0;  // centre at half Nyquist
  f.a0[idx] = A[0], f.a1[idx] = A[1], f.a2[idx] = A[2], f.a3[idx] = A[3], f.a4[idx] = A[4];
  f.b0[idx] = B[0], f.b1[idx] = B[1], f.b2[idx] = B[2], f.b3[idx] = B[3], f.b4[idx] = B[4];
  double Ad[5] = {A[4], A[3], A[2], A[1], A[0]};
  double Bd[5] = {B[4], B[3], B[2], B[1], B[0]};
  cplx y[4], w[4];
  if (PolyRoots(Ad, 4, y) != 4 || PolyRoots(Bd, 4, w) != 4) {
    LogPrint(LogError, "\nERROR: notch section %d could not be factored\n", k);
    ConsoleRaise();
    f.a0[idx] = f.b0[idx] = f.a0[idx + 1] = f.b0[idx + 1] = 1.0;
    f.a1[idx] = f.a2[idx] = f.b1[idx] = f.b2[idx] = 0.0;
    f.a1[idx + 1] = f.a2[idx + 1] = f.b1[idx + 1] = f.b2[idx + 1] = 0.0;
    return;
  }
  double s = std::sqrt(std::fabs(A[4])), sb = std::sqrt(std::fabs(B[4]));
  FactorToSection(y[0], y[1], s, &f.a0[idx], &f.a1[idx], &f.a2[idx]);
  FactorToSection(y[2], y[3], s, &f.a0[idx + 1], &f.a1[idx + 1], &f.a2[idx + 1]);
  FactorToSection(w[0], w[1], sb, &f.b0[idx], &f.b1[idx], &f.b2[idx]);
  FactorToSection(w[2], w[3], sb, &f.b0[idx + 1], &f.b1[idx + 1], &f.b2[idx + 1]);
  f.a3[idx] = f.a4[idx] = f.b3[idx] = f.b4[idx] = 0.0;
}

// Low-pass or high-pass section k at digital slot k (table of the design notes:
// the high-pass swaps the roles of the s^2 and constant coefficients).
void LowHighSection(IIRFilter& f, int k, double T, bool high) {
  double g = f.D0[k] / f.N0[k];
  double n2 = high ? f.N0[k] : f.N2[k], n0 = high ? f.N2[k] : f.N0[k];
  double d2 = high ? f.D0[k] : f.D2[k], d0 = high ? f.D2[k] : f.D0[k];
  double n1 = f.N1[k], d1 = f.D1[k];
  f.a0[k] = 1.0;
  if (f.D2[k] != 0.0 || f.N2[k] != 0.0) {
    double K = 4 * d2 + 2 * d1 * T + d0 * T * T;
    f.a1[k] = (2 * d0 * T * T - 8 * d2) / K;
    f.a2[k] = (4 * d2 - 2 * d1 * T + d0 * T * T) / K;
    f.b0[k] = g * (4 * n2 + 2 * n1 * T + n0 * T * T) / K;
    f.b1[k] = g * (2 * n0 * T * T - 8 * n2) / K;
    f.b2[k] = g * (4 * n2 - 2 * n1 * T + n0 * T * T) / K;
  } else if (!high) {
    double K = 2 * d1 + d0 * T;
    f.a1[k] = (d0 * T - 2 * d1) / K;
    f.b0[k] = g * (2 * n1 + n0 * T) / K;
    f.b1[k] = g * (n0 * T - 2 * n1) / K;
  } else {  // first order, s -> 1/s: (N1 + N0 s) / (D1 + D0 s)
    double K = 2 * f.D0[k] + f.D1[k] * T;
    f.a1[k] = (f.D1[k] * T - 2 * f.D0[k]) / K;
    f.b0[k] = g * (2 * f.N0[k] + f.N1[k] * T) / K;
    f.b1[k] = g * (f.N1[k] * T - 2 * f.N0[k]) / K;
  }
}

void NotchFirstOrder(IIRFilter& f, int k, double T, double Q, int idx) {
  double g = f.D0[k] / f.N0[k];
  double D0 = f.D0[k], D1 = f.D1[k], N0 = f.N0[k], N1 = f.N1[k];
  double K = 2 * D1 * T + D0 * Q * T * T + 4 * D0 * Q;
  f.a0[idx] = 1.0;
  f.a1[idx] = (2 * D0 * Q * T * T - 8 * D0 * Q) / K;
  f.a2[idx] = (4 * D0 * Q - 2 * D1 * T + D0 * Q * T * T) / K;
  f.b0[idx] = g * (2 * N1 * T + N0 * Q * T * T + 4 * N0 * Q) / K;
  f.b1[idx] = g * (2 * N0 * Q * T * T - 8 * N0 * Q) / K;
  f.b2[idx] = g * (4 * N0 * Q - 2 * N1 * T + N0 * Q * T * T) / K;
  // Same centre snap as the fourth-order sections, so that every section of
  // the notch has its zeros at exactly the same frequency.
  if (std::fabs(T - 2.0) < 5e-4) f.a1[idx] = f.b1[idx] = 0.0;
}

void NormalizeA0(IIRFilter& f) {
  for (int k = 0; k < f.NumSections; ++k) {
    double a0 = f.a0[k];
    if (a0 == 0.0) continue;
    f.a1[k] /= a0, f.a2[k] /= a0;
    f.b0[k] /= a0, f.b1[k] /= a0, f.b2[k] /= a0;
    f.a0[k] = 1.0;
  }
}

void CopyCascade(const IIRFilter& f, Biquad* cascade) {
  for (int k = 0; k < kMaxSections; ++k)
    cascade[k] =
        k < f.NumSections ? Biquad{f.a1[k], f.a2[k], f.b0[k], f.b1[k], f.b2[k]} : Biquad{0, 0, 1, 0, 0};
}
}  // namespace

void CalcFilterCoeff(IIRFilter& f) {
  auto start = std::chrono::steady_clock::now();
  CalcSPlaneCoeff(f);
  ClearDigital(f);
  bool notch = f.designType == kDesignNotch;
  f.NumSections = notch ? f.NumPole : (f.NumPole + 1) / 2;
  double T = 2.0 * std::tan(f.OmegaC * std::numbers::pi / 2.0);
  double Q =
      notch ? (f.OmegaC / f.BW) / (0.8 * std::tan(std::min(1.0 + f.OmegaC, 1.95) * std::numbers::pi / 4.0))
            : 0.0;
  int idx = 0;
  for (int k = 0; k < f.protoCount && idx < kMaxSections; ++k) {
    bool second = f.D2[k] != 0.0 || f.N2[k] != 0.0;
    if (!notch) {
      LowHighSection(f, k, T, f.designType == kDesignHighPass);
      idx = k + 1;
    } else if (second && idx + 1 < kMaxSections) {
      NotchQuartic(f, k, T, Q, idx);
      idx += 2;
    } else {
      NotchFirstOrder(f, k, T, Q, idx);
      idx += 1;
    }
  }
  // A failed prototype leaves sections unbuilt; they pass the signal rather than zero it.
  for (int k = idx; k < f.NumSections && k < kMaxSections; ++k) f.a0[k] = f.b0[k] = 1.0;
  if (notch) NormalizeA0(f);
  double gain = std::pow(10.0, f.gainDB * 0.05 / (f.NumSections > 0 ? f.NumSections : 1));
  for (int k = 0; k < f.NumSections; ++k) {
    f.b0[k] *= gain, f.b1[k] *= gain, f.b2[k] *= gain;
  }
  double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
  LogPrint(LogInfo, "Filter Coeff calculated in %.4lf ms", ms);
}

int DesignFilter(IIRFilter& f) {
  switch (f.passType) {
    case kLowPass:
      f.designType = kDesignLowPass, f.OmegaC = f.lowPassCutoff;
      CalcFilterCoeff(f);
      CopyCascade(f, f.cascade1);
      break;
    case kHighPass:
      f.designType = kDesignHighPass, f.OmegaC = f.highPassCutoff;
      CalcFilterCoeff(f);
      CopyCascade(f, f.cascade2);
      break;
    case kBandPass:
      f.designType = kDesignLowPass, f.OmegaC = f.bandPassHigh;
      CalcFilterCoeff(f);
      CopyCascade(f, f.cascade1);
      f.designType = kDesignHighPass, f.OmegaC = f.bandPassLow;
      CalcFilterCoeff(f);
      CopyCascade(f, f.cascade2);
      break;
    case kNotch:
      f.designType = kDesignNotch, f.OmegaC = f.notchCentre, f.BW = f.notchBandwidth;
      CalcFilterCoeff(f);
      CopyCascade(f, f.cascade1);
      break;
    default:
      return kStatusRefused;
  }
  f.runSections = f.NumSections;
  return 0;
}

IIRFilter IIRFilterInit() {
  IIRFilter f{};
  f.designType = kDesignLowPass;
  f.OmegaC = 0.7;
  f.BW = 0.0025;
  f.gainDB = 0.0;
  f.family = kButterworth;
  f.NumPole = 6;
  f.rippleDB = 0.02;
  f.stopBandDB = 60.0;
  CalcFilterCoeff(f);
  f.Nyquist = 500.0;
  f.highPassCutoff = 0.05;
  f.lowPassCutoff = 0.7;
  f.bandPassLow = 0.05;
  f.bandPassHigh = 0.7;
  f.notchCentre = 0.5;
  f.notchBandwidth = 0.0025;
  f.passType = kLowPass;
  return f;
}
