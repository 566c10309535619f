#!/usr/bin/env bash
# Tests in a copy of the run's Wine prefix (WINEPREFIX, DISPLAY set) with a server of its own, where
#   144dpi:    the screen has 144 dots per inch: the sizes of the window, the options and the about box;
#   read-only: the program folder cannot be written, for root too: the server, which opens the files,
#              runs in a mount namespace where the folder is a read-only tmpfs holding the exe (a nested
#              user namespace gives back the caller's ids). Usage: other-prefix.sh E2E_EXE FLOPPEX_EXE WHICH
set -uo pipefail
# shellcheck source=../../scripts/wine-env.sh
source "$(dirname "$0")/../../scripts/wine-env.sh"
if [ "$3" = inside ]; then trap stop_wine_and_display EXIT; prepare_prefix && wine "$1" --gtest_filter="$4"; exit; fi
copy_prefix || exit 1
trap 'rm -rf "$WINEPREFIX" "${FLOPPEX_E2E_READ_ONLY:-}"' EXIT
if [ "$3" = 144dpi ]; then
  wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d 144 /f >/dev/null 2>&1 && wineserver -w &&
    bash "$0" "$1" "$2" inside 'WindowTest.Empty*:OptionsTest.*'
  exit
fi
unshare --user --map-root-user --mount true || { echo "read-only folder test not run: no user namespaces"; exit 0; }
# Its own tmpfs, made read-only once the exe is in: a bind of a folder of /tmp could not be made
# read-only where /tmp has flags (nosuid, nodev) that a user namespace may not drop.
FLOPPEX_E2E_READ_ONLY=$(mktemp -d) && export FLOPPEX_E2E_READ_ONLY || exit 1
unshare --user --map-root-user --mount bash -c 'mount -t tmpfs floppex "$FLOPPEX_E2E_READ_ONLY" && cp "$4" "$FLOPPEX_E2E_READ_ONLY/" &&
  mount -o remount,ro "$FLOPPEX_E2E_READ_ONLY" && exec unshare --user --map-user="$0" --map-group="$1" bash "${@:2}"' \
  "$(id -u)" "$(id -g)" "$0" "$1" "$2" inside 'WindowsUserTest.AProgramFolderThatCannotBeWritten*'
