#!/usr/bin/env bash
# harness_test.sh WINE-TEST: the harness passes on a test's exit code, runs
# the test with the address space unrandomized (testkit/wine-layout.sh), or
# with the layout guard preloaded where that is refused, and ends what the
# test left running.
source "$(dirname "$0")/../checked.sh"
guard="$(dirname "$1")/wine-layout.so"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
status=0
"$1" bash -c 'sleep 300 & echo $! > "$1"; { cat /proc/self/personality; echo "${LD_PRELOAD:-}"; } > "$1.layout"; exit 3' \
  _ "$work/pid" > "$work/out" 2>&1 || status=$?
out=$(cat "$work/out")
[ "$status" = 3 ] || die "$1 gave exit code $status for a test that exited with 3; it printed: $out"
[ "$out" = "wine-test: exit code 3" ] || die "$1 printed more than the exit code: $out"
{ read -r layout; read -r preload; } < "$work/pid.layout"
if (( (0x$layout & 0x0040000) == 0 )); then
  ! setarch -R true 2>/dev/null || die "$1 ran the test with the address space randomized (personality $layout)"
  [[ " $preload " == *" $guard "* ]] ||
    die "$1 ran the test randomized without the layout guard (LD_PRELOAD: $preload)"
fi
# (An ended process stays a zombie until it is reaped: that one is gone.)
pid=$(cat "$work/pid")
state=$(sed 's/.*) //' "/proc/$pid/stat" 2>/dev/null | cut -c1) || state=
if [ -n "$state" ] && [ "$state" != Z ]; then
  kill "$pid"
  die "the test's sleep outlived it; $1 printed: $out"
fi
