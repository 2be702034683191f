#!/usr/bin/env bash
# End to end on a pty: a printer that stops reading in mid-receipt gets the
# transaction's write given up at its time limit (ResultCode 112); once the
# printer's line has gone altogether a write fails (111); on a new line the
# same service object releases, claims again and prints. Runs OposDriver.exe
# (the stand-in control object) against the registered Calbrique.dll, in the
# Wine session wine-test gives it.
#   printer_stall_test.sh <build dir> <source dir>
build=$1 source=$2
source "$source/testkit/checked.sh"
source "$source/testkit/far-end.sh"
source "$source/testkit/wine-reg.sh"
wine=/usr/lib/wine/wine64
state=$WINE_TEST_SCRATCH/lines
out=$WINE_TEST_SCRATCH/out
device=CalbriqueTest_PrinterStall
key="HKLM\\SOFTWARE\\OLEforRetail\\ServiceOPOS\\POSPrinter\\$device"
lines() { "$source/testkit/pty-lines.sh" "$1" "$WINEPREFIX" "$state" pty:com61:com161; }

cleanup() {
  "$wine" reg delete "$key" /f >/dev/null 2>&1 || true
  lines down
}
trap cleanup EXIT
rm -rf "$out" && mkdir -p "$out"
lines up
# 115200 bit/s (Baudrate 10)
reg_import <<EOF
[HKEY_LOCAL_MACHINE\SOFTWARE\OLEforRetail\ServiceOPOS\POSPrinter\\$device]
@="ZOVUZEREZA.POSPrinter"
"Port"="COM61"
"Baudrate"=dword:0000000a
EOF

# More than the line holds once the printer has read its first 4096 bytes.
size=48000 small=200
limit=$((size * 12 * 1000 / 115200 + 5000))   # each byte at the longest frame, plus the margin
read_far_end 4096 "$state/com161" "$out/first"

failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
coproc driver {
  timeout 120 "$wine" "$build/testkit/OposDriver.exe" open "$device" claim 1000 \
    print $size pause print $small pause release claim 1000 print $small release close 2>&1
}
pid=$driver_PID
exec 3<&"${driver[0]}" 4>&"${driver[1]}"
prints=0 pauses=0 took=0
while IFS= read -r line <&3; do
  line=${line%$'\r'}
  echo "$line"
  case "$line" in
    "TransactionPrint(2, 12) of "*) took=$(awk '{print $(NF-1)}' <<< "$line"); prints=$((prints + 1)) ;;
    "ResultCode "*)
      code=$(awk '{print $3}' <<< "$line")
      case $prints in
        1) [ "$code" = 112 ] || fail "stalled printer: ResultCode $code, not 112"
           [ "$took" -ge $((limit - 50)) ] && [ "$took" -le $((limit + 1500)) ] ||
             fail "stalled printer: the write took $took ms, its limit is $limit ms" ;;
        2) [ "$code" = 111 ] || fail "printer gone: ResultCode $code, not 111" ;;
        3) [ "$code" != 111 ] && [ "$code" != 112 ] || fail "new line: ResultCode $code after printing" ;;
      esac ;;
    paused)
      pauses=$((pauses + 1))
      if [ $pauses = 1 ]; then
        lines down   # the printer's line goes away (a hang-up on the service end)
      else
        lines up
        read_far_end $small "$state/com161" "$out/second"
      fi
      echo >&4 ;;
  esac
done
exec 3<&- 4>&-
if ! wait "$pid"; then fail "the driver reported a failure"; fi
wait
[ "$(wc -c < "$out/first")" = 4096 ] || fail "the printer did not get the start of the receipt"
[ "$(cat "$out/second")" = "$(printf '0123456789%.0s' $(seq 20))" ] || fail "the receipt on the new line: $(cat "$out/second")"
[ $prints = 3 ] || fail "$prints prints reported"
[ "$failures" = 0 ]
