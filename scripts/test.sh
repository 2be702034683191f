#!/usr/bin/env bash
# Set-up, build of every configuration, then all tests: the native ones and
# the Windows ones under Wine (cmake/wine-session.sh.in: each build tree has
# its own Wine sessions, prefixes and displays).  A failing test fails: there
# are no reruns.  Ends with no process of the harness left, also when it is
# interrupted (testkit/run-scope.sh).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
out=${BUILD_ROOT:-$root/build}
jobs=${CTEST_PARALLEL_LEVEL:-$(( $(nproc) * 2 ))}
source "$root/testkit/run-scope.sh"
run_scratch "$out/x64/wine/sessions" "$out/x64/wine/tests" "$out/x64/wine/tmp"
run_wait bash "$root/scripts/build.sh"
# Informational, not a test: the translator's throughput against 1 GB/s.
run_wait "$out/native/calbrique/calbrique_append_bench" || true
run_wait ctest --test-dir "$out/native" --output-on-failure -j"$jobs"

session="$out/x64/wine-session"
run_wait "$session" down-all   # whatever an interrupted run left
rm -f "$out/x64/wine/health"
status=0
run_wait ctest --test-dir "$out/x64" --output-on-failure -j"$jobs" || status=$?
run_wait "$session" down-all
# What the harness noticed: a wineserver that went down, a registration that
# vanished.  Any of it fails the run.
if [ -s "$out/x64/wine/health" ]; then
  echo "== Wine sessions' health"
  cat "$out/x64/wine/health"
  [ "$status" != 0 ] || status=1
fi
exit "$status"
