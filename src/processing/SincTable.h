// The 8-point least-squares sinc interpolator used by resampling.
//
// The table has 513 rows of 8 coefficients; row r interpolates at the
// fraction r/512 between input samples k and k+1, with taps on samples
// k-3 .. k+4. Row 0 picks sample k and row 512 picks sample k+1 exactly.
#pragma once

#include <cstdint>

inline constexpr int kSincRows = 513;
inline constexpr int kSincTaps = 8;
inline constexpr int kSincFractions = 512;

using SincRow = float[kSincTaps];

// The table, built on the first call (thread-safe, once per run) and shared
// read-only afterwards. Never null.
const SincRow* SincTable();

// Interpolates in[0..nIn) (interval dtIn, first sample at time 0) at the
// output times t[0..nOut) into out. Taps before the first sample take
// `before`, taps past the last take `after`. Times are seconds relative to the
// first input sample. Reentrant; out may not overlap in.
void Interpolate8(const float* in, int32_t nIn, double dtIn, float before, float after, int32_t nOut,
                  const float* t, float* out);
