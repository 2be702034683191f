#!/usr/bin/env bash
# Screenshot of Dravelin's main dialog listing one installed port, or with
# "change-port" of the change-port-number dialog over it, or with "uninstall"
# of the message box after the port's removal, or with "names-unread" of the
# message box that Chg. Port No. shows when the serial device map is gone:
#   screenshot.sh <build dir> <LANG> <out.png> [change-port|uninstall|names-unread]
# Runs in a copy of the build's Wine prefix on an Xvfb display of its own,
# installs a port with the package's devcon, shoots the screen while the
# dialog is open, then closes it; fails unless Dravelin ended with exit code 0
# (dravelin_drive exits with 5 when a message box is not the one wanted).
set -euo pipefail
build=$1 lang=$2 out=$3 command=${4:-}
source "$(dirname "$0")/../../../testkit/screen-session.sh"
screen_session "$build" 800x600 "$lang"

standins="$build/quenlath/package/standins-amd64"
cp "$(dirname "$0")/../../package/Quenlath.inf" "$work/Quenlath.inf"
(cd "$work" && quiet /usr/lib/wine/wine64 "$standins/devcon.exe" install Quenlath.inf 'ROZ\Quenlath')
if [ "$command" = names-unread ]; then
  quiet /usr/lib/wine/wine64 reg delete 'HKLM\HARDWARE\DEVICEMAP\SERIALCOMM' /f
fi

shoot "$out" 0 "$build/quenlath/installer/dravelin_drive.exe" "$build/quenlath/installer/Dravelin.exe" 5000 $command
