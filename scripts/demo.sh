#!/usr/bin/env bash
# The main job: installs the packages, builds, registers Calbrique.dll in a
# Wine prefix of the build and drives it, through the stand-in OPOS control object
# (OposDriver.exe), onto an emulated serial printer on a pty: open, claim
# (the line is set up: shown with stty), enable automatic status, print a
# demo receipt in one transaction, the printer reports its cover open,
# disable, release, close. Shows each OPOS result and call, then the bytes
# that reached the printer: listed in hex with each command's name or the
# text (EscPosView.exe), and the paper as it would print.  Whatever it
# started ends with it, also when it is interrupted (testkit/run-scope.sh).
root=$(cd "$(dirname "$0")/.." && pwd)
source "$root/testkit/checked.sh"
source "$root/testkit/run-scope.sh"
out=${BUILD_ROOT:-$root/build}
build=$out/x64
# wine-layout.sh may run this script again: the build is done by then.
[ -n "${WINE_LAYOUT:-}" ] || run_wait bash "$root/scripts/build.sh" x64
wine_layout_guard=$build/wine-layout.so
source "$root/testkit/wine-layout.sh"
source "$root/testkit/wine-reg.sh"

# A Wine session of the demo's own, from the build's template prefix (where
# Calbrique.dll is registered); the line: COM9 for the service object, its
# other end is the printer.
session="$build/wine-session"
state=$build/wine/sessions/demo/lines
run_scratch "$build/wine/sessions/demo"
run_wait "$session" template
run_wait "$session" up demo pty:com9:com109
eval "$("$session" env demo)"
wine=/usr/lib/wine/wine64
device=DemoPrinter
printer_end=$state/com109

# 9600 bit/s, 8 data bits, no parity, one stop bit, RTS/CTS flow control.
reg_import <<EOF
[HKEY_LOCAL_MACHINE\SOFTWARE\OLEforRetail\ServiceOPOS\POSPrinter\\$device]
@="ZOVUZEREZA.POSPrinter"
"Port"="COM9"
"Baudrate"=dword:00000006
"BitLength"=dword:00000001
"Parity"=dword:00000000
"Stop"=dword:00000001
"HandShake"=dword:00000001
EOF

# The emulated printer: everything it receives is kept; once the automatic
# status is switched on (1D 61 FF) it reports its cover open (20 00 00 00).
cat "$printer_end" > "$state/printed.bin" &
capture=$!
(
  until od -An -tx1 -v "$state/printed.bin" | tr -d ' \n' | grep -q 1d61ff; do sleep 0.05; done
  printf '\x20\x00\x00\x00' > "$printer_end"
) &
printer=$!

echo "== Calbrique.dll through the stand-in control object, printer on COM9 (a pty)"
coproc driver {
  "$wine" "$build/testkit/OposDriver.exe" open "$device" claim 1000 pause enable receipt \
    expect-status 201 3000 disable release close 2>&1
}
driver_pid=$driver_PID
exec 3<&"${driver[0]}" 4>&"${driver[1]}"
while IFS= read -r line <&3; do
  line=${line%$'\r'}
  if [ "$line" = paused ]; then
    settings=$(stty -F "$state/com9" -a)
    echo "   line while claimed (stty): ${settings%%;*};" $(grep -o -- '-\?cstopb\|-\?crtscts\|-\?ixon' <<< "$settings")
    echo >&4
    continue
  fi
  echo "   $line"
done
wait "$driver_pid" && status=0 || status=$?
sleep 0.2
echo "== Bytes the printer received"
"$wine" "$build/testkit/EscPosView.exe" "$("$wine" winepath -w "$state/printed.bin" | tr -d '\r')" 437 |
  tr -d '\r' | sed 's/^/   /'
kill "$capture" "$printer" 2>/dev/null || true
quiet "$session" down demo
exit "$status"
