#!/usr/bin/env bash
# Disk images, tapes, programs and archives for the end-to-end tests, made by VICE's petcat and
# c1541, cbmconvert and zip.
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
# The same disk in a ZIP whose method (bzip2) is left to WinZip.
rm -f "$out/bzip2.zip"
(cd "$work" && cp "$out/demo.d64" . && zip -q -Z bzip2 "$out/bzip2.zip" demo.d64)
c1541 "$out/many.d64" -list >"$out/many.list"

# --- games for the launch tests: a disk with its listing, tapes of one and of two programs written
# from the published T64 layout (cbmconvert reads them back as a check), PC64 files by cbmconvert,
# a ZIP by zip, and a file that only claims to be a disk.
# Lower-case letters stay unshifted, capitals become shifted letters: c1541 lists both as written.
rm -f "$out/play.d64"
c1541 -format "play disk,pd" d64 "$out/play.d64" \
  -write "$out/hello.prg" "alpha" -write "$out/hello.prg" "Beta Two" -write "$out/hello.prg" "gamma" >/dev/null
c1541 "$out/play.d64" -list >"$out/play.list"

# tape NAME OUTPUT ENTRY...: a T64 of hello.prg under each entry name (PETSCII upper-case bytes).
le() { local v=$1 n=$2 i; for ((i = 0; i < n; i++)); do printf '\\x%02x' $(((v >> (8 * i)) & 255)); done; }
padded() { local text=$1 size=$2 fill=$3; printf '%s' "$text"; head -c $((size - ${#text})) /dev/zero | tr '\0' "$fill"; }
tape() {
  local name=$1 file=$2; shift 2
  local count=$# size=$(($(stat -c %s "$out/hello.prg") - 2)) offset entry
  offset=$((64 + count * 32))
  {
    padded "C64S tape image file" 32 '\0'
    printf "$(le 0x0101 2)$(le "$count" 2)$(le "$count" 2)$(le 0 2)"
    padded "$name" 24 ' '
    for entry in "$@"; do
      printf "\\x01\\x82$(le 0x0801 2)$(le $((0x0801 + size)) 2)$(le 0 2)$(le "$offset" 4)$(le 0 4)"
      padded "$entry" 16 ' '
      offset=$((offset + size))
    done
    for entry in "$@"; do tail -c +3 "$out/hello.prg"; done
  } >"$file"
  mkdir -p "$work/check-$name" && (cd "$work/check-$name" && cbmconvert -v0 -N -t "$file")
  [ "$(ls "$work/check-$name" | wc -l)" -eq "$count" ] || { echo "cbmconvert disagrees on $file" >&2; exit 1; }
}
tape "ONE TAPE" "$out/one.t64" "ONLY"
tape "TWO TAPE" "$out/two.t64" "FIRST" "SECOND"

# A PC64 file by cbmconvert; the number in the extension only tells files of one name apart.
(cd "$work" && cp "$out/hello.prg" play.prg && cbmconvert -v0 -P -n play.prg && cp play.p00 "$out/play.p00")
cp "$out/play.p00" "$out/play.p01"

(cd "$work" && cp "$out/play.d64" game.d64 && zip -q -9 "$out/game.zip" game.d64)

printf 'this is not a disk image\n' >"$out/fake.d64"
