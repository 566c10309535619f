#!/usr/bin/env bash
# Runs every fuzz target for the given seconds, seeded with its corpus and the unit-test fixtures.
# New finds go to build/fuzz/finds/<name>/; crashes stay there as crash-* files.
set -euo pipefail
build=$(cd "${1:-build}" && pwd); seconds=${2:-60}
here=$(cd "$(dirname "$0")" && pwd)
for exe in "$build"/fuzz/tests/fuzz/fuzz_*; do
  [ -x "$exe" ] || continue
  name=$(basename "$exe"); name=${name#fuzz_}
  finds="$build/fuzz/finds/$name"; mkdir -p "$finds"
  echo "== $name: ${seconds}s"
  (cd "$finds" && "$exe" -max_total_time="$seconds" -print_final_stats=1 -max_len=262144 \
      "$finds" "$here/corpus/$name" "$build/native/fixtures" 2>&1 | grep -E 'stat::number_of_executed_units|ERROR|SUMMARY|Done' || true)
done
if compgen -G "$build/fuzz/finds/*/crash-*" >/dev/null || compgen -G "$build/fuzz/finds/*/leak-*" >/dev/null; then
  echo "fuzz: inputs that crash or leak were found:"; ls "$build"/fuzz/finds/*/{crash,leak}-* 2>/dev/null
  exit 1
fi
