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

# The window test as CTest runs it: its program, folder and environment.
test=$(cd "$build" && ctest --show-only=json-v1 -R '^tst_windows$' | python3 -c '
import json, sys
test = json.load(sys.stdin)["tests"][0]
properties = {p["name"]: p["value"] for p in test.get("properties", [])}
print("\t".join([test["command"][1], properties.get("WORKING_DIRECTORY", ".")]
                + properties.get("ENVIRONMENT", [])))')
IFS=$'\t' read -r -a test <<<"$test"

# Every scale is tried, and the picture made, before a failure ends this.
failed=()
for dpi in 96 120 144 168 192; do
    echo "-- layoutRelations at $dpi dots per inch ($((dpi * 100 / 96)) %)"
    set_dpi "$dpi"
    log=$build/tests/tst_windows-$dpi.log
    rm -f "$log"
    if (cd "${test[1]}" && env "${test[@]:2}" timeout 300 "$build/wine-run" "${test[0]}" layoutRelations \
            -o "$(winepath -w "$log"),txt" </dev/null >/dev/null 2>&1); then
        grep -E '^Totals' "$log"
    else
        cat "$log" 2>/dev/null || echo "tst_windows did not run"
        failed+=("$dpi")
    fi
done

echo "-- the main window at 150 %, iron shown"
set_dpi 144
cp "$build/data/period.bio" "$work/"
(cd "$work" && exec "$build/wine-run" "$build/orbitra-table.exe") >/dev/null 2>&1 &
program_pid=$!
main=$(window_named "Periodic Table")
eval "$(xdotool getwindowgeometry --shell "$main")"
# Laid out for 96 dots per inch, the client area is 409 pixels high; scaled, the
# window must have grown with it, or the scale never reached the program.
[ "$HEIGHT" -ge $((409 * 3 / 2)) ] ||
    { echo "the main window is $HEIGHT pixels high at 150 %, as if unscaled" >&2; exit 1; }
client=$((409 * 3 / 2))
# The Fe tile, at (204, 260) of the client area at 100 %; the detail panel
# fills in once the click has been handled.
click_shows "$main" "$client" 306 390 1050x180+0+0 "$work/click" ||
    { echo "a click on Fe at 150 % showed nothing" >&2; exit 1; }
# The window's inside, 714 by 426 pixels at 100 %, without the frame wine
# draws round it (even on its sides and bottom); without the time stamps
# ImageMagick adds, the same picture makes the same file.
inside_width=$((714 * 3 / 2)) inside_height=$((426 * 3 / 2))
border=$(((WIDTH - inside_width) / 2))
import -window "$main" -crop "${inside_width}x$inside_height+$border+$((HEIGHT - inside_height - border))" \
    -strip -define png:exclude-chunks=date,time "$root/docs/windows-150.png"
echo "$root/docs/windows-150.png: the inside of a ${WIDTH}x$HEIGHT window"
[ ${#failed[@]} -eq 0 ] ||
    { echo "tst_windows layoutRelations failed at ${failed[*]} dots per inch" >&2; exit 1; }
