# Sourced first by the scripts that start Wine (the harness, the demo): the
# script runs again under `setarch -R`, and so does all it starts, with the
# address space laid out the same every time.
# Why: Debian's wine64 has no preloader.  Its loader is linked at 0x7d000000
# and reserves 0x7ffe0000, Windows' shared user data, only once it runs; the
# kernel starts a 64-bit program's heap anywhere up to 1 GB past its end, and
# one time in about two thousand the heap is there first.  The process then
# ends at start-up with exit code 1 ("failed to map the shared user data:
# c0000018", an err line).  Unrandomized, the heap starts right past the
# loader.  The arguments are the script's own.
if (( (0x$(< /proc/self/personality) & 0x0040000) == 0 )); then   # ADDR_NO_RANDOMIZE
  exec setarch -R "$BASH" "$0" "$@"
fi
