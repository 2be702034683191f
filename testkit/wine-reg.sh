# Sourced by the scripts that write registry values into a Wine prefix
# ($WINEPREFIX): `reg_import` takes the text of a .reg file's keys and values
# on its standard input and imports it with one Wine process (a `reg add` a
# value costs a process start each, seconds on a busy machine).  Needs
# testkit/checked.sh (quiet).
reg_import() {
  local file status=0 bad
  file=$(mktemp --suffix=.reg)
  { echo "Windows Registry Editor Version 5.00"; echo; cat; } > "$file"
  # reg import skips a line it cannot read and still succeeds: such a line
  # (a key, a string or dword value, a value's deletion) fails here instead.
  bad=$(tail -n +3 "$file" | grep -nvE '^$|^\[-?HKEY_(LOCAL_MACHINE|CURRENT_USER|CLASSES_ROOT|USERS)\\[^]]+\]$|^("([^"\\]|\\.)*"|@)=("([^"\\]|\\.)*"|dword:[0-9a-f]{8}|-)$') || true
  [ -z "$bad" ] || { rm -f "$file"; die "reg_import: lines that reg import would skip: $bad"; }
  quiet /usr/lib/wine/wine64 reg import "Z:${file//\//\\}" || status=$?
  rm -f "$file"
  return "$status"
}
