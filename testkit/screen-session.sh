source "$(dirname "${BASH_SOURCE[0]}")/checked.sh"

# Sourced by the screenshot tests, which run under wine-test: a copy of the
# build's template prefix (wine-session copy) on an Xvfb screen of its own,
# so a shot shows one program on a known screen size.
#   screen_session <build dir> <width>x<height> <LANG>
#     sets $work (the test's scratch folder) and exports DISPLAY, WINEPREFIX,
#     LANG and the Wine settings.  wine-test ends the session's processes and
#     removes the folder after the test.
#   shoot <out.png> <exit code> <driver.exe> [ARG...] (below)

screen_session() {
  local build=$1 size=$2 lang=$3 n
  work=${WINE_TEST_SCRATCH:?run under wine-test}
  "$build/wine-session" copy "$work/prefix"
  # Xvfb picks a free display itself and names it once it is ready.
  Xvfb -displayfd 5 -screen 0 "${size}x24" -nolisten tcp 5>"$work/display" >"$work/xvfb.log" 2>&1 </dev/null &
  for _ in $(seq 200); do [ -s "$work/display" ] && break; sleep 0.05; done
  [ -s "$work/display" ] || { cat "$work/xvfb.log"; die "Xvfb did not start"; }
  n=$(tr -d '\n' < "$work/display")
  export DISPLAY=":$n" WINEPREFIX="$work/prefix" WINEDEBUG=-all,err+all WINEDLLOVERRIDES="mscoree,mshtml=" LANG="$lang"
  quiet timeout 30 /usr/lib/wine/wineserver -p
  quiet timeout 120 /usr/lib/wine/wine64 wineboot
}

# shoot <out.png> <exit code> <driver.exe> [ARG...]
#   runs a driver that prints a "ready" line once what it shows is on the
#   screen, shoots the whole screen then, waits for the driver to end, shows
#   its log (kept in $work/driver.log) and fails unless it ended with <exit code>.
shoot() {
  local out=$1 want=$2 log="$work/driver.log" status=0 driver
  shift 2
  /usr/lib/wine/wine64 "$@" >"$log" 2>&1 &
  driver=$!
  checked_output=$log checked_command="wine64 $*"   # shown if the test is ended from outside
  for _ in $(seq 300); do grep -q '^ready' "$log" || ! kill -0 "$driver" 2>/dev/null && break; sleep 0.1; done
  if grep -q '^ready' "$log"; then
    sleep 1.5
    mkdir -p "$(dirname "$out")"
    import -window root "$out"
  fi
  wait "$driver" || status=$?
  checked_output=
  sed -i 's/\r$//' "$log"
  cat "$log"
  grep -q '^ready' "$log" || { echo "$(basename "$1") never got ready"; return 1; }
  [ "$status" = "$want" ] || { echo "$(basename "$1") exit code $status, want $want"; return 1; }
  echo "screenshot $out"
}
