#!/usr/bin/env bash
# Starts the cluster node simulator on a free loopback port and the program in
# a demo folder whose nodes.txt lists it. Nothing leaves this machine.
set -euo pipefail
build="${1:-build-release}"
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
demo="$root/demo-run"
mkdir -p "$demo"
cd "$demo"

pids=()
cleanup() { for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done; }
trap cleanup EXIT

# The simulator prints "listening on 127.0.0.1:PORT" first.
"$root/$build/tools/dxnode-sim/dxnode-sim" --port 0 --rate 2 > sim.log 2>&1 &
pids+=($!)
for _ in $(seq 50); do
  port=$(sed -n 's/^listening on 127\.0\.0\.1:\([0-9]*\).*/\1/p' sim.log | head -n1)
  [ -n "$port" ] && break
  sleep 0.1
done
[ -n "${port:-}" ] || { echo "the simulator did not start; see $demo/sim.log" >&2; exit 1; }
echo "cluster node simulator on 127.0.0.1:$port"

printf 'name_of_node;address;port\nDEMO-SIM;127.0.0.1;%s\n' "$port" > nodes.txt
cp "$root/resources/dx.wav" dx.wav

# The program keeps its settings next to the executable, so the demo runs its
# own copy and leaves the user's settings alone.
cp "$root/$build/marvix-terminal" ./marvix-terminal
{
  echo "[Node]"
  echo "Elemento=DEMO-SIM"
  echo "[Hosts]"
  echo "${DEMO_HOSTS:-}"
} > settings.ini.new
[ -f settings.ini ] || mv settings.ini.new settings.ini
rm -f settings.ini.new

./marvix-terminal
