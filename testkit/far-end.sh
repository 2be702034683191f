# Sourced by the scripts that read what a printer receives at the far end of
# a pty line (testkit/pty-lines.sh).  Bytes written while nobody has the far
# end open are lost, so
#   read_far_end <count> <pty> <out>
# starts `head -c <count> <pty> > <out>` in the background, for at most 60 s,
# and returns once it has the pty open; $far_reader is then its pid.
read_far_end() {
  local target pid fd _
  target=$(readlink -f "$2")
  timeout 60 head -c "$1" "$2" > "$3" &
  far_reader=$!
  for _ in $(seq 400); do
    for pid in $(pgrep -P "$far_reader"); do
      for fd in /proc/"$pid"/fd/*; do
        [ "$(readlink "$fd" 2>/dev/null)" != "$target" ] || return 0
      done
    done
    sleep 0.05
  done
  echo "FAIL: nobody reads $2: head never opened it" >&2
  return 1
}
