#!/usr/bin/env bash
# make install-desktop and uninstall-desktop in a scratch HOME: our types as xdg-mime and GLib see them, by
# name and by content; the thumbnailer and entries run as a file manager runs them; nothing of ours left.
# Usage: desktop_test.sh SOURCE CLI FIXTURES WORK PYTHON3
src=$1 cli=$2 fixtures=$3 work=$4 python=$5 files="$4/my files" failed=0
for tool in make xdg-mime mimetype gio update-mime-database update-desktop-database desktop-file-validate; do
  command -v "$tool" >/dev/null || { echo "FAILED: $tool is missing (scripts/setup.sh installs it)"; exit 1; }
done
rm -rf "$work" && mkdir -p "$work/home" "$files" "$work/bin" || exit 1
unset XDG_DATA_HOME XDG_CONFIG_HOME XDG_CACHE_HOME XDG_CURRENT_DESKTOP DESKTOP_SESSION KDE_FULL_SESSION GNOME_DESKTOP_SESSION_ID
export HOME=$work/home XDG_DATA_DIRS=/usr/share GIO_USE_VFS=local PATH=$work/bin:$PATH
share=$HOME/.local/share
fail() { echo "FAILED: $*"; failed=1; }
types() { echo $(xdg-mime query filetype "$1") $(gio info -a standard::content-type "$1" | sed -n 's/^ *standard::content-type: //p'); }
# An entry's KEY as the desktop runs it: its \\ read as \, each %CODE given replaced by VALUE, quoted.
command_of() {
  local line; line=$(sed -n "s/^$2=//p" "$1"); line=${line//\\\\/\\}; shift 2
  while [ $# -gt 0 ]; do line=${line//$1/$(printf '%q' "$2")}; shift 2; done
  echo "$line"
}

make -s -C "$src" install-desktop FLOPPEX_CLI="$cli" >/dev/null || fail "make install-desktop"
installed=$(find "$HOME" -type f | sort)
# By name, and by content under names without an extension; GLib goes by a name it knows first.
while read -r name from xdg glib; do
  cp "$fixtures/$from" "$files/$name"
  [ "$(types "$files/$name")" = "application/$xdg application/$glib" ] || fail "$name: $(types "$files/$name"), not $xdg $glib"
done <<END
m.d64 images/mixed.d64 x-c64-d64 x-c64-d64
m.g64 images/mixed.g64 x-c64-g64 x-c64-g64
m.t64 images/games.t64 x-c64-t64 x-c64-t64
m.p01 images/hellogam.p00 x-c64-p00 x-c64-p00
tape images/games.t64 x-c64-t64 x-c64-t64
disk images/mixed.g64 x-c64-g64 x-c64-g64
cartridge crt_tap/ocean.crt x-c64-crt x-c64-crt
lynx archives/programs.lnx x-c64-lynx x-c64-lynx
cart.crt crt_tap/ocean.crt x-c64-crt x-x509-ca-cert
END
printf -- '-----BEGIN CERTIFICATE-----\nMIIBszCCAVmgAwIBAgIU\n-----END CERTIFICATE-----\n' >"$files/cert.crt"
[[ "$(types "$files/cert.crt")" != *x-c64* ]] || fail "a certificate typed as ours: $(types "$files/cert.crt")"

# The thumbnailer at the size asked for, on a path with a blank and a name without an extension.
eval "$(command_of "$share/thumbnailers/floppex.thumbnailer" Exec %i "$files/tape" %o "$work/thumb.png" %s 512)" &&
  "$python" "$src/tests/picture/picture_test.py" thumbnail "$cli" "$fixtures" "$src" "$work/picture" "$work/thumb.png" \
    "$fixtures/images/games.t64" 512 || fail "thumbnail"
# The entries: valid, offered for our types, and each command as the desktop runs it (x64sc a stand-in).
printf '#!/bin/sh\necho "$@"\n' >"$work/bin/x64sc" && chmod +x "$work/bin/x64sc"
for entry in contents play; do desktop-file-validate "$share/applications/floppex-$entry.desktop" || fail "floppex-$entry.desktop"; done
[ "$(gio mime application/x-c64-d81 | grep -c 'floppex-\(contents\|play\)\.desktop')" -ge 2 ] || fail "not offered: $(gio mime application/x-c64-d81)"
contents=$(eval "$(command_of "$share/applications/floppex-contents.desktop" Exec %f "$files/tape")" <<<x)
[ "$contents" = "$("$cli" list "$fixtures/images/games.t64")"$'\n\nPress a key to close. ' ] || fail "Contents showed: $contents"
played=$(eval "$(command_of "$share/applications/floppex-play.desktop" Exec %f "$files/m.d64")")
[ "$played" = "-autostart $files/m.d64:hello" ] || fail "Play ran x64sc with: $played"

make -s -C "$src" uninstall-desktop >/dev/null || fail "make uninstall-desktop"
# What install added is gone, but for the rebuilt databases, which no longer hold our types.
left=$(comm -12 <(echo "$installed") <(find "$HOME" -type f | sort) | grep -v "^$share/mime/[^/]*$\|^$share/applications/mimeinfo.cache$")
[ -z "$left" ] || fail "left after uninstall: $left"
! grep -rl x-c64 "$share" || fail "our types are still known"
[ "$(types "$files/m.t64")" = "application/octet-stream application/octet-stream" ] || fail "m.t64 is still $(types "$files/m.t64")"
exit $failed
