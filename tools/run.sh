#!/usr/bin/env bash
# Builds Kestrix and opens the desktop program on the bundled demo data (or on
# the file given as the first argument). Without a display it runs on a
# virtual X server (xvfb-run). KX_RUN_SECONDS=N closes it after N seconds,
# for a quick check on a machine nobody looks at.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/deps.sh gui
cmake --preset default -DKX_BUILD_GUI=ON >/dev/null
cmake --build --preset default -j "$(nproc)" --target kestrix kxtool

file=${1:-}
if [ -z "$file" ]; then
  for f in data/demo/*; do
    case "${f,,}" in
      *.segy | *.sgy | *.su | *.seg2 | *.sg2 | *.dat) file=$f; break ;;
    esac
  done
fi
[ -n "$file" ] || echo "no demo file in data/demo: starting without one" >&2

cmd=(./build/src/gui/kestrix)
[ -n "$file" ] && cmd+=("$file")
if [ -n "${KX_RUN_SECONDS:-}" ]; then
  # SIGTERM after the time is up; a status of 124 then means it was still running.
  cmd=(timeout "$KX_RUN_SECONDS" "${cmd[@]}")
fi
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ "${QT_QPA_PLATFORM:-}" != offscreen ]; then
  cmd=(xvfb-run -a "${cmd[@]}")
fi
echo "running: ${cmd[*]}"
status=0
"${cmd[@]}" || status=$?
if [ -n "${KX_RUN_SECONDS:-}" ] && [ "$status" = 124 ]; then status=0; fi
exit "$status"
