#!/usr/bin/env bash
# Set-up, build of every configuration, then all tests: the native ones and
# the Windows ones under Wine (each build tree has its own Wine prefix and X display).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
out=${BUILD_ROOT:-$root/build}
bash "$root/scripts/build.sh"
# Informational, not a test: the translator's throughput against memcpy.
"$out/native/calbrique/calbrique_append_bench" || true
ctest --test-dir "$out/native" --output-on-failure -j"$(nproc)" --timeout 300
# Boot the Wine session first, so no test discovery waits on it.
rm -f "$out/x64/wine-state/health"
"$out/x64/wine-session" start
# A Wine test process now and then dies at start-up on a loaded machine: such
# a test gets up to two more runs; a real failure fails all three.
status=0
ctest --test-dir "$out/x64" --output-on-failure -j"$(nproc)" --timeout 300 --repeat until-pass:3 || status=$?
# What the session noticed of its own health (a wineserver that went down).
cat "$out/x64/wine-state/health" 2>/dev/null || true
exit "$status"
