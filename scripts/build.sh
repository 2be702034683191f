#!/usr/bin/env bash
# Installs the build's Debian packages, then builds every configuration:
#   $BUILD_ROOT/x64     Windows x86_64 (run and tested under Wine)
#   $BUILD_ROOT/x86     Windows i686: the three programs, compiled and linked
#                       only (no 32-bit code runs here, so neither do tests)
#   $BUILD_ROOT/native  the portable code, natively (tests, benchmarks)
# Pass configuration names to build only those (e.g. `build.sh x64`).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
out=${BUILD_ROOT:-$root/build}
bash "$root/.ci/install-deps"
configs=("$@")
[ ${#configs[@]} -gt 0 ] || configs=(x64 x86 native)
for c in "${configs[@]}"; do
  targets=()
  case "$c" in
    x64) args=(-DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-x86_64.cmake") ;;
    x86) args=(-DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-i686.cmake")
         targets=(--target calbrique Fenwold Dravelin) ;;
    native) args=() ;;
    *) echo "unknown configuration $c" >&2; exit 2 ;;
  esac
  cmake -S "$root" -B "$out/$c" -G Ninja "${args[@]}" >/dev/null
  cmake --build "$out/$c" "${targets[@]}"
done
