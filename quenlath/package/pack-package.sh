#!/usr/bin/env bash
# pack-package.sh <out.7z> <x86 files dir> <amd64 files dir> <Quenlath.inf>
# Packs the driver package: one solid block, LZMA2 behind BCJ2, entries in
# the installer's order, then checks what 7-Zip stored.
set -euo pipefail
out=$1 x86=$2 amd64=$3 inf=$4
files=(devcon.exe Mosset.dll WdfCoInstaller01009.dll WUDFUpdate_01009.dll Quenlath.inf)
# 7-Zip always stores folder entries ahead of the files; with type sorting
# (-mqs) and names compared without case (-ssc-) the files keep this order.
expected=(amd64 x86)
for f in "${files[@]}"; do expected+=("x86/$f" "amd64/$f"); done

stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
mkdir -p "$stage/x86" "$stage/amd64"
for f in "${files[@]:0:4}"; do
  cp "$x86/$f" "$stage/x86/$f"
  cp "$amd64/$f" "$stage/amd64/$f"
done
cp "$inf" "$stage/x86/Quenlath.inf"
cp "$inf" "$stage/amd64/Quenlath.inf"
# Fixed times keep the archive the same from build to build.  Among files of
# one name 7-Zip orders by time: the x86 copies are a second older.
touch -d '2013-07-09 00:00:00 UTC' "$stage"/x86 "$stage"/x86/*
touch -d '2013-07-09 00:00:01 UTC' "$stage"/amd64 "$stage"/amd64/*

rm -f "$out.tmp"
(cd "$stage" && 7zz a -t7z -m0=LZMA2 -mf=BCJ2 -ms=on -mqs=on -ssc- -mtc=off -mta=off -bd -bso0 \
   "$out.tmp" "${expected[@]:2}" x86 amd64)

listing=$(7zz l -slt "$out.tmp")
mapfile -t stored < <(sed -n 's/^Path = //p' <<<"$listing" | tail -n +2)
if [ "${stored[*]}" != "${expected[*]}" ]; then
  echo "pack-package: stored order '${stored[*]}' is not '${expected[*]}'" >&2
  exit 1
fi
methods=$(sed -n 's/^Method = //p' <<<"$listing" | tail -n +2 | sort -u | grep -v '^$')
blocks=$(sed -n 's/^Block = //p' <<<"$listing" | sort -u | grep -v '^$')
if [ "$(wc -l <<<"$methods")" != 1 ] || ! grep -q '^BCJ2 LZMA2' <<<"$methods" || [ "$blocks" != 0 ]; then
  echo "pack-package: not one solid LZMA2+BCJ2 block: '$methods' blocks '$blocks'" >&2
  exit 1
fi
mv "$out.tmp" "$out"
