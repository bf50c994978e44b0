#!/usr/bin/env bash
# Remakes the pictures of the main window (and of the manual window) in docs/ on a virtual X server:
# the demo survey in wiggle and in colour mode, and two real files from the
# shared test data, and the tool windows. Look at them before committing.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/deps.sh gui
testdata=${KX_TESTDATA:-../shared/testdata}
cmake --preset default -DKX_BUILD_GUI=ON >/dev/null
cmake --build --preset default -j "$(nproc)" --target kestrix_screenshot
shot() { xvfb-run -a ./build/src/gui/kestrix_screenshot "$@"; }
shot data/demo/kestrix-demo-2d.segy docs/kestrix-wiggle.png --wiggle --pix-per-trace 13
shot data/demo/kestrix-demo-2d.segy docs/kestrix-color.png --color --palette 2
shot "$testdata/seg2/seisunix/329.dat" docs/kestrix-seg2-shot.png
shot "$testdata/segy/segyio/f3.sgy" docs/kestrix-segy-f3.png --color
shot data/demo/kestrix-demo-2d.segy docs/kestrix-manual.png --manual --anchor keys
shot data/demo/kestrix-demo-2d.segy docs/kestrix-save-dataset.png --save-dialog
shot data/demo/kestrix-demo-2d.segy docs/kestrix-filter.png --wiggle --pix-per-trace 13 --band-pass 20 40
shot "$testdata/segy/segyio/f3.sgy" docs/kestrix-spectrum.png --spectrum
ls -l docs/*.png
