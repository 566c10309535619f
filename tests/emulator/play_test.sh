#!/usr/bin/env bash
# floppex-cli play in a real x64sc. Three programs, each ending VICE through the debug cartridge
# with its own exit code, on a D64, D81 and G64 made by c1541, and a cartridge of its own made by
# cartconv: play's exit status tells which program ran. A two-disk set, from a folder and a ZIP,
# needs VICE's "next disk" from the flip list to end. Needs the free ROMs described in
# ../shared/vice-roms/README.md (that folder, or the one FLOPPEX_VICE_ROMS names).
set -uo pipefail
cli=${1:?usage: play_test.sh FLOPPEX-CLI WORKDIR} work=${2:?usage: play_test.sh FLOPPEX-CLI WORKDIR}
roms=${FLOPPEX_VICE_ROMS:-$(cd "$(dirname "$0")/../.." && pwd)/../shared/vice-roms}
ls "$roms"/{kernal_generic,basic_generic,chargen_openroms}.rom >/dev/null 2>&1 ||
  { echo "real-emulator test not run: ROMs not found in $roms"; exit 0; }
roms=$(cd "$roms" && pwd)
# One X server for all the runs, on a display number found as the Windows tests find theirs.
source "$(dirname "$0")/../../scripts/wine-env.sh"
trap stop_wine_and_display EXIT && start_display || exit 1
set -e
rm -rf "$work" && mkdir -p "$work/tmp" && cd "$work"

asm() { cat > "$1.s" && cl65 "${@:2}" -o "$1" "$1.s"; }  # asm OUTPUT CL65-OPTIONS... <SOURCE
for code in 11 22 33; do
  printf '\t.segment "CODE"\n\tlda #%d\n\tsta $d7ff\n\trts\n' $code | asm p$code.prg -t c64 -C c64-asm.cfg -u __EXEHDR__
done
# An 8k cartridge at $8000: start addresses and the CBM80 signature, then the code.
printf '\t.word start, start\n\t.byte $c3, $c2, $cd, $38, $30\nstart:\tlda #44\n\tsta $d7ff\n\tjmp start\n' |
  asm cart.bin -t none --start-addr 0x8000
truncate -s 8192 cart.bin && cartconv -t normal -i cart.bin -o game.crt >/dev/null
for format in d64 d81 g64; do
  c1541 -format "play test,pt" $format games.$format -write p11.prg alpha -write p22.prg beta -write p33.prg gamma >/dev/null
done
zip -q games.zip games.d64
# A set of two disks. Disk 1's program loads "part2" and, while no disk holds it, waits for a key to try
# again, the drive idle (a disk changed during a transfer leaves VICE's drive silent and these ROMs
# waiting for ever); disk 2's "part2" ends VICE with 77.
printf '\t.segment "CODE"\nload:\tlda #5\n\tldx #<name\n\tldy #>name\n\tjsr $ffbd\n\tlda #1\n\tldx #8\n\tldy #1\n\tjsr $ffba
\tlda #0\n\tjsr $ffd5\n\tbcc found\nkey:\tjsr $ffe4\n\tcmp #0\n\tbeq key\n\tjmp load\nfound:\tjmp $c000
name:\t.byte $50, $41, $52, $54, $32\n' | asm part1.prg -t c64 -C c64-asm.cfg -u __EXEHDR__
printf '\t.segment "CODE"\n\tlda #77\n\tsta $d7ff\n\trts\n' | asm part2.prg -t c64 -C c64-asm.cfg --start-addr 0xc000
mkdir set && c1541 -format "twin,t1" d64 "set/Twin (Disk 1 of 2).d64" -write part1.prg part1 >/dev/null &&
  c1541 -format "twin,t2" d64 "set/Twin (Disk 2 of 2).d64" -write part2.prg part2 >/dev/null && (cd set && zip -q ../twin.zip ./*)
# Every run starts alike (no random delay before autostart); the set plays in a window at the C64's own speed.
printf '#!/bin/sh\nexec x64sc -default -kernal %s -basic %s -chargen %s -sounddev dummy -console -warp +drive8truedrive -iecdevice8 +autostart-delay-random "$@"\n' \
  "$roms/kernal_generic.rom" "$roms/basic_generic.rom" "$roms/chargen_openroms.rom" > x64sc-headless
sed 's/ -console//; s/ -warp//' x64sc-headless > x64sc-window && chmod +x x64sc-headless x64sc-window

set +e
failed=0 emulator=x64sc-headless
# The wrapper is found on the PATH; the debug cartridge and the time limit come through play's "--"
# arguments. In the window, once VICE logs that disk 1 lacks "part2", Alt+N and the space bar go to
# the focused window through XTEST, as a person presses them.
expect() {
  local want=$1 got i
  shift
  PATH=$work:$PATH TMPDIR=$work/tmp "$cli" play --emulator $emulator "$@" -- -debugcart -limitcycles 20000000 >log 2>&1 &
  if [ $emulator = x64sc-window ]; then
    for i in $(seq 300); do grep -q "FILE NOT FOUND" log && break; sleep 0.1; done
    sleep 1 && xdotool search --onlyvisible --name VICE windowfocus --sync &&
      xdotool key alt+n sleep 1 keydown space sleep 0.2 keyup space
  fi
  wait $!; got=$?
  if [ "$got" = "$want" ]; then echo "ok    play $*"; else echo "FAIL  play $*: exit $got, expected $want"; tail -3 log; failed=1; fi
}
expect 22 games.d64 2
expect 33 games.d81 3
expect 22 games.g64 2
expect 33 --name GAMMA games.d64
expect 33 games.zip 3
expect 44 game.crt
emulator=x64sc-window
expect 77 "set/Twin (Disk 1 of 2).d64"
expect 77 twin.zip
[ -z "$(ls -A tmp)" ] || { echo "FAIL  left in the temporary folder: $(ls -A tmp)"; failed=1; }
exit $failed
