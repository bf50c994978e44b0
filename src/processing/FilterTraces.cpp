#include "processing/FilterTraces.h"

#include <algorithm>
#include <numeric>
#include <vector>

#include "log/Status.h"

namespace {
// Traces per call of the batch runner: a few lane groups, so that its work
// buffer is allocated once for several groups and the team still balances.
constexpr int kTracesPerCall = 32;

struct Chunk {
  std::size_t first;  // into the length-sorted order
  int count;
};
}  // namespace

int RunFilterTraces(const IIRFilter& f, std::span<const FilterJob> jobs, int threads, float* peaks) {
  if (jobs.empty()) return 0;
  std::vector<std::size_t> order(jobs.size());
  std::iota(order.begin(), order.end(), std::size_t{0});
  std::stable_sort(order.begin(), order.end(),
                   [&](std::size_t a, std::size_t b) { return jobs[a].n < jobs[b].n; });
  std::vector<Chunk> chunks;
  for (std::size_t i = 0; i < order.size();) {
    std::size_t j = i + 1;
    while (j < order.size() && j - i < kTracesPerCall && jobs[order[j]].n == jobs[order[i]].n) ++j;
    chunks.push_back({i, static_cast<int>(j - i)});
    i = j;
  }
  std::vector<const float*> in(order.size());
  std::vector<float*> out(order.size());
  for (std::size_t i = 0; i < order.size(); ++i) {
    in[i] = jobs[order[i]].in;
    out[i] = jobs[order[i]].out;
  }
  std::vector<float> chunkPeaks(peaks ? order.size() : 0);
  int failed = 0;
  const int64_t count = static_cast<int64_t>(chunks.size());
#pragma omp parallel for schedule(dynamic) num_threads(std::max(threads, 1)) reduction(| : failed)
  for (int64_t c = 0; c < count; ++c) {
    const Chunk& k = chunks[static_cast<std::size_t>(c)];
    const int64_t n = jobs[order[k.first]].n;
    float* p = peaks ? chunkPeaks.data() + k.first : nullptr;
    if (k.count == 1) {
      // A lone trace costs less in the scalar runner; the result is the same.
      float peak = RunFilter(f, in[k.first], out[k.first], n);
      if (p) *p = peak;
    } else if (RunFilterBatch(f, in.data() + k.first, out.data() + k.first, n, k.count, p) != 0) {
      failed = 1;
    }
  }
  if (peaks)
    for (std::size_t i = 0; i < order.size(); ++i) peaks[order[i]] = chunkPeaks[i];
  return failed ? kStatusNoMemory : 0;
}
