#!/usr/bin/env bash
# Remakes the pictures of the main window in docs/ on a virtual X server:
# the demo survey in wiggle and in colour mode, and two real files from the
# shared test data. Look at them before committing.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/deps.sh gui
testdata=${KX_TESTDATA:-../shared/testdata}
cmake --preset default -DKX_BUILD_GUI=ON >/dev/null
cmake --build --preset default -j "$(nproc)" --target kestrix_screenshot kxtool
shot() { xvfb-run -a ./build/src/gui/kestrix_screenshot "$@"; }
shot data/demo/kestrix-demo-2d.segy docs/kestrix-wiggle.png --wiggle --pix-per-trace 13
shot data/demo/kestrix-demo-2d.segy docs/kestrix-color.png --color --palette 2
shot "$testdata/seg2/seisunix/329.dat" docs/kestrix-seg2-shot.png
shot "$testdata/segy/segyio/f3.sgy" docs/kestrix-segy-f3.png --color
# The File Selector beside the main window, over a folder of synthetic shots.
shots=$(mktemp -d)
mkdir "$shots/line-A"
for i in $(seq 1 12); do
  ./build/src/cli/kxtool synth -o "$shots/line-A/shot$i.sgy" --shots 1 --channels 120 --samples 500 2>/dev/null
done
shot "$shots/line-A/shot3.sgy" docs/kestrix-file-selector.png --file-selector --size 1000x640
rm -rf "$shots"
ls -l docs/*.png
