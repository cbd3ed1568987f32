#!/bin/sh
# The program on a dark desktop with a font of its own, as qt6ct sets them
# (qt6ct/qt6ct.conf here), on an X display of its own (Xvfb):
#   run.sh SCREENSHOTS TST_WINDOWS DATAFILE OUTDIR POSITIONS
# Pictures of the windows with iron shown, made with the desktop's scheme and
# without it (offscreen): in the first every tile symbol and box value stands
# out from its fill at 4.5:1 or more, and the main window's inside is the
# same in both (tools/contrast.py). Then the window test's readable and
# layout checks run under the desktop's scheme and font.
# Exits 77 (skipped) where qt6ct or xvfb-run is not installed. When Xvfb itself
# fails to start, it tries again and then says so: that is no fault of the program.
set -u
here=$(cd "$(dirname "$0")" && pwd)
screenshots=$1 test=$2 data=$3 out=$4 positions=$5
if ! ls /usr/lib/*/qt6/plugins/platformthemes/libqt6ct.so >/dev/null 2>&1 ||
   ! command -v xvfb-run >/dev/null; then
    echo "qt6ct or xvfb-run is not installed: skipped"
    exit 77
fi
rm -rf "$out" && mkdir -p "$out"
QT_QPA_PLATFORM=offscreen "$screenshots" "$data" "$out/plain" || exit 1

# Runs $@ on Xvfb under the desktop's scheme and font.
on_dark_desktop() {
    for attempt in 1 2 3; do
        status=0
        QT_QPA_PLATFORM=xcb QT_QPA_PLATFORMTHEME=qt6ct XDG_CONFIG_HOME=$here \
            xvfb-run -a -s "-screen 0 1600x1200x24 -nolisten tcp" "$@" 2>"$out/errors" || status=$?
        grep -q 'Xvfb failed to start' "$out/errors" || { cat "$out/errors" >&2; return "$status"; }
        sleep 1
    done
    echo "Xvfb failed to start three times; nothing was checked." >&2
    return 1
}
on_dark_desktop "$screenshots" "$data" "$out/dark" &&
    python3 "$here/../../tools/contrast.py" "$out/dark/main-window.png" \
        --positions "$positions" --same-as "$out/plain/main-window.png" &&
    on_dark_desktop "$test" readable layoutRelations
