#!/usr/bin/env bash
# Builds Kestrix and runs it on the bundled demo data.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/deps.sh
[ -f build/build.ninja ] || cmake --preset default >/dev/null
cmake --build --preset default -j "$(nproc)"
./build/src/cli/kxtool help
