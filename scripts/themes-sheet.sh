#!/usr/bin/env bash
# Makes docs/themes.png, a contact sheet of the main window in each of the
# twenty styles. For every style it starts the program on a virtual screen
# (Xvfb with the openbox window manager) against the local cluster node
# simulator and web host, opens the band strip, switches one band off,
# connects, logs in and asks for five spots, then takes a picture of the
# window. The single pictures stay in the work folder for a closer look.
#   scripts/themes-sheet.sh [BUILD_DIR] [WORK_DIR]
# BUILD_DIR defaults to build-release and is built when the program is
# missing; WORK_DIR defaults to a new temporary folder.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${1:-build-release}"
case "$build" in /*) ;; *) build="$root/$build" ;; esac
work="${2:-$(mktemp -d)}"
mkdir -p "$work"

for tool in xvfb-run openbox xdotool import montage; do
  command -v "$tool" >/dev/null || {
    echo "$tool is missing: apt-get install xvfb xauth openbox xdotool imagemagick" >&2
    exit 1
  }
done
. "$root/scripts/build-programs.sh"
if ! load_programs "$build" marvix_terminal dxnode_sim webhost 2>/dev/null; then
  if [ "$build" = "$root/build-release" ]; then
    (cd "$root" && cmake --preset release)
  else
    cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release
  fi
  cmake --build "$build" --target marvix-terminal dxnode-sim webhost
  load_programs "$build" marvix_terminal dxnode_sim webhost
fi

# The display names, in the order of the theme box.
mapfile -t styles < <(sed -n 's/.*{QString(), QStringLiteral("\([^"]*\)")}.*/\1/p;
  s/.*{QStringLiteral("[A-Z]*"), QStringLiteral("\([^"]*\)")}.*/\1/p' \
  "$root/src/core/settings/StyleRegistry.cpp")
[ "${#styles[@]}" -eq 20 ] || { echo "expected 20 styles, found ${#styles[@]}" >&2; exit 1; }

# Runs inside the virtual screen.
shoot_all() {
  openbox >/dev/null 2>&1 &
  wm=$!
  sleep 1
  pids=()
  cleanup() { for p in "${pids[@]}" "$wm"; do kill "$p" 2>/dev/null || true; done; }
  trap cleanup EXIT

  "$dxnode_sim" --port 0 --rate 1 --seed 7 > "$work/sim.log" 2>&1 &
  pids+=($!)
  "$root/scripts/webhost.sh" "$build" --hosts-file "$work/hosts.ini" > "$work/webhost.log" 2>&1 &
  pids+=($!)
  for _ in $(seq 100); do
    grep -q '^listening on' "$work/sim.log" 2>/dev/null && grep -q '^ready' "$work/webhost.log" 2>/dev/null && break
    sleep 0.1
  done
  local port
  port=$(sed -n 's/^listening on 127\.0\.0\.1:\([0-9]*\).*/\1/p' "$work/sim.log" | head -n1)

  local i=0
  for style in "${styles[@]}"; do
    i=$((i + 1))
    local run="$work/run-$i"
    mkdir -p "$run"
    cp "$marvix_terminal" "$run/marvix-terminal"
    cp "$root/resources/dx.wav" "$run/"
    printf 'name_of_node;address;port\r\nDEMO-SIM;127.0.0.1;%s\r\n' "$port" > "$run/nodes.txt"
    {
      printf '[Theme]\r\nSelectedTheme=%s\r\n[Node]\r\nElemento=DEMO-SIM\r\n' "$style"
      sed 's/$/\r/' "$work/hosts.ini"
    } > "$run/settings.ini"
    (cd "$run" && exec ./marvix-terminal) > "$run/log" 2>&1 &
    local app=$!
    local wid=""
    for _ in $(seq 100); do
      wid=$(xdotool search --onlyvisible --name '^Marvix Terminal$' 2>/dev/null | head -n1) && [ -n "$wid" ] && break
      sleep 0.1
    done
    if [ -z "$wid" ]; then
      echo "$style: the window did not appear; see $run/log" >&2
      kill "$app" 2>/dev/null || true
      continue
    fi
    sleep 0.5
    click() { xdotool mousemove --window "$wid" "$1" "$2" click 1; sleep 0.3; }
    click 50 369    # Bands Filtering
    click 272 369   # the 20 m panel: off
    click 44 509    # Connect
    sleep 1
    click 394 509   # the command line
    xdotool type --delay 20 'N0CALL'; xdotool key Return; sleep 0.5
    xdotool type --delay 20 'sh/dx 5'; xdotool key Return; sleep 2
    # The pointer leaves the window, so no hint covers it.
    xdotool mousemove 1270 1010
    sleep 0.5
    import -window "$wid" "$work/$(printf '%02d' "$i").png"
    kill "$app" 2>/dev/null || true
    wait "$app" 2>/dev/null || true
    echo "$style"
  done
}
if [ "${MARVIX_SHEET_INSIDE:-}" = 1 ]; then
  shoot_all
  exit 0
fi
# The same script again, inside the virtual screen.
MARVIX_SHEET_INSIDE=1 xvfb-run -a -s '-screen 0 1280x1024x24' "$0" "$build" "$work"

args=()
i=0
for style in "${styles[@]}"; do
  i=$((i + 1))
  f="$work/$(printf '%02d' "$i").png"
  [ -f "$f" ] && args+=(-label "$style" "$f")
done
mkdir -p "$root/docs"
# Half size, 256 colours: small enough for the repository, and every label
# still reads.
montage "${args[@]}" -tile 4x -geometry '408x324+4+4' -pointsize 14 -background '#d8d8d8' \
  -depth 8 "$work/sheet.png"
convert "$work/sheet.png" -strip -colors 256 "PNG8:$root/docs/themes.png"
echo "docs/themes.png made; single pictures in $work"
