# Sourced by the scripts that write registry values into a Wine prefix
# ($WINEPREFIX): `reg_import` takes the text of a .reg file's keys and values
# on its standard input and imports it with one Wine process (a `reg add` a
# value costs a process start each, seconds on a busy machine).  Needs
# testkit/checked.sh (quiet).
reg_import() {
  local file status=0
  file=$(mktemp --suffix=.reg)
  { echo "Windows Registry Editor Version 5.00"; echo; cat; } > "$file"
  quiet /usr/lib/wine/wine64 reg import "Z:${file//\//\\}" || status=$?
  rm -f "$file"
  return "$status"
}
