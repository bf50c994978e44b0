// Closed forms (quadratic formula, Cardano, Ferrari) followed by Newton
// refinement: the closed forms lose digits when roots cluster, and a notch
// factor needs its coefficients to the last few ulps.
#include "processing/PolyRoots.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {
using cplx = std::complex<double>;

void RealCubicRoots(double a, double b, double c, double* r, int* count) {
  // y^3 + a y^2 + b y + c, real roots only (1 or 3), each polished by Newton.
  double Q = (a * a - 3.0 * b) / 9.0;
  double R = (2.0 * a * a * a - 9.0 * a * b + 27.0 * c) / 54.0;
  double Q3 = Q * Q * Q;
  if (R * R < Q3) {
    double theta = std::acos(std::clamp(R / std::sqrt(Q3), -1.0, 1.0));
    double sq = -2.0 * std::sqrt(Q);
    r[0] = sq * std::cos(theta / 3.0) - a / 3.0;
    r[1] = sq * std::cos((theta + 2.0 * std::numbers::pi) / 3.0) - a / 3.0;
    r[2] = sq * std::cos((theta - 2.0 * std::numbers::pi) / 3.0) - a / 3.0;
    *count = 3;
  } else {
    double A = -std::copysign(std::cbrt(std::fabs(R) + std::sqrt(R * R - Q3)), R);
    double B = A != 0.0 ? Q / A : 0.0;
    r[0] = A + B - a / 3.0;
    *count = 1;
  }
  for (int i = 0; i < *count; ++i) {
    for (int it = 0; it < 3; ++it) {
      double y = r[i];
      double f = ((y + a) * y + b) * y + c;
      double df = (3.0 * y + 2.0 * a) * y + b;
      if (df == 0.0) break;
      double next = y - f / df;
      double fn = ((next + a) * next + b) * next + c;
      if (!(std::fabs(fn) < std::fabs(f))) break;
      r[i] = next;
    }
  }
}

int CubicRoots(const double* m, cplx* roots) {
  // Monic y^3 + m[0] y^2 + m[1] y + m[2]: the real root first, then the other
  // two from the deflated quadratic.
  double r[3];
  int count = 0;
  RealCubicRoots(m[0], m[1], m[2], r, &count);
  double y = r[0];
  if (count == 3) {  // deflate by the root of largest magnitude: the best conditioned
    for (int i = 1; i < 3; ++i)
      if (std::fabs(r[i]) > std::fabs(y)) y = r[i];
  }
  double qb = m[0] + y;
  double qc = m[1] + y * qb;
  roots[0] = y;
  QuadraticRoots(qb, qc, roots + 1);
  return 3;
}

double QuarticResidual(const double* m, const double* f) {
  // f = {b1, c1, b2, c2}: (y^2 + b1 y + c1)(y^2 + b2 y + c2) against monic m.
  double e1 = f[0] + f[2] - m[0];
  double e2 = f[1] + f[3] + f[0] * f[2] - m[1];
  double e3 = f[0] * f[3] + f[2] * f[1] - m[2];
  double e4 = f[1] * f[3] - m[3];
  return std::fabs(e1) + std::fabs(e2) + std::fabs(e3) + std::fabs(e4);
}

bool Solve4(double A[4][4], double* x) {
  for (int col = 0; col < 4; ++col) {
    int piv = col;
    for (int r = col + 1; r < 4; ++r)
      if (std::fabs(A[r][col]) > std::fabs(A[piv][col])) piv = r;
    if (A[piv][col] == 0.0) return false;
    if (piv != col) {
      std::swap(A[piv], A[col]);
      std::swap(x[piv], x[col]);
    }
    for (int r = col + 1; r < 4; ++r) {
      double k = A[r][col] / A[col][col];
      for (int c = col; c < 4; ++c) A[r][c] -= k * A[col][c];
      x[r] -= k * x[col];
    }
  }
  for (int r = 3; r >= 0; --r) {
    for (int c = r + 1; c < 4; ++c) x[r] -= A[r][c] * x[c];
    x[r] /= A[r][r];
  }
  return true;
}

void RefineFactors(const double* m, double* f) {
  // Newton on the four product equations; a step is kept only when it lowers
  // the residual (the system is singular at repeated roots).
  double res = QuarticResidual(m, f);
  for (int it = 0; it < 6 && res > 0.0; ++it) {
    double J[4][4] = {{1, 0, 1, 0}, {f[2], 1, f[0], 1}, {f[3], f[2], f[1], f[0]}, {0, f[3], 0, f[1]}};
    double d[4] = {f[0] + f[2] - m[0], f[1] + f[3] + f[0] * f[2] - m[1], f[0] * f[3] + f[2] * f[1] - m[2],
                   f[1] * f[3] - m[3]};
    if (!Solve4(J, d)) return;
    double g[4] = {f[0] - d[0], f[1] - d[1], f[2] - d[2], f[3] - d[3]};
    double r = QuarticResidual(m, g);
    if (!(r < res)) return;
    std::copy(g, g + 4, f);
    res = r;
  }
}

int QuarticRoots(const double* m, cplx* roots) {
  // Monic y^4 + a y^3 + b y^2 + c y + d, depressed by y = u - a/4.
  double a = m[0], b = m[1], c = m[2], d = m[3];
  double a2 = a * a;
  double p = b - 3.0 * a2 / 8.0;
  double q = c - a * b / 2.0 + a2 * a / 8.0;
  double r = d - a * c / 4.0 + a2 * b / 16.0 - 3.0 * a2 * a2 / 256.0;
  double scale = std::max({std::fabs(p), std::sqrt(std::fabs(r)), std::cbrt(q * q)});
  double beta1, gamma1, beta2, gamma2;  // u-quadratics u^2 + beta u + gamma
  if (std::fabs(q) <= 1e-13 * scale * std::sqrt(scale)) {
    // Biquadratic: u^2 = w with w^2 + p w + r = 0.
    double disc = p * p - 4.0 * r;
    if (disc >= 0.0) {
      cplx w[2];
      QuadraticRoots(p, r, w);
      beta1 = 0.0, gamma1 = -w[0].real();
      beta2 = 0.0, gamma2 = -w[1].real();
    } else {
      cplx sw = std::sqrt(cplx(-p / 2.0, std::sqrt(-disc) / 2.0));
      double mod2 = std::norm(sw);
      beta1 = -2.0 * sw.real(), gamma1 = mod2;
      beta2 = 2.0 * sw.real(), gamma2 = mod2;
    }
  } else {
    // Resolvent m^3 + p m^2 + (p^2/4 - r) m - q^2/8 = 0; its largest root is positive.
    double rr[3];
    int count = 0;
    RealCubicRoots(p, p * p / 4.0 - r, -q * q / 8.0, rr, &count);
    double mm = *std::max_element(rr, rr + count);
    double s = std::sqrt(2.0 * mm);
    beta1 = s, gamma1 = p / 2.0 + mm - q / (2.0 * s);
    beta2 = -s, gamma2 = p / 2.0 + mm + q / (2.0 * s);
  }
  double f[4] = {a / 2.0 + beta1, a2 / 16.0 + beta1 * a / 4.0 + gamma1, a / 2.0 + beta2,
                 a2 / 16.0 + beta2 * a / 4.0 + gamma2};
  RefineFactors(m, f);
  QuadraticRoots(f[0], f[1], roots);
  QuadraticRoots(f[2], f[3], roots + 2);
  return 4;
}
}  // namespace

void QuadraticRoots(double b, double c, cplx* roots) {
  double d = b * b - 4.0 * c;
  if (d < 0.0) {
    double im = std::sqrt(-d) / 2.0;
    roots[0] = cplx(-b / 2.0, im);
    roots[1] = cplx(-b / 2.0, -im);
    return;
  }
  double qv = -0.5 * (b + std::copysign(std::sqrt(d), b));
  if (qv == 0.0) {
    roots[0] = roots[1] = 0.0;
    return;
  }
  roots[0] = qv;
  roots[1] = c / qv;
}

int PolyRoots(const double* coeffs, int degree, cplx* roots) {
  int first = 0;
  while (first <= degree && coeffs[first] == 0.0) ++first;
  int last = degree;
  while (last > first && std::fabs(coeffs[last]) <= 1e-30 * std::fabs(coeffs[last - 1])) --last;
  int deg = last - first;
  if (deg <= 0 || deg > 4) return 0;
  double m[4];
  for (int i = 0; i < deg; ++i) m[i] = coeffs[first + 1 + i] / coeffs[first];
  switch (deg) {
    case 1:
      roots[0] = -m[0];
      return 1;
    case 2:
      QuadraticRoots(m[0], m[1], roots);
      return 2;
    case 3:
      return CubicRoots(m, roots);
    default:
      return QuarticRoots(m, roots);
  }
}
