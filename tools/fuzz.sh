#!/usr/bin/env bash
# Builds the libFuzzer harnesses (clang, ASan+UBSan) in build-fuzz and runs each
# for SECONDS, one after another, printing one line per harness with its
# executions and crashes. Exits non-zero when any harness found a crash, a
# leak, a timeout or ran out of memory; the input is kept under
# build-fuzz/artifacts/NAME/ and the harness's output in build-fuzz/logs/.
# The corpus each run grows stays in build-fuzz/corpus/NAME/ for the next run.
# Usage: tools/fuzz.sh [SECONDS] [NAME...]     (default 10 seconds, every harness)
# KX_FUZZ_FLAGS adds libFuzzer options, e.g. -runs=1000000 to stop a long run there.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
bash tools/deps.sh fuzz
secs=${1:-10}
shift || true
data=${KX_TEST_DATA_DIR:-$root/../shared/testdata}
build=$root/build-fuzz
harnesses=(segy su seg2 segd vms kxf header_words profile)
[ $# -gt 0 ] && harnesses=("$@")

if [ ! -f "$build/build.ninja" ]; then
  cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DKX_FUZZ=ON \
    -DKX_BUILD_TESTS=OFF -DKX_BUILD_BENCH=OFF -DKX_BUILD_GUI=OFF >/dev/null
fi
targets=()
for h in "${harnesses[@]}"; do targets+=("fuzz_$h"); done
mkdir -p "$build/logs"
if ! ninja -C "$build" -j "${KX_JOBS:-2}" "${targets[@]}" >"$build/logs/build.log" 2>&1; then
  tail -n 40 "$build/logs/build.log"
  exit 1
fi

# The sample files of each format, linked (not copied) into a seed folder
# beside the crafted seeds of fuzz/seeds/NAME.
seed_files() {
  case $1 in
    segy) find "$data/segy" "$root/data/demo" -type f \( -name '*.sgy' -o -name '*.segy' -o -name '*_first_trace' \) ;;
    su) find "$data/su" -type f ;;
    seg2) find "$data/seg2" -type f \( -name '*.seg2' -o -name '*.dat' \) ;;
    segd) find "$data/segd" -type f ;;
    *) ;;
  esac
}

failed=0
for h in "${harnesses[@]}"; do
  seeds=$build/seeds/$h corpus=$build/corpus/$h artifacts=$build/artifacts/$h/ log=$build/logs/$h.log
  rm -rf "$seeds"
  mkdir -p "$seeds" "$corpus" "$artifacts" "$build/logs"
  while IFS= read -r f; do ln -sf "$f" "$seeds/$(echo "$f" | md5sum | cut -c1-12)-$(basename "$f")"; done \
    < <(seed_files "$h")
  [ -d "$root/fuzz/seeds/$h" ] && cp -f "$root/fuzz/seeds/$h"/* "$seeds/"
  before=$(find "$artifacts" -type f | wc -l)
  set +e
  "$build/fuzz/fuzz_$h" -max_total_time="$secs" -timeout=10 -rss_limit_mb=2048 -max_len=65536 \
    -print_final_stats=1 -artifact_prefix="$artifacts" ${KX_FUZZ_FLAGS:-} "$corpus" "$seeds" >"$log" 2>&1
  rc=$?
  set -e
  execs=$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$log" | grep -o '[0-9]*$' || echo 0)
  crashes=$(( $(find "$artifacts" -type f | wc -l) - before ))
  [ "$rc" -ne 0 ] && [ "$crashes" -eq 0 ] && crashes=1
  printf '%-14s %10s executions in %ss, %d crashes, corpus %d files\n' "fuzz_$h" "${execs:-0}" "$secs" \
    "$crashes" "$(find "$corpus" -type f | wc -l)"
  [ "$crashes" -ne 0 ] && failed=1
done
exit $failed
