#include "formats/FilterBlock.h"

#include "log/Log.h"
#include "log/Status.h"
#include "processing/FilterTraces.h"
#include "section/TraceRecord.h"

namespace {
bool Written(const TraceRecord* r) {
  return r && !r->OMIT;
}
}  // namespace

int32_t FilterBlock::Fill(const IIRFilter& f, TraceRecord* const* list, int32_t first, int32_t count,
                          int threads) {
  m_first = first;
  m_offsets.clear();
  std::size_t total = 0;
  int32_t end = first;
  for (; end < count && (end == first || static_cast<int64_t>(total) < m_budget); ++end) {
    m_offsets.push_back(total);
    if (Written(list[end]) && list[end]->NS > 0) total += static_cast<std::size_t>(list[end]->NS);
  }
  std::vector<FilterJob> jobs;
  try {
    m_samples.resize(total);
    jobs.reserve(m_offsets.size());
  } catch (...) {
    LogPrint(LogError, "\nERROR: malloc failure for %zu-byte freq filter buffer\n", total * sizeof(float));
    return kStatusNoMemory;
  }
  for (int32_t i = first; i < end; ++i) {
    const TraceRecord* r = list[i];
    if (Written(r) && r->NS > 0)
      jobs.push_back(
          {r->Samples(), m_samples.data() + m_offsets[static_cast<std::size_t>(i - first)], r->NS});
  }
  if (RunFilterTraces(f, jobs, threads) != 0) return kStatusNoMemory;
  return end;
}
