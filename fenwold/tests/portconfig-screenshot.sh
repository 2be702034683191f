#!/usr/bin/env bash
# Screenshot of "Port Details" for a serial device on a screen of its own:
#   portconfig-screenshot.sh <build dir> <out.png>
# The device key is made in a copy of the build's Wine prefix; the dialog is
# cancelled afterwards, so the key must still hold what was set.
set -euo pipefail
build=$1 out=$2
source "$(dirname "$0")/../../testkit/screen-session.sh"
screen_session "$build" 640x480 C.UTF-8
source "$(dirname "$0")/../../testkit/wine-reg.sh"
key='HKLM\SOFTWARE\OLEforRetail\ServiceOPOS\POSPrinter\Model-80'
reg_import <<'EOF'
[HKEY_LOCAL_MACHINE\SOFTWARE\OLEforRetail\ServiceOPOS\POSPrinter\Model-80]
"GroupID"="PRN-S"
"Port"="COM3"
"BaudrateSel"="4,5,6,7,8,9,10"
"Baudrate"=dword:00000007
"BitLengthSel"="0,1"
"BitLength"=dword:00000001
"ParitySel"="0,1,2"
"Parity"=dword:00000000
"StopSel"="1,2"
"Stop"=dword:00000001
"HandShakeSel"="0,1,2"
"HandShake"=dword:00000001
"XonXoffSel"="0,1"
"XonXoff"=dword:00000000
"InputBuf"=dword:00001000
"OutputBuf"=dword:00000200
"Timeout"=dword:000003e8
"InputSleep"=dword:00000014
EOF

shoot "$out" 0 "$build/fenwold/tests/portconfig_show.exe" 'POSPrinter\Model-80' 4000
# Cancelled: the key holds what was set.
/usr/lib/wine/wine64 reg query "$key" /v Baudrate 2>/dev/null | tr -d '\r' | grep -q 'REG_DWORD *0x7' ||
  { echo "Baudrate changed by a cancelled dialog"; exit 1; }
