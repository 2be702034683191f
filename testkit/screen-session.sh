# Sourced by the screenshot tests: a copy of a build's Wine prefix on an Xvfb
# screen of its own, so a shot shows one program on a known screen size.
#   screen_session <build dir> <width>x<height> <LANG>
#     sets $work (a scratch folder, removed at exit) and exports DISPLAY,
#     WINEPREFIX, LANG and the Wine settings; the session ends at exit.
#   shoot_when_ready <driver log> <out.png>
#     waits for the driver's "ready" line, then shoots the whole screen.

screen_session() {
  local build=$1 size=$2 lang=$3 n
  "$build/wine-session" start
  work=$(mktemp -d)
  xvfb_pid=
  trap screen_session_end EXIT
  cp -a "$build/wineprefix" "$work/prefix"
  # Xvfb picks a free display itself and names it once it is ready.
  Xvfb -displayfd 5 -screen 0 "${size}x24" -nolisten tcp 5>"$work/display" >"$work/xvfb.log" 2>&1 </dev/null &
  xvfb_pid=$!
  for _ in $(seq 200); do [ -s "$work/display" ] && break; sleep 0.05; done
  [ -s "$work/display" ] || { echo "Xvfb did not start" >&2; return 1; }
  n=$(tr -d '\n' < "$work/display")
  export DISPLAY=":$n" WINEPREFIX="$work/prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" LANG="$lang"
  /usr/lib/wine/wineserver -p
  /usr/lib/wine/wine64 wineboot >/dev/null 2>&1
}

screen_session_end() {
  WINEPREFIX="$work/prefix" /usr/lib/wine/wineserver -k 2>/dev/null || true
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
  rm -rf "$work"
}

shoot_when_ready() {
  local log=$1 out=$2
  for _ in $(seq 300); do grep -q '^ready' "$log" && break; sleep 0.1; done
  grep -q '^ready' "$log" || { cat "$log"; return 1; }
  sleep 1.5
  mkdir -p "$(dirname "$out")"
  import -window root "$out"
}
