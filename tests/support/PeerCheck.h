// Tests that compare with a peer (segyio, numpy, scipy through /usr/bin/python3,
// the interpreter that sees Debian's packages). A developer without the peer gets a
// skip that names it; under CI (CI=true) and tools/test.sh (KX_REQUIRE_PEERS=1) a
// missing peer fails the test, so a broken install cannot pass unnoticed.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <map>
#include <string>

namespace kxtest {

inline bool PeersRequired() {
  const char* ci = std::getenv("CI");
  const char* required = std::getenv("KX_REQUIRE_PEERS");
  return (ci && std::strcmp(ci, "true") == 0) || (required && std::strcmp(required, "1") == 0);
}

// True when /usr/bin/python3 imports every module of the comma-separated list
// (e.g. "numpy, scipy.signal"); asked once per list.
inline bool PythonHas(const std::string& modules) {
  static std::map<std::string, bool> known;
  auto it = known.find(modules);
  if (it != known.end()) return it->second;
  std::string cmd = "/usr/bin/python3 -c 'import " + modules + "' >/dev/null 2>&1";
  return known[modules] = std::system(cmd.c_str()) == 0;
}

}  // namespace kxtest

// In a test body: skip (or fail when peers are required) unless /usr/bin/python3
// imports the modules.
#define KX_REQUIRE_PYTHON(modules)                                                              \
  do {                                                                                          \
    if (!kxtest::PythonHas(modules)) {                                                          \
      if (kxtest::PeersRequired())                                                              \
        FAIL() << "/usr/bin/python3 lacks " << (modules) << " (a missing peer fails under CI)"; \
      GTEST_SKIP() << "/usr/bin/python3 lacks " << (modules);                                   \
    }                                                                                           \
  } while (0)
