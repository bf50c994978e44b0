// Recursive (IIR) frequency filters: design of Butterworth, Chebyshev and
// Elliptic prototypes, their low-pass, high-pass and band-stop transforms to
// second-order digital sections, and zero-phase (forward-backward) running.
//
// Frequencies in the record are fractions of the Nyquist frequency (0..1);
// only the Nyquist field is in Hz. All design and filter arithmetic is double
// precision; trace samples are 32-bit floats on input and output.
//
// Error rule: design never fails as a whole. Out-of-range parameters are
// clamped in place, design faults are logged at LogError with the console
// raised, and whatever sections were computed are kept. DesignFilter returns
// -1 (record untouched) for an unknown pass type.
//
// Threads: design runs on the user-interface thread. RunFilter, RunBiquads and
// RunFilterBatch keep their state on the stack and only read the record, so
// any number of threads may run the same filter on different traces while no
// design is in progress.
#pragma once

#include <complex>
#include <cstdint>

enum FilterPassType : int32_t {
  kLowPass = 1,
  kHighPass = 2,
  kBandPass = 3,
  kNotch = 4,
};

enum FilterFamily : int32_t {
  kButterworth = 1,
  kChebyshev = 2,
  kElliptic = 8,
};

// What one design step builds (CalcFilterCoeff).
enum FilterDesignType : int32_t {
  kDesignLowPass = 1,
  kDesignHighPass = 2,
  kDesignNotch = 4,
};

inline constexpr int kMaxSections = 20;
inline constexpr int kMaxPoles = 20;
inline constexpr int kMaxEllipticPoles = 15;

// One digital second-order section as the runner uses it (a0 = 1):
// w = x - a1*w1 - a2*w2;  y = b0*w + b1*w1 + b2*w2.
struct Biquad {
  double a1, a2, b0, b1, b2;
};

struct IIRFilter {
  int32_t designType;  // FilterDesignType of the last design step
  double OmegaC;       // corner (notch: centre) of the design step, fraction of Nyquist
  double BW;           // notch bandwidth of the design step, fraction of Nyquist
  double gainDB;       // overall gain spread over the numerators; 0 in this system
  int32_t family;      // FilterFamily
  int32_t NumPole;     // 1..20, Elliptic 1..15 (clamped by the design)
  double rippleDB;     // pass-band ripple, Chebyshev and Elliptic
  double stopBandDB;   // stop-band attenuation, Elliptic
  // Analog prototype sections normalised to 1 rad/s:
  // (N2 s^2 + N1 s + N0) / (D2 s^2 + D1 s + D0).
  double N2[kMaxSections], N1[kMaxSections], N0[kMaxSections];
  double D2[kMaxSections], D1[kMaxSections], D0[kMaxSections];
  int32_t protoCount;
  // Digital sections of the last design step (a3, a4, b3, b4 only while a
  // notch section is being factored).
  double a0[kMaxSections], a1[kMaxSections], a2[kMaxSections], a3[kMaxSections], a4[kMaxSections];
  double b0[kMaxSections], b1[kMaxSections], b2[kMaxSections], b3[kMaxSections], b4[kMaxSections];
  int32_t NumSections;
  int32_t runSections;            // sections per cascade used by RunFilter
  Biquad cascade1[kMaxSections];  // low-pass, upper band-pass edge, or notch
  Biquad cascade2[kMaxSections];  // high-pass, lower band-pass edge
  double Nyquist;                 // Hz: 0.5 / sample interval of the dataset
  double highPassCutoff;
  double lowPassCutoff;
  double bandPassLow;
  double bandPassHigh;
  double notchCentre;
  double notchBandwidth;
  int32_t passType;  // FilterPassType
};

// The defaults (Butterworth low-pass, 6 poles at 0.7 Nyquist, Nyquist 500 Hz),
// designed once. The record is a value: copy it freely.
IIRFilter IIRFilterInit();

// Builds the run cascades for the pass type from the cutoff fields, family,
// poles, ripple and stop band. Returns 0, or kStatusRefused without changing anything
// when the pass type is not 1..4. Band pass is a low-pass at the upper edge
// followed by a high-pass at the lower edge, of the same family and order.
int DesignFilter(IIRFilter& f);

// One design step for designType, OmegaC and BW: fills a0..b4 and
// NumSections; clamps the parameter fields in place. Logs its run time.
void CalcFilterCoeff(IIRFilter& f);

// The analog prototype of the family (poles, ripple, stop band clamped in
// place first) into N2..D0 and protoCount.
void CalcSPlaneCoeff(IIRFilter& f);

// Turns roots into polynomial factors: s^2, s and constant coefficients of each
// section. Conjugates must follow each other after sorting (they do for the
// prototypes). `poles` marks a denominator: its roots are never snapped onto the
// imaginary axis, which would leave an undamped section. Returns the count.
int RootsToSections(std::complex<double>* roots, int count, bool poles, double* c2, double* c1, double* c0);

// Rescales the prototype so that its -3 dB frequency (relative to its zero-
// frequency gain, searched on a 1/512 rad/s grid) is 1 rad/s.
void NormalizeMinus3dB(IIRFilter& f);

// Result of the Elliptic prototype search.
struct EllipticResult {
  int poleCount;         // n
  int zeroCount;         // 2*(n/2)
  double selectivity;    // final modulus k
  double attenuationDB;  // stop-band attenuation the final k achieves
};
// Poles (n) and zeros (2*(n/2), purely imaginary pairs) of an Elliptic
// prototype with the given ripple; the modulus is adjusted until the stop-band
// attenuation is met within 0.1 dB. Arrays need room for n entries.
EllipticResult EllipticPoly(int n, double rippleDB, double stopBandDB, std::complex<double>* poles,
                            std::complex<double>* zeros);

// One forward pass of `sections` biquads over n samples, state starting at
// zero. in and out may be the same array.
void RunBiquads(const Biquad* cascade, const float* in, float* out, int64_t n, int sections);

// Zero-phase filtering of one trace: each cascade forward then backward (the
// magnitude response of the cascade squared, no phase). in is not changed and
// may equal out. Returns the largest absolute output value (0 for n <= 0).
// An unknown pass type copies the input.
float RunFilter(const IIRFilter& f, const float* in, float* out, int64_t n);

// RunFilter over `count` traces of n samples each, several at a time in the
// vector unit; the result of every trace is bit-identical to RunFilter.
// peaks (optional) receives each trace's largest absolute output value.
// Returns 0, or kStatusNoMemory when the work buffer cannot be allocated.
int RunFilterBatch(const IIRFilter& f, const float* const* in, float* const* out, int64_t n, int count,
                   float* peaks);

// Caps the instruction set of RunFilterBatch (0 generic, 1 AVX2, 2 AVX-512;
// default 2) and returns the level in use on this processor. For tests.
int SetBatchInstructionLevel(int maxLevel);

// |H(e^{j pi w})| of one cascade at w (fraction of Nyquist), single pass.
double CascadeMagnitude(const Biquad* cascade, int sections, double w);
// Magnitude response of RunFilter at w: each run cascade's magnitude squared.
double FilterMagnitude(const IIRFilter& f, double w);
