#!/usr/bin/env bash
# Makes the demo disk for `make run`: three small BASIC programs, tokenised by VICE's petcat and
# written with c1541 onto a fresh disk image. Usage: demo-disk.sh OUTPUT_FOLDER (prints the image path).
set -euo pipefail
out="$1"
mkdir -p "$out"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

cat >"$work/hello.bas" <<'BAS'
10 print "hello from floppex!"
20 goto 10
BAS
cat >"$work/countdown.bas" <<'BAS'
10 for i=10 to 0 step -1
20 print "t minus";i
30 next i
40 print "lift off!"
BAS
cat >"$work/colours.bas" <<'BAS'
10 for c=0 to 15
20 poke 53280,c:poke 53281,15-c
30 for d=1 to 200:next d
40 next c
50 goto 10
BAS
for name in hello countdown colours; do
  petcat -w2 -o "$work/$name.prg" -- "$work/$name.bas"
done

image="$out/floppex-demo.d64"
rm -f "$image"
c1541 -format "floppex demo,fx" d64 "$image" \
  -write "$work/hello.prg" "hello world" \
  -write "$work/countdown.prg" "countdown" \
  -write "$work/colours.prg" "colours" >/dev/null
echo "$image"
