#!/usr/bin/env bash
# harness_interrupt_test.sh BUILD: a run like the README's commands'
# (testkit/run-scope.sh) gets INT while a Windows test runs in its session:
# it says so, exits with 130, and leaves no process, session or scratch folder.
source "$(dirname "$0")/../checked.sh"
source "$(dirname "$0")/../marked.sh"
build=$1 name=harness-interrupt kit=$(cd "$(dirname "$0")/.." && pwd)
probe="HARNESS_INTERRUPT_$$=1"   # whatever the run starts carries it too
work=$(mktemp -d)
trap 'rm -rf "$work"; marked_end "$probe" || true' EXIT
# Started as from a terminal, where INT is not ignored.
env --default-signal=INT "$probe" bash -c '
  source "$1/run-scope.sh"
  run_scratch "$2/wine/sessions/$3"
  run_wait "$2/wine-session" up "$3"
  WINE_SESSION=$3 "$2/wine-test" bash -c "echo \"\$WINE_TEST_SCRATCH\" > \"\$1/scratch\"; exec /usr/lib/wine/wine64 \"\$2\" \"Z:\$1/ready\"" \
    _ "$4" "$2/wine-keeper.exe" &
  test=$!
  until [ -f "$4/ready" ]; do kill -0 "$test" 2>/dev/null || exit 1; sleep 0.1; done
  run_scratch "$(cat "$4/scratch")"   # as scripts/test.sh names the folders of all tests
  touch "$4/running"
  wait' interrupted-run "$kit" "$build" "$name" "$work" > "$work/out" 2>&1 &
run=$!
for _ in $(seq 1800); do [ -f "$work/running" ] || ! kill -0 "$run" 2>/dev/null && break; sleep 0.1; done
[ -f "$work/running" ] || die "the test never ran; the run printed: $(cat "$work/out")"
kill -INT "$run"
status=0
wait "$run" || status=$?
[ "$status" = 130 ] || die "the interrupted run exited with $status; it printed: $(cat "$work/out")"
grep -qx 'interrupted-run: interrupted by SIGINT; everything it started has been ended' "$work/out" ||
  die "the interrupted run did not say so; it printed: $(cat "$work/out")"
if marked_any "$probe"; then
  left=$({ grep -lzxF "$probe" /proc/[0-9]*/environ 2>/dev/null || true; } | cut -d/ -f3 | paste -sd,)
  die "the interrupted run left processes running: $(ps -o pid,args -p "$left")"
fi
[ ! -e "$build/wine/sessions/$name" ] || die "the interrupted run left its session's folder"
[ ! -e "$(cat "$work/scratch")" ] || die "the interrupted run left its test's scratch folder"
