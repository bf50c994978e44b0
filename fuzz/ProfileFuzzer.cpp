// The profile text reader on arbitrary text: a success gives finite points only.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "formats/ProfileText.h"
#include "fuzz/FuzzFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  std::string path = kxfuzz::WriteInput("profile.txt", data, size);
  std::vector<ProfilePoint> points;
  if (LoadProfileText(path, &points) == 0) {
    if (points.empty()) std::abort();
    for (const ProfilePoint& p : points)
      if (!std::isfinite(p.x) || !std::isfinite(p.y)) std::abort();
  }
  return 0;
}
