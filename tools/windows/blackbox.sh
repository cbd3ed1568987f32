#!/usr/bin/env bash
# The Windows packages as a user meets them, under wine on the X display that
# windows.sh started, in a scratch prefix of their own:
#   the installer refusing Windows 8.1; the installer run silently; the
#   program started from its Start-menu shortcut in its own folder, where the
#   seeded data file is; a tile clicked; the installer and the uninstaller
#   refusing to touch anything while the program runs; a record saved in the
#   editor; a reinstall that keeps it; the uninstaller removing exactly what was
#   installed, itself too, and leaving the data; an install carrying over the
#   data file of the earlier layout (the user's roaming data folder), also over
#   an empty period.bio; an upgrade whose data corrects a record the user saved
#   and another, keeping the first and bringing the second; then the portable
#   zip's program from its own folder.
# What wine or the X tools fail to start is started again (helper, in wine.sh)
# and, failing that, reported as their failure, not the program's.
#   tools/windows/blackbox.sh BUILD VERSION
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=$1
version=$2
source "$root/tools/windows/wine.sh"
export WINEPREFIX=$build/wine-blackbox
checks=$build/blackbox
program_pid=
# Whatever happens, the programs this script started end, and its prefix's
# wine server with them.
finish() {
    [ -z "$program_pid" ] || kill "$program_pid" 2>/dev/null || true
    wineserver -k 2>/dev/null || true
}
end_with finish
rm -rf "$WINEPREFIX" "$checks"
mkdir -p "$checks"
fresh_prefix "$WINEPREFIX"
start_wine
# The installer, which asks for Windows 10, sees the version $1 (win10, win81);
# the programs see wine's own default (Windows 7), as in the tests.
installer_sees() {
    helper -q wine reg add "HKCU\\Software\\Wine\\AppDefaults\\$(basename "$setup")" \
        /v Version /d "$1" /f >/dev/null
}
shipped=$build/data/period.bio
stage=$build/stage/orbitra-table-$version
setup=$root/dist/orbitra-table-$version-setup.exe
user=$WINEPREFIX/drive_c/users/$(whoami)
program=$user/AppData/Local/Programs/Orbitra\ Table
program_errors=$checks/program-errors.txt
old_data=$user/AppData/Roaming/Orbitra\ Table
shortcut="$user/AppData/Roaming/Microsoft/Windows/Start Menu/Programs/Orbitra Table.lnk"
uninstall_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\OrbitraTable'
installer_sees win10

fail() {
    echo "blackbox: $*" >&2
    exit 1
}
# The centre of control $2 of window $1 and that window's client height, as
# place_of prints them.
place() {
    place_of "$build" "$1" "$2" || fail "the build's positions.tsv does not place $1/$2"
}
# Clicks the Fe tile of the main window and checks that the detail panel
# filled in.
click_iron() {
    local at x y client
    at=$(place main Fe)
    read -r x y client <<<"$at"
    click_shows "$main" "$client" "$x" "$y" 700x120+0+0 "$checks/$1" ||
        fail "$1: a click on Fe showed nothing in the detail panel"
}
# Starts orbitra-table.exe ($2) in the folder $1, as Explorer does; waits for
# its main window, whose id it leaves in `main`.
start_program() {
    start_window "$1" "Periodic Table" wine "$2" || fail "the program showed no main window"
    main=$window
}
# Ends the program started last and waits until it is gone, its mark with it.
stop_program() {
    kill "$program_pid" 2>/dev/null || true
    { wait "$program_pid" || true; } 2>/dev/null
    program_pid=
}
# Runs a Windows program silently under wine; prints its exit code.
exit_code() {
    local code=0
    helper -q wine "$@" >/dev/null || code=$?
    echo "$code"
}
# The uninstaller run silently as a deployment tool runs it: as the uninstall
# entry's QuietUninstallString says, and waited for.
uninstall_code() {
    exit_code "$program/uninstall.exe" /S
}
# Every file of the program folder, the shortcut and the uninstall entry, as
# one text whose change shows any change to them.
installed_state() {
    (cd "$program" && find . -type f -print0 | LC_ALL=C sort -z | xargs -0 -r sha256sum)
    if [ -e "$shortcut" ]; then sha256sum <"$shortcut"; else echo "no shortcut"; fi
    helper wine reg query "$uninstall_key" 2>&1 | tr -d '\r' || true
}
# Checks that the program folder holds the staged files, the uninstaller, the
# base of the data's upgrades and the extra files named, and nothing else.
check_installed() {
    local name expected
    expected=$( (cd "$stage" && find . -type f ! -path ./period.bio ! -path ./period.bak
                 for name in ./uninstall.exe ./base/period.bio ./base/period.bak "$@"; do
                     echo "$name"
                 done) | LC_ALL=C sort)
    diff <(echo "$expected") <(cd "$program" && find . -type f | LC_ALL=C sort) >&2 ||
        fail "the program folder does not hold what was installed (< expected, > found)"
    (cd "$stage" && find . -type f ! -path ./period.bio ! -path ./period.bak -print0) |
        while IFS= read -r -d '' name; do
            cmp -s "$stage/$name" "$program/$name" || fail "installed $name differs from the package's"
        done
}
# Checks that the data file $1 (of the program folder unless a path) is $2.
check_data() {
    local file=$1
    [[ $file == /* ]] || file=$program/$file
    cmp -s "$file" "$2" || fail "$3"
}

echo "-- installer on Windows 8.1"
installer_sees win81
code=$(exit_code "$setup" /S)
[ "$code" = 4 ] || fail "the installer ended with $code on Windows 8.1, not 4"
[ ! -e "$program" ] || fail "the installer refused on Windows 8.1 made $program"
installer_sees win10

echo "-- installer, silent"
[ "$(exit_code "$setup" /S)" = 0 ] || fail "the installer failed"
check_installed ./period.bio ./period.bak
check_data period.bio "$shipped" "the program folder got no fresh period.bio"
check_data period.bak "$shipped" "the program folder got no fresh period.bak"
[ ! -e "$old_data" ] || fail "the installer made the old data folder $old_data"
helper wine reg query "$uninstall_key" | tr -d '\r' >"$checks/uninstall-entry.txt"
for value in "DisplayName.*Orbitra Table" "DisplayVersion.*$version\$" "Publisher" \
             "DisplayIcon.*orbitra-table.exe" "QuietUninstallString.*uninstall.exe\" /S"; do
    grep -q "$value" "$checks/uninstall-entry.txt" || fail "uninstall entry lacks $value"
done
IFS=$'\t' read -r target workdir < <(python3 "$root/tools/windows/shortcut.py" "$shortcut")
windows_program=$(helper winepath -w "$program")
[ "$target" = "$windows_program\\orbitra-table.exe" ] || fail "shortcut target $target"
[ "$workdir" = "$windows_program" ] || fail "shortcut folder $workdir"

echo "-- the program from its shortcut, in its own folder"
start_program "$(helper winepath -u "$workdir")" "$target"
click_iron installed

echo "-- installer and uninstaller while the program runs"
installed_state >"$checks/state-before.txt"
# Both end with exit code 2, which says the program was running.
code=$(exit_code "$setup" /S)
[ "$code" = 2 ] || fail "the installer ended with $code while the program ran"
code=$(uninstall_code)
[ "$code" = 2 ] || fail "the uninstaller ended with $code while the program ran"
installed_state >"$checks/state-after.txt"
diff "$checks/state-before.txt" "$checks/state-after.txt" >&2 ||
    fail "the installer or uninstaller changed the installation while the program ran"

echo "-- a record saved in the editor"
helper import -window "$main" "$checks/main-window.png"
helper xdotool key --window "$main" alt+e
editor=$(window_named "Edit data") || fail "Edit opened no editor"
# The editor's record number box, then after typing its Save.
number_box=$(place Edit Text1)
save=$(place Edit Save)
read -r x y client <<<"$number_box"
click_in "$editor" "$client" "$x" "$y"
sleep 0.5
# Over whatever the box holds: the "e" of Alt+E sometimes reaches it too.
helper -q xdotool key ctrl+a  # (xdotool complains of Xvfb's focus)
helper -q xdotool type --delay 50 "26"
helper -q xdotool key alt+r
sleep 0.5
read -r x y client <<<"$save"
click_in "$editor" "$client" "$x" "$y"
for tries in $(seq 100); do
    cmp -s "$shipped" "$program/period.bio" || break
    sleep 0.1
done
python3 - "$shipped" "$program/period.bio" <<'PY' || fail "the save did not write record 26 alone"
import sys
before, after = (open(p, "rb").read() for p in sys.argv[1:3])
start = 25 * 177
assert len(after) == len(before), "the file changed its length"
assert after[:start] == before[:start] and after[start + 177:] == before[start + 177:], \
    "bytes outside record 26 changed"
assert after[start:start + 177] == b" " * 175 + b"\r\n", after[start:start + 177]
PY
cp "$program/period.bio" "$checks/saved.bio"
stop_program

echo "-- reinstall, silent"
[ "$(exit_code "$setup" /S)" = 0 ] || fail "the reinstall failed once the program had ended"
check_installed ./period.bio ./period.bak
check_data period.bio "$checks/saved.bio" "the reinstall replaced the saved period.bio"
check_data period.bak "$shipped" "the reinstall changed period.bak"

echo "-- uninstaller, silent"
echo "element;notes" >"$program/mine.csv"  # a file of the user's
[ "$(uninstall_code)" = 0 ] || fail "the uninstaller failed once the program had ended"
[ "$(cd "$program" && find . | LC_ALL=C sort | tr '\n' ' ')" = \
    ". ./base ./base/period.bak ./base/period.bio ./mine.csv ./period.bak ./period.bio " ] ||
    fail "the uninstaller left or took other files: $(cd "$program" && find . -type f)"
check_data period.bio "$checks/saved.bio" "the uninstaller changed the saved period.bio"
check_data period.bak "$shipped" "the uninstaller changed period.bak"
[ ! -e "$shortcut" ] || fail "the shortcut is still there"
! helper -q wine reg query "$uninstall_key" >/dev/null || fail "the uninstall entry is still there"

echo "-- install over the earlier layout, whose data is in the roaming folder"
# The earlier layout: the program in its folder, the data in $old_data.
rm -f "$program"/{mine.csv,period.bio,period.bak}
mkdir -p "$old_data"
cp "$checks/saved.bio" "$old_data/period.bio"
python3 - "$shipped" "$old_data/period.bak" <<'PY'  # a backup unlike any other file here
import sys
data = bytearray(open(sys.argv[1], "rb").read())
data[177:177 + 175] = b"-" * 175
open(sys.argv[2], "wb").write(data)
PY
cp "$old_data/period.bak" "$checks/old.bak"
# A backup that cannot be copied (here a folder of that name) stops the install
# before it changes anything.
mv "$old_data/period.bak" "$checks/old.bak.file"
mkdir "$old_data/period.bak"
installed_state >"$checks/state-before.txt"
[ "$(exit_code "$setup" /S)" = 3 ] || fail "an uncopyable period.bak did not stop the install"
installed_state >"$checks/state-after.txt"
diff "$checks/state-before.txt" "$checks/state-after.txt" >&2 ||
    fail "the install stopped for an uncopyable period.bak changed the installation"
rmdir "$old_data/period.bak"
mv "$checks/old.bak.file" "$old_data/period.bak"
[ "$(exit_code "$setup" /S)" = 0 ] || fail "the install over the earlier layout failed"
check_installed ./period.bio ./period.bak
check_data period.bio "$checks/saved.bio" "the earlier layout's period.bio did not come across"
check_data period.bak "$checks/old.bak" "the earlier layout's period.bak did not come across"
check_data "$old_data/period.bio" "$checks/saved.bio" "the old data folder's period.bio changed"
check_data "$old_data/period.bak" "$checks/old.bak" "the old data folder's period.bak changed"
# From now on the program folder's data file is the one: another install
# leaves it, whatever the old folder holds.
cp "$shipped" "$old_data/period.bio"
[ "$(exit_code "$setup" /S)" = 0 ] || fail "the second install over the earlier layout failed"
check_data period.bio "$checks/saved.bio" "an install took the old folder's period.bio again"

echo "-- an empty period.bio left by an earlier install, the saved one in the old folder"
: >"$program/period.bio"
python3 - "$shipped" "$old_data/period.bio" <<'PY'  # Fe's record saved with another name
import sys
data = bytearray(open(sys.argv[1], "rb").read())
data[25 * 177:25 * 177 + 13] = b"Ferrum       "
open(sys.argv[2], "wb").write(data)
PY
[ "$(exit_code "$setup" /S)" = 0 ] || fail "the install over an empty period.bio failed"
check_data period.bio "$old_data/period.bio" "the install kept the empty period.bio"
start_program "$program" orbitra-table.exe
click_iron saved
changed=$(compare -metric AE "$checks/installed-after.png" "$checks/saved-after.png" null: 2>&1 || true)
# "Ferrum" for "Iron" changes some 50 pixels.
[ "${changed%% *}" -gt 20 ] || fail "the program shows the shipped record of Fe, not the saved one"
stop_program

echo "-- an upgrade whose data corrects Fe, which the user saved, and O, which they did not"
cp "$checks/saved.bio" "$program/period.bio" && cp "$shipped" "$program/period.bak"
check_data base/period.bio "$shipped" "the base is not the shipped period.bio"
corrected=$checks/corrected
rm -rf "$corrected" && cp -r "$stage" "$corrected"
python3 - "$shipped" "$corrected/period.bio" "$checks/saved.bio" "$checks/merged.bio" <<'PY'
import sys
shipped, corrected, saved, merged = sys.argv[1:5]
data = bytearray(open(shipped, "rb").read())
for record in (8, 26):  # a melting point corrected in each
    start = (record - 1) * 177 + 25
    data[start:start + 10] = b"-1.0      "
open(corrected, "wb").write(data)
mine = open(saved, "rb").read()
data[25 * 177:26 * 177] = mine[25 * 177:26 * 177]
open(merged, "wb").write(data)
PY
cp "$corrected/period.bio" "$corrected/period.bak"
python3 "$root/tools/windows/nsis-lists.py" "$corrected" "$checks/install.nsh" "$checks/uninstall.nsh"
# The installer's own name, which wine's Windows version for it is set by.
upgrade=$checks/upgrade/$(basename "$setup")
mkdir -p "$(dirname "$upgrade")"
makensis -V2 -DVERSION="$version" -DSTAGE="$corrected" -DICON="$build/flask.ico" \
    -DINSTALL_FILES="$checks/install.nsh" -DUNINSTALL_FILES="$checks/uninstall.nsh" \
    -DUNINSTALLER="$build/uninstall-$version.exe" -DOUTFILE="$upgrade" \
    -DUNCOMPRESSED "$root/packaging/windows/installer.nsi"
code=$(exit_code "$upgrade" /S)
[ "$code" = 0 ] || fail "the upgrade's install ended with exit code $code"
check_data period.bio "$checks/merged.bio" "the upgrade did not keep Fe as saved and bring O's correction"
check_data period.bak "$corrected/period.bak" "the upgrade did not bring period.bak's corrections"
check_data base/period.bio "$corrected/period.bio" "the upgrade did not move the base on"

echo "-- the portable zip, from its own folder"
portable=$checks/portable
unzip -q "$root/dist/orbitra-table-$version-windows-x64.zip" -d "$portable"
folder=$portable/orbitra-table-$version
start_program "$folder" orbitra-table.exe
click_iron portable
cmp "$folder/period.bio" "$shipped" || fail "the portable data file changed"
stop_program
echo "blackbox: Windows 8.1 refusal, installer, shortcut, tile, running-program refusal," \
     "editor save, reinstall, uninstaller, earlier-layout carry-over (over an empty data file too)," \
     "upgrade merging corrected data and zip all as expected"
