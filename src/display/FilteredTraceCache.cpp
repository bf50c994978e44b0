#include "display/FilteredTraceCache.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <new>

#if defined(__linux__)
#include <sys/mman.h>
#define KX_SLAB_MMAP 1
#endif

#include "log/Log.h"
#include "log/Status.h"
#include "processing/FilterTraces.h"

namespace {
// Traces per call of the batch runner: enough to keep the team busy, few
// enough that the job list stays small.
constexpr std::size_t kBlockTraces = 2048;
constexpr std::size_t kSlabBytes = std::size_t{2} << 20;
// Slots are whole cache lines, so neighbouring copies never share one.
constexpr std::size_t kSlotAlign = 64 / sizeof(float);

std::size_t SlotFloats(int32_t ns) {
  return (static_cast<std::size_t>(std::max(ns, 1)) + kSlotAlign - 1) / kSlotAlign * kSlotAlign;
}

std::size_t EntryBytes(std::size_t slotFloats) {
  return slotFloats * sizeof(float) + 64;
}

// bytes (a multiple of kSlabBytes) on a huge-page boundary, or null.
void* MapSlab(std::size_t bytes) {
#ifdef KX_SLAB_MMAP
  const std::size_t span = bytes + kSlabBytes;
  void* p = mmap(nullptr, span, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (p == MAP_FAILED) return nullptr;
  const uintptr_t start = reinterpret_cast<uintptr_t>(p);
  const uintptr_t aligned = (start + kSlabBytes - 1) & ~(uintptr_t{kSlabBytes} - 1);
  if (aligned > start) munmap(p, aligned - start);
  const uintptr_t tail = start + span - (aligned + bytes);
  if (tail > 0) munmap(reinterpret_cast<void*>(aligned + bytes), tail);
  madvise(reinterpret_cast<void*>(aligned), bytes, MADV_HUGEPAGE);
  return reinterpret_cast<void*>(aligned);
#else
  return std::aligned_alloc(kSlabBytes, bytes);
#endif
}

void UnmapSlab(void* base, std::size_t bytes) {
#ifdef KX_SLAB_MMAP
  munmap(base, bytes);
#else
  (void)bytes;
  std::free(base);
#endif
}
}  // namespace

FilteredTraceCache::~FilteredTraceCache() {
  ReleaseSlabs();
}

void FilteredTraceCache::ReleaseSlabs() {
  for (const Slab& s : m_slabs) UnmapSlab(s.base, s.bytes);
  m_slabs.clear();
  m_freeSlots.clear();
}

void FilteredTraceCache::Clear() {
  m_entries.clear();
  m_bytes = 0;
  ReleaseSlabs();
}

float* FilteredTraceCache::TakeSlot(std::size_t floats) {
  std::vector<float*>& free = m_freeSlots[floats];
  if (free.empty()) {
    const std::size_t slot = floats * sizeof(float);
    const std::size_t bytes = (std::max(slot, kSlabBytes) + kSlabBytes - 1) / kSlabBytes * kSlabBytes;
    void* base = MapSlab(bytes);
    if (base == nullptr) {
      LogPrint(LogError, "\nERROR: malloc failure for float[%zu]\n", bytes / sizeof(float));
      return nullptr;
    }
    m_slabs.push_back({base, bytes});
    const std::size_t count = bytes / slot;
    free.reserve(free.size() + count);
    // Handed out from the slab's start, so a page fills in order.
    for (std::size_t k = count; k-- > 0;) free.push_back(static_cast<float*>(base) + k * floats);
  }
  float* p = free.back();
  free.pop_back();
  return p;
}

void FilteredTraceCache::GiveBack(Entry& e) {
  if (e.samples == nullptr) return;
  m_freeSlots[e.slotFloats].push_back(e.samples);
  m_bytes -= EntryBytes(e.slotFloats);
  e.samples = nullptr;
  e.slotFloats = 0;
  e.ns = -1;
}

// The runner reads only the pass type, the section count and the cascades.
bool FilteredTraceCache::SameDesign(const IIRFilter& f) const {
  return m_hasDesign && f.passType == m_design.passType && f.runSections == m_design.runSections &&
         std::memcmp(f.cascade1, m_design.cascade1, sizeof f.cascade1) == 0 &&
         std::memcmp(f.cascade2, m_design.cascade2, sizeof f.cascade2) == 0;
}

int FilteredTraceCache::Fill(const IIRFilter& f, TraceRecord* const* traces, std::span<const int> wanted,
                             int threads) {
  if (!SameDesign(f)) {
    // Same traces, new design: every slot is reused as it is.
    for (auto& [trace, e] : m_entries) GiveBack(e);
    m_entries.clear();
    m_design = f;
    m_hasDesign = true;
  }
  ++m_fill;
  int status = 0;
  std::vector<FilterJob> jobs;
  std::vector<Entry*> pending;
  std::vector<float> peaks;
  auto run = [&] {
    if (jobs.empty()) return;
    peaks.assign(jobs.size(), 0.0f);
    if (RunFilterTraces(f, jobs, threads, peaks.data()) != 0) {
      status = kStatusNoMemory;
      // Outputs may be partial: forget the whole block.
      for (Entry* e : pending) GiveBack(*e);
    } else {
      for (std::size_t k = 0; k < pending.size(); ++k) pending[k]->peak = peaks[k];
      m_filtered += static_cast<int64_t>(jobs.size());
    }
    jobs.clear();
    pending.clear();
  };
  long long centreSum = 0;
  try {
    jobs.reserve(std::min(wanted.size(), kBlockTraces));
    pending.reserve(std::min(wanted.size(), kBlockTraces));
    for (int i : wanted) {
      const TraceRecord* t = traces[i];
      centreSum += i;
      if (t == nullptr) continue;
      const int32_t ns = std::max(t->NS, 0);
      Entry& e = m_entries[t];
      e.index = i;
      e.use = m_fill;
      if (e.ns == ns && e.samples != nullptr) continue;
      const std::size_t floats = SlotFloats(ns);
      if (e.samples != nullptr && e.slotFloats != floats) GiveBack(e);
      if (e.samples == nullptr) {
        e.samples = TakeSlot(floats);
        if (e.samples == nullptr) {
          status = kStatusNoMemory;
          continue;
        }
        e.slotFloats = floats;
        m_bytes += EntryBytes(floats);
      }
      e.ns = ns;
      jobs.push_back(FilterJob{t->Samples(), e.samples, ns});
      pending.push_back(&e);
      if (jobs.size() >= kBlockTraces) run();
    }
  } catch (const std::bad_alloc&) {
    LogPrint(LogError, "\nERROR: malloc failure for the filtered copies of %zu traces\n", wanted.size());
    status = kStatusNoMemory;
  }
  run();
  if (m_bytes > m_budget && !wanted.empty())
    Evict(static_cast<int>(centreSum / static_cast<long long>(wanted.size())));
  return status;
}

const float* FilteredTraceCache::Find(const TraceRecord* trace, float* peak) const {
  auto it = m_entries.find(trace);
  if (it == m_entries.end() || it->second.ns != trace->NS || it->second.samples == nullptr) return nullptr;
  *peak = it->second.peak;
  return it->second.samples;
}

// Copies the latest fill did not use, oldest first and, among equals,
// farthest from the middle of what it drew.
void FilteredTraceCache::Evict(int centre) {
  const std::size_t target = m_budget - m_budget / 8;
  std::vector<std::pair<const TraceRecord*, Entry*>> spare;
  for (auto& [trace, e] : m_entries)
    if (e.use != m_fill) spare.emplace_back(trace, &e);
  std::sort(spare.begin(), spare.end(), [centre](const auto& a, const auto& b) {
    if (a.second->use != b.second->use) return a.second->use < b.second->use;
    return std::abs(a.second->index - centre) > std::abs(b.second->index - centre);
  });
  for (const auto& [trace, e] : spare) {
    if (m_bytes <= target) break;
    GiveBack(*e);
    m_entries.erase(trace);
  }
}
