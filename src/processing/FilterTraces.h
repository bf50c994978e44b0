// Zero-phase filtering of many traces at once: the batch runner (several
// traces per vector lane group) on a team of threads. Every output is
// bit-identical to RunFilter on the same trace, whatever the team size, the
// block size or the mix of lengths.
//
// Threads: the caller names the team size; the filter record is only read.
#pragma once

#include <cstdint>
#include <span>

#include "processing/IIRFilter.h"

// One trace to filter: n samples from in to out (in may equal out).
struct FilterJob {
  const float* in;
  float* out;
  int64_t n;
};

// Runs f over every job on `threads` threads (below 1 counts as 1). Traces of
// equal length go through RunFilterBatch together, so lengths may differ
// freely. peaks (optional, one per job) receives each trace's largest
// absolute output value, 0 for n <= 0. Returns 0, or kStatusNoMemory (then
// some outputs may be written, the others untouched).
int RunFilterTraces(const IIRFilter& f, std::span<const FilterJob> jobs, int threads, float* peaks = nullptr);
