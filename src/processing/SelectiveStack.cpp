#include "processing/SelectiveStack.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <new>

#include "log/Log.h"
#include "log/Status.h"
#include "processing/TraceSort.h"

namespace {
constexpr int kKeyFldr = 3;
constexpr int kKeyTracf = 4;

int CheckStack(const SeismicSection& s, const std::vector<Gather>& g, int32_t last) {
  if (!s.FixedLength()) return kStackCheckNotFixedLength;
  if (s.Count() < 1) return kStackCheckNoTraces;
  if (g.size() < 2) return kStackCheckFewGathers;
  if (last < 1 || last >= static_cast<int32_t>(g.size())) return kStackCheckLastGather;
  if (s.StackCount() == 0) return kStackCheckNoList;
  for (int32_t i = 0; i <= last; ++i)
    if (g[i].first < 0 || g[i].count < 0 || static_cast<int64_t>(g[i].first) + g[i].count > s.Count())
      return kStackCheckBeyondTraces;
  if (g[0].count < 1) return kStackCheckEmptyGather;
  const int32_t n = s.Trace(g[0].first)->NS;
  const std::span<TraceRecord* const> stack = s.Stack();
  if (s.StackCount() < g[0].count) return kStackCheckRecordTooSmall;
  for (int32_t j = 0; j < g[0].count; ++j)
    if (!stack[j] || stack[j]->DIM < n) return kStackCheckRecordTooSmall;
  return 0;
}

// Record j of the stack: a copy of trace src with n samples, room kept.
void CopyIntoStack(TraceRecord* dst, const TraceRecord* src, int32_t n) {
  const int32_t room = dst->DIM;
  std::memcpy(static_cast<void*>(dst), src, kTraceHeaderBytes);
  std::memcpy(dst->Samples(), src->Samples(), static_cast<std::size_t>(std::min(n, src->NS)) * sizeof(float));
  dst->DIM = room;
  dst->NS = n;
  dst->TSKIP = 0;
  // A save of the section may have marked the source; every stack is written.
  dst->OMIT = 0;
  if (src->TSKIP) {
    std::memset(dst->Samples(), 0, static_cast<std::size_t>(n) * sizeof(float));
    dst->NVS = 0;
  }
}

void AddIntoStack(TraceRecord* dst, const TraceRecord* src, int32_t n) {
  const int32_t m = std::min(n, src->NS);
  float* d = dst->Samples();
  const float* s = src->Samples();
  for (int32_t i = 0; i < m; ++i) d[i] += s[i];
  dst->NVS = static_cast<int16_t>(static_cast<uint16_t>(dst->NVS) + static_cast<uint16_t>(src->NVS));
}
}  // namespace

int AssignGatherNumbers(SeismicSection& s) {
  int32_t missing = 0;
  for (int32_t i = 0; i < s.Count(); ++i)
    if (s.Trace(i)->LTAG < 0) ++missing;
  if (missing == 0) {
    for (TraceRecord* t : s.Traces()) t->FLDR = t->LTAG;
    return 0;
  }
  LogPrint(LogError, "Some file numbers are missing (%d/%d), using instead FFID in trace headers", missing,
           s.Count());
  int32_t undefined = 0;
  for (int32_t i = 0; i < s.Count(); ++i)
    if (s.Trace(i)->FLDR < 1) ++undefined;
  if (undefined == 0) return 0;
  LogPrint(LogError, "Some FFIDs in trace headers are undefined (%d/%d)", undefined, s.Count());
  ConsoleRaise();
  return kStatusRefused;
}

int BuildGatherTable(const SeismicSection& s, std::vector<Gather>* gathers) {
  try {
    gathers->clear();
    for (int32_t i = 0; i < s.Count(); ++i) {
      if (i == 0 || s.Trace(i)->FLDR != s.Trace(i - 1)->FLDR) gathers->push_back(Gather{i, 0});
      ++gathers->back().count;
    }
  } catch (const std::bad_alloc&) {
    gathers->clear();
    return kStatusNoMemory;
  }
  return 0;
}

int PrepareStack(SeismicSection& s, std::vector<Gather>* gathers, const char** refusal) {
  *refusal = nullptr;
  gathers->clear();
  if (!s.FixedLength() || s.Count() < 1) {
    *refusal = kStackNotFixedLength;
    return kStatusRefused;
  }
  SortParams p;
  p.keys[0] = kKeyFldr;
  p.keys[1] = kKeyTracf;
  p.keyCount = 2;
  if (s.Count() > 1 && SortSection(s, p) == kStatusNoMemory) {
    *refusal = kStackNoMemory;
    return kStatusNoMemory;
  }
  if (BuildGatherTable(s, gathers) != 0) {
    *refusal = kStackNoMemory;
    return kStatusNoMemory;
  }
  if (gathers->size() < 2) {
    *refusal = kStackSingleShot;
    return kStatusRefused;
  }
  for (const Gather& g : *gathers) {
    if (g.count != (*gathers)[0].count) {
      *refusal = kStackUnequalGathers;
      return kStatusRefused;
    }
  }
  return 0;
}

int AllocateStackList(SeismicSection& s, int32_t count, int32_t samples) {
  s.TakeStack();  // the old records go before the new ones are made
  if (count < 1 || samples < 0) return kStatusNoMemory;
  TraceRecordList list;
  if (list.Reserve(static_cast<std::size_t>(count)) != 0) return kStatusNoMemory;
  for (int32_t j = 0; j < count; ++j) {
    TraceRecordPtr rec(TraceRecord::Allocate(samples));
    if (!rec) {
      LogPrint(LogError, "\nERROR: no memory for %d stacked traces of %d samples\n", count, samples);
      return kStatusNoMemory;
    }
    list.Append(std::move(rec));
  }
  s.GiveStack(std::move(list));
  return 0;
}

int StackGathers(SeismicSection& s, const std::vector<Gather>& g, int32_t last) {
  int status = CheckStack(s, g, last);
  if (status != 0) return status;
  const int32_t k = g[0].count;
  const int32_t n = s.Trace(g[0].first)->NS;
  const std::span<TraceRecord* const> stack = s.Stack();
  for (int32_t j = 0; j < k; ++j) CopyIntoStack(stack[j], s.Trace(g[0].first + j), n);
  for (int32_t gi = 1; gi <= last; ++gi) {
    for (int32_t j = 0; j < k && j < g[gi].count; ++j) {
      const TraceRecord* tr = s.Trace(g[gi].first + j);
      if (!tr->TSKIP) AddIntoStack(stack[j], tr, n);
    }
  }
  return 0;
}

bool ToggleTraceExclusion(SeismicSection& s, int32_t trace) {
  if (trace < 0 || trace >= s.Count()) return false;
  TraceRecord* t = s.Trace(trace);
  t->TSKIP = t->TSKIP ? 0 : 1;
  return true;
}

bool ToggleGatherExclusion(SeismicSection& s, const std::vector<Gather>& gathers, int32_t trace) {
  for (const Gather& g : gathers) {
    if (trace < g.first || trace >= g.first + g.count || g.first + g.count > s.Count()) continue;
    bool allExcluded = true;
    for (int32_t i = g.first; i < g.first + g.count; ++i) allExcluded = allExcluded && s.Trace(i)->TSKIP;
    for (int32_t i = g.first; i < g.first + g.count; ++i) s.Trace(i)->TSKIP = allExcluded ? 0 : 1;
    return true;
  }
  return false;
}

int AllocateStackFor(SeismicSection& s, const std::vector<Gather>& gathers) {
  if (gathers.empty() || gathers[0].count < 1 || gathers[0].first >= s.Count()) return kStatusNoMemory;
  return AllocateStackList(s, gathers[0].count, s.Trace(gathers[0].first)->NS);
}

int StackAllGathers(SeismicSection& s, const std::vector<Gather>& gathers) {
  return StackGathers(s, gathers, static_cast<int32_t>(gathers.size()) - 1);
}

SectionSummary StackSummary(const SeismicSection& s) {
  SectionSummary summary = SummarizeTraces(s.Stack());
  float peak = 0.0f;
  for (const TraceRecord* r : s.Stack()) {
    if (!r) continue;
    const float* x = r->Samples();
    for (int32_t k = 0; k < r->NS && k < r->DIM; ++k) peak = std::fmax(peak, std::fabs(x[k]));
  }
  summary.maxAmplitude = peak;
  return summary;
}
