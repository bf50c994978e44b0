#!/usr/bin/env bash
# Remakes the pictures in docs/ on a virtual X server: the main window on the
# demo survey in wiggle and in colour mode and on two real files from the shared
# test data, and the tool windows. Look at them before committing.
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
shot data/demo/kestrix-demo-2d.segy docs/kestrix-manual.png --manual --anchor keys
shot data/demo/kestrix-demo-2d.segy docs/kestrix-save-dataset.png --save-dialog
shot data/demo/kestrix-demo-2d.segy docs/kestrix-filter.png --wiggle --pix-per-trace 13 --band-pass 20 40
shot "$testdata/segy/segyio/f3.sgy" docs/kestrix-spectrum.png --spectrum
# The basemap: a survey along a bent line with the profile digitized on it, and
# a real file's CDPs (its sources lie on them, its receivers have no coordinates).
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
./build/src/cli/kxtool synth --crooked --shots 60 --samples 200 -o "$tmp/crooked.segy" --log-level 1
shot "$tmp/crooked.segy" docs/kestrix-basemap-synth.png --basemap --profile data/demo/crooked-profile.txt \
  --size 1100x750
shot "$testdata/segy/segyio/f3.sgy" docs/kestrix-basemap-real.png --basemap --hide Receivers --hide Sources \
  --size 1100x750
# The File Selector beside the main window, over a folder of synthetic shots.
shots=$(mktemp -d)
mkdir "$shots/line-A"
for i in $(seq 1 12); do
  ./build/src/cli/kxtool synth -o "$shots/line-A/shot$i.sgy" --shots 1 --channels 120 --samples 500 2>/dev/null
done
shot "$shots/line-A/shot3.sgy" docs/kestrix-file-selector.png --file-selector --size 1000x640
rm -rf "$shots"
ls -l docs/*.png
