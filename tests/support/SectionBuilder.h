// Builds sections for tests: traces of a given sampling appended the way the
// readers append them, so ownership, stamping and the fixed-length flag follow
// the real rules.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>

#include "section/SeismicSection.h"

namespace kxtest {

// Sample value of trace `trace` (0-based position in the section) at `sample`.
using SampleFn = std::function<float(int trace, int sample)>;
// Header edits of one trace after its samples are set.
using TraceEdit = std::function<void(TraceRecord& t, int trace)>;

// Appends a seismic trace (TRID 1, NVS = NHS = 1) of ns samples at dt seconds
// from delay, zeroed or from fn with its peak computed. Returns the record,
// owned by the section, for edits before the scan; null when not appended.
inline TraceRecord* AddTrace(SeismicSection& s, int32_t ns, double dt, double delay = 0.0,
                             const SampleFn& fn = {}) {
  TraceRecord* t = TraceRecord::Allocate(ns);
  if (!t) return nullptr;
  t->DT = dt;
  t->DELAY = delay;
  t->NVS = 1;
  t->NHS = 1;
  t->TRID = 1;
  if (fn) {
    for (int32_t i = 0; i < ns; ++i) t->Samples()[i] = fn(s.Count(), i);
    t->UpdatePeak();
  }
  if (s.AppendTrace(t, 1, 0) != 0) return nullptr;
  return t;
}

// A scanned section of `traces` traces of ns samples each (see AddTrace);
// edit, when given, runs on every trace before the scan. Null on failure.
inline std::unique_ptr<SeismicSection> MakeSection(int traces, int32_t ns, double dt, const SampleFn& fn = {},
                                                   double delay = 0.0, const TraceEdit& edit = {}) {
  auto s = std::make_unique<SeismicSection>();
  for (int n = 0; n < traces; ++n) {
    TraceRecord* t = AddTrace(*s, ns, dt, delay, fn);
    if (!t) return nullptr;
    if (edit) edit(*t, n);
  }
  s->Scan();
  return s;
}

}  // namespace kxtest
