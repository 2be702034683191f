#!/usr/bin/env bash
# pack-oversize-package.sh <out.7z>
# A small package that unpacks to one byte more than the installer accepts
# (64 MiB of zeros and one more).
set -euo pipefail
out=$1
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
mkdir "$stage/amd64"
head -c $((64 * 1024 * 1024 + 1)) /dev/zero > "$stage/amd64/devcon.exe"
rm -f "$out.tmp"
(cd "$stage" && 7zz a -t7z -m0=LZMA2 -bd -bso0 "$out.tmp" amd64)
mv "$out.tmp" "$out"
