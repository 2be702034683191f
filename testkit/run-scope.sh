# Sourced by the README's commands (scripts/test.sh, scripts/demo.sh): the
# scope of one run.  Everything the script starts from here on carries a mark
# of this run in its environment, daemons and Wine's processes too.  When the
# script ends, and at once when it gets INT, TERM or HUP, all of it is ended
# and the folders named by run_scratch are removed; an interrupted run then
# says so in one line and exits with 128 + the signal's number.
#   run_scratch DIR...   folders that go when the run ends
#   run_wait COMMAND...  runs COMMAND and returns its exit code; a signal to
#                        this script alone is acted on at once, not when
#                        COMMAND has ended (bash runs a trap only between commands)
source "$(dirname "${BASH_SOURCE[0]}")/marked.sh"
run_mark="RUN_SCOPE_$(date +%s%N)_$$"
export "$run_mark=1"
run_mark+="=1"
run_scratch_dirs=()

run_scratch() { run_scratch_dirs+=("$@"); }

run_wait() {
  "$@" &
  wait "$!"
}

# Ends everything the run started.  All but the X servers and wineservers go
# at once, so that no script reacts or reports; those are ended politely (an
# X server removes its lock in /tmp).
run_end() {
  trap '' INT TERM HUP   # one ending at a time
  disown -a              # nor does this script report its jobs' ends
  marked_signal "$run_mark" KILL 'Xvfb|wineserver64'
  marked_end "$run_mark" || true
  rm -rf "${run_scratch_dirs[@]}"
}

run_interrupted() {
  run_end
  echo "${0##*/}: interrupted by SIG$1; everything it started has been ended" >&2
  trap - EXIT
  exit $((128 + $2))
}

trap run_end EXIT
trap 'run_interrupted INT 2' INT
trap 'run_interrupted TERM 15' TERM
trap 'run_interrupted HUP 1' HUP
