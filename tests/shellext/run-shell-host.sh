#!/usr/bin/env bash
# The shell's part under Wine, then its pictures read back. Usage: run-shell-host.sh HOST_EXE SOURCE CLI_EXE
set -uo pipefail
source "$2/scripts/wine-env.sh"
host=$1 source=$2 work="$(dirname "$1")"
rm -f "$work"/pictures.txt "$work"/*.bmp
wine_run "$host" 2>"$work/stderr"
status=$?
grep -v :trace: "$work/stderr" >&2
[ $status = 0 ] && [ -s "$work/pictures.txt" ] || exit 1
# The one start traced found the handlers stored: it looked them up and wrote none of them (the file types are
# written at every start). Wine drops a write of what is stored unseen, so the trace is what shows it.
grep -q 'trace:reg:NtOpenKeyEx .*SystemFileAssociations' "$work/stderr" || { echo "no traced start"; exit 1; }
! grep -E 'trace:reg:NtCreateKey .*(CLSID|SystemFileAssociations|PreviewHandlers)' "$work/stderr" || { echo "written again"; exit 1; }
printf '#!/usr/bin/env bash\nsource "%s"\nwine_run "%s" "$1" "$(winepath -w "$2")"\n' "$source/scripts/wine-env.sh" "$3" >"$work/cli.sh" && chmod +x "$work/cli.sh"
while read -r picture listed side; do
  python3 "$source/tests/picture/picture_test.py" thumbnail "$work/cli.sh" "$work" "$source" "$work/read" \
    "$picture" "$listed" "$side" || { echo "in $picture"; exit 1; }
done <"$work/pictures.txt"
