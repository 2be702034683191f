#!/usr/bin/env bash
# Screenshot of Fenwold's main frame on a screen of its own:
#   screenshot.sh <build dir> <width>x<height> <LANG> <out.png> [menu mnemonic | class | portrange | replace | portdetails]
# Runs in a copy of the build's Wine prefix on a new Xvfb display, answers the
# start-up message box (fenwold_drive), shoots the screen, closes the frame and
# fails unless Fenwold ended with exit code 1 (fenwold_drive exits with 5 when
# a refusal box is not the one wanted).  Frames on screens wider than
# 800 pixels must be 800 x 600; on narrower ones they keep their default size.
set -euo pipefail
build=$1 size=$2 lang=$3 out=$4 menu=${5:-}
width=${size%x*}
source "$(dirname "$0")/../../testkit/screen-session.sh"
screen_session "$build" "$size" "$lang"
source "$(dirname "$0")/../../testkit/wine-reg.sh"
# A few devices to show (in this copy of the prefix only).
reg_import <<'EOF'
[HKEY_LOCAL_MACHINE\SOFTWARE\OLEforRetail\ServiceOPOS\POSPrinter\Model-80]
"DeviceDesc"="80 mm receipt printer"

[HKEY_LOCAL_MACHINE\SOFTWARE\OLEforRetail\ServiceOPOS\POSPrinter\Model-58]
"DeviceDesc"="58 mm receipt printer"

[HKEY_LOCAL_MACHINE\SOFTWARE\OLEforRetail\ServiceOPOS\CashDrawer\Drawer-1]
"DeviceDesc"="Cash drawer"
EOF

# Add New Device reads the catalogue from the current directory: the program's folder.
cd "$build/fenwold"
# Fenwold ends with exit code 1.
shoot "$out" 1 "$build/fenwold/tests/fenwold_drive.exe" 6000 $menu
read -r _ _ _ frame_width frame_height < <(grep '^ready' "$work/driver.log")
if [ "$width" -gt 800 ]; then
  [ "$frame_width" = 800 ] && [ "$frame_height" = 600 ] || { echo "frame ${frame_width}x$frame_height, want 800x600"; exit 1; }
else
  [ "$frame_width" != 800 ] || [ "$frame_height" != 600 ] || { echo "frame resized to 800x600 on a $size screen"; exit 1; }
fi
