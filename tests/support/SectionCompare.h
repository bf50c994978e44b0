// Sections read back from files and compared trace by trace, for tests of
// the app layer and above (they need the readers).
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "formats/LoadFileList.h"
#include "formats/LoadParams.h"
#include "section/SeismicSection.h"

namespace kxtest {

// The file loaded and scanned as the program loads it; null when it holds no timed trace.
inline std::unique_ptr<SeismicSection> LoadCopy(const std::string& path) {
  auto s = std::make_unique<SeismicSection>();
  LoadParams p;
  if (LoadFileList(*s, {path}, p) != 0 || s->Scan() <= 0) return nullptr;
  return s;
}

// Same traces: count, and per trace the sample count, interval, delay and every sample.
inline void ExpectSameTraces(const SeismicSection& a, const SeismicSection& b) {
  ASSERT_EQ(a.Count(), b.Count());
  for (int t = 0; t < a.Count(); ++t) {
    const TraceRecord* x = a.Trace(t);
    const TraceRecord* y = b.Trace(t);
    ASSERT_EQ(x->NS, y->NS) << t;
    ASSERT_EQ(x->DT, y->DT) << t;
    ASSERT_EQ(x->DELAY, y->DELAY) << t;
    for (int i = 0; i < x->NS; ++i) ASSERT_EQ(x->Samples()[i], y->Samples()[i]) << t << "," << i;
  }
}

}  // namespace kxtest
