#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, when missing.
# Usage: tools/deps.sh [gui|fuzz]
set -euo pipefail
pkgs=(build-essential cmake ninja-build libgtest-dev libgmock-dev libbenchmark-dev
      liblodepng-dev python3-numpy python3-scipy python3-segyio segyio-bin qt6-base-dev)
if [ "${1:-}" = gui ]; then
  pkgs+=(qt6-base-dev libgl-dev xvfb xauth)
fi
# clang with libFuzzer and the sanitizer runtimes, and LLVM's OpenMP with its race-detector tool
# (archer): tools/fuzz.sh and the tsan preset.
if [ "${1:-}" = fuzz ]; then
  pkgs+=(clang libclang-rt-14-dev libomp-14-dev)
fi
missing=()
for p in "${pkgs[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "installing: ${missing[*]}"
  sudo_cmd=""
  [ "$(id -u)" -ne 0 ] && sudo_cmd="sudo"
  $sudo_cmd apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
