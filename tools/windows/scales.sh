#!/usr/bin/env bash
# The windows at each display scale Windows offers up to 200 %, under wine on
# the X display of the caller: the layout test (tst_windows layoutRelations) at
# 96, 120, 144, 168 and 192 dots per inch, and at 150 % a picture of the main
# window with iron shown, docs/windows-150.png. The build's prefix is back at
# 96 dots per inch when this ends, however it ends. The prefix is the one
# ORBITRA_WINEPREFIX names, or the build's.
#   tools/windows/scales.sh BUILD
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=$1
source "$root/tools/windows/wine.sh"
export WINEPREFIX=${ORBITRA_WINEPREFIX:-$build/wine}
work=$(mktemp -d)
program_pid=
finish() {
    [ -z "$program_pid" ] || kill "$program_pid" 2>/dev/null || true
    set_dpi 96
    rm -rf "$work"
}
end_with finish

# Every scale is tried, and the picture made, before a failure ends this.
failed=()
for dpi in 96 120 144 168 192; do
    echo "-- layoutRelations at $dpi dots per inch ($((dpi * 100 / 96)) %)"
    set_dpi "$dpi"
    window_test "$build" "$build/tests/tst_windows-$dpi.log" layoutRelations || failed+=("$dpi")
done

echo "-- the main window at 150 %, iron shown"
set_dpi 144
picture_of_iron "$build" "$work" 150 "$root/docs/windows-150.png"
[ ${#failed[@]} -eq 0 ] ||
    { echo "tst_windows layoutRelations failed at ${failed[*]} dots per inch" >&2; exit 1; }
