#!/usr/bin/env bash
# pack-odd-package.sh <out.7z> <Quenlath.inf>
# A package with entries the installer must cope with: an amd64/devcon.exe
# that is not a program at all (it can't be started anywhere), and
# tools/amd64.txt, whose name holds the processor folder's name.
set -euo pipefail
out=$1 inf=$2
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
mkdir -p "$stage/amd64" "$stage/tools"
echo "not a program" > "$stage/amd64/devcon.exe"
cp "$inf" "$stage/amd64/Quenlath.inf"
echo "a tool's notes" > "$stage/tools/amd64.txt"
touch -d '2013-07-09 00:00:00 UTC' "$stage"/amd64 "$stage"/tools "$stage"/amd64/* "$stage"/tools/*
rm -f "$out.tmp"
(cd "$stage" && 7zz a -t7z -m0=LZMA2 -ssc -mqs=off -mtc=off -mta=off -bd -bso0 "$out.tmp" amd64 tools)
mv "$out.tmp" "$out"
