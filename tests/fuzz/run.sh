#!/usr/bin/env bash
# Runs every fuzz target for the given seconds, seeded with its corpus and the unit-test fixtures.
# New finds go to build/fuzz/finds/<name>/; crashes stay there as crash-* files.
set -euo pipefail
build=$(cd "${1:-build}" && pwd); seconds=${2:-60}
here=$(cd "$(dirname "$0")" && pwd)
declare -A rate
for exe in "$build"/fuzz/tests/fuzz/fuzz_*; do
  [ -x "$exe" ] || continue
  name=$(basename "$exe"); name=${name#fuzz_}
  finds="$build/fuzz/finds/$name"; mkdir -p "$finds"
  time=$seconds  # the G64 reader five minutes at least, and whole-disk decoding as long to compare them
  case $name in g64|g64whole) [ "$time" -lt 300 ] && time=300 ;; esac
  echo "== $name: ${time}s"
  out=$(cd "$finds" && "$exe" -max_total_time="$time" -print_final_stats=1 -max_len=262144 \
      "$finds" "$here/corpus/${name%whole}" "$build/native/fixtures" 2>&1 | grep -E 'stat::number_of_executed_units|ERROR|SUMMARY|Done' || true)
  echo "$out"
  rate[$name]=$(echo "$out" | sed -n 's/^stat::number_of_executed_units: *//p' | awk -v t="$time" '{ printf "%.0f", $1 / t }')
done
# G64s read as asked for against the whole disk decoded first (the reader before), in this run.
[ -n "${rate[g64]:-}" ] && [ -n "${rate[g64whole]:-}" ] && awk -v a="${rate[g64]}" -v b="${rate[g64whole]}" \
  'BEGIN { printf "g64: %d executions a second, %d decoding whole disks: %.1f times as many\n", a, b, b ? a / b : 0 }'

if compgen -G "$build/fuzz/finds/*/crash-*" >/dev/null || compgen -G "$build/fuzz/finds/*/leak-*" >/dev/null; then
  echo "fuzz: inputs that crash or leak were found:"; ls "$build"/fuzz/finds/*/{crash,leak}-* 2>/dev/null
  exit 1
fi
