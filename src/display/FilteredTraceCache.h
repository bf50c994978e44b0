// The trace view's filtered copies of the traces it draws with the display
// filter on. A redraw first fills the copies the drawing will read, in blocks
// through the batch runner on the view's team of threads, and the drawers then
// only read them, so scrolling back over traces already filtered filters
// nothing. Copies are keyed by trace record and made for one filter design:
// a different design, new traces (Clear) or changed samples (Clear) drop them.
//
// Memory: at most the budget (default 256 MiB) is kept after a fill; beyond
// it the copies not used by the latest redraw go first, those used longest
// ago and farthest from the traces just drawn first, down to seven eighths of
// the budget so that scrolling does not sort the whole cache on every page.
// The copies of the redraw itself are always kept, whatever the budget.
// Copies live in slots carved from 2 MiB slabs on huge pages: a new page of
// traces then costs a few page faults, not one per 4 KiB, and slots are never
// zeroed (the runner writes them whole). A dropped copy's slot serves the next
// one of its size; Clear returns the slabs to the system.
//
// Threads: Fill and Clear on the view's thread; Find from any number of
// drawing threads while no Fill or Clear runs.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <unordered_map>
#include <vector>

#include "processing/IIRFilter.h"
#include "section/TraceRecord.h"

class FilteredTraceCache {
 public:
  static constexpr std::size_t kDefaultBudgetBytes = std::size_t{256} << 20;

  explicit FilteredTraceCache(std::size_t budgetBytes = kDefaultBudgetBytes) : m_budget(budgetBytes) {}
  ~FilteredTraceCache();
  FilteredTraceCache(const FilteredTraceCache&) = delete;
  FilteredTraceCache& operator=(const FilteredTraceCache&) = delete;

  // Drops every copy: the traces were replaced or their samples changed.
  void Clear();
  // Makes sure traces[i] has its copy filtered by f for every i in wanted
  // (null traces are skipped). Returns 0, or kStatusNoMemory when some copies
  // could not be made (those traces are then missing; the drawers filter
  // them one by one).
  int Fill(const IIRFilter& f, TraceRecord* const* traces, std::span<const int> wanted, int threads);
  // The filtered samples of trace and their largest |value|, or null.
  const float* Find(const TraceRecord* trace, float* peak) const;

  void SetBudget(std::size_t bytes) { m_budget = bytes; }
  std::size_t Bytes() const { return m_bytes; }
  std::size_t Size() const { return m_entries.size(); }
  // Traces filtered since construction (tests, benchmarks).
  int64_t FilteredTraces() const { return m_filtered; }

 private:
  struct Entry {
    float* samples = nullptr;  // a slot of slotFloats floats
    std::size_t slotFloats = 0;
    float peak = 0.0f;
    int32_t ns = -1;   // -1: no valid copy
    int index = 0;     // place in the list of the fill that last used it
    uint64_t use = 0;  // that fill's number
  };
  struct Slab {
    void* base;
    std::size_t bytes;
  };
  bool SameDesign(const IIRFilter& f) const;
  void Evict(int centre);
  // A slot of `floats` floats, or null (logged) when no slab can be had.
  float* TakeSlot(std::size_t floats);
  void GiveBack(Entry& e);
  void ReleaseSlabs();

  std::unordered_map<const TraceRecord*, Entry> m_entries;
  std::unordered_map<std::size_t, std::vector<float*>> m_freeSlots;  // by slot size
  std::vector<Slab> m_slabs;
  IIRFilter m_design{};
  bool m_hasDesign = false;
  std::size_t m_budget;
  std::size_t m_bytes = 0;
  uint64_t m_fill = 0;
  int64_t m_filtered = 0;
};
