#!/usr/bin/env bash
# Screenshot of a dialog of Dravelin's install command:
#   install-screenshot.sh <build dir> <LANG> port-type|progress <out.png>
# port-type: Dravelin.exe's port-type dialog after a click on Install;
# progress: the progress dialog while the probe package's devcon runs.
# Runs in a copy of the build's Wine prefix on an Xvfb display of its own;
# fails unless the driver ended with exit code 0.
set -euo pipefail
build=$1 lang=$2 mode=$3 out=$4
source "$(dirname "$0")/../../../testkit/screen-session.sh"
screen_session "$build" 800x600 "$lang"

installer="$build/quenlath/installer"
case "$mode" in
  port-type) target="$installer/Dravelin.exe" ;;
  progress) target="$installer/ProbePackage.7z" ;;
  *) echo "unknown mode $mode" >&2; exit 2 ;;
esac
/usr/lib/wine/wine64 "$installer/install_drive.exe" "$mode" "Z:$target" 5000 >"$work/drive.log" 2>&1 &
drive=$!
shoot_when_ready "$work/drive.log" "$out"
status=0
wait "$drive" || status=$?
sed -i 's/\r$//' "$work/drive.log"
cat "$work/drive.log"
[ "$status" = 0 ] || { echo "driver exit code $status, want 0"; exit 1; }
echo "screenshot $out"
