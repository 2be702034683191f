#!/usr/bin/env bash
# harness_container_test.sh BUILD: the harness where a container's limits
# hold: under the seccomp filter of a container engine's default profile
# (setarch -R is refused) and with no core file allowed, a session comes up
# with its server's folder in the build tree, a Windows program runs in it
# through wine-test with the layout guard loaded, one whose heap covers Wine's
# page runs as well, and the session goes down.
source "$(dirname "$0")/../checked.sh"
build=$1 name=harness-container
contained() { "$build/testkit/container-seccomp" "$@"; }
ulimit -Hc 0
! contained setarch -R true 2>/dev/null || die "container-seccomp let setarch -R through"
trap '"$build/wine-session" down "$name" >/dev/null 2>&1 || true' EXIT
quiet contained "$build/wine-session" up "$name"
folder=$(readlink "/proc/$(cut -d' ' -f1 "$build/wine/sessions/$name/server.pid")/cwd")
[[ "$folder" == "$build/wine/tmp/"* ]] || die "the session's wineserver works in $folder, not in the build tree"
# The program's Wine process, looked at once it is up.
out=$(WINE_SESSION=$name contained "$build/wine-test" bash -c '
  /usr/lib/wine/wine64 "$1" "Z:$WINE_TEST_SCRATCH/ready" & program=$!
  for _ in $(seq 600); do [ -f "$WINE_TEST_SCRATCH/ready" ] && break; sleep 0.1; done
  [ -f "$WINE_TEST_SCRATCH/ready" ] || { echo "the program never came up"; exit 1; }
  echo "personality $(cat /proc/$program/personality)"
  grep -q /wine-layout.so "/proc/$program/maps" && echo "guard loaded"' _ "$build/wine-keeper.exe" 2>&1) ||
  die "the Windows program did not run in a container: $out"
grep -qx 'personality 00000000' <<< "$out" || die "the program did not run randomized: $out"
grep -qx 'guard loaded' <<< "$out" || die "the program's Wine process has no layout guard: $out"
# A heap that has grown over Wine's page by the time Wine starts: the guard
# runs the loader again and the program runs.  Where this persona is allowed
# the heap starts right past the loader, so it reaches the page every time;
# in a container the fixture runs the loader until the kernel starts it there.
unrandomized=()
setarch -R true 2>/dev/null && unrandomized=(setarch -R env LD_PRELOAD="$build/wine-layout.so"
                                             WINE_LAYOUT_LOG="$build/wine/layout.log")
forced() { grep -c -- '-0x7ffe1000,' "$build/wine/layout.log" || true; }
touch "$build/wine/layout.log"
before=$(forced)
out=$(WINE_SESSION=$name "${unrandomized[@]}" "$build/testkit/container-seccomp" "$build/wine-test" bash -c \
  'LD_PRELOAD="$LD_PRELOAD $1" /usr/lib/wine/wine64 cmd /c exit 7; echo "exit code $?"' _ "$build/testkit/heap-over-page.so" 2>&1) ||
  die "a Windows program with its heap over Wine's page: $out"
if grep -q '^heap-over-page: the heap started above' <<< "$out"; then
  echo "skipped: this kernel never started Wine's heap below its page, so a heap over the page is not tried: $out"
  quiet contained "$build/wine-session" down "$name"
  trap - EXIT
  exit 77
fi
grep -qx 'exit code 7' <<< "$out" || die "a Windows program with its heap over Wine's page did not run: $out"
(( $(forced) > before )) || die "the guard did not start the loader again for a heap over Wine's page: $out"
quiet contained "$build/wine-session" down "$name"
trap - EXIT
