#!/usr/bin/env bash
# floppex-cli play in a real x64sc. Three programs, each ending VICE through the debug cartridge
# with its own exit code, on a D64, D81 and G64 made by c1541, and a cartridge of its own made by
# cartconv: play's exit status tells which program ran. Needs the free ROMs described in
# ../shared/vice-roms/README.md (that folder, or the one FLOPPEX_VICE_ROMS names).
set -uo pipefail
cli=${1:?usage: play_test.sh FLOPPEX-CLI WORKDIR} work=${2:?usage: play_test.sh FLOPPEX-CLI WORKDIR}
roms=${FLOPPEX_VICE_ROMS:-$(cd "$(dirname "$0")/../.." && pwd)/../shared/vice-roms}
for rom in kernal_generic basic_generic chargen_openroms; do
  [ -f "$roms/$rom.rom" ] || { echo "real-emulator test not run: ROMs not found in $roms"; exit 0; }
done
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
printf '#!/bin/sh\nexec x64sc -default -kernal %s -basic %s -chargen %s -sounddev dummy -console -warp +drive8truedrive -iecdevice8 "$@"\n' \
  "$roms/kernal_generic.rom" "$roms/basic_generic.rom" "$roms/chargen_openroms.rom" > x64sc-headless
chmod +x x64sc-headless

set +e
failed=0
# The wrapper is found on the PATH; the debug cartridge and the time limit come through play's "--"
# arguments.
expect() {
  local want=$1 got
  shift
  PATH=$work:$PATH TMPDIR=$work/tmp "$cli" play --emulator x64sc-headless "$@" -- -debugcart -limitcycles 20000000 >log 2>&1
  got=$?
  if [ "$got" = "$want" ]; then echo "ok    play $*"; else echo "FAIL  play $*: exit $got, expected $want"; tail -3 log; failed=1; fi
}
expect 22 games.d64 2
expect 33 games.d81 3
expect 22 games.g64 2
expect 33 --name GAMMA games.d64
expect 33 games.zip 3
expect 44 game.crt
[ -z "$(ls -A tmp)" ] || { echo "FAIL  left in the temporary folder: $(ls -A tmp)"; failed=1; }
exit $failed
