// Small builders for section tests: traces with a sampling and a delay, and
// binary header fields written at their 0-based positions in native order.
#pragma once

#include <cstdint>
#include <cstring>

#include "section/SeismicSection.h"

namespace kxtest {

// Appends a zeroed trace of ns samples at dt seconds starting at delay; the
// returned record may be edited before the scan.
inline TraceRecord* AddTrace(SeismicSection& s, int32_t ns, double dt, double delay = 0.0) {
  TraceRecord* t = TraceRecord::Allocate(ns);
  t->DT = dt;
  t->DELAY = delay;
  t->NVS = 1;
  t->NHS = 1;
  t->TRID = 1;
  if (s.AppendTrace(t, 1, 0) != 0) return nullptr;
  return t;
}

inline void PutI16(SeismicSection& s, int pos, int16_t v) {
  std::memcpy(s.m_binaryHeader + pos, &v, sizeof v);
}
inline void PutI32(SeismicSection& s, int pos, int32_t v) {
  std::memcpy(s.m_binaryHeader + pos, &v, sizeof v);
}

}  // namespace kxtest
