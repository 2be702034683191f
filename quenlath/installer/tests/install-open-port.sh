#!/usr/bin/env bash
# A port installed through Dravelin.exe opens by its name:
#   install-open-port.sh <build dir> serial|parallel
# Installs through Dravelin.exe (the package's stand-in devcon) in a copy of
# the build's Wine prefix on an Xvfb display of its own, links the new name to
# a pty from the Linux side (no Windows call can make that link under Wine),
# writes to \\.\<name> from a Windows program and reads the bytes at the pty's
# other end.
set -euo pipefail
build=$1 type=$2
root=$(cd "$(dirname "$0")/../../.." && pwd)
source "$root/testkit/screen-session.sh"
source "$root/testkit/far-end.sh"
screen_session "$build" 800x600 C.UTF-8
lines="$work/lines"
drive="$build/quenlath/installer/install_drive.exe"

status=0
/usr/lib/wine/wine64 "$drive" install "Z:$build/quenlath/installer/Dravelin.exe" "$type" >"$work/install.log" 2>&1 || status=$?
sed -i 's/\r$//' "$work/install.log"
cat "$work/install.log"
[ "$status" = 0 ] || { echo "install failed ($status)"; exit 1; }
port=$(sed -n 's/^installed //p' "$work/install.log")
case "$type:$port" in
  serial:COM[0-9]*|parallel:LPT[1-3]) ;;
  *) echo "unexpected port '$port' for $type"; exit 1 ;;
esac

name=${port,,}
"$root/testkit/pty-lines.sh" up "$WINEPREFIX" "$lines" "pty:$name:${name}end"
text="printed through $port"
read_far_end ${#text} "$lines/${name}end" "$work/received"
/usr/lib/wine/wine64 "$drive" write "$port" "$text" | tr -d '\r'
wait "$far_reader" || { echo "nothing arrived at the other end"; exit 1; }
received=$(cat "$work/received")
[ "$received" = "$text" ] || { echo "received '$received', want '$text'"; exit 1; }
echo "received '$received' at the other end of $port"
