#!/usr/bin/env bash
# What a Windows user downloads: make dist's zip holds both exes and the texts; the exes import only
# DLLs that Windows 10 has, Floppex.exe is at most 1.5 MiB and carries its manifest, and both run
# from wherever it is unpacked: floppex-cli.exe lists c1541-made disks byte for byte as c1541 does
# and unpacks a ZIP; Floppex.exe registers the file types for itself.
# Usage: windows-user.sh WINDOWS_BUILD_DIR FIXTURE_FOLDER
set -uo pipefail
source "$(dirname "$0")/../../scripts/wine-env.sh"
win=$1 fixtures=$2 status=0
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "$*"; status=1; }
bash "$(dirname "$0")/../../scripts/dist.sh" "$win" "$work/Floppex.zip" >/dev/null || fail "dist.sh failed"
mkdir "$work/unpacked here" && unzip -q "$work/Floppex.zip" -d "$work/unpacked here" || fail "cannot unzip"
dir="$work/unpacked here/Floppex"
for file in Floppex.exe FloppexShell.dll floppex-cli.exe README.txt Floppex.txt; do [ -f "$dir/$file" ] || fail "$file not in the zip"; done
windows='^(kernel32|user32|gdi32|advapi32|shell32|comctl32|comdlg32|ole32|oleaut32|msvcrt|shlwapi|uxtheme|version)\.dll$'
for exe in "$dir"/*.exe "$dir"/*.dll; do
  # Every DLL name the exe holds: those it imports and those it loads when first needed.
  extra=$(strings "$exe" | grep -ioE '^[a-z0-9_.-]+\.dll$' | tr A-Z a-z | sort -u | grep -v -E "$windows" | grep -vixF "$(basename "$exe")")
  [ -z "$extra" ] || fail "$(basename "$exe") imports DLLs that Windows lacks: $extra"
done
size=$(stat -c %s "$dir/Floppex.exe")
[ "$size" -le $((1536 * 1024)) ] || fail "Floppex.exe is $size bytes, more than 1.5 MiB"
strings "$dir/Floppex.exe" >"$work/strings"  # not piped into grep -q, which would end strings early
for want in Microsoft.Windows.Common-Controls dpiAware asInvoker; do grep -q "$want" "$work/strings" || fail "no $want"; done
for disk in demo many; do
  wine_run "$dir/floppex-cli.exe" list "$(winepath -w "$fixtures/$disk.d64")" >"$work/list" 2>&1
  diff "$fixtures/$disk.list" "$work/list" || fail "floppex-cli.exe does not list $disk.d64 as c1541 does"
done
(cd "$work" && cp "$fixtures/demo.d64" . && zip -q "game one.zip" demo.d64 && mkdir out)
wine_run "$dir/floppex-cli.exe" extract "$(winepath -w "$work/game one.zip")" "$(winepath -w "$work/out")" >/dev/null
cmp -s "$work/out/game one.d64" "$fixtures/demo.d64" || fail "floppex-cli.exe extract did not write the disk: $(ls "$work/out")"
# Started from the unpacked folder, Floppex registers the file types with commands for it. A start
# that Wine's loader lost (see wine_run) is made once more, with a note.
start() { wine "$dir/Floppex.exe" >"$work/floppex.out" 2>&1 & floppex=$!; }
lost() { ! kill -0 "$floppex" 2>/dev/null && lost_in_loader "$work/floppex.out"; }
start
expected="$(winepath -w "$dir/Floppex.exe") -p %1"
registered() { wine reg query 'HKCR\FloppexD64\Shell\Play\command' /ve 2>/dev/null | tr -d '\r' | grep -qF -- "$expected"; }
again=1
for _ in $(seq 1 100); do
  registered && break
  if [ $again = 1 ] && lost; then
    echo "note: Wine lost the new process Floppex.exe in its loader; it is started once more" >&2
    again=0 && start
  fi
  sleep 0.3
done
registered || fail "Floppex.exe from the zip did not register \"$expected\" (its output ends: $(tail -n 5 "$work/floppex.out"))"
kill "$floppex" 2>/dev/null; wait
exit $status
