#!/usr/bin/env bash
# Screenshot of Dravelin's main dialog listing one installed port:
#   screenshot.sh <build dir> <LANG> <out.png>
# Runs in a copy of the build's Wine prefix on an Xvfb display of its own,
# installs a port with the package's devcon, shoots the screen while the
# dialog is open, then closes it; fails unless Dravelin ended with exit code 0.
set -euo pipefail
build=$1 lang=$2 out=$3
"$build/wine-session" start
work=$(mktemp -d)
xvfb_pid=
cleanup() {
  WINEPREFIX="$work/prefix" /usr/lib/wine/wineserver -k 2>/dev/null || true
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
cp -a "$build/wineprefix" "$work/prefix"

for n in $(seq 300 400); do
  [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] && continue
  Xvfb ":$n" -screen 0 800x600x24 -nolisten tcp >"$work/xvfb.log" 2>&1 </dev/null &
  xvfb_pid=$!
  for _ in $(seq 100); do [ -e "/tmp/.X11-unix/X$n" ] && break; sleep 0.05; done
  [ -e "/tmp/.X11-unix/X$n" ] && break
done
export DISPLAY=":$n" WINEPREFIX="$work/prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" LANG="$lang"
/usr/lib/wine/wineserver -p
/usr/lib/wine/wine64 wineboot >/dev/null 2>&1

standins="$build/quenlath/package/standins-amd64"
cp "$(dirname "$0")/../../package/Quenlath.inf" "$work/Quenlath.inf"
(cd "$work" && /usr/lib/wine/wine64 "$standins/devcon.exe" install Quenlath.inf 'ROZ\Quenlath') >"$work/devcon.log" 2>&1 ||
  { cat "$work/devcon.log"; exit 1; }

/usr/lib/wine/wine64 "$build/quenlath/installer/dravelin_drive.exe" \
  "$build/quenlath/installer/Dravelin.exe" 5000 >"$work/drive.log" 2>&1 &
drive=$!
for _ in $(seq 300); do grep -q '^ready' "$work/drive.log" && break; sleep 0.1; done
grep -q '^ready' "$work/drive.log" || { cat "$work/drive.log"; exit 1; }
sleep 1.5
mkdir -p "$(dirname "$out")"
import -window root "$out"
status=0
wait "$drive" || status=$?
sed -i 's/\r$//' "$work/drive.log"
cat "$work/drive.log"
[ "$status" = 0 ] || { echo "Dravelin exit code $status, want 0"; exit 1; }
echo "screenshot $out"
