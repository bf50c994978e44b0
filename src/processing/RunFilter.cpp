// Running the cascades. The section count is a template parameter so that the
// state lives in registers; the batch runner keeps one trace per vector lane
// and performs exactly the scalar operations in the same order, so each lane
// is bit-identical to RunFilter (no contraction into fused multiply-adds).
#include <algorithm>
#include <array>
#include <atomic>
#include <cmath>
#include <complex>
#include <cstdlib>
#include <cstring>
#include <new>
#include <numbers>
#include <utility>

#include "log/Log.h"
#include "log/Status.h"
#include "processing/IIRFilter.h"

namespace {
// Scalar pass over n samples, forward (step 1) or backward (step -1) from `first`.
#pragma GCC push_options
#pragma GCC optimize("fp-contract=off")
template <int S>
void PassScalar(const Biquad* c, const float* in, float* out, int64_t n, int64_t step) {
  double w1[S > 0 ? S : 1] = {}, w2[S > 0 ? S : 1] = {};
  for (int64_t i = 0; i < n; ++i) {
    double x = *in;
    for (int k = 0; k < S; ++k) {
      double w = x - c[k].a1 * w1[k] - c[k].a2 * w2[k];
      double y = c[k].b0 * w + c[k].b1 * w1[k] + c[k].b2 * w2[k];
      w2[k] = w1[k];
      w1[k] = w;
      x = y;
    }
    *out = static_cast<float>(x);
    in += step;
    out += step;
  }
}
#pragma GCC pop_options

using ScalarPassFn = void (*)(const Biquad*, const float*, float*, int64_t, int64_t);

template <int... S>
constexpr auto MakeScalarTable(std::integer_sequence<int, S...>) {
  return std::array<ScalarPassFn, sizeof...(S)>{&PassScalar<S>...};
}
constexpr auto kScalarPasses = MakeScalarTable(std::make_integer_sequence<int, kMaxSections + 1>{});

void Pass(const Biquad* c, int sections, const float* in, float* out, int64_t n, bool backward) {
  sections = std::clamp(sections, 0, kMaxSections);
  if (backward) {
    kScalarPasses[sections](c, in + n - 1, out + n - 1, n, -1);
  } else {
    kScalarPasses[sections](c, in, out, n, 1);
  }
}

// Batch lanes: one trace per lane.
constexpr int kLanes = 8;
typedef double VecD __attribute__((vector_size(kLanes * sizeof(double))));
typedef float VecF __attribute__((vector_size(kLanes * sizeof(float))));

// Interleaved pass: buf[i * kLanes + lane], forward or backward, in place.
// Defined once per instruction set; none of them may fuse multiply-adds, so
// that every version rounds exactly as the scalar runner does.
#define KX_DEFINE_LANE_PASSES(NAME)                                  \
  template <int S>                                                   \
  void NAME(const Biquad* c, float* buf, int64_t n, bool backward) { \
    VecD w1[S > 0 ? S : 1] = {}, w2[S > 0 ? S : 1] = {};             \
    int64_t i = backward ? n - 1 : 0;                                \
    int64_t step = backward ? -1 : 1;                                \
    for (int64_t count = 0; count < n; ++count, i += step) {         \
      VecF xf;                                                       \
      std::memcpy(&xf, buf + i * kLanes, sizeof xf);                 \
      VecD x = __builtin_convertvector(xf, VecD);                    \
      for (int k = 0; k < S; ++k) {                                  \
        VecD w = x - c[k].a1 * w1[k] - c[k].a2 * w2[k];              \
        VecD y = c[k].b0 * w + c[k].b1 * w1[k] + c[k].b2 * w2[k];    \
        w2[k] = w1[k];                                               \
        w1[k] = w;                                                   \
        x = y;                                                       \
      }                                                              \
      xf = __builtin_convertvector(x, VecF);                         \
      std::memcpy(buf + i * kLanes, &xf, sizeof xf);                 \
    }                                                                \
  }

using LanePassFn = void (*)(const Biquad*, float*, int64_t, bool);

// Two-vector shuffle by constant lane indices under either compiler.
#if defined(__clang__)
#define KX_SHUFFLE8(a, b, ...) __builtin_shufflevector(a, b, __VA_ARGS__)
#else
typedef int ShuffleIndex8 __attribute__((vector_size(kLanes * sizeof(int))));
#define KX_SHUFFLE8(a, b, ...) __builtin_shuffle(a, b, ShuffleIndex8{__VA_ARGS__})
#endif

// Eight traces into and out of the interleaved buffer in 8 x 8 tiles
// transposed in registers (a transposition is its own inverse), the samples
// past the last whole tile one by one. Only moves floats: no rounding.
#define KX_DEFINE_TRANSPOSE(NAME)                                                   \
  inline void NAME##Tile(VecF* r) {                                                 \
    VecF t[8], u[8];                                                                \
    for (int k = 0; k < 8; k += 2) {                                                \
      t[k] = KX_SHUFFLE8(r[k], r[k + 1], 0, 8, 1, 9, 4, 12, 5, 13);                 \
      t[k + 1] = KX_SHUFFLE8(r[k], r[k + 1], 2, 10, 3, 11, 6, 14, 7, 15);           \
    }                                                                               \
    for (int k = 0; k < 8; k += 4) {                                                \
      u[k] = KX_SHUFFLE8(t[k], t[k + 2], 0, 1, 8, 9, 4, 5, 12, 13);                 \
      u[k + 1] = KX_SHUFFLE8(t[k], t[k + 2], 2, 3, 10, 11, 6, 7, 14, 15);           \
      u[k + 2] = KX_SHUFFLE8(t[k + 1], t[k + 3], 0, 1, 8, 9, 4, 5, 12, 13);         \
      u[k + 3] = KX_SHUFFLE8(t[k + 1], t[k + 3], 2, 3, 10, 11, 6, 7, 14, 15);       \
    }                                                                               \
    for (int k = 0; k < 4; ++k) {                                                   \
      r[k] = KX_SHUFFLE8(u[k], u[k + 4], 0, 1, 2, 3, 8, 9, 10, 11);                 \
      r[k + 4] = KX_SHUFFLE8(u[k], u[k + 4], 4, 5, 6, 7, 12, 13, 14, 15);           \
    }                                                                               \
  }                                                                                 \
  void NAME##In(const float* const* in, float* buf, int64_t n) {                    \
    int64_t i = 0;                                                                  \
    for (; i + kLanes <= n; i += kLanes) {                                          \
      VecF r[kLanes];                                                               \
      for (int l = 0; l < kLanes; ++l) std::memcpy(&r[l], in[l] + i, sizeof r[l]);  \
      NAME##Tile(r);                                                                \
      std::memcpy(buf + i * kLanes, r, sizeof r);                                   \
    }                                                                               \
    for (; i < n; ++i)                                                              \
      for (int l = 0; l < kLanes; ++l) buf[i * kLanes + l] = in[l][i];              \
  }                                                                                 \
  void NAME##Out(const float* buf, float* const* out, int64_t n) {                  \
    int64_t i = 0;                                                                  \
    for (; i + kLanes <= n; i += kLanes) {                                          \
      VecF r[kLanes];                                                               \
      std::memcpy(r, buf + i * kLanes, sizeof r);                                   \
      NAME##Tile(r);                                                                \
      for (int l = 0; l < kLanes; ++l) std::memcpy(out[l] + i, &r[l], sizeof r[l]); \
    }                                                                               \
    for (; i < n; ++i)                                                              \
      for (int l = 0; l < kLanes; ++l) out[l][i] = buf[i * kLanes + l];             \
  }

#pragma GCC push_options
#pragma GCC optimize("fp-contract=off")
KX_DEFINE_LANE_PASSES(PassLanesGeneric)
KX_DEFINE_TRANSPOSE(TransposeGeneric)
#pragma GCC target("avx2")
KX_DEFINE_LANE_PASSES(PassLanesAvx2)
KX_DEFINE_TRANSPOSE(TransposeAvx2)
#pragma GCC pop_options
#pragma GCC push_options
#pragma GCC optimize("fp-contract=off")
#pragma GCC target("avx512f")
KX_DEFINE_LANE_PASSES(PassLanesAvx512)
#pragma GCC pop_options
#undef KX_DEFINE_LANE_PASSES
#undef KX_DEFINE_TRANSPOSE
#undef KX_SHUFFLE8

template <int... S>
constexpr auto MakeLaneTables(std::integer_sequence<int, S...>) {
  return std::array<std::array<LanePassFn, sizeof...(S)>, 3>{
      std::array<LanePassFn, sizeof...(S)>{&PassLanesGeneric<S>...},
      std::array<LanePassFn, sizeof...(S)>{&PassLanesAvx2<S>...},
      std::array<LanePassFn, sizeof...(S)>{&PassLanesAvx512<S>...}};
}
constexpr auto kLaneTables = MakeLaneTables(std::make_integer_sequence<int, kMaxSections + 1>{});

int SupportedLevel() {
  static const int level = [] {
    __builtin_cpu_init();
    if (__builtin_cpu_supports("avx512f")) return 2;
    if (__builtin_cpu_supports("avx2")) return 1;
    return 0;
  }();
  return level;
}

std::atomic<int> g_levelCap{2};

int Level() {
  return std::min(SupportedLevel(), g_levelCap.load(std::memory_order_relaxed));
}

// The widest vector unit of this processor (within the cap).
const std::array<LanePassFn, kMaxSections + 1>& LanePasses() {
  return kLaneTables[Level()];
}

// Whole groups of eight traces into and out of the buffer.
void InterleaveGroup(const float* const* in, float* buf, int64_t n) {
  if (Level() >= 1) return TransposeAvx2In(in, buf, n);
  TransposeGenericIn(in, buf, n);
}
void DeinterleaveGroup(const float* buf, float* const* out, int64_t n) {
  if (Level() >= 1) return TransposeAvx2Out(buf, out, n);
  TransposeGenericOut(buf, out, n);
}

float PeakAbs(const float* s, int64_t n) {
  float hi = s[0], lo = s[0];
  for (int64_t i = 1; i < n; ++i) {
    hi = std::max(hi, s[i]);
    lo = std::min(lo, s[i]);
  }
  return std::max(std::fabs(hi), std::fabs(lo));
}

bool UsesCascade1(int passType) {
  return passType == kLowPass || passType == kBandPass || passType == kNotch;
}
bool UsesCascade2(int passType) {
  return passType == kHighPass || passType == kBandPass;
}

// Runs the zero-phase passes of the filter on one interleaved group.
void FilterLanes(const IIRFilter& f, float* buf, int64_t n) {
  int s = std::clamp(f.runSections, 0, kMaxSections);
  if (UsesCascade1(f.passType)) {
    LanePasses()[s](f.cascade1, buf, n, false);
    LanePasses()[s](f.cascade1, buf, n, true);
  }
  if (UsesCascade2(f.passType)) {
    LanePasses()[s](f.cascade2, buf, n, false);
    LanePasses()[s](f.cascade2, buf, n, true);
  }
}

std::complex<double> SectionResponse(const Biquad& c, std::complex<double> zi) {
  std::complex<double> zi2 = zi * zi;
  return (c.b0 + c.b1 * zi + c.b2 * zi2) / (1.0 + c.a1 * zi + c.a2 * zi2);
}
}  // namespace

void RunBiquads(const Biquad* cascade, const float* in, float* out, int64_t n, int sections) {
  if (n <= 0) return;
  Pass(cascade, sections, in, out, n, false);
}

float RunFilter(const IIRFilter& f, const float* in, float* out, int64_t n) {
  if (n <= 0) return 0.0f;
  bool c1 = UsesCascade1(f.passType), c2 = UsesCascade2(f.passType);
  if (!c1 && !c2) {
    if (in != out) std::memmove(out, in, static_cast<std::size_t>(n) * sizeof(float));
    return PeakAbs(out, n);
  }
  // Running backward from the last sample equals reversing, running forward
  // and reversing back, without the two copies.
  if (c1) {
    Pass(f.cascade1, f.runSections, in, out, n, false);
    Pass(f.cascade1, f.runSections, out, out, n, true);
  }
  if (c2) {
    Pass(f.cascade2, f.runSections, c1 ? out : in, out, n, false);
    Pass(f.cascade2, f.runSections, out, out, n, true);
  }
  return PeakAbs(out, n);
}

int RunFilterBatch(const IIRFilter& f, const float* const* in, float* const* out, int64_t n, int count,
                   float* peaks) {
  if (n <= 0 || count <= 0) {
    for (int t = 0; peaks && t < count; ++t) peaks[t] = 0.0f;
    return 0;
  }
  float* buf = static_cast<float*>(std::malloc(static_cast<std::size_t>(n) * kLanes * sizeof(float)));
  if (!buf) {
    LogPrint(LogError, "\nERROR: malloc failure for float[%lld]\n", static_cast<long long>(n) * kLanes);
    return kStatusNoMemory;
  }
  for (int first = 0; first < count; first += kLanes) {
    int lanes = std::min(kLanes, count - first);
    if (lanes == kLanes) {
      InterleaveGroup(in + first, buf, n);
    } else {
      for (int64_t i = 0; i < n; ++i) {
        float* row = buf + i * kLanes;
        for (int l = 0; l < kLanes; ++l) row[l] = l < lanes ? in[first + l][i] : 0.0f;
      }
    }
    FilterLanes(f, buf, n);
    if (lanes == kLanes) {
      DeinterleaveGroup(buf, out + first, n);
    } else {
      for (int l = 0; l < lanes; ++l)
        for (int64_t i = 0; i < n; ++i) out[first + l][i] = buf[i * kLanes + l];
    }
    for (int l = 0; peaks && l < lanes; ++l) peaks[first + l] = PeakAbs(out[first + l], n);
  }
  std::free(buf);
  return 0;
}

double CascadeMagnitude(const Biquad* cascade, int sections, double w) {
  std::complex<double> zi = std::polar(1.0, -std::numbers::pi * w);
  std::complex<double> h = 1.0;
  for (int k = 0; k < std::clamp(sections, 0, kMaxSections); ++k) h *= SectionResponse(cascade[k], zi);
  return std::abs(h);
}

double FilterMagnitude(const IIRFilter& f, double w) {
  double m = 1.0;
  if (UsesCascade1(f.passType)) m *= std::pow(CascadeMagnitude(f.cascade1, f.runSections, w), 2);
  if (UsesCascade2(f.passType)) m *= std::pow(CascadeMagnitude(f.cascade2, f.runSections, w), 2);
  return m;
}

int SetBatchInstructionLevel(int maxLevel) {
  g_levelCap = std::clamp(maxLevel, 0, 2);
  return std::min(SupportedLevel(), g_levelCap.load());
}
