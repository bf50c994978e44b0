// The complex transform runs in place after a bit-reversal permutation, two
// radix-2 stages at a time (radix 4: three twiddle products per four points).
// Twiddles for any angle come from one quadrant of the table by symmetry.
#include "processing/FFTSG.h"

#include <cmath>
#include <cstdlib>
#include <numbers>
#include <utility>

#include "log/Log.h"
#include "log/Status.h"

namespace {
int32_t Log2(int64_t n) {
  int32_t l = 0;
  while ((int64_t{1} << l) < n) ++l;
  return l;
}

// e^(-2 pi i j / M) from the quadrant table w (quarter = M/4 complex entries).
inline void Twiddle(const double* w, int32_t quarter, int32_t j, double* re, double* im) {
  if (quarter == 0) {
    *re = 1.0, *im = 0.0;
    return;
  }
  int32_t q = j / quarter, r = j - q * quarter;
  double c = w[2 * r], s = w[2 * r + 1];
  switch (q & 3) {
    case 0:
      *re = c, *im = -s;
      break;
    case 1:
      *re = -s, *im = -c;
      break;
    case 2:
      *re = -c, *im = s;
      break;
    default:
      *re = s, *im = c;
      break;
  }
}

inline void Mul(double ar, double ai, double br, double bi, double* cr, double* ci) {
  *cr = ar * br - ai * bi;
  *ci = ar * bi + ai * br;
}
}  // namespace

int64_t FFTLength(int64_t numSamples) {
  if (numSamples > (int64_t{1} << 30)) return -1;
  int64_t n = 2;
  while (n < numSamples) n <<= 1;
  return n;
}

FFTSG::~FFTSG() {
  Free();
}

void FFTSG::Free() {
  std::free(m_ip);
  std::free(m_w);
  m_ip = nullptr;
  m_w = nullptr;
  m_n = m_ipSize = m_wSize = 0;
}

int FFTSG::Initialize(int64_t numSamples) {
  int64_t n = FFTLength(numSamples);
  LogPrint(LogDebug, "\nFFTSG::Initialize: N=%lld (num samples=%lld)", static_cast<long long>(n),
           static_cast<long long>(numSamples));
  if (n < 2) return kStatusRefused;
  if (m_ip && m_w && n <= int64_t{m_wSize} * 2) {
    m_n = static_cast<int32_t>(n);  // the allocation of a larger N serves a smaller one
    BuildTables();
    return 0;
  }
  Free();
  int32_t ipSize = static_cast<int32_t>(std::sqrt(static_cast<double>(n)) + 1.5) + 2;
  int32_t wSize = static_cast<int32_t>(n / 2);
  m_ip = static_cast<int32_t*>(std::calloc(static_cast<std::size_t>(ipSize), sizeof(int32_t)));
  if (!m_ip) {
    LogPrint(LogError, "\n\nERROR: FFTSG int bit reversal[%d] malloc failure\n", ipSize);
    return kStatusNoMemory;
  }
  m_w = static_cast<double*>(std::calloc(static_cast<std::size_t>(wSize), sizeof(double)));
  if (!m_w) {
    LogPrint(LogError, "\n\nERROR: FFTSG double cos/sin table[%d] malloc failure\n", wSize);
    Free();
    return kStatusNoMemory;
  }
  m_n = static_cast<int32_t>(n);
  m_ipSize = ipSize;
  m_wSize = wSize;
  BuildTables();
  return 0;
}

// Built eagerly, never on first use: the transforms run on several threads
// at once and must only read the tables.
void FFTSG::BuildTables() {
  int32_t M = m_n / 2, quarter = M / 4, nc = m_n / 4;
  for (int32_t r = 0; r < quarter; ++r) {
    double theta = 2.0 * std::numbers::pi * r / M;
    m_w[2 * r] = std::cos(theta);
    m_w[2 * r + 1] = std::sin(theta);
  }
  double* c = m_w + m_n / 4;
  for (int32_t j = 0; j < nc; ++j) c[j] = std::cos(2.0 * std::numbers::pi * j / m_n);
  int32_t L = Log2(M), h = L / 2, l = L - h;
  int32_t* t = m_ip + 2;
  for (int32_t k = 0; k < (1 << l); ++k) {
    int32_t r = 0;
    for (int32_t b = 0; b < l; ++b) r |= ((k >> b) & 1) << (l - 1 - b);
    t[k] = r;
  }
  m_ip[0] = m_n / 4;  // twiddle doubles
  m_ip[1] = nc;       // cosine entries
}

void FFTSG::BitReverse(double* a) const {
  int32_t M = m_n / 2, L = Log2(M);
  if (L < 2) return;
  int32_t h = L / 2, l = L - h;
  const int32_t* t = m_ip + 2;
  for (int32_t hi = 0; hi < (1 << l); ++hi) {
    for (int32_t lo = 0; lo < (1 << h); ++lo) {
      int32_t i = (hi << h) | lo;
      int32_t j = ((t[lo] >> (l - h)) << l) | t[hi];
      if (i < j) {
        std::swap(a[2 * i], a[2 * j]);
        std::swap(a[2 * i + 1], a[2 * j + 1]);
      }
    }
  }
}

void FFTSG::ComplexForward(double* a) const {
  int32_t M = m_n / 2, L = Log2(M), quarterTable = M / 4;
  int32_t len = 4;
  if (L % 2) {
    for (int32_t i = 0; i < M; i += 2) {
      double xr = a[2 * i], xi = a[2 * i + 1], yr = a[2 * i + 2], yi = a[2 * i + 3];
      a[2 * i] = xr + yr, a[2 * i + 1] = xi + yi;
      a[2 * i + 2] = xr - yr, a[2 * i + 3] = xi - yi;
    }
    len = 8;
  }
  for (; len <= M; len *= 4) {
    int32_t q = len / 4, stride = M / len;
    for (int32_t k = 0; k < q; ++k) {
      double w1r, w1i, w2r, w2i, w3r, w3i;
      Twiddle(m_w, quarterTable, k * stride, &w1r, &w1i);
      Twiddle(m_w, quarterTable, 2 * k * stride, &w2r, &w2i);
      Twiddle(m_w, quarterTable, 3 * k * stride, &w3r, &w3i);
      for (int32_t base = k; base < M; base += len) {
        double* p0 = a + 2 * base;
        double* p1 = p0 + 2 * q;
        double* p2 = p1 + 2 * q;
        double* p3 = p2 + 2 * q;
        double br, bi, cr, ci, dr, di;
        Mul(p1[0], p1[1], w2r, w2i, &br, &bi);
        Mul(p2[0], p2[1], w1r, w1i, &cr, &ci);
        Mul(p3[0], p3[1], w3r, w3i, &dr, &di);
        double s0r = p0[0] + br, s0i = p0[1] + bi, d0r = p0[0] - br, d0i = p0[1] - bi;
        double s1r = cr + dr, s1i = ci + di, d1r = cr - dr, d1i = ci - di;
        p0[0] = s0r + s1r, p0[1] = s0i + s1i;
        p2[0] = s0r - s1r, p2[1] = s0i - s1i;
        // (a - b) -/+ i (c - d)
        p1[0] = d0r + d1i, p1[1] = d0i - d1r;
        p3[0] = d0r - d1i, p3[1] = d0i + d1r;
      }
    }
  }
}

// Z_k of the packed complex transform to X_k of the real one:
// X_k = E + W^k O with E = (Z_k + conj Z_(M-k)) / 2, O = (Z_k - conj Z_(M-k)) / 2i,
// and X_(M-k) = conj(E - W^k O).
void FFTSG::RealSplit(double* a) const {
  int32_t M = m_n / 2;
  double z0r = a[0], z0i = a[1];
  a[0] = z0r + z0i;
  a[1] = z0r - z0i;
  if (M < 2) return;
  const double* c = m_w + m_n / 4;
  int32_t half = M / 2;
  for (int32_t k = 1; k < half; ++k) {
    double* pk = a + 2 * k;
    double* pm = a + 2 * (M - k);
    double er = 0.5 * (pk[0] + pm[0]), ei = 0.5 * (pk[1] - pm[1]);
    double orr = 0.5 * (pk[1] + pm[1]), oi = -0.5 * (pk[0] - pm[0]);
    double wr = c[k], wi = -c[half - k];  // e^(-2 pi i k / N)
    double tr = wr * orr - wi * oi, ti = wr * oi + wi * orr;
    pk[0] = er + tr, pk[1] = ei + ti;
    pm[0] = er - tr, pm[1] = -(ei - ti);
  }
  a[2 * half + 1] = -a[2 * half + 1];
}

void FFTSG::Forward(double* a) const {
  if (m_n < 2) return;
  BitReverse(a);
  ComplexForward(a);
  RealSplit(a);
}

int FFTSG::AccumulateSpectrum(const float* samples, int64_t count, double* work, float* spectrum,
                              double scale) const {
  if (!(scale > 0.0)) return 0;
  if (m_n < 2) return kStatusRefused;
  if (count > m_n) count = m_n;
  if (count < 0) count = 0;
  double inv = 1.0 / scale;
  // A non-finite sample (damaged file) counts as silence rather than spoiling every bin.
  for (int64_t i = 0; i < count; ++i) work[i] = std::isfinite(samples[i]) ? samples[i] * inv : 0.0;
  for (int64_t i = count; i < m_n; ++i) work[i] = 0.0;
  Forward(work);
  spectrum[0] += static_cast<float>(std::fabs(work[0]) / 2.0);
  int32_t bins = m_n / 2;
  for (int32_t k = 1; k < bins; ++k) {
    float re = static_cast<float>(work[2 * k]), im = static_cast<float>(work[2 * k + 1]);
    spectrum[k] += std::sqrt(re * re + im * im);
  }
  return 0;
}
