// Automatic gain control for display: each sample is divided by the mean
// absolute value (AgcMean) or the root mean square (AgcRms) of a centred
// window of 2L + 1 samples, shortened at both ends of the trace. Plain
// functions on caller buffers; safe to call from several threads.
#pragma once

#include <cstdint>

// Half window in samples of a window of windowSeconds at interval dt.
int AgcHalfWindow(double windowSeconds, double dt);
// True when the window fits the trace: L > 1 and 2L + 1 < n.
bool AgcApplies(int halfWindow, int32_t n);

// y[0..n) from x[0..n); returns the peak |y|. A window whose running sum is
// at most 1e-20 (a silent stretch) gives zeros. Requires AgcApplies.
float AgcMean(const float* x, float* y, int32_t n, int halfWindow);
float AgcRms(const float* x, float* y, int32_t n, int halfWindow);
