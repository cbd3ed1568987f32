#!/usr/bin/env bash
# The Windows packages as a user meets them, under wine on the X display that
# windows.sh started: the installer run silently into a scratch prefix, the
# program started from its shortcut, a tile clicked, a record saved in the
# editor, the uninstaller; then the portable zip's program from its own folder.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=$1
version=$2
source "$root/tools/windows/wine.sh"
export WINEPREFIX=$build/wine-blackbox
rm -rf "$WINEPREFIX" "$build/blackbox"
mkdir -p "$build/blackbox"
wineboot -i >/dev/null 2>&1
wineserver -w
shipped=$build/data/period.bio

fail() {
    echo "blackbox: $*" >&2
    exit 1
}
# Waits for a visible window titled exactly $1; prints its id.
window_named() {
    local id tries
    for tries in $(seq 300); do
        id=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n1) || true
        [ -n "$id" ] && { echo "$id"; return 0; }
        sleep 0.1
    done
    fail "no window \"$1\" appeared"
}
# Clicks the point (x, y), in pixels of the client area, of window $1 whose
# client area (below the menu bar) is $2 pixels high.
click_in() {
    local id=$1 client_height=$2 x=$3 y=$4 X Y WIDTH HEIGHT SCREEN WINDOW
    eval "$(xdotool getwindowgeometry --shell "$id")"
    xdotool mousemove $((X + x)) $((Y + HEIGHT - client_height + y)) click 1
    sleep 0.5
}
# The main window's detail panel, as a picture.
detail_panel() {
    import -window "$1" -crop 700x120+0+0 "$2"
}
# Clicks the Fe tile of window $1 and checks that the detail panel changed.
click_iron() {
    local id=$1 name=$2
    detail_panel "$id" "$build/blackbox/$name-before.png"
    # The Fe tile: 2880, 3720 twips, 24 pixels square; the client area is 409 high.
    click_in "$id" 409 204 260
    detail_panel "$id" "$build/blackbox/$name-after.png"
    local changed
    changed=$(compare -metric AE "$build/blackbox/$name-before.png" \
              "$build/blackbox/$name-after.png" null: 2>&1 || true)
    [ "${changed%% *}" -gt 100 ] || fail "$name: a click on Fe showed nothing ($changed pixels)"
}

echo "-- installer, silent"
setup=$root/dist/orbitra-table-$version-setup.exe
wine "$setup" /S
wineserver -w
user=$WINEPREFIX/drive_c/users/$(whoami)
program=$user/AppData/Local/Programs/Orbitra\ Table
data=$user/AppData/Roaming/Orbitra\ Table
[ -f "$program/orbitra-table.exe" ] || fail "nothing installed in $program"
cmp "$data/period.bio" "$shipped" && cmp "$data/period.bak" "$shipped" ||
    fail "the data folder was not seeded"
wine reg query 'HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\OrbitraTable' |
    tr -d '\r' >"$build/blackbox/uninstall-entry.txt"
for value in "DisplayName.*Orbitra Table" "DisplayVersion.*$version" "Publisher" \
             "DisplayIcon.*orbitra-table.exe"; do
    grep -q "$value" "$build/blackbox/uninstall-entry.txt" || fail "uninstall entry lacks $value"
done
shortcut="$user/AppData/Roaming/Microsoft/Windows/Start Menu/Programs/Orbitra Table.lnk"
IFS=$'\t' read -r target workdir < <(python3 "$root/tools/windows/shortcut.py" "$shortcut")
[[ "$target" == *'\Programs\Orbitra Table\orbitra-table.exe' ]] || fail "shortcut target $target"
[[ "$workdir" == *'\AppData\Roaming\Orbitra Table' ]] || fail "shortcut folder $workdir"

echo "-- the program from its shortcut"
(cd "$(winepath -u "$workdir")" && exec wine "$target") &
disown  # ended by wineserver -k below, without a word from the shell
main=$(window_named "Periodic Table")
click_iron "$main" installed
import -window "$main" "$build/blackbox/main-window.png"
xdotool key --window "$main" alt+e
editor=$(window_named "Edit data")
# Record number box and Save of the editor, whose client area is 261 high.
click_in "$editor" 261 320 204
xdotool type --delay 50 "26" 2>/dev/null  # (xdotool complains of Xvfb's focus)
xdotool key alt+r 2>/dev/null
click_in "$editor" 261 436 204
python3 - "$shipped" "$data/period.bio" <<'PY' || fail "the save did not write record 26 alone"
import sys
before, after = (open(p, "rb").read() for p in sys.argv[1:3])
start = 25 * 177
assert len(after) == len(before), "the file changed its length"
assert after[:start] == before[:start] and after[start + 177:] == before[start + 177:], \
    "bytes outside record 26 changed"
assert after[start:start + 177] == b" " * 175 + b"\r\n", after[start:start + 177]
PY
cp "$data/period.bio" "$build/blackbox/saved.bio"
wineserver -k

echo "-- uninstaller, silent"
wine "$program/uninstall.exe" /S
wineserver -w
for tries in $(seq 100); do
    [ -e "$program/orbitra-table.exe" ] || break
    sleep 0.1
done
[ ! -e "$program" ] || fail "the program folder is still there: $(ls "$program")"
[ ! -e "$shortcut" ] || fail "the shortcut is still there"
! wine reg query 'HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\OrbitraTable' \
    >/dev/null 2>&1 || fail "the uninstall entry is still there"
cmp "$data/period.bio" "$build/blackbox/saved.bio" || fail "the data folder lost the saved record"

echo "-- the portable zip, from its own folder"
portable=$build/blackbox/portable
unzip -q "$root/dist/orbitra-table-$version-windows-x64.zip" -d "$portable"
folder=$portable/orbitra-table-$version
(cd "$folder" && exec wine orbitra-table.exe) &
disown
main=$(window_named "Periodic Table")
click_iron "$main" portable
cmp "$folder/period.bio" "$shipped" || fail "the portable data file changed"
wineserver -k
echo "blackbox: installer, shortcut, tile, editor save, uninstaller and zip all as expected"
