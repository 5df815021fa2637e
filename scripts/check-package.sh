#!/usr/bin/env bash
# Checks the Debian package as a user would meet it:
#   scripts/check-package.sh [PACKAGE.deb] [BUILD_DIR]
# The package (default: the marvix-terminal_*.deb that `./dev package` left
# in the project folder) is unpacked into a scratch root; its desktop entry
# and metainfo are validated; then the installed executable is started on the
# offscreen platform with HOME in a temporary folder and a working folder
# without nodes.txt. Its node grid must show the installed default nodes,
# choosing a node must write ~/.config/marvix-terminal/settings.ini, and
# nothing may be written beside the executable or into the working folder.
# Run as root, it also starts the program once as root, which must keep its
# files in root's own folders all the same.
# BUILD_DIR (default build-test) gives the local web host the program's
# internet probe is pointed at, and the probe that reads the window.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
deb="${1:-$(ls "$here"/marvix-terminal_*.deb 2>/dev/null | head -n1)}"
build="${2:-$here/build-test}"
probe="$build/tests/libmarvix_installed_probe.so"

fail() { echo "package check FAILED: $*" >&2; exit 1; }
[ -n "$deb" ] && [ -f "$deb" ] || fail "no package; run ./dev package first"
[ -f "$probe" ] || fail "no $probe; build the tests first"
. "$here/scripts/build-programs.sh"
load_programs "$build" webhost || fail "no web host in $build; build first"
deb="$(cd "$(dirname "$deb")" && pwd)/$(basename "$deb")"

scratch="$(mktemp -d /tmp/marvix-package-check.XXXXXX)"
pids=()
cleanup() {
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done
  rm -rf "$scratch"
}
trap cleanup EXIT
chmod 755 "$scratch"
root="$scratch/root"

echo "== unpacking $(basename "$deb")"
dpkg-deb -x "$deb" "$root"
for f in usr/bin/marvix-terminal \
         usr/share/applications/marvix-terminal.desktop \
         usr/share/metainfo/marvix-terminal.metainfo.xml \
         usr/share/icons/hicolor/scalable/apps/marvix-terminal.svg \
         usr/share/icons/hicolor/48x48/apps/marvix-terminal.png \
         usr/share/icons/hicolor/256x256/apps/marvix-terminal.png \
         usr/share/marvix-terminal/nodes.txt \
         usr/share/marvix-terminal/dx.wav; do
  [ -f "$root/$f" ] || fail "the package lacks /$f"
done
file "$root/usr/share/icons/hicolor/48x48/apps/marvix-terminal.png" | grep -q '48 x 48' \
  || fail "the 48x48 icon has another size"

echo "== control fields"
depends="$(dpkg-deb -f "$deb" Depends)"
echo "Depends: $depends"
echo "Recommends: $(dpkg-deb -f "$deb" Recommends)"
# dpkg-shlibdeps found the Qt libraries the executable links.
grep -q 'libqt6widgets6' <<<"$depends" || fail "Depends lacks the Qt libraries"
dpkg-deb -f "$deb" Recommends | grep -q 'libhamlib-utils' || fail "libhamlib-utils is not recommended"

echo "== desktop-file-validate"
desktop-file-validate "$root/usr/share/applications/marvix-terminal.desktop"
echo "== appstreamcli validate --no-net"
appstreamcli validate --no-net "$root/usr/share/metainfo/marvix-terminal.metainfo.xml"

echo "== first start of the installed program"
home="$scratch/home"
work="$scratch/work"
out="$scratch/out"
mkdir -p "$home/.config/marvix-terminal" "$work" "$out"
# The unprivileged run below cannot read a clone inside a private folder
# (mode 700, as mktemp -d makes, or /root): what it loads lives in the
# scratch folder, which is open to all.
mkdir -p "$scratch/lib"
cp "$probe" "$scratch/lib/"
probe="$scratch/lib/$(basename "$probe")"
chmod 755 "$scratch/lib" && chmod 644 "$probe"
# The start-up probe must find "internet" without leaving this machine: the
# [Hosts] section of the per-user settings points it at a local web host.
"$webhost" --list "$here/resources/demo/listadxdolv.txt" --hosts-file "$scratch/hosts.ini" \
  > "$scratch/webhost.log" 2>&1 &
pids+=($!)
for _ in $(seq 100); do grep -q '^ready' "$scratch/webhost.log" && break; sleep 0.1; done
grep -q '^ready' "$scratch/webhost.log" || fail "the local web host did not start"
probe_url="$(sed -n 's/^Probe=//p' "$scratch/hosts.ini")"
write_settings() { # $1 settings.ini to write
  {
    sed 's/$/\r/' "$scratch/hosts.ini"
    printf 'CalendarWidget=%scalendar.php?width=21&lang=en\r\n' "$probe_url"
  } > "$1"
}
write_settings "$home/.config/marvix-terminal/settings.ini"

# Starts the unpacked program in folder $1 with HOME $2, its probe writing to
# $3; the rest of the command line says who runs it.
start_installed() {
  local cwd="$1" home_dir="$2" probe_out="$3"
  shift 3
  (cd "$cwd" && timeout 120 "$@" env -u XDG_CONFIG_HOME -u XDG_DATA_HOME \
     HOME="$home_dir" QT_QPA_PLATFORM=offscreen QTWEBENGINE_DISABLE_SANDBOX=1 \
     MARVIX_PROBE_OUT="$probe_out" LD_PRELOAD="$probe" \
     "$root/usr/bin/marvix-terminal") > "$scratch/program.log" 2>&1
}

bin_before="$(ls -A "$root/usr/bin")"
if [ "$(id -u)" -eq 0 ]; then
  # Root may write into any folder, /usr/bin included: the program must keep
  # its files in root's own folders all the same.
  echo "== a start as root"
  root_home="$scratch/root-home"
  root_work="$scratch/root-work"
  mkdir -p "$root_home/.config/marvix-terminal" "$root_work"
  write_settings "$root_home/.config/marvix-terminal/settings.ini"
  set +e
  start_installed "$root_work" "$root_home" "$scratch/root-probe.txt"
  rc=$?
  set -e
  [ "$rc" -eq 0 ] || { cat "$scratch/program.log" >&2; fail "the installed program run as root ended with $rc"; }
  [ "$(ls -A "$root/usr/bin")" = "$bin_before" ] \
    || fail "run as root, the program wrote beside the executable: $(ls -A "$root/usr/bin")"
  [ -z "$(ls -A "$root_work")" ] || fail "run as root, the program wrote into the working folder"
  [ -f "$root_home/.local/share/marvix-terminal/nodes.txt" ] \
    || fail "run as root, the program did not seed root's own node list"
fi

# The executable's folder must not be writable, as /usr/bin is not. Root may
# write anywhere, so as root the program runs as nobody.
chmod a-w "$root/usr/bin"
run_as=()
if [ "$(id -u)" -eq 0 ]; then
  chown -R nobody: "$home" "$work" "$out"
  run_as=(setpriv --reuid=nobody --regid=nogroup --clear-groups)
fi
set +e
start_installed "$work" "$home" "$out/probe.txt" "${run_as[@]}"
rc=$?
set -e
cat "$out/probe.txt" 2>/dev/null || true
[ "$rc" -eq 0 ] || { cat "$scratch/program.log" >&2; fail "the installed program ended with $rc"; }

grep '^message ' "$out/probe.txt" && fail "the program showed a message box"
expected="$(tr -d '\r' < "$root/usr/share/marvix-terminal/nodes.txt" | grep -v '^$')"
shown="$(sed -n 's/^grid //p' "$out/probe.txt")"
[ "$shown" = "$expected" ] || {
  diff <(echo "$expected") <(echo "$shown") >&2 || true
  fail "the node grid does not show the default nodes"
}
chosen="$(sed -n 's/^chose //p' "$out/probe.txt")"
[ -n "$chosen" ] || fail "no node was chosen"
settings="$home/.config/marvix-terminal/settings.ini"
tr -d '\r' < "$settings" | grep -qx "Elemento=$chosen" \
  || fail "choosing $chosen did not write it to ~/.config/marvix-terminal/settings.ini"
data="$home/.local/share/marvix-terminal"
cmp -s "$data/nodes.txt" "$root/usr/share/marvix-terminal/nodes.txt" \
  || fail "~/.local/share/marvix-terminal/nodes.txt is not the installed default"
cmp -s "$data/dx.wav" "$root/usr/share/marvix-terminal/dx.wav" \
  || fail "~/.local/share/marvix-terminal/dx.wav is not the installed default"
[ "$(ls -A "$root/usr/bin")" = "$bin_before" ] || fail "files were written beside the executable"
[ -z "$(ls -A "$work")" ] || fail "files were written into the working folder: $(ls -A "$work")"
echo "package check passed: $(echo "$expected" | wc -l) grid rows, chose $chosen," \
  "settings in ~/.config/marvix-terminal, node list and sound in ~/.local/share/marvix-terminal"
