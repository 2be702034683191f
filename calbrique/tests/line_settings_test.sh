#!/usr/bin/env bash
# End to end: the line settings a claim gives a COM port, as Linux sees them
# on the pty (stty), for three device configurations. Runs OposDriver.exe (the
# stand-in control object) against the registered Calbrique.dll, in the
# Wine session wine-test gives it.
#   line_settings_test.sh <build dir> <source dir>
build=$1 source=$2
source "$source/testkit/checked.sh"
source "$source/testkit/wine-reg.sh"
wine=/usr/lib/wine/wine64
state=$WINE_TEST_SCRATCH/lines
device=CalbriqueTest_LineSettings
key="HKLM\\SOFTWARE\\OLEforRetail\\ServiceOPOS\\POSPrinter\\$device"

cleanup() {
  "$wine" reg delete "$key" /f >/dev/null 2>&1 || true
  "$source/testkit/pty-lines.sh" down "$WINEPREFIX" "$state"
}
trap cleanup EXIT
"$source/testkit/pty-lines.sh" up "$WINEPREFIX" "$state" pty:com60:com160

failures=0
# check <Baudrate> <Stop> <HandShake> <XonXoff> <expected stty words...>
check() {
  local baud=$1 stop=$2 handshake=$3 xonxoff=$4
  shift 4
  reg_import <<EOF
[HKEY_LOCAL_MACHINE\SOFTWARE\OLEforRetail\ServiceOPOS\POSPrinter\\$device]
@="ZOVUZEREZA.POSPrinter"
"Port"="COM60"
"Baudrate"=dword:$(printf %08x "$baud")
"BitLength"=dword:00000001
"Parity"=dword:00000000
"Stop"=dword:$(printf %08x "$stop")
"HandShake"=dword:$(printf %08x "$handshake")
"XonXoff"=dword:$(printf %08x "$xonxoff")
EOF
  coproc driver { timeout 60 "$wine" "$build/testkit/OposDriver.exe" open "$device" claim 1000 pause release close 2>&1; }
  local pid=$driver_PID line settings word
  exec 3<&"${driver[0]}" 4>&"${driver[1]}"
  while IFS= read -r line <&3; do
    line=${line%$'\r'}
    echo "$line"
    [ "$line" = paused ] || continue
    settings=$(stty -a -F "$state/com60")
    for word in "$@"; do
      if ! tr ' ;' '\n\n' <<< "$settings" | grep -qx -- "$word"; then
        echo "FAIL: Baudrate $baud Stop $stop HandShake $handshake XonXoff $xonxoff: no '$word' in: $settings"
        failures=$((failures + 1))
      fi
    done
    echo >&4
  done
  exec 3<&- 4>&-
  if ! wait "$pid"; then echo "FAIL: the driver reported a failure"; failures=$((failures + 1)); fi
}

check 0 1 1 0 150 -cstopb crtscts -ixon -ixoff        # 150, one stop bit, RTS/CTS
check 9 2 0 1 57600 cstopb -crtscts ixon ixoff        # 57600, two stop bits, XON/XOFF
check 10 0 0 0 115200 cstopb -crtscts -ixon -ixoff    # 115200, two stop bits, no flow control
[ "$failures" = 0 ]
