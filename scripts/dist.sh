#!/usr/bin/env bash
# Packs what a Windows user downloads: Floppex.exe, FloppexShell.dll, floppex-cli.exe, the help text and a README,
# in one folder "Floppex" inside a zip.
# Usage: dist.sh WINDOWS_BUILD_DIR OUTPUT.zip
set -euo pipefail
win=$(cd "${1:?usage: dist.sh WINDOWS_BUILD_DIR OUTPUT.zip}" && pwd)
out=$(realpath -m "${2:?usage: dist.sh WINDOWS_BUILD_DIR OUTPUT.zip}")
root=$(cd "$(dirname "$0")/.." && pwd)
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
mkdir "$stage/Floppex"
cp "$win/src/Floppex.exe" "$win/src/FloppexShell.dll" "$win/src/cli/floppex-cli.exe" "$stage/Floppex/"
[ -f "$root/src/resources/Floppex.txt" ] && cp "$root/src/resources/Floppex.txt" "$stage/Floppex/"
# Windows users read text files with CR LF line ends.
sed 's/$/\r/' "$root/src/resources/README.txt" >"$stage/Floppex/README.txt"
rm -f "$out"
(cd "$stage" && zip -q -r -X "$out" Floppex)
echo "$out"
