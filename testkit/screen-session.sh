# Sourced by the screenshot tests, which run under wine-test: a copy of the
# build's template prefix on an Xvfb screen of its own, so a shot shows one
# program on a known screen size.
#   screen_session <build dir> <width>x<height> <LANG>
#     sets $work (the test's scratch folder) and exports DISPLAY, WINEPREFIX,
#     LANG and the Wine settings.  wine-test ends the session's processes and
#     removes the folder after the test.
#   shoot_when_ready <driver log> <out.png>
#     waits for the driver's "ready" line, then shoots the whole screen.

screen_session() {
  local build=$1 size=$2 lang=$3 n
  set -E
  trap 'echo "FAIL: $0 line $LINENO: $BASH_COMMAND" >&2' ERR
  work=${WINE_TEST_SCRATCH:?run under wine-test}
  cp -a "$build/wine/template/prefix" "$work/prefix"
  # Xvfb picks a free display itself and names it once it is ready.
  Xvfb -displayfd 5 -screen 0 "${size}x24" -nolisten tcp 5>"$work/display" >"$work/xvfb.log" 2>&1 </dev/null &
  for _ in $(seq 200); do [ -s "$work/display" ] && break; sleep 0.05; done
  [ -s "$work/display" ] || { echo "Xvfb did not start" >&2; return 1; }
  n=$(tr -d '\n' < "$work/display")
  export DISPLAY=":$n" WINEPREFIX="$work/prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" LANG="$lang"
  /usr/lib/wine/wineserver -p
  /usr/lib/wine/wine64 wineboot >"$work/wineboot.log" 2>&1 || { cat "$work/wineboot.log"; return 1; }
}

shoot_when_ready() {
  local log=$1 out=$2
  for _ in $(seq 300); do grep -q '^ready' "$log" && break; sleep 0.1; done
  grep -q '^ready' "$log" || { cat "$log"; return 1; }
  sleep 1.5
  mkdir -p "$(dirname "$out")"
  import -window root "$out"
}
