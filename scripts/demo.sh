#!/usr/bin/env bash
# Starts a local cluster node simulator, a local web host (internet probe,
# calendar widget, DXpedition list over HTTPS) and two dummy rigs (rigctld),
# then the program in a demo folder whose nodes.txt lists the simulator.
# Nothing leaves this machine.
# The simulator now and then spots DXpeditions of the demo calendar only
# (FT8WW, ZL7G, E6AD, VK9XY), of the demo list only (E51D, 9N7AA) and of
# both (3Y0K, TX5S): once the live check is on, hits come within a minute.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${1:-build-release}"
case "$build" in /*) ;; *) build="$root/$build" ;; esac
. "$root/scripts/build-programs.sh"
load_programs "$build" marvix_terminal dxnode_sim webhost
demo="$root/demo-run"
mkdir -p "$demo"
cd "$demo"

pids=()
cleanup() { for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done; }
trap cleanup EXIT

wait_for() { # $1 file, $2 pattern
  for _ in $(seq 100); do
    grep -q "$2" "$1" 2>/dev/null && return 0
    sleep 0.1
  done
  echo "a demo server did not start; see $1" >&2
  exit 1
}

# The simulator prints "listening on 127.0.0.1:PORT" first.
"$dxnode_sim" --port 0 --rate 2 \
  --dxpeditions 3Y0K,TX5S,FT8WW,ZL7G,E6AD,VK9XY,E51D,9N7AA > sim.log 2>&1 &
pids+=($!)
wait_for sim.log '^listening on'
port=$(sed -n 's/^listening on 127\.0\.0\.1:\([0-9]*\).*/\1/p' sim.log | head -n1)
echo "cluster node simulator on 127.0.0.1:$port"

# A second node that resets its first session after two minutes and then
# serves as before: log in to it to watch the program reconnect.
"$dxnode_sim" --port 0 --rate 1 --node SIM-2 \
  --drop reset --drop-after-seconds 120 --drop-once > sim2.log 2>&1 &
pids+=($!)
wait_for sim2.log '^listening on'
port2=$(sed -n 's/^listening on 127\.0\.0\.1:\([0-9]*\).*/\1/p' sim2.log | head -n1)
echo "cluster node simulator that drops once on 127.0.0.1:$port2"

rm -f hosts.ini
"$root/scripts/webhost.sh" "$build" --hosts-file "$demo/hosts.ini" > webhost.log 2>&1 &
pids+=($!)
wait_for webhost.log '^ready'
cat hosts.ini

# Two dummy radios behind Hamlib's rigctld on the ports "Rig 1" and "Rig 2"
# use by default. Check one with: rigctl -m 2 -r localhost:4532 f
for rigport in 4532 4534; do
  if rigctld -m 1 -T 127.0.0.1 -t "$rigport" > "rigctld-$rigport.log" 2>&1 & then
    rigpid=$!
    sleep 0.3
    if kill -0 "$rigpid" 2>/dev/null; then
      pids+=("$rigpid")
      echo "dummy rig (rigctld) on 127.0.0.1:$rigport"
    else
      echo "no dummy rig on port $rigport: the port is taken (see rigctld-$rigport.log)"
    fi
  fi
done

printf 'name_of_node;address;port\r\nDEMO-SIM;127.0.0.1;%s\r\nDEMO-DROPS;127.0.0.1;%s\r\n' \
  "$port" "$port2" > nodes.txt
cp "$root/resources/dx.wav" dx.wav

# The program keeps its settings next to the executable, so the demo runs its
# own copy and leaves the user's settings alone.
cp "$marvix_terminal" ./marvix-terminal
# The log chosen in an earlier demo stays; else the demo log, whose QSOs
# give the simulator's spots every status.
log=
if [ -f settings.ini ]; then
  log=$(tr -d '\r' < settings.ini | sed -n '/^\[Log\]/,/^\[/s/^File=//p' | head -n1)
fi
[ -n "$log" ] || log="$root/resources/demo/demo-log.adi"
{
  printf '[Node]\r\nElemento=DEMO-SIM\r\n'
  sed 's/$/\r/' hosts.ini
  printf '[Log]\r\nFile=%s\r\n' "$log"
} > settings.ini

./marvix-terminal
