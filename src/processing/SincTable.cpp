#include "processing/SincTable.h"

#include <cmath>
#include <numbers>

#include "processing/SolveToeplitz.h"

namespace {
// Bandwidth (fraction of Nyquist) the 8-point filter is optimised for.
constexpr double kSincBandwidth = 0.6170520085451565;

double Sinc(double u) {
  if (u == 0.0) return 1.0;
  double pu = std::numbers::pi * u;
  return std::sin(pu) / pu;
}

struct Table {
  SincRow rows[kSincRows];
  Table() {
    for (auto& row : rows)
      for (float& c : row) c = 0.0f;
    rows[0][3] = 1.0f;
    rows[kSincFractions][4] = 1.0f;
    double a[kSincTaps];
    for (int j = 0; j < kSincTaps; ++j) a[j] = Sinc(kSincBandwidth * j);
    for (int r = 1; r < kSincFractions; ++r) {
      double x = static_cast<double>(r) / kSincFractions;
      double b[kSincTaps], c[kSincTaps];
      for (int j = 0; j < kSincTaps; ++j) b[j] = Sinc(kSincBandwidth * (3 - j + x));
      if (SolveToeplitz(a, b, c, kSincTaps) != 0) continue;
      for (int j = 0; j < kSincTaps; ++j) rows[r][j] = static_cast<float>(c[j]);
    }
  }
};

// Row index for a fraction; rounds to nearest (the negative branch serves
// times before the first sample).
int RowOf(double frac) {
  if (frac >= 0.0) return static_cast<int>(frac * kSincFractions + 0.5);
  return static_cast<int>((frac + 1.0) * kSincFractions - 0.5);
}

float EdgeSum(const float* row, const float* in, int64_t s, int32_t nIn, float before, float after) {
  float sum = 0.0f;
  for (int j = 0; j < kSincTaps; ++j) {
    int64_t i = s + j;
    float v = i < 0 ? before : (i >= nIn ? after : in[i]);
    sum += row[j] * v;
  }
  return sum;
}
}  // namespace

const SincRow* SincTable() {
  static const Table table;
  return table.rows;
}

void Interpolate8(const float* in, int32_t nIn, double dtIn, float before, float after, int32_t nOut,
                  const float* t, float* out) {
  const SincRow* table = SincTable();
  // Clamping keeps the integer conversion defined; positions that far out see
  // only the outside values either way.
  const double limit = static_cast<double>(nIn) + 1.0e12;
  for (int32_t i = 0; i < nOut; ++i) {
    double p = 8.0 + static_cast<double>(t[i]) / dtIn;
    if (!(p > -limit)) p = -limit;
    if (p > limit) p = limit;
    int64_t k = static_cast<int64_t>(p);
    const float* row = table[RowOf(p - static_cast<double>(k))];
    int64_t s = k - 11;
    if (s >= 0 && s <= static_cast<int64_t>(nIn) - kSincTaps) {
      const float* x = in + s;
      float sum = 0.0f;
      for (int j = 0; j < kSincTaps; ++j) sum += row[j] * x[j];
      out[i] = sum;
    } else {
      out[i] = EdgeSum(row, in, s, nIn, before, after);
    }
  }
}
