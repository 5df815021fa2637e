#!/usr/bin/env bash
# Runs the benchmarks of a build folder, each in a process of its own.
#   scripts/bench.sh BUILD_DIR [SECONDS_PER_RATE]
# - a contest weekend: 3,000,000 node lines through the real incoming-text
#   handler into the real terminal pane (offscreen);
# - a node that never ends its line: 50 MB, then repaints with such lines in
#   view (offscreen);
# - a click on a spot line until rigctld has set the frequency (offscreen);
# - the live check per line against a small and a very large calendar list;
# - reading the country file cty.dat and looking up real callsigns in it;
# - reading spots from real node lines by their words;
# - the DX window fed at 100 and 1,000 spots a second, and a 3,000,000-line
#   replay into it (offscreen);
# - the real window on an X server (Xvfb), fed by the node simulator at 20,
#   100 and 500 lines a second, and the start-up time (exec to main window).
set -euo pipefail
build="${1:?usage: scripts/bench.sh BUILD_DIR [SECONDS_PER_RATE]}"
seconds="${2:-30}"
cd "$build"
echo "== contest weekend"
QT_QPA_PLATFORM=offscreen ./bench/bench_incoming contest 3000000
echo "== endless line"
QT_QPA_PLATFORM=offscreen ./bench/bench_incoming endless 50
echo "== click to tune (rigctld on loopback)"
QT_QPA_PLATFORM=offscreen ./bench/bench_rig 40
echo "== live check per line"
./bench/bench_livecheck
echo "== country file"
./bench/bench_dxcc
echo "== reading spots"
./bench/bench_spot_reader
echo "== DX window"
QT_QPA_PLATFORM=offscreen ./bench/bench_dx_window 10 3000000
echo "== real X display"
if [ -x ./bench/bench_display ]; then
  xvfb-run -a -s '-screen 0 1280x1024x24' ./bench/bench_display "$seconds"
else
  echo "bench_display was not built (it needs libxcb1-dev)" >&2
  exit 1
fi
