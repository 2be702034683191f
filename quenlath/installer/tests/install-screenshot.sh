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
shoot "$out" 0 "$installer/install_drive.exe" "$mode" "Z:$target" 5000
