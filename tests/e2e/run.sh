#!/usr/bin/env bash
# Runs the Windows build's tests (the end-to-end tests drive Floppex.exe) under Wine, each once: a
# test that fails, fails the run. Usage: run.sh BUILD [CTEST_OPTION...]   (the Windows build lies in
# BUILD/win; the Wine prefix goes to BUILD/wine-prefix). Starts Xvfb when DISPLAY is unset and stops
# whatever it started, also on failure; exits with ctest's status.
set -uo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
build="$(cd "${1:?usage: run.sh BUILD [CTEST_OPTION...]}" && pwd)"
shift
# Wine names files in the locale's character set: under the C locale of a bare system a name outside
# ASCII cannot be made. C.UTF-8 comes with the C library, and keeps Wine's texts English.
export LC_ALL=C.UTF-8
# shellcheck source=../../scripts/wine-env.sh
source "$here/../../scripts/wine-env.sh"
trap stop_wine_and_display EXIT
wine_env "$build/wine-prefix"
start_display || exit 1
wineserver -k >/dev/null 2>&1  # a server left over from an interrupted run would stop prepare_prefix
prepare_prefix || { echo "run.sh: the Wine prefix could not be prepared" >&2; exit 1; }
bash "$here/../../scripts/suite.sh" windows "$build/win" "$@"
status=$?
# The pictures the tests leave for a person to look at, as PNG.
for picture in "$build"/win/tests/e2e/*.bmp; do
  [ -f "$picture" ] && convert "$picture" "${picture%.bmp}.png" 2>/dev/null && rm -f "$picture"
done
exit $status
