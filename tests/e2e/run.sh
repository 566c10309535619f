#!/usr/bin/env bash
# Runs the Windows build's tests (the end-to-end tests drive Floppex.exe) under Wine.
# Usage: run.sh BUILD   (the Windows build lies in BUILD/win; the Wine prefix goes to BUILD/wine-prefix)
# Starts Xvfb when DISPLAY is unset and stops whatever it started, also on failure; exits with
# ctest's status.
set -uo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
build="$(cd "${1:?usage: run.sh BUILD}" && pwd)"
# shellcheck source=wine-env.sh
source "$here/wine-env.sh"

trap stop_wine_and_display EXIT
wine_env "$build/wine-prefix"
start_display || exit 1
prepare_prefix || { echo "run.sh: the Wine prefix could not be prepared" >&2; exit 1; }

# A test whose Wine process did not come up in time on a busy machine gets one more try; a fault of
# the program fails both.
cd "$build/win" && ctest --output-on-failure --repeat until-pass:2
