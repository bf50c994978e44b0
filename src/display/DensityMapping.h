// Amplitude to palette index for colour-density drawing. A sample equal to
// normaliser / colour gain reaches the clip (255, or 13 when negative); zero,
// a zero normaliser and non-numbers all give the zero colour 134.
#pragma once

#include "display/Palette.h"

// Index steps from zero to either clip.
inline constexpr double kDensitySteps = 121.0;

// Scale from a sample value to index steps: colourGain × 121 ÷ normaliser, or
// 0 when the normaliser is not positive (an all-zero trace).
inline double DensityScale(double colorGain, double normaliser) {
  return normaliser > 0.0 ? colorGain * kDensitySteps / normaliser : 0.0;
}

// Index of w = value × sign × scale. Rounds half away from zero and clips to
// 13..255. The range checks come before the conversion so that huge or
// infinite values cannot overflow it.
inline int DensityIndex(double w) {
  if (w >= 0.0) {
    if (w >= kDensitySteps) return kDensityPositiveIndex;
    return kDensityZeroIndex + static_cast<int>(w + 0.5);
  }
  if (w < 0.0) {
    if (w <= -kDensitySteps) return kDensityNegativeIndex;
    return kDensityZeroIndex + static_cast<int>(w - 0.5);
  }
  return kDensityZeroIndex;  // NaN
}
