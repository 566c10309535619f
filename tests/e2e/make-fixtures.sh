#!/usr/bin/env bash
# Disk images and programs for the end-to-end tests, made by VICE's petcat and c1541 and by cbmconvert.
# Usage: make-fixtures.sh OUTPUT_FOLDER
set -euo pipefail
out="$(mkdir -p "$1" && cd "$1" && pwd)"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

printf '10 print "hello from floppex"\n20 goto 10\n' >"$work/hello.bas"
petcat -w2 -o "$out/hello.prg" -- "$work/hello.bas"

# The same program as a PC64 file (cbmconvert names it hello.p00).
(cd "$work" && cp "$out/hello.prg" hello.prg && cbmconvert -P -n hello.prg >/dev/null && cp hello.p00 "$out/hello.p00")

# Three programs on a freshly formatted disk.
rm -f "$out/demo.d64"
c1541 -format "floppex demo,fx" d64 "$out/demo.d64" \
  -write "$out/hello.prg" first -write "$out/hello.prg" second -write "$out/hello.prg" third >/dev/null

# Fourteen programs: enough rows to tell remembered entries 12 and 1 apart.
args=()
for i in $(seq 1 14); do args+=(-write "$out/hello.prg" "game $i"); done
rm -f "$out/many.d64"
c1541 -format "many games,mg" d64 "$out/many.d64" "${args[@]}" >/dev/null

c1541 "$out/demo.d64" -list >"$out/demo.list"
c1541 "$out/many.d64" -list >"$out/many.list"

# Games for the launch tests.
bash "$(dirname "$0")/make-play-fixtures.sh" "$out"
