#!/usr/bin/env bash
# floppex-cli.exe under Wine lists c1541-made disks byte for byte as c1541 does, and extracts a ZIP.
# Usage: cli-listing.sh FLOPPEX_CLI_EXE FIXTURE_FOLDER
set -euo pipefail
cli=$1 fixtures=$2 status=0
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
for disk in demo many; do
  wine "$cli" list "$(winepath -w "$fixtures/$disk.d64")" >"$work/$disk.out" || { echo "$disk.d64 failed"; status=1; }
  diff "$fixtures/$disk.list" "$work/$disk.out" || { echo "listing of $disk.d64 differs from c1541's"; status=1; }
done
(cd "$work" && cp "$fixtures/demo.d64" . && zip -q "game one.zip" demo.d64 && mkdir out)
wine "$cli" extract "$(winepath -w "$work/game one.zip")" "$(winepath -w "$work/out")" >/dev/null
cmp "$work/out/game one.d64" "$fixtures/demo.d64" || { echo "extract did not write the disk: $(ls "$work/out")"; status=1; }
exit $status
