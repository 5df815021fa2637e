#!/usr/bin/env bash
# Starts the local web host of the demo: the probe and the calendar widget
# (/calendar.php) over HTTP, the DXpedition list over HTTPS.
#   scripts/webhost.sh BUILD_DIR [--http-port N] [--https-port N] [--hosts-file FILE]
# Ports default to 0, which lets the system pick free ones. Once both servers
# listen, the host prints (and with --hosts-file also writes) the lines
#   [Hosts]
#   Probe=http://127.0.0.1:PORT/
#   DxpeditionList=https://127.0.0.1:PORT/listadxdolv.txt
#   CalendarWidget=http://127.0.0.1:PORT/calendar.php?width=21&lang=en
# followed by "ready", and serves until SIGINT or SIGTERM.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${1:?usage: scripts/webhost.sh BUILD_DIR [webhost options]}"
shift
. "$here/scripts/build-programs.sh"
load_programs "$build" webhost
exec "$webhost" --list "$here/resources/demo/listadxdolv.txt" \
  --calendar "$here/resources/demo/calendar.js" "$@"
