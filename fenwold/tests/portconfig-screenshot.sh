#!/usr/bin/env bash
# Screenshot of "Port Details" for a serial device on a screen of its own:
#   portconfig-screenshot.sh <build dir> <out.png>
# The device key is made in a copy of the build's Wine prefix; the dialog is
# cancelled afterwards, so the key must still hold what was set.
set -euo pipefail
build=$1 out=$2
source "$(dirname "$0")/../../testkit/screen-session.sh"
screen_session "$build" 640x480 C.UTF-8
key='HKLM\SOFTWARE\OLEforRetail\ServiceOPOS\POSPrinter\Model-80'
reg() { quiet /usr/lib/wine/wine64 reg add "$key" /f "$@"; }
reg /v GroupID /t REG_SZ /d PRN-S
reg /v Port /t REG_SZ /d COM3
reg /v BaudrateSel /t REG_SZ /d 4,5,6,7,8,9,10
reg /v Baudrate /t REG_DWORD /d 7
reg /v BitLengthSel /t REG_SZ /d 0,1
reg /v BitLength /t REG_DWORD /d 1
reg /v ParitySel /t REG_SZ /d 0,1,2
reg /v Parity /t REG_DWORD /d 0
reg /v StopSel /t REG_SZ /d 1,2
reg /v Stop /t REG_DWORD /d 1
reg /v HandShakeSel /t REG_SZ /d 0,1,2
reg /v HandShake /t REG_DWORD /d 1
reg /v XonXoffSel /t REG_SZ /d 0,1
reg /v XonXoff /t REG_DWORD /d 0
reg /v InputBuf /t REG_DWORD /d 4096
reg /v OutputBuf /t REG_DWORD /d 512
reg /v Timeout /t REG_DWORD /d 1000
reg /v InputSleep /t REG_DWORD /d 20

shoot "$out" 0 "$build/fenwold/tests/portconfig_show.exe" 'POSPrinter\Model-80' 4000
# Cancelled: the key holds what was set.
/usr/lib/wine/wine64 reg query "$key" /v Baudrate 2>/dev/null | tr -d '\r' | grep -q 'REG_DWORD *0x7' ||
  { echo "Baudrate changed by a cancelled dialog"; exit 1; }
