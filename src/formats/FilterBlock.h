// The filtered samples a writer is about to write, a block of traces at a
// time: the block goes through RunFilterTraces on the caller's team, so the
// write neither filters one trace at a time nor holds a filtered copy of the
// whole section.
#pragma once

#include <cstdint>
#include <vector>

struct IIRFilter;
struct TraceRecord;

class FilterBlock {
 public:
  // Holds about `samples` filtered samples per block (at least one trace).
  FilterBlock() = default;
  explicit FilterBlock(int64_t samples) : m_budget(samples) {}

  // Filters the whole of list[first], list[first + 1], ... (null and omitted
  // records skipped) until the sample budget is reached. Returns the index
  // after the last one filtered, or kStatusNoMemory (logged).
  int32_t Fill(const IIRFilter& f, TraceRecord* const* list, int32_t first, int32_t count, int threads);

  // The filtered samples of list[i] from the last Fill (i inside it, the
  // record neither null nor omitted).
  const float* Samples(int32_t i) const {
    return m_samples.data() + m_offsets[static_cast<std::size_t>(i - m_first)];
  }

 private:
  int64_t m_budget = int64_t{1} << 21;  // 8 MB of floats
  int32_t m_first = 0;
  std::vector<std::size_t> m_offsets;  // per list index from m_first
  std::vector<float> m_samples;
};
