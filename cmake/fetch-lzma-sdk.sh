#!/usr/bin/env bash
# fetch-lzma-sdk.sh <dest>: unpacks the C sources of the LZMA SDK (Debian's
# source package 7zip) into <dest>/C.  apt runs with private lists and caches
# built from the machine's own Debian source entries, so the system's apt
# state is left as it was.  Nothing of it is committed.
set -euo pipefail
dest=$1
[ -f "$dest/C/7zArcIn.c" ] && exit 0
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/parts" "$work/lists/partial" "$work/cache/archives/partial" "$work/dl"
n=0
for f in /etc/apt/sources.list.d/*.sources; do
  [ -f "$f" ] || continue
  # deb822 entries: the same URIs and suites, as source entries.
  sed -e 's/^Types:.*/Types: deb-src/' "$f" > "$work/parts/src$n.sources"; n=$((n+1))
done
for f in /etc/apt/sources.list /etc/apt/sources.list.d/*.list; do
  [ -f "$f" ] || continue
  sed -n 's/^[[:space:]]*deb[[:space:]]/deb-src /p' "$f" > "$work/parts/src$n.list"; n=$((n+1))
done
opts=(-o Dir::Etc::SourceList=/dev/null -o Dir::Etc::SourceParts="$work/parts"
      -o Dir::State::Lists="$work/lists" -o Dir::Cache="$work/cache"
      -o APT::Sandbox::User=root -qq)
apt-get "${opts[@]}" update >/dev/null
(cd "$work/dl" && apt-get "${opts[@]}" source --download-only 7zip >/dev/null)
orig=$(ls "$work"/dl/7zip_*.orig.tar.* | head -n1)
mkdir -p "$work/x" "$dest"
tar -xf "$orig" -C "$work/x" --wildcards '*/C/*'
rm -rf "$dest/C"
mv "$work"/x/*/C "$dest/C"
