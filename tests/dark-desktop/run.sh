#!/bin/sh
# Runs a window test on an X display of its own (Xvfb) under a dark desktop
# with a font of its own, as qt6ct sets them (qt6ct/qt6ct.conf here):
#   run.sh TEST_PROGRAM [TEST_FUNCTIONS...]
# Exits 77 (skipped) where qt6ct or xvfb-run is not installed. When Xvfb itself
# fails to start, it tries again and then says so: that is no fault of the test.
here=$(cd "$(dirname "$0")" && pwd)
if ! ls /usr/lib/*/qt6/plugins/platformthemes/libqt6ct.so >/dev/null 2>&1 ||
   ! command -v xvfb-run >/dev/null; then
    echo "qt6ct or xvfb-run is not installed: skipped"
    exit 77
fi
export QT_QPA_PLATFORM=xcb QT_QPA_PLATFORMTHEME=qt6ct XDG_CONFIG_HOME=$here
errors=$(mktemp)
trap 'rm -f "$errors"' EXIT
for attempt in 1 2 3; do
    status=0
    xvfb-run -a -s "-screen 0 1600x1200x24 -nolisten tcp" "$@" 2>"$errors" || status=$?
    grep -q 'Xvfb failed to start' "$errors" || { cat "$errors" >&2; exit "$status"; }
    sleep 1
done
echo "Xvfb failed to start three times; the test did not run." >&2
exit 1
