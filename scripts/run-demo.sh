#!/usr/bin/env bash
# `make run`: starts the Windows build's Floppex.exe under Wine on a demo disk and saves a screenshot.
# Usage: run-demo.sh BUILD   (Floppex.exe from BUILD/win; demo files in BUILD/demo)
# With a DISPLAY the program stays open for the user; without one it runs on a private Xvfb and is
# closed after the screenshot.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="$(cd "${1:?usage: run-demo.sh BUILD}" && pwd)"
# shellcheck source=wine-env.sh
source "$root/scripts/wine-env.sh"

demo="$build/demo"
image=$(bash "$root/scripts/demo-disk.sh" "$demo")
mkdir -p "$demo/program"
cp "$build/win/src/Floppex.exe" "$demo/program/Floppex.exe"

user_display="${DISPLAY:-}"
[ -z "$user_display" ] && trap stop_wine_and_display EXIT
wine_env "$build/wine-prefix"
start_display
prepare_prefix

to_windows() { printf 'Z:%s' "${1//\//\\}"; }
setsid wine "$(to_windows "$demo/program/Floppex.exe")" "$(to_windows "$image")" \
  >"$demo/floppex.log" 2>&1 </dev/null &
floppex_pid=$!

# The window's caption starts with "Floppex!" once start-up has run; give it a moment to list.
for _ in $(seq 1 100); do
  xdotool search --name '^Floppex!' >/dev/null 2>&1 && break
  sleep 0.2
done
sleep 3
import -window root "$demo/floppex.png"
echo "$demo/floppex.png"

if [ -z "$user_display" ]; then
  # A polite close (WM_CLOSE) inside the private prefix, so that the program shuts down normally.
  wine taskkill /im Floppex.exe >/dev/null 2>&1 || true
  for _ in $(seq 1 100); do
    kill -0 "$floppex_pid" 2>/dev/null || break
    sleep 0.1
  done
else
  echo "Floppex is running on $DISPLAY; close its window to end it."
fi
