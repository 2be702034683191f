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
source "$(dirname "$0")/../../testkit/wine-reg.sh"
reg_import <<'EOF'
[HKEY_LOCAL_MACHINE\SOFTWARE\OLEforRetail\ServiceOPOS\POSPrinter]
"Front"="Model-80"

[HKEY_LOCAL_MACHINE\SOFTWARE\OLEforRetail\ServiceOPOS\POSPrinter\Model-80]
@="ZOVUZEREZA.POSPrinter"
"DeviceName"="Model-80 Receipt"
"DeviceDesc"="Thermal receipt printer, 80 mm"
"Service"="C:\\windows\\system32\\Calbrique.dll"
"Description"="OPOS POSPrinter Service Object"
"Version"="1.11.001"

[HKEY_LOCAL_MACHINE\SOFTWARE\OLEforRetail\ServiceOPOS\POSPrinter\Model-58]

[HKEY_LOCAL_MACHINE\SOFTWARE\OLEforRetail\ServiceOPOS\CashDrawer\Drawer-1]
EOF

shoot "$out" 0 "$build/fenwold/tests/fenwold_dialog_shot.exe" "$which" 5000
