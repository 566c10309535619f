#!/usr/bin/env bash
# floppex-cli.exe under Wine lists c1541-made disks byte for byte as c1541 does, and extracts a ZIP.
# Usage: cli-listing.sh FLOPPEX_CLI_EXE FIXTURE_FOLDER
set -euo pipefail
cli=$1 fixtures=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
status=0
for disk in demo many; do
  wine "$cli" list "$(winepath -w "$fixtures/$disk.d64")" >"$work/$disk.out" 2>"$work/$disk.err" || {
    echo "floppex-cli.exe failed on $disk.d64: $(cat "$work/$disk.err")"; status=1; continue; }
  if ! cmp -s "$work/$disk.out" "$fixtures/$disk.list"; then
    echo "listing of $disk.d64 differs from c1541's:"; diff "$fixtures/$disk.list" "$work/$disk.out" || true; status=1
  fi
done
(cd "$work" && cp "$fixtures/demo.d64" . && zip -q "game one.zip" demo.d64)
mkdir "$work/out"
wine "$cli" extract "$(winepath -w "$work/game one.zip")" "$(winepath -w "$work/out")" >/dev/null
if ! cmp -s "$work/out/game one.d64" "$fixtures/demo.d64"; then
  echo "extract did not write the disk from the ZIP: $(ls "$work/out")"; status=1
fi
exit $status
