#include "processing/TimeShift.h"

#include <omp.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <numbers>

#include "log/Log.h"
#include "log/Status.h"

namespace {
constexpr int64_t kShiftLimit = int64_t{1} << 31;
constexpr int64_t kMaxSamples = 2147483647 - 2;

void TaperUp(float* s, int64_t m, int64_t start, int32_t taper) {
  for (int32_t i = 0; i < taper && start + i < m; ++i) s[start + i] *= TaperWeight(i, taper);
}

void TaperDown(float* s, int64_t m, int32_t taper) {
  for (int32_t i = 0; i < taper && m - 1 - i >= 0; ++i) s[m - 1 - i] *= TaperWeight(i, taper);
}

bool TaperApplies(int32_t taper, int64_t m) {
  return taper > 0 && taper < m / 2;
}

// The old samples that land in the new trace: out[dst, dst + count) takes
// in[src, src + count). count 0: no data left.
struct Move {
  int64_t dst, src, count;
};

Move PlanMove(int64_t n, int64_t m, int64_t e) {
  if (e < 0) return (m <= 0 || -e >= n) ? Move{0, 0, 0} : Move{0, -e, std::min(n + e, m)};
  if (e > 0) return e >= m ? Move{0, 0, 0} : Move{e, 0, m - e};
  return Move{0, 0, std::min(n, m)};  // less than one sample: nothing moves
}

// Fills the samples of rec (m of them, DIM slots, not initialised) for applied
// shift e; every slot outside the moved run is zeroed. False when no data is left.
bool MoveSamples(const TraceRecord* old, TraceRecord* rec, int64_t m, int64_t e, const ShiftSettings& st) {
  const Move mv = PlanMove(old->NS, m, e);
  float* out = rec->Samples();
  std::memset(out, 0, static_cast<std::size_t>(mv.dst) * sizeof(float));
  std::memcpy(out + mv.dst, old->Samples() + mv.src, static_cast<std::size_t>(mv.count) * sizeof(float));
  std::memset(out + mv.dst + mv.count, 0,
              static_cast<std::size_t>(rec->DIM - mv.dst - mv.count) * sizeof(float));
  if (mv.count == 0) return false;
  if (e != 0 && TaperApplies(st.taper, m)) {
    TaperUp(out, m, e < 0 ? 0 : e, st.taper);
    if (e > 0 && st.keepLength) TaperDown(out, m, st.taper);
  }
  return true;
}
}  // namespace

int64_t ShiftInSamples(double shift, double dt) {
  double u = shift / dt;
  u = u > 0.0 ? u + 0.001 : u - 0.001;
  if (!(u < static_cast<double>(kShiftLimit))) return kShiftLimit;
  if (!(u > -static_cast<double>(kShiftLimit))) return -kShiftLimit;
  return static_cast<int64_t>(u);
}

float TaperWeight(int32_t i, int32_t taper) {
  float s = static_cast<float>(std::sin(i * std::numbers::pi / (2.0 * taper + 1.0)));
  return s * s;
}

TraceRecord* ShiftTrace(const TraceRecord* old, const ShiftSettings& st) {
  if (old->NS < 0 || !(old->DT > 0.0) || !std::isfinite(old->DT)) return TraceRecord::Clone(old);
  const int64_t n = old->NS;
  int64_t k = ShiftInSamples(st.shiftTime, old->DT);
  int64_t m = st.keepLength ? n : n + k;
  int64_t e = st.keepLength ? std::clamp(k, -n, n) : k;
  if (m > kMaxSamples) return nullptr;
  int32_t count = static_cast<int32_t>(std::max<int64_t>(m, 0));
  // Not zeroed here: MoveSamples writes every slot once.
  auto* rec = static_cast<TraceRecord*>(std::malloc(TraceRecord::AllocationSize(count)));
  if (!rec) return nullptr;
  std::memcpy(static_cast<void*>(rec), old, kTraceHeaderBytes);
  rec->DIM = count < 2 ? 2 : count;
  rec->NS = count;
  bool data = MoveSamples(old, rec, m, e, st);
  if (st.delrtMode == kDelrtResetToZero) rec->DELAY = 0.0;
  if (st.delrtMode == kDelrtFollowsShift) rec->DELAY -= static_cast<double>(e) * old->DT;
  // The peak time is taken against the new start time.
  if (data) {
    rec->UpdatePeak();
  } else {
    rec->AMAX = 0.0f;
    rec->TAMAX = 0.0f;
  }
  return rec;
}

int32_t OMPShiftTraces(SeismicSection& section, const ShiftSettings& settings, int numThreads,
                       const ShiftProgress& progress) {
  const int32_t count = section.Count();
  std::atomic<int32_t> failed{0}, done{0};
  int32_t lastPercent = -1;  // thread 0 only
  omp_set_dynamic(0);
#pragma omp parallel for schedule(dynamic, 1) num_threads(numThreads < 1 ? 1 : numThreads)
  for (int32_t i = 0; i < count; ++i) {
    const TraceRecord* old = section.Trace(i);
    if (old) {
      TraceRecordPtr rec(ShiftTrace(old, settings));
      if (rec) {
        section.ReplaceTrace(i, std::move(rec));
      } else {
        LogPrint(LogError, "ERROR: OMPShiftTraces() malloc failure after %d traces done", i);
        failed.fetch_add(1, std::memory_order_relaxed);
      }
    }
    int32_t d = done.fetch_add(1, std::memory_order_relaxed) + 1;
    if (progress && omp_get_thread_num() == 0) {
      int32_t percent = static_cast<int32_t>(static_cast<int64_t>(d) * 100 / count);
      if (percent != lastPercent) progress(d, count);
      lastPercent = percent;
    }
  }
  // Thread 0 may have run none of the last traces: the end is always reported.
  if (progress && count > 0 && lastPercent != 100) progress(count, count);
  return failed.load();
}

int ShiftSection(SeismicSection& section, const ShiftSettings& settings, int numThreads,
                 const ShiftProgress& progress) {
  if (!std::isfinite(settings.shiftTime)) return kStatusRefused;
  if (settings.shiftTime == 0.0 && settings.delrtMode != kDelrtResetToZero) return kStatusRefused;
  int32_t failed = 0;
  if (settings.shiftTime != 0.0) {
    failed = OMPShiftTraces(section, settings, numThreads, progress);
  } else {
    for (TraceRecord* t : section.Traces())
      if (t) t->DELAY = 0.0;
  }
  section.Scan();
  return failed ? kStatusNoMemory : 0;
}

int32_t ReadTaper(const std::string& text, int32_t previous) {
  const char* begin = text.c_str();
  while (*begin == ' ' || *begin == '\t') ++begin;
  if (*begin == '\0') return 0;
  char* end = nullptr;
  long long v = std::strtoll(begin, &end, 10);
  while (end && (*end == ' ' || *end == '\t')) ++end;
  if (end == begin || *end != '\0' || v < 0 || v > 2147483647) return previous;
  if (v >= 1 && v <= 3) return 4;
  return static_cast<int32_t>(v);
}

bool ReadShiftDialog(const ShiftDialogFields& fields, ShiftSettings* settings, std::string* taperShown) {
  settings->delrtMode = fields.delrtMode;
  settings->keepLength = fields.keepLength;
  const char* begin = fields.shiftText.c_str();
  char* end = nullptr;
  double v = std::strtod(begin, &end);
  while (end && (*end == ' ' || *end == '\t')) ++end;
  if (end == begin || *end != '\0' || !std::isfinite(v) || !(fields.unitFactor > 0.0)) return false;
  if (v == 0.0 && fields.delrtMode != kDelrtResetToZero) return false;
  settings->shiftTime = v / fields.unitFactor;
  settings->taper = ReadTaper(fields.taperText, settings->taper);
  if (taperShown) *taperShown = StrPrintf("%d", settings->taper);
  return true;
}
