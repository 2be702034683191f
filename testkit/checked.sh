# Sourced by the test and fixture scripts: a script stops at the first
# command that fails, and says which: its file, line, callers, exit code and
# the command.  `quiet` runs a command whose output is of no interest unless
# it fails, and then shows it.
set -Eeuo pipefail
trap 'checked_failed $? "$LINENO" "$BASH_COMMAND"' ERR
trap 'checked_ended "$BASH_COMMAND"' TERM

# Reports the innermost failure only: the callers that fail with it are named
# in its line.
checked_failed() {
  [ -z "${checked_reported:-}" ] || return 0
  checked_reported=1
  local status=$1 line=$2 command=$3 i from=
  [ "${FUNCNAME[1]:-main}" = main ] || from=" in ${FUNCNAME[1]}"
  for ((i = 2; i < ${#FUNCNAME[@]} - 1; i++)); do
    from+=", from ${FUNCNAME[i]} line ${BASH_LINENO[i - 1]}"
  done
  [ "$status" != 124 ] || command+=" (timed out)"
  echo "FAIL: ${BASH_SOURCE[1]##*/} line $line$from: exit code $status: $command" >&2
}

# Ended from outside (the harness's time limit): says what ran then, and what
# the command in $checked_command had printed into $checked_output so far.
checked_ended() {
  local i where=
  for ((i = 1; i < ${#FUNCNAME[@]} - 1; i++)); do
    where+="${where:+, }in ${FUNCNAME[i]} from ${BASH_SOURCE[i + 1]##*/} line ${BASH_LINENO[i]}"
  done
  if [ -n "${checked_output:-}" ]; then
    echo "FAIL: ended from outside while running: $checked_command${where:+ ($where)}; it had printed:" >&2
    cat "$checked_output" >&2
    rm -f "$checked_output"
  else
    echo "FAIL: ended from outside while running: $1${where:+ ($where)}" >&2
  fi
  trap - ERR
  exit 143
}

# die MESSAGE...: stops the script on a failure it found itself.
die() {
  echo "FAIL: $*" >&2
  checked_reported=1
  exit 1
}

# quiet COMMAND [ARG...]: runs COMMAND with its output kept back; when it
# fails, shows the command, its exit code and what it printed.  The output
# goes to a file, not a pipe: a daemon that COMMAND starts (a wineserver) may
# hold it long after.
quiet() {
  local out status=0
  out=$(mktemp)
  checked_output=$out checked_command=$*
  "$@" >"$out" 2>&1 </dev/null || status=$?
  checked_output=
  if [ "$status" != 0 ]; then
    printf 'FAIL: %s line %s: %s: exit code %d%s; it printed:\n%s\n' "${BASH_SOURCE[1]##*/}" "${BASH_LINENO[0]}" "$*" "$status" \
      "$([ "$status" != 124 ] || echo ' (timed out)')" "$(cat "$out"; [ -s "$out" ] || echo '(nothing)')" >&2
    checked_reported=1
  fi
  rm -f "$out"
  return "$status"
}
