#include "display/Agc.h"

#include <cmath>

int AgcHalfWindow(double windowSeconds, double dt) {
  if (!(dt > 0.0) || !(windowSeconds > 0.0)) return 0;
  double l = windowSeconds / dt * 0.5 + 0.0001;
  // Windows longer than any trace behave like "no AGC" (AgcApplies fails).
  return l >= 1e9 ? 1000000000 : static_cast<int>(l);
}

bool AgcApplies(int halfWindow, int32_t n) {
  return halfWindow > 1 && 2 * static_cast<int64_t>(halfWindow) + 1 < n;
}

namespace {

struct AbsTerm {
  static double Term(float v) { return std::fabs(static_cast<double>(v)); }
  static float Gain(double cnt, double s) { return static_cast<float>(cnt / s); }
};

struct SquareTerm {
  static double Term(float v) { return static_cast<double>(v) * v; }
  static float Gain(double cnt, double s) { return std::sqrt(static_cast<float>(cnt / s)); }
};

// The running window: S and cnt carried from sample to sample, as the three
// stretches (growing, full, shrinking) of a centred window.
template <class T>
float RunAgc(const float* x, float* y, int32_t n, int l) {
  double s = 0.0, cnt = l;
  for (int i = 0; i < l; ++i) s += T::Term(x[i]);
  float peak = 0.0f;
  auto out = [&](int32_t i) {
    float v = 0.0f;
    if (s > 1e-20) {
      v = T::Gain(cnt, s) * x[i];
    } else {
      s = 0.0;
    }
    y[i] = v;
    peak = std::fmax(peak, std::fabs(v));
  };
  for (int32_t i = 0; i <= l; ++i) {
    s += T::Term(x[i + l]);
    cnt += 1.0;
    out(i);
  }
  for (int32_t i = l + 1; i <= n - l - 1; ++i) {
    s += T::Term(x[i + l]) - T::Term(x[i - l - 1]);
    out(i);
  }
  for (int32_t i = n - l; i < n; ++i) {
    s -= T::Term(x[i - l - 1]);
    cnt -= 1.0;
    out(i);
  }
  return peak;
}

}  // namespace

float AgcMean(const float* x, float* y, int32_t n, int halfWindow) {
  return RunAgc<AbsTerm>(x, y, n, halfWindow);
}

float AgcRms(const float* x, float* y, int32_t n, int halfWindow) {
  return RunAgc<SquareTerm>(x, y, n, halfWindow);
}
