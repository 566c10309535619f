#!/usr/bin/env bash
# Disk images, tapes, cartridges, programs and archives for the end-to-end tests, made by VICE's
# petcat, c1541 and cartconv, cbmconvert, zip and the project's tape writers (cbmconvert reads the
# T64s back as a check).
# Usage: make-fixtures.sh OUTPUT_FOLDER
set -euo pipefail
writers="$(cd "$(dirname "$0")/../fixtures" && pwd)"
source "$writers/common.bash"
fixture_folder "$1" && cd work
hello="$out/hello.prg" t64="$writers/t64.py"
printf '10 print "hello from floppex"\n20 goto 10\n' | petcat -w2 -o "$hello" --
# 1,202 bytes loading at $C000, and the same as PC64 files (cbmconvert names it big.p00).
{ printf '\000\300'; head -c 1200 /dev/zero; } >big.prg
cbmconvert -v0 -P -n big.prg && cp big.prg big.p00 "$out/" && cp big.p00 "$out/big.p01"

for kind in d64 d81 g64; do disk "$out/demo.$kind" "floppex demo,fx" "$hello" first second third; done
for kind in d71 x64; do disk "$out/demo.$kind" "floppex demo,fx" "$hello" first second; done
# Lower-case letters stay unshifted, capitals become shifted letters: c1541 lists both as written.
disk "$out/play.d64" "play disk,pd" "$hello" alpha "Beta Two" gamma
disk "$out/many.d64" "many games,mg" "$hello" "game "{1..14}
# Names a command line must quote with care: c1541 lists them as 'say "hi"' and 'back\' (PETSCII
# 0x5C). The bytes go into the directory at track 18 sector 1 (offset 0x16600).
disk "$out/odd.d64" "odd names,on" "$hello" "say xhix" "backx"
poke "$out/odd.d64" $((0x16600 + 9)) 22 && poke "$out/odd.d64" $((0x16600 + 12)) 22 && poke "$out/odd.d64" $((0x16600 + 41)) 5c
for d in demo many; do c1541 "$out/$d.d64" -list >"$out/$d.list"; done
# A full directory (144 entries) whose first names hold what the C64 draws with its own glyphs:
# graphics, control codes (reversed between quotes), shifted letters typed as capitals, pi.
disk "$out/face.d64" "c64 face,cf" "$hello" x "Games By Jo" name{003..144}
poke "$out/face.d64" $((0x16600 + 5)) a1 a2 a3 a4 a5 a6 a7 a8 a9 aa ab ac ad ae af b0
poke "$out/face.d64" $((0x16600 + 69)) 12 41 42 92 c1 c2 5f 5c 00 60 7e 1c 05 3f dd 9f
poke "$out/face.d64" $((0x16600 + 101)) ff ff ff ff ff ff ff ff ff ff ff ff ff ff ff ff

tape() {  # tape FILE NAME ENTRY...: a T64 of hello.prg under each entry name
  local file=$1 name=$2 args=() entry; shift 2
  for entry in "$@"; do args+=("$entry=$hello"); done
  python3 "$t64" "$out/$file" --name "$name" "${args[@]}"
  mkdir "check-$file" && (cd "check-$file" && cbmconvert -v0 -N -t "$out/$file")
  [ "$(ls "check-$file" | wc -l)" -eq $# ] || { echo "cbmconvert disagrees on $file" >&2; exit 1; }
}
tape one.t64 "ONE TAPE" ONLY
tape two.t64 "TWO TAPE" FIRST SECOND
python3 "$writers/tap.py" "$out/tape.tap" HELLO="$hello" "BIG ONE=big.prg"
# An 8K cartridge at $8000 that starts itself (the CBM80 mark) and loops.
{ printf '\011\200\011\200\303\302\31580\114\011\200'; head -c 8180 /dev/zero; } >cart.bin
cartconv -q -t normal -n "FLOPPEX CART" -i cart.bin -o "$out/cart.crt" >/dev/null

cp "$out/play.d64" game.d64 && zip -q -9 "$out/game.zip" game.d64
# A set of three disks, zipped: the play, demo and many disks under TOSEC-style names.
mkdir set && cp "$out/play.d64" "set/Game (Disk 1 of 3).d64" && cp "$out/demo.d64" "set/Game (Disk 2 of 3).d64" &&
  cp "$out/many.d64" "set/Game (Disk 3 of 3).d64" && (cd set && zip -q "$out/set.zip" ./*)
# The same disk in a ZIP whose method (bzip2) is left to WinZip.
cp "$out/demo.d64" . && zip -q -Z bzip2 "$out/bzip2.zip" demo.d64
printf 'this is not a disk image\n' >"$out/fake.d64"
