// Helpers shared by the writer tests: small sections built in memory and
// loads through the program's readers.
#pragma once

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "formats/LoadFileList.h"
#include "formats/LoadParams.h"
#include "section/SeismicSection.h"
#include "support/ByteWriter.h"
#include "support/TempDir.h"

namespace writertest {
namespace fs = std::filesystem;
using kxtest::ReadFileBytes;
using kxtest::TempDir;
using kxtest::WriteFileBytes;

// A trace with samples i * 0.5 - 3 + k, and some header fields set.
inline TraceRecord* MakeTrace(int32_t ns, double dt, double delay, int k) {
  TraceRecord* r = TraceRecord::Allocate(ns);
  r->DT = dt;
  r->DELAY = delay;
  r->FLDR = 100 + k / 10;
  r->CHAN = k % 10 + 1;
  r->TRACF = k + 1;
  r->TRACR = k + 1;
  r->CDP = 500 + k;
  r->OFF = static_cast<float>(-25.0 + 12.5 * k);
  r->SX = 1000.25 + k, r->SY = 2000.5;
  r->RX = 1100.75 + k, r->RY = 2001.25;
  r->CDPX = 1050.5, r->CDPY = 2000.75;
  r->SZ = 12.345f, r->RZ = 11.5f;
  r->TRID = 1, r->NVS = 1, r->NHS = 1;
  r->CUNIT = 1, r->MSYS = r->MSYS0 = 1;
  float* s = r->Samples();
  for (int32_t i = 0; i < ns; ++i) s[i] = static_cast<float>(i * 0.5 - 3.0 + k);
  r->UpdatePeak();
  return r;
}

// A section of count traces of ns samples.
inline std::unique_ptr<SeismicSection> MakeSection(int count, int32_t ns, double dt = 0.002,
                                                   double delay = 0.0) {
  auto s = std::make_unique<SeismicSection>();
  for (int k = 0; k < count; ++k) s->AppendTrace(MakeTrace(ns, dt, delay, k), 1, -1);
  s->Scan();
  return s;
}

// Loads files with the program's own load path and scans the section.
inline std::unique_ptr<SeismicSection> Load(const std::vector<std::string>& paths) {
  auto s = std::make_unique<SeismicSection>();
  LoadParams params;
  LoadFileList(*s, paths, params);
  s->Scan();
  return s;
}

// Every byte of every trace record (header and samples).
inline std::vector<uint8_t> SectionBytes(const SeismicSection& s) {
  std::vector<uint8_t> out;
  for (int i = 0; i < s.Count(); ++i) {
    const uint8_t* p = reinterpret_cast<const uint8_t*>(s.Trace(i));
    out.insert(out.end(), p, p + TraceRecord::AllocationSize(s.Trace(i)->NS));
  }
  return out;
}
}  // namespace writertest
