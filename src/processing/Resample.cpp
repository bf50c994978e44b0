#include "processing/Resample.h"

#include <omp.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>
#include <vector>

#include "log/Log.h"
#include "log/Status.h"
#include "processing/FilterTraces.h"
#include "processing/SincTable.h"

namespace {
constexpr double kAntiAliasFraction = 0.9;
constexpr double kSameIntervalTolerance = 1e-6;
// Largest sample count a trace record may hold (its allocation size must fit too).
constexpr int64_t kMaxSamples = 2147483647 - 2;

// Anti-alias filters per distinct input interval, sorted by interval.
struct AntiAliasSet {
  std::vector<double> intervals;
  std::vector<IIRFilter> filters;

  const IIRFilter* Find(double dt) const {
    auto it = std::lower_bound(intervals.begin(), intervals.end(), dt);
    if (it == intervals.end() || *it != dt) return nullptr;
    return &filters[static_cast<std::size_t>(it - intervals.begin())];
  }
};

// Designs one filter per distinct interval of the traces that are downsampled.
int BuildFilters(const SeismicSection& s, double newDt, AntiAliasSet* set) {
  try {
    for (const TraceRecord* tr : s.Traces()) {
      if (tr && tr->NS > 0 && NeedsAntiAlias(tr->DT, newDt)) set->intervals.push_back(tr->DT);
    }
    std::sort(set->intervals.begin(), set->intervals.end());
    set->intervals.erase(std::unique(set->intervals.begin(), set->intervals.end()), set->intervals.end());
    set->filters.reserve(set->intervals.size());
    for (double dt : set->intervals) set->filters.push_back(DesignAntiAliasFilter(dt, newDt));
  } catch (const std::bad_alloc&) {
    return kStatusNoMemory;
  }
  if (set->intervals.size() > 1)
    LogPrint(LogWarning,
             "WARNING: traces have %d different sampling intervals; anti-alias filter per interval",
             static_cast<int>(set->intervals.size()));
  return 0;
}

// Largest output count of any trace, at least 1.
int64_t LongestOutput(const SeismicSection& s, double newDt) {
  int64_t longest = 1;
  for (const TraceRecord* tr : s.Traces()) {
    if (tr) longest = std::max(longest, ResampledCount(tr->NS, tr->DT, newDt));
  }
  return longest;
}

bool Resamplable(const TraceRecord* tr) {
  return tr && tr->NS >= 1 && tr->DT > 0.0 && std::isfinite(tr->DT);
}

// The anti-alias filtered inputs of a block of traces, run through the block
// runner one interval at a time. A trace without them here (nothing to
// filter, or no memory for the block) is filtered on its own by ResampleTrace.
struct FilteredInputs {
  int32_t first = 0;
  std::vector<float> samples;
  std::vector<int64_t> offsets;  // per trace from first; -1 none

  const float* Get(int32_t i) const {
    int64_t o = offsets[static_cast<std::size_t>(i - first)];
    return o < 0 ? nullptr : samples.data() + o;
  }
};

// About 4 MB of filtered samples per block: in cache for the interpolation
// that follows, and no filtered copy of the whole section.
constexpr int64_t kBlockSamples = int64_t{1} << 20;

// Filters the inputs of traces first.. until the budget; returns the end.
int32_t FilterBlockInputs(const SeismicSection& s, int32_t first, const AntiAliasSet& filters, int numThreads,
                          FilteredInputs* in) {
  in->first = first;
  in->offsets.clear();
  int64_t total = 0;
  int32_t end = first;
  for (; end < s.Count() && (end == first || total < kBlockSamples); ++end) {
    const TraceRecord* tr = s.Trace(end);
    bool filtered = Resamplable(tr) && filters.Find(tr->DT);
    in->offsets.push_back(filtered ? total : -1);
    if (filtered) total += tr->NS;
  }
  try {
    in->samples.resize(static_cast<std::size_t>(total));
  } catch (const std::bad_alloc&) {
    std::fill(in->offsets.begin(), in->offsets.end(), -1);
    return end;
  }
  for (std::size_t k = 0; k < filters.filters.size(); ++k) {
    auto inInterval = [&](int32_t i) { return in->Get(i) && s.Trace(i)->DT == filters.intervals[k]; };
    int rc = kStatusNoMemory;
    try {
      std::vector<FilterJob> jobs;
      for (int32_t i = first; i < end; ++i) {
        if (!inInterval(i)) continue;
        const TraceRecord* tr = s.Trace(i);
        jobs.push_back(
            {tr->Samples(), in->samples.data() + in->offsets[static_cast<std::size_t>(i - first)], tr->NS});
      }
      rc = jobs.empty() ? 0 : RunFilterTraces(filters.filters[k], jobs, numThreads);
    } catch (const std::bad_alloc&) {
    }
    if (rc != 0)
      for (int32_t i = first; i < end; ++i)
        if (inInterval(i)) in->offsets[static_cast<std::size_t>(i - first)] = -1;
  }
  return end;
}

enum TraceOutcome { kTraceDone, kTraceFailed, kTraceSkipped };

// Replaces trace i by its resampled version; on any failure it is untouched.
// prefiltered: the trace's anti-alias filtered samples when the block has them.
TraceOutcome ResampleTrace(SeismicSection& s, int32_t i, double newDt, const AntiAliasSet& filters,
                           const float* t, int32_t applyLowPass, const float* prefiltered) {
  const TraceRecord* old = s.Trace(i);
  if (!Resamplable(old)) return kTraceSkipped;
  int64_t nNew = ResampledCount(old->NS, old->DT, newDt);
  TraceRecordPtr rec(nNew < 0 ? nullptr : TraceRecord::Allocate(static_cast<int32_t>(nNew)));
  if (!rec) {
    LogPrint(LogError, "\nERROR: ResampleTraces() no memory for a trace of %lld samples\n",
             static_cast<long long>(nNew));
    return kTraceFailed;
  }
  std::memcpy(static_cast<void*>(rec.get()), old, kTraceHeaderBytes);
  rec->DIM = nNew < 2 ? 2 : static_cast<int32_t>(nNew);
  rec->NS = static_cast<int32_t>(nNew);
  rec->DT = newDt;
  const int32_t nOld = old->NS;
  const float* input = old->Samples();
  float* filtered = nullptr;
  const IIRFilter* filter = applyLowPass && !prefiltered ? filters.Find(old->DT) : nullptr;
  if (prefiltered) input = prefiltered;
  if (filter) {
    filtered = static_cast<float*>(std::malloc(static_cast<std::size_t>(nOld) * sizeof(float)));
    if (!filtered) {
      LogPrint(LogError, "ERROR: Workspace::ResampleTraces() malloc failure");
      return kTraceFailed;
    }
    RunFilter(*filter, input, filtered, nOld);
    input = filtered;
  }
  Interpolate8(input, nOld, old->DT, input[0], input[nOld - 1], rec->NS, t, rec->Samples());
  rec->UpdatePeak();
  s.ReplaceTrace(i, std::move(rec));
  std::free(filtered);
  return kTraceDone;
}

struct LoopTotals {
  std::atomic<int32_t> done{0}, failed{0}, skipped{0};
};

void ResampleLoop(SeismicSection& s, double newDt, const AntiAliasSet& filters, const float* t,
                  int32_t applyLowPass, int numThreads, const ResampleProgress& progress,
                  LoopTotals& totals) {
  const int32_t count = s.Count();
  int32_t lastPercent = -1;  // touched by thread 0 only
  omp_set_dynamic(0);
  FilteredInputs inputs;
  for (int32_t first = 0; first < count;) {
    const int32_t end = applyLowPass ? FilterBlockInputs(s, first, filters, numThreads, &inputs) : count;
#pragma omp parallel for schedule(dynamic, 1) num_threads(numThreads)
    for (int32_t i = first; i < end; ++i) {
      const float* prefiltered = applyLowPass ? inputs.Get(i) : nullptr;
      TraceOutcome r = ResampleTrace(s, i, newDt, filters, t, applyLowPass, prefiltered);
      if (r == kTraceFailed) totals.failed.fetch_add(1, std::memory_order_relaxed);
      if (r == kTraceSkipped) totals.skipped.fetch_add(1, std::memory_order_relaxed);
      int32_t done = totals.done.fetch_add(1, std::memory_order_relaxed) + 1;
      if (progress && omp_get_thread_num() == 0) {
        int32_t percent = static_cast<int32_t>(static_cast<int64_t>(done) * 100 / count);
        if (percent != lastPercent) {
          lastPercent = percent;
          progress(done, count);
        }
      }
    }
    first = end;
  }
  // Thread 0 may have run none of the last traces (or none at all): the end
  // is always reported.
  if (progress && count > 0 && lastPercent != 100) progress(count, count);
}
}  // namespace

int64_t ResampledCount(int32_t nOld, double oldInterval, double newInterval) {
  if (nOld < 1 || !(oldInterval > 0.0) || !(newInterval > 0.0)) return -1;
  double n = (nOld - 1) * oldInterval / newInterval + 0.001;
  if (!(n < static_cast<double>(kMaxSamples))) return -1;
  return static_cast<int64_t>(n) + 1;
}

bool NeedsAntiAlias(double oldInterval, double newInterval) {
  return newInterval > oldInterval * (1.0 + kSameIntervalTolerance);
}

IIRFilter DesignAntiAliasFilter(double oldInterval, double newInterval) {
  IIRFilter f = IIRFilterInit();
  f.passType = kLowPass;
  f.designType = kDesignLowPass;
  f.family = kElliptic;
  f.NumPole = 8;
  f.rippleDB = 0.02;
  f.stopBandDB = 80.0;
  f.Nyquist = 0.5 / oldInterval;
  f.lowPassCutoff = kAntiAliasFraction * oldInterval / newInterval;
  f.OmegaC = f.lowPassCutoff;
  DesignFilter(f);
  return f;
}

void FillOutputTimes(float* t, int64_t count, double newInterval) {
  for (int64_t i = 0; i < count; ++i) t[i] = static_cast<float>(static_cast<double>(i) * newInterval);
}

int ResampleSection(SeismicSection& section, double newInterval, int32_t applyLowPass, int numThreads,
                    const ResampleProgress& progress, ResampleReport* report) {
  if (!(newInterval > 0.0) || !std::isfinite(newInterval)) return kStatusRefused;
  auto start = std::chrono::steady_clock::now();
  int64_t nTimes = LongestOutput(section, newInterval);
  std::unique_ptr<float[]> times(new (std::nothrow) float[static_cast<std::size_t>(nTimes)]);
  AntiAliasSet filters;
  if (!times || (applyLowPass && BuildFilters(section, newInterval, &filters) != 0)) {
    LogPrint(LogError, "\n\nERROR: ResampleTraces() malloc failure\n");
    ConsoleRaise();
    return kStatusNoMemory;
  }
  FillOutputTimes(times.get(), nTimes, newInterval);
  SincTable();  // built here, before any thread of the team needs it
  if (numThreads < 1) numThreads = 1;
  LogPrint(LogDebug, "Resample num threads=%d (%d)", numThreads, omp_get_max_threads());
  LoopTotals totals;
  ResampleLoop(section, newInterval, filters, times.get(), applyLowPass, numThreads, progress, totals);
  times.reset();
  section.UpdateFixedLength();
  section.Scan();
  ResampleReport r;
  r.failed = totals.failed.load();
  r.skipped = totals.skipped.load();
  r.resampled = section.Count() - r.failed - r.skipped;
  if (report) *report = r;
  double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
  LogPrint(LogInfo, "Resample %d traces to %g s in %.3lf ms", r.resampled, newInterval, ms);
  return 0;
}

bool ReadResampleInterval(const std::string& text, double unitFactor, double* seconds) {
  const char* begin = text.c_str();
  char* end = nullptr;
  double v = std::strtod(begin, &end);
  if (end == begin) return false;
  while (*end == ' ' || *end == '\t') ++end;
  if (*end != '\0' || !(v > 0.0) || !std::isfinite(v) || !(unitFactor > 0.0)) return false;
  *seconds = v / unitFactor;
  return true;
}
