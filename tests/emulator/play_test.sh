#!/usr/bin/env bash
# floppex-cli play in a real x64sc. Three programs, each ending VICE through the debug cartridge
# with its own exit code, on a D64, D81 and G64 made by c1541, and a cartridge of its own made by
# cartconv: play's exit status tells which program ran. A two-disk set, from a folder and a ZIP,
# needs VICE's "next disk" from the flip list to end. Needs the free ROMs described in
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
# A set of two disks: disk 1's program marks $02a7 and tries to load "part2" until a disk holds it;
# only disk 2 does, and its code ends VICE with 77.
printf '\t.segment "CODE"\n\tlda #$5a\n\tsta $02a7\nretry:\tlda #5\n\tldx #<name\n\tldy #>name\n\tjsr $ffbd
\tlda #1\n\tldx #8\n\tldy #1\n\tjsr $ffba\n\tlda #0\n\tjsr $ffd5\n\tbcs retry\n\tjmp $c000
name:\t.byte $50, $41, $52, $54, $32\n' | asm part1.prg -t c64 -C c64-asm.cfg -u __EXEHDR__
printf '\t.segment "CODE"\n\tlda #77\n\tsta $d7ff\n\trts\n' | asm part2.prg -t c64 -C c64-asm.cfg --start-addr 0xc000
mkdir set && c1541 -format "twin,t1" d64 "set/Twin (Disk 1 of 2).d64" -write part1.prg part1 >/dev/null &&
  c1541 -format "twin,t2" d64 "set/Twin (Disk 2 of 2).d64" -write part2.prg part2 >/dev/null && (cd set && zip -q ../twin.zip ./*)
# No random delay before autostart: with it, autostart now and then stalled in these ROMs.
printf '#!/bin/sh\nexec x64sc -default -kernal %s -basic %s -chargen %s -sounddev dummy -console -warp +drive8truedrive -iecdevice8 +autostart-delay-random "$@"\n' \
  "$roms/kernal_generic.rom" "$roms/basic_generic.rom" "$roms/chargen_openroms.rom" > x64sc-headless
# The same in a window at the C64's own speed, as a person plays, with the monitor on the loopback
# address: without warp the cycle limit leaves ample time for the key, however busy the machine.
sed 's/ -console//; s/ -warp//' x64sc-headless > x64sc-window && chmod +x x64sc-headless x64sc-window

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
# Plays FILE of the two-disk set; once disk 1's program runs (its mark read through the monitor),
# Alt+N goes to VICE's window as a person presses it, and only disk 2's code ends VICE with 77.
expect_set() {
  local port=$((6510 + RANDOM % 1000)) got
  PATH=$work:$PATH TMPDIR=$work/tmp "$cli" play --emulator x64sc-window "$1" -- -debugcart -limitcycles 120000000 \
    -remotemonitor -remotemonitoraddress "ip4://127.0.0.1:$port" >log 2>&1 &
  local player=$!
  python3 - "$port" <<'PY'
import re, socket, sys, time
# The monitor stops the machine while it answers: asked during autostart, it can stall autostart.
time.sleep(5)
end = time.time() + 90
while time.time() < end:
    try:
        with socket.create_connection(("127.0.0.1", int(sys.argv[1])), timeout=2) as monitor:
            monitor.sendall(b"m 02a7 02a7\n")
            seen, answer = "", time.time() + 2
            while time.time() < answer and not re.search(r"02a7\s+\w\w", seen, re.I):
                seen += monitor.recv(4096).decode("latin-1")
            monitor.sendall(b"x\n")
        if re.search(r"02a7\s+5a", seen, re.I):
            sys.exit(0)
    except OSError:
        pass
    time.sleep(2)
sys.exit(1)
PY
  local running=$? window
  window=$(xdotool search --onlyvisible --name VICE | head -1)
  [ "$running" = 0 ] || echo "note  play $1: disk 1's program was not seen running"
  sleep 1  # the machine runs again once the monitor has let it go
  [ -n "$window" ] && xdotool windowfocus --sync "$window" key alt+n || echo "note  play $1: no VICE window for Alt+N"
  wait "$player"; got=$?
  if [ "$got" = 77 ]; then echo "ok    play $1, Alt+N"; else echo "FAIL  play $1, Alt+N: exit $got, expected 77"; tail -3 log; failed=1; fi
}
# VICE takes the Alt+N in about half of the runs here, and the cause is not found yet: until it is,
# the set runs only when asked for (FLOPPEX_EMULATOR_SET=1), and says so otherwise.
if [ "${FLOPPEX_EMULATOR_SET:-0}" = 1 ]; then
  expect_set "set/Twin (Disk 1 of 2).d64"
  expect_set twin.zip
else
  echo "not run: the two-disk set in VICE (FLOPPEX_EMULATOR_SET=1 runs it)"
fi
[ -z "$(ls -A tmp)" ] || { echo "FAIL  left in the temporary folder: $(ls -A tmp)"; failed=1; }
exit $failed
