#!/usr/bin/env bash
# Screenshot of one of Fenwold's dialogs over its main frame:
#   dialog_screenshot.sh <build dir> <portrange|detail|addldn> <out.png>
# Runs in a copy of the build's Wine prefix on an Xvfb screen of its own with
# a few devices (one with the values the details page shows) and a logical
# device name; fails unless the dialog came up and the tool ended with 0.
set -euo pipefail
build=$1 which=$2 out=$3
source "$(dirname "$0")/../../testkit/screen-session.sh"
screen_session "$build" 800x600 C.UTF-8
reg() { quiet /usr/lib/wine/wine64 reg "$@"; }
root='HKLM\SOFTWARE\OLEforRetail\ServiceOPOS'
for device in 'POSPrinter\Model-80' 'POSPrinter\Model-58' 'CashDrawer\Drawer-1'; do
  reg add "$root\\$device" /f
done
key="$root\\POSPrinter\\Model-80"
reg add "$key" /ve /d 'ZOVUZEREZA.POSPrinter' /f
reg add "$key" /v DeviceName /d 'Model-80 Receipt' /f
reg add "$key" /v DeviceDesc /d 'Thermal receipt printer, 80 mm' /f
reg add "$key" /v Service /d 'C:\windows\system32\Calbrique.dll' /f
reg add "$key" /v Description /d 'OPOS POSPrinter Service Object' /f
reg add "$key" /v Version /d '1.11.001' /f
reg add "$root\\POSPrinter" /v Front /d 'Model-80' /f

shoot "$out" 0 "$build/fenwold/tests/fenwold_dialog_shot.exe" "$which" 5000
