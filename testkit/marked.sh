# Sourced by the harness's scripts: processes found by a line of their
# environment, a mark that all they start inherits (daemons that leave the
# process tree and Wine's own processes too).  The searches run without that
# variable themselves, or they would find themselves.

# marked_any LINE: whether a process's environment holds LINE.
marked_any() { env -u "${1%%=*}" grep -qlzxF -- "$1" /proc/[0-9]*/environ 2>/dev/null; }

# marked_signal LINE SIGNAL [SPARED]: signals the processes whose environment
# holds LINE, but those whose name matches the pgrep pattern SPARED; found in
# one pass over them all and signalled at once: a process id freed meanwhile
# may already be another's.
marked_signal() {
  env -u "${1%%=*}" bash -c 'grep -lzxF -- "$1" /proc/[0-9]*/environ 2>/dev/null | cut -d/ -f3 |
      { if [ -n "$3" ]; then grep -vxF -f <(pgrep -x "$3"); else cat; fi; } | xargs -r kill "-$2" 2>/dev/null' \
    _ "$1" "$2" "${3:-}" || true
}

# marked_end LINE [TENTHS]: ends them politely (Xvfb removes its lock, a
# wineserver saves), waits up to TENTHS tenths of a second (default 20), then
# ends for good those left and those started meanwhile.
marked_end() {
  local line=$1 tenths=${2:-20} i
  marked_any "$line" || return 0
  marked_signal "$line" TERM
  for ((i = 0; i < tenths; i++)); do
    sleep 0.1
    marked_any "$line" || return 0
  done
  for ((i = 0; i < 50; i++)); do
    marked_signal "$line" KILL
    sleep 0.1
    marked_any "$line" || return 0
  done
  echo "marked_end: processes marked $line are still there" >&2
  return 1
}
