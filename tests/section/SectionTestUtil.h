// Small builders for section tests: binary header fields written at their
// 0-based positions in native order (traces come from support/SectionBuilder.h).
#pragma once

#include <cstdint>
#include <cstring>

#include "section/SeismicSection.h"
#include "support/SectionBuilder.h"

namespace kxtest {

inline void PutI16(SeismicSection& s, int pos, int16_t v) {
  std::memcpy(s.m_binaryHeader + pos, &v, sizeof v);
}
inline void PutI32(SeismicSection& s, int pos, int32_t v) {
  std::memcpy(s.m_binaryHeader + pos, &v, sizeof v);
}

}  // namespace kxtest
