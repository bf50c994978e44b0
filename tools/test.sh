#!/usr/bin/env bash
# Builds Kestrix and runs every test: the normal build, then the same suite
# under AddressSanitizer + UndefinedBehaviorSanitizer.
# Usage: tools/test.sh [--no-asan] [ctest arguments...]
set -euo pipefail
cd "$(dirname "$0")/.."
asan=1
if [ "${1:-}" = --no-asan ]; then asan=0; shift; fi
bash tools/deps.sh
jobs=$(nproc)
# The peers (segyio, numpy, scipy) are installed above: a test that misses one fails here.
export KX_REQUIRE_PEERS=1

run_suite() {
  local preset=$1; shift
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" -j "$jobs"
  ctest --preset "$preset" -j "$jobs" "$@"
}

run_suite default "$@"
if [ "$asan" = 1 ]; then
  export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
  export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
  run_suite asan "$@"
fi
