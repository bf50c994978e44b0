#include "display/FilteredTraceCache.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <new>

#include "log/Log.h"
#include "log/Status.h"
#include "processing/FilterTraces.h"

namespace {
// Traces per call of the batch runner: enough to keep the team busy, few
// enough that the job list stays small.
constexpr std::size_t kBlockTraces = 2048;

std::size_t EntryBytes(std::size_t samples) {
  return samples * sizeof(float) + 64;
}
}  // namespace

void FilteredTraceCache::Clear() {
  m_entries.clear();
  m_bytes = 0;
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
    Clear();
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
      for (Entry* e : pending) e->ns = -1;
    } else {
      for (std::size_t k = 0; k < pending.size(); ++k) pending[k]->peak = peaks[k];
      m_filtered += static_cast<int64_t>(jobs.size());
    }
    jobs.clear();
    pending.clear();
  };
  long long centreSum = 0;
  for (int i : wanted) {
    const TraceRecord* t = traces[i];
    centreSum += i;
    if (t == nullptr) continue;
    const int32_t ns = std::max(t->NS, 0);
    Entry& e = m_entries[t];
    e.index = i;
    e.use = m_fill;
    if (e.ns == ns && e.samples.size() == static_cast<std::size_t>(ns)) continue;
    m_bytes -= e.samples.empty() ? 0 : EntryBytes(e.samples.size());
    try {
      e.samples.resize(static_cast<std::size_t>(ns));
      e.samples.shrink_to_fit();
    } catch (const std::bad_alloc&) {
      LogPrint(LogError, "\nERROR: malloc failure for float[%d]\n", ns);
      e.samples = {};
      e.ns = -1;
      status = kStatusNoMemory;
      continue;
    }
    m_bytes += EntryBytes(e.samples.size());
    e.ns = ns;
    jobs.push_back(FilterJob{t->Samples(), e.samples.data(), ns});
    pending.push_back(&e);
    if (jobs.size() >= kBlockTraces) run();
  }
  run();
  if (m_bytes > m_budget && !wanted.empty())
    Evict(static_cast<int>(centreSum / static_cast<long long>(wanted.size())));
  return status;
}

const float* FilteredTraceCache::Find(const TraceRecord* trace, float* peak) const {
  auto it = m_entries.find(trace);
  if (it == m_entries.end() || it->second.ns != trace->NS || it->second.ns < 0) return nullptr;
  *peak = it->second.peak;
  return it->second.samples.data();
}

// Copies the latest fill did not use, oldest first and, among equals,
// farthest from the middle of what it drew.
void FilteredTraceCache::Evict(int centre) {
  std::vector<std::pair<const TraceRecord*, const Entry*>> spare;
  for (const auto& [trace, e] : m_entries)
    if (e.use != m_fill) spare.emplace_back(trace, &e);
  std::sort(spare.begin(), spare.end(), [centre](const auto& a, const auto& b) {
    if (a.second->use != b.second->use) return a.second->use < b.second->use;
    return std::abs(a.second->index - centre) > std::abs(b.second->index - centre);
  });
  for (const auto& [trace, e] : spare) {
    if (m_bytes <= m_budget) break;
    m_bytes -= EntryBytes(e->samples.size());
    m_entries.erase(trace);
  }
}
