// A synthetic 2D shot survey for demonstrations and tests: end-on shot gathers
// with hyperbolic reflections, a direct wave, dispersive-looking ground roll
// and random noise, with coordinates, elevations, stations, field record and
// channel numbers, CDP numbers and acquisition times filled in.
// The result is deterministic for given parameters (seeded noise).
#pragma once

#include <cstdint>

class SeismicSection;

struct SynthParams {
  int32_t shots = 5;
  int32_t channels = 24;
  int32_t samples = 750;
  double dtMs = 2.0;
  double receiverSpacing = 10.0;  // m
  double shotSpacing = 20.0;      // m
  double nearOffset = 20.0;       // m
  double noiseLevel = 0.02;       // relative to the strongest reflection
  uint32_t seed = 20240607;
  // Stations along a bent line (three legs at 30, 75 and 10 degrees from
  // east) instead of a straight one; midpoints and offsets stay those of the
  // map positions.
  bool crooked = false;
};

// Appends the survey to an empty section, keeps its file headers and scans it.
// Returns the number of traces, kSynthBadParameters (counts below 1, interval
// outside (0, 1000] ms, more than 2^31-1 traces or 10^8 samples per trace), or
// kStatusNoMemory when memory runs out.
inline constexpr int kSynthBadParameters = -4;
int MakeSynthSurvey(SeismicSection& section, const SynthParams& params);
