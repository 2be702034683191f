#!/usr/bin/env bash
# pack-odd-package.sh <out.7z> <probe devcon.exe> <Quenlath.inf>
# A package with entries the install worker must cope with: a junk
# amd64/DEVCON.EXE stored ahead of amd64/devcon.exe (names compare with case,
# executables come last), and tools/amd64.txt, whose name holds the
# processor folder's name.
set -euo pipefail
out=$1 probe=$2 inf=$3
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
mkdir -p "$stage/amd64" "$stage/tools"
cp "$probe" "$stage/amd64/devcon.exe"
echo "not a program" > "$stage/amd64/DEVCON.EXE"
cp "$inf" "$stage/amd64/Quenlath.inf"
echo "a tool's notes" > "$stage/tools/amd64.txt"
touch -d '2013-07-09 00:00:00 UTC' "$stage"/amd64 "$stage"/tools "$stage"/amd64/* "$stage"/tools/*
rm -f "$out.tmp"
(cd "$stage" && 7zz a -t7z -m0=LZMA2 -ssc -mqs=off -mtc=off -mta=off -bd -bso0 "$out.tmp" amd64 tools)
mv "$out.tmp" "$out"
