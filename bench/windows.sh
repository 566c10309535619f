#!/usr/bin/env bash
# Start-up and load benchmarks of Floppex.exe under Wine (called by bench/run.sh when the Windows
# build exists). Usage: bench/windows.sh BUILD   (Windows build in BUILD/win; inputs go to
# BUILD/bench-win, the Wine prefix to BUILD/bench-wine-prefix).
# Start-up: Floppex.exe until a 30-entry disk is listed, against a minimal Win32 list window, both
# started alternately BENCH_PAIRS times (31), FloppexShell.dll beside it as installed, so that each
# start also registers the shell extension's handlers. Load: BENCH_LOAD_FILES (50) second starts at once, each
# on its own file, handed to one running window; fails (status 1) when a request is lost or a
# process hangs or crashes. Prints Markdown table rows; nothing here asserts a time.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="$(cd "${1:?usage: windows.sh BUILD}" && pwd)"
bin="$build/win/bench"
exe="$build/win/src/Floppex.exe"
work="$build/bench-win"
pairs=${BENCH_PAIRS:-31}
loads=${BENCH_LOAD_FILES:-50}
shellext="$build/win/src/FloppexShell.dll"
for f in "$exe" "$shellext" "$bin/start_bench.exe" "$bin/minimal_window.exe" "$bin/listing_hook.dll"; do
  [ -f "$f" ] || { echo "windows.sh: $f not built" >&2; exit 1; }
done
for tool in c1541 zip wine Xvfb; do
  command -v "$tool" >/dev/null || { echo "windows.sh: $tool missing (run scripts/setup.sh)" >&2; exit 1; }
done

rm -rf "$work"
mkdir -p "$work/program" "$work/files" "$work/src"
cp "$exe" "$shellext" "$work/program/"
cp "$bin/start_bench.exe" "$bin/minimal_window.exe" "$bin/listing_hook.dll" "$work/"

# ---- Inputs ----------------------------------------------------------------------------------
cd "$work/src"
head -c 600 /dev/urandom > small.prg
entries=(); for i in $(seq 1 30); do entries+=(-write small.prg "entry $i"); done
c1541 -format "thirty,fx" d64 ../files/disk30.d64 "${entries[@]}" >/dev/null
c1541 -format "first,fx" d64 ../files/first.d64 -write small.prg "first" >/dev/null
# Load inputs: each with its own disk name, the file's stem, which the info line shows. Every
# fifth is a ZIP holding its disk.
load_files=()
for i in $(seq 1 "$loads"); do
  stem=$(printf 'load%02d' "$i")
  c1541 -format "$stem,fx" d64 "$stem.d64" -write small.prg "game $i" -write small.prg "intro $i" >/dev/null
  if ((i % 5 == 0)); then
    zip -q -9 "../files/$stem.zip" "$stem.d64"
    load_files+=("$work/files/$stem.zip")
  else
    cp "$stem.d64" "../files/$stem.d64"
    load_files+=("$work/files/$stem.d64")
  fi
done
cd "$work"

# ---- Wine ------------------------------------------------------------------------------------
# shellcheck source=../scripts/wine-env.sh
source "$root/scripts/wine-env.sh"
trap stop_wine_and_display EXIT
wine_env "$build/bench-wine-prefix"
start_display
# A server left over from an interrupted run of this script would make prepare_prefix fail.
wineserver -k >/dev/null 2>&1 || true
prepare_prefix || { echo "windows.sh: the Wine prefix could not be prepared" >&2; exit 1; }
win() { local p; for p in "$@"; do printf 'Z:%s\n' "${p//\//\\}"; done; }
mapfile -t load_args < <(win "${load_files[@]}")

echo
echo "Floppex.exe under Wine ($(wine --version)): $(date -u '+%Y-%m-%d %H:%M UTC'), load average $(cut -d' ' -f1-3 /proc/loadavg)"
echo
echo "| task | Floppex.exe wall ms | reference | reference wall ms | wall ratio | goal |"
echo "|---|---|---|---|---|---|"
wine "$(win "$work/start_bench.exe")" startup "$(win "$work/program/Floppex.exe")" \
  "$(win "$work/minimal_window.exe")" "$(win "$work/files/disk30.d64")" "$pairs"
echo
echo "| load | wall ms | result |"
echo "|---|---|---|"
wine "$(win "$work/start_bench.exe")" load "$(win "$work/program/Floppex.exe")" "$(win "$work/listing_hook.dll")" \
  "$(win "$work/files/first.d64")" "${load_args[@]}"
