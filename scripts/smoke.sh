#!/usr/bin/env bash
# Starts the program the way the README tells a newcomer to, on a virtual
# screen (Xvfb) with a window manager (openbox), and fails when its window
# does not come up:
#   run   `./dev run`. Its window is the main window, or, on a machine
#         without internet, the no-internet message the program shows at
#         start. That message is answered as a user would: Enter, then
#         Enter on "Now application will close", and the program must end.
#   demo  `./dev demo`. The main window must come up, connect to the demo
#         node on "Connect", log in with a callsign typed on its command
#         line, show spots arriving in its terminal pane and still be running
#         some seconds later.
#   scripts/smoke.sh [run] [demo]        (both, in that order, by default)
# Each command builds what it lacks first (`./dev run` builds the Release
# tree; `./dev demo` reuses it). What the programs printed, and a picture of
# the screen when a step fails, are kept in smoke/.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
out="$root/smoke"
# How long a command may take to install and build before its program runs,
# and how long the program then has to show its window.
build_seconds="${SMOKE_BUILD_SECONDS:-1200}"
window_seconds="${SMOKE_WINDOW_SECONDS:-60}"

if [ "${MARVIX_SMOKE_INSIDE:-}" != 1 ]; then
  for tool in xvfb-run openbox xdotool import compare ss; do
    command -v "$tool" >/dev/null || {
      echo "$tool is missing: apt-get install xvfb xauth openbox xdotool imagemagick iproute2" >&2
      exit 1
    }
  done
  rm -rf "$out"
  mkdir -p "$out"
  # The same script again, inside the virtual screen.
  MARVIX_SMOKE_INSIDE=1 exec xvfb-run -a -s '-screen 0 1280x1024x24' "$0" "$@"
fi

# The program on the virtual screen, whatever the caller's platform.
unset QT_QPA_PLATFORM
steps=("$@")
[ ${#steps[@]} -gt 0 ] || steps=(run demo)

openbox > "$out/openbox.log" 2>&1 &
wm=$!
group="" # the process group of the command under test
stop_group() {
  if [ -n "$group" ]; then
    kill -TERM -- "-$group" 2>/dev/null || true
    for _ in $(seq 50); do kill -0 -- "-$group" 2>/dev/null || break; sleep 0.1; done
    kill -KILL -- "-$group" 2>/dev/null || true
    wait "$group" 2>/dev/null || true
    group=""
  fi
}
trap 'stop_group; kill "$wm" 2>/dev/null || true' EXIT

fail() { # $1 step, $2 what went wrong
  import -window root "$out/$1-failed.png" 2>/dev/null || true
  echo "smoke $1 FAILED: $2" >&2
  echo "--- the last lines of smoke/$1.log:" >&2
  tail -n 30 "$out/$1.log" >&2 || true
  echo "--- a picture of the screen: smoke/$1-failed.png" >&2
  exit 1
}

# Starts a command in a process group of its own, so that it and all it
# started can be ended together.
launch() { # $1 step, then the command
  local step="$1"
  shift
  (cd "$root" && exec setsid "$@") > "$out/$step.log" 2>&1 < /dev/null &
  group=$!
}

# Waits until the process runs the program itself: ./dev execs it, after
# installing and building, so the command's own process becomes it.
# Prints the program's process id.
wait_for_program() { # $1 step, $2 the process that is or starts the program
  local deadline=$((SECONDS + build_seconds)) pid
  while [ $SECONDS -lt $deadline ]; do
    kill -0 "$group" 2>/dev/null || fail "$1" "the command ended before the program started"
    pid=$(pgrep_program "$2") && { echo "$pid"; return 0; }
    sleep 1
  done
  fail "$1" "no program after $build_seconds s"
}
pgrep_program() { # $1 a process: itself when it is the program, else its child that is
  if [ "$(cat "/proc/$1/comm" 2>/dev/null)" = marvix-terminal ]; then
    echo "$1"
  else
    pgrep -P "$1" -x marvix-terminal | head -n1
  fi
}

# The visible window of the program titled "Marvix Terminal" (the main window
# and the program's message boxes are). Prints its id.
wait_for_window() { # $1 step, $2 the program's process id
  local deadline=$((SECONDS + window_seconds)) wid
  while [ $SECONDS -lt $deadline ]; do
    kill -0 "$2" 2>/dev/null || fail "$1" "the program ended without a window"
    wid=$(xdotool search --all --onlyvisible --pid "$2" --name '^Marvix Terminal$' 2>/dev/null | tail -n1) \
      && [ -n "$wid" ] && { echo "$wid"; return 0; }
    sleep 0.5
  done
  fail "$1" "no window within $window_seconds s of the program's start"
}

# The main window is laid out 815 x 647; a message box is a few lines high.
is_main_window() { # $1 window id
  local WIDTH=0 HEIGHT=0
  eval "$(xdotool getwindowgeometry --shell "$1" | grep -E '^(WIDTH|HEIGHT)=[0-9]+$')"
  echo "window $1: ${WIDTH}x${HEIGHT}" >&2
  [ "$WIDTH" -ge 700 ] && [ "$HEIGHT" -ge 500 ]
}

smoke_run() {
  local start=$SECONDS pid wid
  launch run ./dev run
  pid=$(wait_for_program run "$group")
  echo "smoke run: the program started after $((SECONDS - start)) s"
  wid=$(wait_for_window run "$pid")
  if is_main_window "$wid"; then
    echo "smoke run: the main window is up after $((SECONDS - start)) s"
    stop_group
    return
  fi
  # "Internet connection not available, ...", then "Now application will
  # close", then the end.
  echo "smoke run: the no-internet message is up after $((SECONDS - start)) s"
  local box
  for box in 1 2; do
    xdotool windowactivate --sync "$wid" 2>/dev/null || true
    xdotool key --clearmodifiers Return
    sleep 1
    [ "$box" = 2 ] && break
    wid=$(wait_for_window run "$pid")
    is_main_window "$wid" && fail run "the main window came after the no-internet message"
  done
  for _ in $(seq 100); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
  done
  kill -0 "$pid" 2>/dev/null && fail run "the program did not end after its no-internet messages"
  local status=0
  wait "$group" || status=$?
  group=""
  [ "$status" = 0 ] || fail run "the program ended with status $status"
  echo "smoke run: without internet the program said so and ended, after $((SECONDS - start)) s"
}

# A picture of the terminal pane (its place in the main window's layout).
pane_picture() { # $1 window id, $2 file
  import -window "$1" -crop 784x263+1+95 +repage "$2"
}
pictures_differ() { # $1, $2 files; ends the smoke test when they cannot be compared
  local pixels
  pixels=$(compare -metric AE "$1" "$2" null: 2>&1 || true)
  [[ "$pixels" =~ ^[0-9]+$ ]] || fail demo "cannot compare $1 and $2: $pixels"
  [ "$pixels" != 0 ]
}

smoke_demo() {
  local start=$SECONDS pid wid port
  launch demo ./dev demo
  pid=$(wait_for_program demo "$group")
  echo "smoke demo: the program started after $((SECONDS - start)) s"
  wid=$(wait_for_window demo "$pid")
  is_main_window "$wid" || fail demo "a message box came up instead of the main window"
  echo "smoke demo: the main window is up after $((SECONDS - start)) s"
  port=$(sed -n 's/^listening on 127\.0\.0\.1:\([0-9]*\).*/\1/p' "$root/demo-run/sim.log" | head -n1)
  [ -n "$port" ] || fail demo "no simulator port in demo-run/sim.log"
  sleep 1
  click() { xdotool mousemove --window "$wid" "$1" "$2" click 1; sleep 0.3; }

  # The node chosen in the demo's settings is the simulator: "Connect".
  click 44 509
  local connected=""
  for _ in $(seq 100); do
    if ss -tnpH state established "( dport = :$port )" | grep -q "pid=$pid,"; then
      connected=1
      break
    fi
    sleep 0.1
  done
  [ -n "$connected" ] || fail demo "no connection to the demo node on port $port after Connect"
  sleep 1
  # Before the login the node sends nothing more: the pane stands still.
  pane_picture "$wid" "$out/pane-0.png"
  sleep 2
  pane_picture "$wid" "$out/pane-1.png"
  pictures_differ "$out/pane-0.png" "$out/pane-1.png" \
    && fail demo "the terminal pane changes with nothing arriving; the pane check would prove nothing"

  # The callsign on the command line, then Enter.
  click 394 509
  xdotool type --delay 20 N0CALL
  xdotool key Return
  sleep 3
  pane_picture "$wid" "$out/pane-2.png"
  sleep 3
  pane_picture "$wid" "$out/pane-3.png"
  pictures_differ "$out/pane-1.png" "$out/pane-2.png" || fail demo "nothing came after the login"
  pictures_differ "$out/pane-2.png" "$out/pane-3.png" || fail demo "no spots arrived in 3 s"
  echo "smoke demo: logged in, spots arriving, after $((SECONDS - start)) s"

  sleep 5
  kill -0 "$pid" 2>/dev/null || fail demo "the program ended"
  xdotool search --all --onlyvisible --pid "$pid" --name '^Marvix Terminal$' > /dev/null \
    || fail demo "the main window is gone"
  ss -tnpH state established "( dport = :$port )" | grep -q "pid=$pid," \
    || fail demo "the connection to the demo node is gone"
  import -window "$wid" "$out/demo.png"
  echo "smoke demo: still running and connected after $((SECONDS - start)) s"
  stop_group
}

for step in "${steps[@]}"; do
  case "$step" in
    run) smoke_run ;;
    demo) smoke_demo ;;
    *) echo "unknown step: $step (run, demo)" >&2; exit 2 ;;
  esac
done
