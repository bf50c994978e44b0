#include "processing/SolveToeplitz.h"

#include <cstdlib>
#include <memory>
#include <new>

#include "log/Log.h"
#include "log/Status.h"

namespace {
// Small systems (the interpolation table's are 8 x 8) stay on the stack.
constexpr int kStackSize = 32;

// Levinson recursion keeping f (T_k f = e_1) and the running solution y; the
// backward vector of a symmetric system is f reversed.
int Levinson(const double* r, const double* b, double* y, double* f, double* g, int n) {
  f[0] = 1.0 / r[0];
  y[0] = b[0] / r[0];
  for (int k = 1; k < n; ++k) {
    double ef = 0.0;
    for (int i = 0; i < k; ++i) ef += r[k - i] * f[i];
    double denom = 1.0 - ef * ef;
    if (denom == 0.0) return kStatusRefused;
    // g = ([f; 0] - ef [0; reverse(f)]) / denom
    for (int i = 0; i <= k; ++i) {
      double fwd = i < k ? f[i] : 0.0;
      double bwd = i > 0 ? f[k - i] : 0.0;
      g[i] = (fwd - ef * bwd) / denom;
    }
    for (int i = 0; i <= k; ++i) f[i] = g[i];
    double ey = 0.0;
    for (int i = 0; i < k; ++i) ey += r[k - i] * y[i];
    double step = b[k] - ey;
    y[k] = 0.0;
    for (int i = 0; i <= k; ++i) y[i] += step * f[k - i];
  }
  return 0;
}
}  // namespace

int SolveToeplitz(const double* r, const double* b, double* x, int n) {
  if (n < 1) return kStatusRefused;
  if (r[0] == 0.0) {
    LogPrint(LogError, "\nToeplitz: main diagonal is zero\n");
    return kStatusRefused;
  }
  double small[3 * kStackSize];
  std::unique_ptr<double[]> heap;
  double* work = small;
  if (n > kStackSize) {
    heap.reset(new (std::nothrow) double[3 * static_cast<std::size_t>(n)]);
    if (!heap) return kStatusRefused;
    work = heap.get();
  }
  double* y = work;
  double* f = work + n;
  double* g = work + 2 * n;
  if (Levinson(r, b, y, f, g, n) != 0) return kStatusRefused;
  for (int i = 0; i < n; ++i) x[i] = y[i];
  return 0;
}
