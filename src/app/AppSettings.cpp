#include "app/AppSettings.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <thread>
#include <utility>

int CountPhysicalCores(const char* cpuFolder) {
  namespace fs = std::filesystem;
  std::error_code ec;
  std::set<std::pair<std::string, std::string>> cores;
  fs::directory_iterator it(cpuFolder, ec);
  if (ec) return -1;
  for (const auto& entry : it) {
    std::string name = entry.path().filename().string();
    if (name.size() < 4 || name.compare(0, 3, "cpu") != 0 ||
        !std::all_of(name.begin() + 3, name.end(), [](char c) { return c >= '0' && c <= '9'; }))
      continue;
    std::ifstream pkg(entry.path() / "topology" / "physical_package_id");
    std::ifstream core(entry.path() / "topology" / "core_id");
    std::string p, c;
    if (!(pkg >> p) || !(core >> c)) continue;
    cores.emplace(p, c);
  }
  return cores.empty() ? -1 : static_cast<int>(cores.size());
}

ProcessorCounts MeasureProcessorCounts() {
  ProcessorCounts counts;
  unsigned n = std::thread::hardware_concurrency();
  counts.logical = n > 0 ? static_cast<int>(n) : 1;
  counts.physical = CountPhysicalCores("/sys/devices/system/cpu");
  return counts;
}

AppSettings DefaultAppSettings(const ProcessorCounts& counts) {
  AppSettings s;
  s.processors = counts;
  int n = counts.logical < 5 ? counts.logical : counts.physical;
  // A failed core query gives -1; the parallel loops need at least one thread.
  if (n < 1) n = std::max(1, counts.logical < 5 ? 1 : counts.logical);
  s.numThreads = n;
  s.displayThreads = n < 4 ? n : std::min(n - 1, 4);
  return s;
}

AppSettings& Settings() {
  static AppSettings settings = DefaultAppSettings(MeasureProcessorCounts());
  return settings;
}
