#!/usr/bin/env bash
# Benchmarks floppex-cli against cat, c1541, lha, gzip, unzip and cbmconvert on the same inputs.
# Usage: bench/run.sh BUILD   (BUILD/native holds the native build; inputs go to BUILD/bench)
# Prints medians and ratios measured in this run; nothing here asserts a time. With the Windows
# build in BUILD/win, bench/windows.sh then times Floppex.exe itself under Wine.
set -euo pipefail
build=$(cd "${1:?usage: run.sh BUILD}" && pwd)
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
cli="$build/native/src/cli/floppex-cli"
thumbs="$build/native/bench/thumbnail_bench"
work="$build/bench"
runs=${BENCH_RUNS:-5}
each_runs=${BENCH_EACH_RUNS:-3}
images=${BENCH_IMAGES:-1000}
extracts=${BENCH_EXTRACTS:-50}
for built in "$cli" "$thumbs"; do [ -x "$built" ] || { echo "run.sh: $built not built" >&2; exit 1; }; done
for tool in c1541 petcat cbmconvert jlha lhasa gzip zip unzip valgrind /usr/bin/time; do
  command -v "$tool" >/dev/null || { echo "run.sh: $tool missing (run scripts/setup.sh)" >&2; exit 1; }
done

rm -rf "$work"
mkdir -p "$work/src" "$work/out"
cd "$work/src"

# ---- Inputs ----------------------------------------------------------------------------------
# A "game" disk: an incompressible program (like a crunched game), BASIC text and a zero-filled
# data file; plus three more layouts for the 1,000 listed images.
head -c 40000 /dev/urandom | { printf '\001\010'; cat; } > crunched.prg
for i in $(seq 1 400); do echo "$i print \"line $i of the intro text\":goto $((i + 1))"; done \
  | petcat -w2 -o basic.prg -- 2>/dev/null
{ printf '\000\100'; head -c 20000 /dev/zero; } > zeros.prg
head -c 600 /dev/urandom > small.prg

many=(); for i in $(seq 1 40); do many+=(-write small.prg "part $i"); done
layouts() {  # layouts KIND: base0.KIND to base3.KIND, the four layouts as c1541 writes them on that disk
  c1541 -format "small,sm" "$1" "base0.$1" -write small.prg "loader" >/dev/null
  c1541 -format "many parts,mp" "$1" "base1.$1" "${many[@]}" >/dev/null
  c1541 -format "empty,00" "$1" "base2.$1" >/dev/null
  c1541 -format "game disk,gd" "$1" "base3.$1" -write crunched.prg "crunched game" -write basic.prg "intro" \
    -write zeros.prg "data" >/dev/null
}

# 1,000 images of a kind in $work/KIND: copies of its four layouts, each with its own disk name
# when the name's offset is given (D64: BAM at $16590; D81: header at $61804). G64 names stay.
copies() {  # copies KIND [NAME-OFFSET]
  local i img
  layouts "$1" && mkdir -p "$work/$1"
  for i in $(seq 1 "$images"); do
    img=$(printf '%s/%s/disk%04d.%s' "$work" "$1" "$i" "$1")
    cp "base$((i % 4)).$1" "$img"
    [ -z "${2:-}" ] || printf 'disk %04d' "$i" | dd of="$img" bs=1 seek=$(($2)) conv=notrunc status=none
  done
}
copies d64 0x16590 && cp base3.d64 ../game.d64
copies d81 0x61804
copies g64
mapfile -t disks < <(ls "$work"/d64/*.d64)
mapfile -t d81s < <(ls "$work"/d81/*.d81)
mapfile -t g64s < <(ls "$work"/g64/*.g64)

cp ../game.d64 game.d64
jlha a ../game.lha game.d64 >/dev/null
for m in 6 7; do jlha ao$m ../game.lh$m.lha game.d64 >/dev/null; done  # -lh6- and -lh7-
gzip -9 -c game.d64 > ../game.d64.gz
zip -q -9 ../game.zip game.d64
cbmconvert -v0 -L ../one.lnx crunched.prg >/dev/null 2>&1
cbmconvert -v0 -L ../three.lnx crunched.prg basic.prg zeros.prg >/dev/null 2>&1
cd "$work"

# ---- Timing ----------------------------------------------------------------------------------
now() { date +%s%N; }
median() { printf '%s\n' "$@" | sort -n | sed -n "$((($# + 1) / 2))p"; }
# CPU time (user + system, ms) of the finished children of this shell, from a saved `times`
# output. `times` itself must run in this shell, not in a subshell, to see them.
cpu_ms() {
  tail -1 "$1" | awk '{ t = 0; for (i = 1; i <= 2; i++) { split($i, p, "m"); sub("s", "", p[2]);
    t += p[1] * 60000 + p[2] * 1000 } printf "%d", t }'
}
# Runs a command string once; appends its wall time (ns) and CPU time (ms) to the named arrays.
timed() {
  local -n wall=$2 cpu=$3
  local start
  times >"$work/times0"
  start=$(now)
  eval "$1" >/dev/null 2>&1
  wall+=($(($(now) - start)))
  times >"$work/times1"
  cpu+=($(($(cpu_ms "$work/times1") - $(cpu_ms "$work/times0"))))
}
# Times two commands alternately, $4 times each, so that a change of load on the machine hits both
# alike; prints the medians: wall ns and CPU ms of the first, then of the second.
pair() {
  local aw=() ac=() bw=() bc=()
  for ((r = 0; r < $3; r++)); do timed "$1" aw ac; timed "$2" bw bc; done
  echo "$(median "${aw[@]}") $(median "${ac[@]}") $(median "${bw[@]}") $(median "${bc[@]}")"
}
ms() { awk -v ns="$1" 'BEGIN { printf "%.0f", ns / 1e6 }'; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { if (b > 0) printf "%.2f", a / b; else printf "-" }'; }
# task, floppex-cli command, reference name, reference command, goal [, runs]
row() {
  local t
  read -r -a t <<<"$(pair "$2" "$4" "${6:-$runs}")"
  printf '| %s | %s | %s | %s | **%s** | %s | %s | %s | %s |\n' "$1" "$(ms "${t[0]}")" "$3" "$(ms "${t[2]}")" \
    "$(ratio "${t[0]}" "${t[2]}")" "${t[1]}" "${t[3]}" "$(ratio "${t[1]}" "${t[3]}")" "$5"
}

c1541_args=(); for d in "${disks[@]}"; do c1541_args+=(-attach "$d" -list); done
each() { local tool=$1; shift; for d in "${disks[@]}"; do "$tool" "$@" "$d"; done; }
c1541_list() { c1541 "$1" -list; }
repeat() { local n=$1; shift; for ((k = 0; k < n; k++)); do "$@"; done; }
cbm_l() { (cd out/ref && cbmconvert -v0 -l "../../$1"); }
# Rows for listing images of one kind with floppex-cli and with c1541, in one process and in one
# process each, once both list the first image alike: list_rows KIND IMAGE...
list_rows() {
  local kind=$1 d; shift
  local imgs=("$@") attach=()
  for d in "${imgs[@]}"; do attach+=(-attach "$d" -list); done
  "$cli" list "$1" | cmp -s - <(c1541 "$1" -list 2>/dev/null) || { echo "run.sh: $kind listing differs from c1541" >&2; exit 1; }
  row "list ${#imgs[@]} $kind images, one process" '"$cli" list "${imgs[@]}"' "c1541, one process" 'c1541 "${attach[@]}"' ""
  row "list ${#imgs[@]} $kind images, one process each" 'for d in "${imgs[@]}"; do "$cli" list "$d"; done' "c1541 -list" \
    'for d in "${imgs[@]}"; do c1541 "$d" -list; done' "" "$each_runs"
}
mkdir -p out/cli out/ref

# The outputs must agree before their times mean anything.
"$cli" list "${disks[0]}" | cmp -s - <(c1541 "${disks[0]}" -list) || { echo "run.sh: listing differs from c1541" >&2; exit 1; }
for a in game.lha game.lh6.lha game.lh7.lha game.d64.gz game.zip; do
  cmp -s "$("$cli" extract "$a" out/check)" game.d64 || { echo "run.sh: $a extracted wrongly" >&2; exit 1; }
done

n=${#disks[@]}
x=$extracts
echo "floppex-cli benchmarks: $(date -u '+%Y-%m-%d %H:%M UTC'), $(nproc) cores, $(sed -n 's/^model name[[:space:]]*: //p' /proc/cpuinfo | head -1)"
echo "median of $runs alternating runs ($each_runs for one process per image); $n images of" \
  "$(stat -c %s "${disks[0]}") bytes; $x extractions per timed run; load average $(cut -d' ' -f1-3 /proc/loadavg)"
echo
echo "| task | floppex-cli wall ms | reference | reference wall ms | wall ratio | floppex-cli CPU ms | reference CPU ms | CPU ratio | goal |"
echo "|---|---|---|---|---|---|---|---|---|"
row "list $n images, one process" '"$cli" list "${disks[@]}"' "cat" 'cat "${disks[@]}"' "<= 2.0"
row "list $n images, one process" '"$cli" list "${disks[@]}"' "c1541, one process" 'c1541 "${c1541_args[@]}"' ""
# Explorer's thumbnails, drawn by the code FloppexShell.dll uses, against listing the same images.
row "256-pixel thumbnails of $n images, one process" '"$thumbs" "${disks[@]}"' "floppex-cli list" '"$cli" list "${disks[@]}"' "<= 5.0"
row "list $n images, one process each" 'each "$cli" list' "cat" 'each cat' "<= 2.0" "$each_runs"
row "list $n images, one process each" 'each "$cli" list' "c1541 -list" 'each c1541_list' "" "$each_runs"
list_rows D81 "${d81s[@]}"
list_rows G64 "${g64s[@]}"
row "extract lh5 LHA x$x" 'repeat $x "$cli" extract game.lha out/cli' "lhasa x" \
  'repeat $x lhasa xqfw=out/ref game.lha' "<= 0.85"
row "extract lh5 LHA x$x" 'repeat $x "$cli" extract game.lha out/cli' "jlha x" \
  'repeat $x jlha xqfw=out/ref game.lha' ""
for m in 6 7; do
  row "extract lh$m LHA x$x" "repeat \$x \"\$cli\" extract game.lh$m.lha out/cli" "lhasa x" \
    "repeat \$x lhasa xqfw=out/ref game.lh$m.lha" "<= 0.85"
done
row "extract GZ x$x" 'repeat $x "$cli" extract game.d64.gz out/cli' "gzip -d" \
  'repeat $x eval "gzip -dc game.d64.gz > out/ref/game.d64"' "<= 0.8"
row "extract ZIP x$x" 'repeat $x "$cli" extract game.zip out/cli' "unzip" \
  'repeat $x unzip -o -q game.zip -d out/ref' "<= 1.0"
row "extract Lynx, 1 program x$x" 'repeat $x "$cli" extract one.lnx out/cli' "cbmconvert -l" \
  'repeat $x cbm_l one.lnx' "<= 1.0"
row "extract Lynx, 3 programs x$x" 'repeat $x "$cli" extract three.lnx out/cli' "cbmconvert -l" \
  'repeat $x cbm_l three.lnx' "<= 1.0"

# Instructions (valgrind's callgrind), which the machine's load does not change: one run of each
# side, its output thrown away; an extraction once, not 50 times.
instructions() { valgrind --tool=callgrind --callgrind-out-file=/dev/null "$@" 2>&1 >/dev/null | sed -n 's/.*Collected : //p'; }
irow() {  # task, reference name, then the two commands as arrays named cli_cmd and ref_cmd
  local a b; a=$(instructions "${cli_cmd[@]}"); b=$(instructions "${ref_cmd[@]}")
  printf '| %s | %s | %s | %s | **%s** |\n' "$1" "$a" "$2" "$b" "$(ratio "$a" "$b")"
}
echo
echo "| task (callgrind) | floppex-cli instructions | reference | reference instructions | ratio |"
echo "|---|---|---|---|---|"
cli_cmd=("$cli" list "${disks[@]}") ref_cmd=(c1541 "${c1541_args[@]}"); irow "list $n images, one process" "c1541"
g64_attach=(); for d in "${g64s[@]}"; do g64_attach+=(-attach "$d" -list); done
cli_cmd=("$cli" list "${g64s[@]}") ref_cmd=(c1541 "${g64_attach[@]}"); irow "list ${#g64s[@]} G64 images, one process" "c1541"
cp game.d64.gz out/ref/
for a in "game.lha:lhasa xqfw=$work/out/ref $work/game.lha" "game.lh6.lha:lhasa xqfw=$work/out/ref $work/game.lh6.lha" \
         "game.lh7.lha:lhasa xqfw=$work/out/ref $work/game.lh7.lha" "game.d64.gz:gzip -dkf $work/out/ref/game.d64.gz" \
         "game.zip:unzip -o -q $work/game.zip -d $work/out/ref" "three.lnx:cbmconvert -v0 -l $work/three.lnx"; do
  read -r -a ref_cmd <<<"${a#*:}"
  cli_cmd=("$cli" extract "$work/${a%%:*}" "$work/out/cli")
  (cd out/ref && irow "extract ${a%%:*} once" "${ref_cmd[0]}")  # cbmconvert writes where it runs
done

peak_kb() { /usr/bin/time -f '%M' "$@" 2>&1 >/dev/null | tail -1; }
echo
echo "| peak RSS | floppex-cli KiB | c1541 KiB |"
echo "|---|---|---|"
echo "| ${#disks[@]} images, one process | $(peak_kb "$cli" list "${disks[@]}") | $(peak_kb c1541 "${c1541_args[@]}") |"
echo "| one image | $(peak_kb "$cli" list "${disks[0]}") | $(peak_kb c1541 "${disks[0]}" -list) |"

# Floppex.exe itself, under Wine, when the Windows build is there.
if [ -f "$build/win/bench/start_bench.exe" ]; then
  bash "$here/windows.sh" "$build"
fi
