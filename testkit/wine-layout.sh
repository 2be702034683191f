# Sourced first by the scripts that start Wine (the harness, the demo), with
# $wine_layout_guard naming the build's wine-layout.so: the script runs again
# under `setarch -R`, and so does all it starts, with the address space laid
# out the same every time.  Where that persona is refused (a container's
# seccomp profile allows personality(2) only a few values), the address space
# stays randomized and everything the script starts preloads the guard
# instead (testkit/wine-layout.c: it keeps the page below free).  The choice
# is exported as WINE_LAYOUT (unrandomized or guarded).
# Why: Debian's wine64 has no preloader.  Its loader is linked at 0x7d000000
# and reserves 0x7ffe0000, Windows' shared user data, only once it runs; the
# kernel starts a 64-bit program's heap anywhere up to 1 GB past its end, and
# one time in about two thousand the heap is there first.  The process then
# ends at start-up with exit code 1 ("failed to map the shared user data:
# c0000018", an err line).  Unrandomized, the heap starts right past the
# loader.  The arguments are the script's own.
if (( (0x$(< /proc/self/personality) & 0x0040000) == 0 )) &&   # ADDR_NO_RANDOMIZE
   [[ " ${LD_PRELOAD:-} " != *" $wine_layout_guard "* ]]; then
  if setarch -R true 2>/dev/null; then
    export WINE_LAYOUT=unrandomized
    exec setarch -R "$BASH" "$0" "$@"
  fi
  [ -f "$wine_layout_guard" ] || { echo "wine-layout: no $wine_layout_guard; build the x86_64 tree" >&2; exit 1; }
  [[ "$wine_layout_guard" != *[\ :]* ]] ||
    { echo "wine-layout: LD_PRELOAD cannot name $wine_layout_guard (a space or colon in its path)" >&2; exit 1; }
  export WINE_LAYOUT=guarded LD_PRELOAD="$wine_layout_guard${LD_PRELOAD:+ $LD_PRELOAD}"
  export WINE_LAYOUT_LOG="${wine_layout_guard%/*}/wine/layout.log"   # each new start of the loader
  mkdir -p "${WINE_LAYOUT_LOG%/*}"
fi
