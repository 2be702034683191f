#!/usr/bin/env bash
# Emulated ports in a Wine prefix, made from the Linux side (no Windows call
# can make a dosdevices link under Wine).
#
#   pty-lines.sh up <prefix> <state-dir> SPEC...
#   pty-lines.sh down <prefix> <state-dir>
#
# SPEC is one of
#   pty:NAME:PEER   a pty pair (socat): dosdevices/NAME is one end, PEER the
#                   other; <state-dir>/NAME links the first end for stty -F
#   fifo:NAME       a FIFO (reads on it block)
#   file:NAME       a regular file
#   dir:NAME        a folder (it does not open as a port)
# `down` ends the socat processes and removes the links and files. Wine must
# have closed the ptys by then: a hang-up makes the wineserver dump its state.
set -euo pipefail
cmd=$1 prefix=$2 state=$3
shift 3
devices="$prefix/dosdevices"

down() {
  if [ -f "$state/socat.pids" ]; then
    while read -r pid; do kill "$pid" 2>/dev/null || true; done < "$state/socat.pids"
  fi
  if [ -f "$state/links" ]; then
    while read -r name; do rm -f "$devices/$name"; done < "$state/links"
  fi
  rm -rf "$state"
}

up() {
  down
  mkdir -p "$state" "$devices"
  : > "$state/socat.pids"
  : > "$state/links"
  local spec kind name peer
  for spec in "$@"; do
    IFS=: read -r kind name peer <<< "$spec"
    case "$kind" in
      pty)
        setsid socat pty,raw,echo=0,link="$state/$name" pty,raw,echo=0,link="$state/$peer" \
          >/dev/null 2>"$state/socat-$name.log" </dev/null &
        echo $! >> "$state/socat.pids"
        ln -sfn "$state/$name" "$devices/$name"
        ln -sfn "$state/$peer" "$devices/$peer"
        printf '%s\n%s\n' "$name" "$peer" >> "$state/links" ;;
      fifo) mkfifo "$state/$name"; ln -sfn "$state/$name" "$devices/$name"; echo "$name" >> "$state/links" ;;
      file) : > "$state/$name"; ln -sfn "$state/$name" "$devices/$name"; echo "$name" >> "$state/links" ;;
      dir) mkdir -p "$state/$name"; ln -sfn "$state/$name" "$devices/$name"; echo "$name" >> "$state/links" ;;
      *) echo "pty-lines: bad spec $spec" >&2; return 2 ;;
    esac
  done
  # socat makes its links once both ptys exist.
  local _ missing
  for _ in $(seq 400); do
    missing=0
    for spec in "$@"; do
      IFS=: read -r kind name peer <<< "$spec"
      [ "$kind" = pty ] && { [ -e "$state/$name" ] && [ -e "$state/$peer" ] || missing=1; }
    done
    [ "$missing" = 0 ] && return 0
    sleep 0.05
  done
  echo "pty-lines: socat did not make its ptys" >&2
  return 1
}

case "$cmd" in
  up) up "$@" ;;
  down) down ;;
  *) echo "usage: pty-lines.sh up|down <prefix> <state-dir> SPEC..." >&2; exit 2 ;;
esac
