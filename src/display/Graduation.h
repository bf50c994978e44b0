// Axis graduation: "nice" steps of 1, 2 or 5 × 10^p, tick positions over a
// range and the decimals needed to print them. Shared by the time axis, the
// header labels, the header plot scale, the curve plotter and the map.
#pragma once

inline constexpr int kGraduationOutward = 1;  // flag bit 0: ticks enclose the range

struct Graduation {
  double step = 0.0;
  double firstTick = 0.0;
  double lastTick = 0.0;
  int decimals = 0;
  int flags = 0;
  double targetCount = 1.0;  // wanted number of intervals (values below 1 count as 1)

  // Fills step, ticks and decimals for the range a … b (a may exceed b). A
  // range of zero width or a non-finite one leaves step 0 (draw no ticks)
  // with both ticks at the range ends.
  void Compute(double a, double b);
  // Recomputes the ticks for a new range with the step kept.
  void ComputeTicks(double a, double b);
};

// The nice number of a: 1, 2, 5 or 10 × 10^p, rounding up beyond a tolerance
// of 0.001 of the decade; 0 when a is not positive and finite.
double NiceNumber(double a);

// Decimals to print multiples of step: 0 for steps of 1 and above.
int StepDecimals(double step);
