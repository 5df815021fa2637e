#!/usr/bin/env bash
# Makes the pictures of the README's "First evening" walk-through,
# docs/first-*.png, by doing what the walk-through tells a newcomer, on a
# virtual screen (Xvfb with the openbox window manager), against the local
# cluster node simulator, web host and a dummy rig (rigctld on port 4532):
# connect and log in, turn the live check on, write an alert rule (F4), open
# the DX window (F3) and give it a locator, choose Rig 1 and click a spot.
# It also takes the message a machine without internet shows at start.
#   scripts/walkthrough-shots.sh [BUILD_DIR] [WORK_DIR]
# BUILD_DIR defaults to build-release (build it first: ./dev run or
# cmake --preset release && cmake --build --preset release); WORK_DIR to a
# new temporary folder, where the full-size pictures stay.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${1:-build-release}"
case "$build" in /*) ;; *) build="$root/$build" ;; esac
work="${2:-$(mktemp -d)}"
mkdir -p "$work"
. "$root/scripts/build-programs.sh"
load_programs "$build" marvix_terminal dxnode_sim webhost

if [ "${MARVIX_SHOTS_INSIDE:-}" != 1 ]; then
  for tool in xvfb-run openbox xdotool import convert rigctld rigctl; do
    command -v "$tool" >/dev/null || {
      echo "$tool is missing: apt-get install xvfb xauth openbox xdotool imagemagick libhamlib-utils" >&2
      exit 1
    }
  done
  MARVIX_SHOTS_INSIDE=1 exec xvfb-run -a -s '-screen 0 1280x1024x24' "$0" "$build" "$work"
fi
unset QT_QPA_PLATFORM

pids=()
cleanup() { for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done; }
trap cleanup EXIT
openbox > "$work/openbox.log" 2>&1 &
pids+=($!)

wait_for_line() { # $1 file, $2 pattern
  for _ in $(seq 100); do
    grep -q "$2" "$1" 2>/dev/null && return 0
    sleep 0.1
  done
  echo "no '$2' in $1" >&2
  exit 1
}
"$dxnode_sim" --port 0 --rate 2 --seed 29 \
  --dxpeditions 3Y0K,TX5S,FT8WW,ZL7G,E6AD,VK9XY,E51D,9N7AA > "$work/sim.log" 2>&1 &
pids+=($!)
"$root/scripts/webhost.sh" "$build" --hosts-file "$work/hosts.ini" > "$work/webhost.log" 2>&1 &
pids+=($!)
rigctld -m 1 -T 127.0.0.1 -t 4532 > "$work/rigctld.log" 2>&1 &
pids+=($!)
wait_for_line "$work/sim.log" '^listening on'
wait_for_line "$work/webhost.log" '^ready'
port=$(sed -n 's/^listening on 127\.0\.0\.1:\([0-9]*\).*/\1/p' "$work/sim.log" | head -n1)

# The window titled $1 (a pattern) of process $2, once it is shown.
window() { # $1 title pattern, $2 process id
  local wid=""
  for _ in $(seq 200); do
    wid=$(xdotool search --all --onlyvisible --pid "$2" --name "$1" 2>/dev/null | tail -n1) \
      && [ -n "$wid" ] && { echo "$wid"; return 0; }
    sleep 0.1
  done
  echo "no window '$1'" >&2
  exit 1
}
click() { xdotool mousemove --window "$1" "$2" "$3" click 1; sleep 0.4; }
front() { xdotool windowactivate --sync "$1" 2>/dev/null || true; sleep 0.8; }
# A picture of the whole window, in front, and its small copy in docs/.
shot() { # $1 window id, $2 name
  front "$1"
  import -window "$1" "$work/$2.png"
  convert "$work/$2.png" -strip -colors 256 "PNG8:$root/docs/$2.png"
  echo "docs/$2.png: $(stat -c %s "$root/docs/$2.png") bytes"
}
# Answers the message box the program shows now: a window with the
# program's title that is not its main window.
main=""
answer_box() { # $1 process id
  local box="" w
  for _ in $(seq 200); do
    for w in $(xdotool search --all --onlyvisible --pid "$1" --name '^Marvix Terminal$' 2>/dev/null); do
      [ "$w" != "$main" ] && box=$w
    done
    [ -n "$box" ] && break
    sleep 0.1
  done
  [ -n "$box" ] || { echo "no message box" >&2; exit 1; }
  front "$box"
  xdotool key Return
  for _ in $(seq 50); do
    xdotool search --all --onlyvisible --pid "$1" --name '^Marvix Terminal$' 2>/dev/null | grep -qx "$box" || break
    sleep 0.1
  done
}

# The program in a folder of its own: nodes.txt lists the simulator, and
# settings.ini chooses it and points the program at the local web host.
run_folder() { # $1 folder, $2 the internet probe's address
  mkdir -p "$1"
  cp "$marvix_terminal" "$1/marvix-terminal"
  cp "$root/resources/dx.wav" "$1/"
  printf 'name_of_node;address;port\r\nDEMO-SIM;127.0.0.1;%s\r\n' "$port" > "$1/nodes.txt"
  {
    printf '[Node]\r\nElemento=DEMO-SIM\r\n'
    sed -e "s|^Probe=.*|Probe=$2|" -e 's/$/\r/' "$work/hosts.ini"
  } > "$1/settings.ini"
}
probe=$(sed -n 's/^Probe=//p' "$work/hosts.ini")

# No internet: the probe's address answers nothing (the discard port, closed).
run_folder "$work/offline" http://127.0.0.1:9/
(cd "$work/offline" && exec ./marvix-terminal) > "$work/offline.log" 2>&1 &
app=$!
pids+=("$app")
shot "$(window '^Marvix Terminal$' "$app")" first-no-internet
answer_box "$app"   # "Internet connection not available, ..."
answer_box "$app"   # "Now application will close"
for _ in $(seq 100); do kill -0 "$app" 2>/dev/null || break; sleep 0.1; done
kill -0 "$app" 2>/dev/null && { echo "the program did not end without internet" >&2; exit 1; }

run_folder "$work/evening" "$probe"
(cd "$work/evening" && exec ./marvix-terminal) > "$work/evening.log" 2>&1 &
app=$!
pids+=("$app")
main=$(window '^Marvix Terminal$' "$app")
sleep 1

# Connect, then the callsign on the command line and Enter.
click "$main" 44 509
sleep 1
click "$main" 394 509
xdotool type --delay 20 N0CALL
xdotool key Return
sleep 5
shot "$main" first-connect

# The live check: its button, then the two messages it answers with.
click "$main" 643 25
answer_box "$app"   # "Live check activated"
answer_box "$app"   # "Ready ! Go back to Terminal Window"
sleep 2
shot "$(window '^Dx calendar' "$app")" first-calendar

# F4: a rule for anything spotted in Africa or Asia.
front "$main"
xdotool key F4
alerts=$(window '^Alerts' "$app")
front "$alerts"
click "$alerts" 50 395   # Add
click "$alerts" 515 21   # Name
xdotool key ctrl+a
xdotool type --delay 20 'Africa and Asia'
click "$alerts" 336 130  # AF
click "$alerts" 446 130  # AS
click "$alerts" 662 395  # Save
click "$alerts" 663 341  # Test the sample line
shot "$alerts" first-alerts
xdotool windowminimize "$alerts"

# F3: the DX window, and the locator bearings and distances count from.
front "$main"
xdotool key F3
dx=$(window '^DX window' "$app")
front "$dx"
click "$dx" 146 137      # My locator
xdotool type --delay 20 JO31lk
click "$dx" 254 137      # Set
sleep 8
shot "$dx" first-dx-window
xdotool windowminimize "$dx"

# Rig 1, then a click on a spot line tunes the dummy rig; the live check's
# hits have come meanwhile.
front "$main"
click "$main" 583 538    # Rig 1
sleep 20
click "$main" 100 424    # a spotted DXpedition in the spot pane
sleep 1
echo "the dummy rig: $(rigctl -m 2 -r 127.0.0.1:4532 f) Hz, $(rigctl -m 2 -r 127.0.0.1:4532 m | head -n1)"
shot "$main" first-live-check
echo "pictures in docs/; full size in $work"
