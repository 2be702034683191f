#!/usr/bin/env bash
# Screenshot of the Add New Device dialog with the catalogue that ships with
# Fenwold, on a screen of its own:
#   adddev-screenshot.sh <build dir> <width>x<height> <out.png>
set -euo pipefail
build=$1 size=$2 out=$3
source "$(dirname "$0")/../../testkit/screen-session.sh"
screen_session "$build" "$size" C.UTF-8
# The catalogue is read from the current directory: the program's folder.
cd "$build/fenwold"
shoot "$out" 0 "$build/fenwold/tests/adddev_shot.exe" 6000
