#!/usr/bin/env bash
# Installs floppex-cli and the desktop's files beside this script (the C64 types, the thumbnailer,
# the "Contents" and "Play" entries) into ~/.local (data in $XDG_DATA_HOME when set), or under
# PREFIX; uninstall removes those files. Either way the MIME database and the applications' MIME
# cache (which GLib reads) are rebuilt.
# Usage: install.sh install CLI [PREFIX] | install.sh uninstall [PREFIX]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
case ${1:-} in
  install) [ $# -ge 2 ] && [ -f "$2" ] || { echo "desktop: install needs the built floppex-cli" >&2; exit 2; }
           cli=$2 prefix=${3:-} ;;
  uninstall) prefix=${2:-} ;;
  *) echo "usage: install.sh install CLI [PREFIX] | install.sh uninstall [PREFIX]" >&2; exit 2 ;;
esac
for tool in update-mime-database:shared-mime-info update-desktop-database:desktop-file-utils; do
  command -v "${tool%:*}" >/dev/null || { echo "desktop: ${tool%:*} is missing: install ${tool#*:}" >&2; exit 1; }
done
if [ -n "$prefix" ]; then bin=$prefix/bin data=$prefix/share; else bin=$HOME/.local/bin data=${XDG_DATA_HOME:-$HOME/.local/share}; fi
entries=(thumbnailers/floppex.thumbnailer applications/floppex-contents.desktop applications/floppex-play.desktop)
if [ "$1" = install ]; then
  # The entries name the program by its path, quoted as the desktop's Exec rules allow.
  [[ "$bin" != *[\"\'\`\$\\%]* ]] || { echo "desktop: $bin: quotes, \$, \\ or % cannot stand in a desktop entry" >&2; exit 1; }
  types=$(sed -n 's/.*<mime-type type="\([^"]*\)".*/\1;/p' "$here/floppex.xml" | tr -d '\n')
  mkdir -p "$bin" "$data/mime/packages" "$data/thumbnailers" "$data/applications"
  install -m 755 "$cli" "$bin/floppex-cli"
  install -m 644 "$here/floppex.xml" "$data/mime/packages/floppex.xml"
  for entry in "${entries[@]}"; do
    text=$(<"$here/${entry#*/}") && text=${text//@CLI@/$bin/floppex-cli}
    printf '%s\n' "${text//@TYPES@/$types}" >"$data/$entry"
  done
  echo "desktop: installed $bin/floppex-cli and the C64 types, thumbnailer and entries in $data"
else
  rm -f "$bin/floppex-cli" "$data/mime/packages/floppex.xml" "${entries[@]/#/$data/}"
  echo "desktop: removed $bin/floppex-cli and the C64 types, thumbnailer and entries from $data"
fi
[ ! -d "$data/mime/packages" ] || update-mime-database "$data/mime"
[ ! -d "$data/applications" ] || update-desktop-database "$data/applications"
