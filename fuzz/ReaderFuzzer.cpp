// One reader on arbitrary bytes: whatever it appends must be a sound record
// (sample count within its slots, every sample readable), and the section
// must free cleanly. KX_FUZZ_READER and KX_FUZZ_EXT name the reader and the
// file extension it is given.
#include <cstddef>
#include <cstdint>

#include "formats/KxfReader.h"
#include "formats/LoadParams.h"
#include "formats/QlmVmsReader.h"
#include "formats/Seg2Reader.h"
#include "formats/SegdReader.h"
#include "formats/SegyReader.h"
#include "fuzz/FuzzFile.h"
#include "section/SeismicSection.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  std::string path = kxfuzz::WriteInput(std::string("input") + KX_FUZZ_EXT, data, size);
  SeismicSection section;
  LoadParams params;
  params.flags = kLoadKeepHeaders;
  params.fileCount = 1;
  int n = KX_FUZZ_READER(section, path, params);
  if (n > section.Count()) std::abort();
  volatile float sink = 0.0f;
  for (int i = 0; i < section.Count(); ++i) {
    const TraceRecord* t = section.Trace(i);
    if (t->NS < 0 || t->NS > t->DIM) std::abort();
    for (int32_t s = 0; s < t->NS; ++s) sink = sink + t->Samples()[s];
  }
  if (section.Count() > 0) section.Scan();
  return 0;
}
