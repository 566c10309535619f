# Shared shell functions for running Floppex.exe under Wine: a private prefix, a virtual X display
# when none is given, and the clean-up of both. Sourced by scripts/run-demo.sh (make run),
# tests/e2e/run.sh, bench/windows.sh and, for its display alone, tests/emulator/play_test.sh.
FLOPPEX_XVFB_PID=""
FLOPPEX_STARTED_SERVER=""

# wine_env PREFIX: point every later wine call at PREFIX, quietly, without Mono and Gecko.
wine_env() {
  export WINEPREFIX="$1" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
}

# start_display: start Xvfb on the first free display number when DISPLAY is unset; returns once
# it takes connections. A number that looks free may not be: another /tmp (a chroot, a container)
# hides the other server's files but not its abstract socket, and a parallel run may take it first;
# when Xvfb gives up there, the next number is tried.
start_display() {
  [ -n "${DISPLAY:-}" ] && return 0
  local n i
  for n in $(seq 90 140); do
    { [ -e "/tmp/.X${n}-lock" ] || [ -e "/tmp/.X11-unix/X${n}" ]; } && continue
    Xvfb ":${n}" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
    FLOPPEX_XVFB_PID=$!
    for i in $(seq 1 300); do
      kill -0 "$FLOPPEX_XVFB_PID" 2>/dev/null || break
      [ -e "/tmp/.X11-unix/X${n}" ] && { export DISPLAY=":${n}"; return 0; }
      sleep 0.1
    done
    { kill "$FLOPPEX_XVFB_PID"; wait "$FLOPPEX_XVFB_PID"; } 2>/dev/null || true
  done
  FLOPPEX_XVFB_PID="" && echo "Xvfb did not start on any display from :90 to :140" >&2 && return 1
}

# prepare_prefix: create the prefix once (a stamp file marks a finished one), with fonts and without
# window-manager decorations; then keep a wine server running and return once the desktop process
# is up, so that later starts are warm and none starts a desktop process holding its caller's output.
prepare_prefix() {
  local stamp="$WINEPREFIX/.floppex-ready"
  if [ ! -f "$stamp" ]; then
    rm -rf "$WINEPREFIX" && mkdir -p "$WINEPREFIX/drive_c/windows/Fonts"
    wineboot -i >/dev/null 2>&1 && wineserver -w || return 1
    cp /usr/share/wine/fonts/* "$WINEPREFIX/drive_c/windows/Fonts/"
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1 || return 1
    wineserver -w && touch "$stamp"
  fi
  wineserver -p || return 1
  FLOPPEX_STARTED_SERVER=1
  wine explorer /desktop >/dev/null 2>&1 </dev/null &
  # Asking for the desktop window returns once the desktop process has made it.
  wine rundll32 user32.dll,GetDesktopWindow >/dev/null 2>&1 </dev/null
}

# copy_prefix: a copy of the current prefix beside it (hard links need the same file system),
# hard-linked but for the registry files, which the server rewrites, becomes the current one
# (prepare_prefix then starts its own server).
copy_prefix() {
  local copy
  copy=$(mktemp -d "$WINEPREFIX.XXXXXX") && cp -al "$WINEPREFIX/." "$copy/" && cp --remove-destination "$WINEPREFIX"/*.reg "$copy/" &&
    wine_env "$copy"
}

# lost_in_loader FILE...: whether the output of a `wine` start says Wine lost the new process in its
# loader (see wine_run).
lost_in_loader() { grep -q "ShellExecuteEx failed: Internal error" "$@"; }

# wine_run PROGRAM [ARG...]: wine PROGRAM ARG..., its output passed on once it has ended. Now and then
# Wine loses a new process in its loader before any of the program's own code runs (`wine` then
# says "ShellExecuteEx failed: Internal error"); such a start alone is made once more, with a note.
wine_run() {
  local out err status attempt
  out=$(mktemp) err=$(mktemp)
  for attempt in 1 2; do
    wine "$@" >"$out" 2>"$err"
    status=$?
    lost_in_loader "$out" "$err" || break
    [ $attempt = 2 ] || echo "note: Wine lost the new process $1 in its loader; it is started once more" >&2
  done
  cat "$out" && cat "$err" >&2 && rm -f "$out" "$err"
  return $status
}

# stop_wine_and_display: end the wine server of the prefix and the Xvfb this shell started.
stop_wine_and_display() {
  [ -n "$FLOPPEX_STARTED_SERVER" ] && { wineserver -k >/dev/null 2>&1; FLOPPEX_STARTED_SERVER=""; }
  [ -n "$FLOPPEX_XVFB_PID" ] && { kill "$FLOPPEX_XVFB_PID" 2>/dev/null; wait "$FLOPPEX_XVFB_PID" 2>/dev/null; FLOPPEX_XVFB_PID=""; }
  return 0
}
