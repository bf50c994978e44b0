#include "display/Graduation.h"

#include <algorithm>
#include <cmath>

double NiceNumber(double a) {
  if (!(a > 0.0) || !std::isfinite(a)) return 0.0;
  double p = std::floor(std::log10(a) + 1e-6);
  double b = std::pow(10.0, p);
  double r = a / b;
  if (r <= 1.001) return b;
  if (r <= 2.001) return 2.0 * b;
  if (r <= 5.001) return 5.0 * b;
  return 10.0 * b;
}

int StepDecimals(double step) {
  if (!(step > 0.0) || !std::isfinite(step)) return 0;
  // The tolerance keeps 0.001 at three decimals whichever way log10 rounds.
  double l = std::log10(step) + 1e-9;
  return l >= 0.0 ? 0 : static_cast<int>(-std::floor(l));
}

namespace {

// Quotients that are integers up to rounding noise (0.3 / 0.1) count as integers.
double SnapToInteger(double d) {
  double n = std::nearbyint(d);
  return std::fabs(d - n) <= 1e-9 * std::max(1.0, std::fabs(d)) ? n : d;
}

}  // namespace

void Graduation::Compute(double a, double b) {
  double w = std::fabs(b - a);
  if (flags & kGraduationOutward) w = NiceNumber(w);
  double n = std::max(targetCount, 1.0);
  step = NiceNumber(w / n);
  decimals = StepDecimals(step);
  ComputeTicks(a, b);
}

void Graduation::ComputeTicks(double a, double b) {
  if (!(step > 0.0) || !std::isfinite(step) || !std::isfinite(a) || !std::isfinite(b)) {
    step = 0.0;
    firstTick = a;
    lastTick = b;
    return;
  }
  double d = SnapToInteger(a / step), e = SnapToInteger(b / step);
  bool outward = (flags & kGraduationOutward) != 0;
  if ((a > b) != outward) {
    firstTick = std::floor(d) * step;
    lastTick = std::ceil(e) * step;
  } else {
    firstTick = std::ceil(d) * step;
    lastTick = std::floor(e) * step;
  }
}
