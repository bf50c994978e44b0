// Real-input FFT of power-of-two length N: a radix-4 (plus one radix-2 stage
// when needed) complex transform of N/2 points followed by the real split.
//
// Tables: a bit-reversal work area of int(sqrt(N) + 1.5) + 2 ints (entries 0
// and 1 hold the sizes the twiddle and cosine tables were built for, the rest
// a bit-reversal table of about sqrt(N) entries) and N/2 doubles: N/4 for the
// twiddles of the complex transform, N/4 for the cosine table of the real split.
//
// Threads: Initialize and the destructor on one thread; Forward and
// AccumulateSpectrum only read the tables, so any number of threads may call
// them at once, each with its own work array.
#pragma once

#include <cstdint>

class FFTSG {
 public:
  FFTSG() = default;
  ~FFTSG();
  FFTSG(const FFTSG&) = delete;
  FFTSG& operator=(const FFTSG&) = delete;

  // N = numSamples rounded up to a power of two, at least 2. Builds the tables
  // (kept when N has not grown past them). Returns 0; kStatusRefused when N would exceed
  // 2^30; kStatusNoMemory when a table cannot be allocated (nothing kept).
  int Initialize(int64_t numSamples);
  // Frees the tables; N becomes 0.
  void Free();

  int32_t N() const { return m_n; }
  // Sizes of the tables as allocated (ints, doubles), for checks.
  int32_t BitReversalSize() const { return m_ipSize; }
  int32_t TableSize() const { return m_wSize; }
  const int32_t* BitReversal() const { return m_ip; }

  // In-place forward transform of N reals: X_k = sum x_j e^(-2 pi i jk/N).
  // On return a[0] = X_0, a[1] = X_(N/2), a[2k] + i a[2k+1] = X_k for
  // 0 < k < N/2.
  void Forward(double* a) const;

  // Adds the amplitude spectrum of count samples (times 1/scale, zero padded
  // to N) to spectrum[0..N/2): bin 0 gets |X_0| / 2, bin k gets |X_k| (in
  // single precision). work holds N doubles. Does nothing and returns 0 when
  // scale <= 0 (a dead trace); kStatusRefused when not initialised. count is limited to N.
  int AccumulateSpectrum(const float* samples, int64_t count, double* work, float* spectrum,
                         double scale) const;

 private:
  void BuildTables();
  void BitReverse(double* a) const;
  void ComplexForward(double* a) const;
  void RealSplit(double* a) const;

  int32_t m_n = 0;
  int32_t m_ipSize = 0;
  int32_t m_wSize = 0;
  int32_t* m_ip = nullptr;
  double* m_w = nullptr;
};

// The transform length for a sample count: the next power of two, at least 2;
// -1 above 2^30.
int64_t FFTLength(int64_t numSamples);
