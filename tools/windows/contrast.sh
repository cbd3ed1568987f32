#!/usr/bin/env bash
# The windows under Windows' High Contrast Black system colours, under wine on
# the X display of the caller: the window test's readable and layout checks,
# then the program on the shipped data, iron clicked: on the picture of its
# main window, docs/windows-high-contrast.png, every tile symbol and box value
# stands out from its fill at 4.5:1 or more (tools/contrast.py).
# The colours go into the prefix ORBITRA_WINEPREFIX names: a job's own, made
# afresh for it (tools/windows/job.sh).
#   tools/windows/contrast.sh BUILD
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=$1
source "$root/tools/windows/wine.sh"
export WINEPREFIX=${ORBITRA_WINEPREFIX:?the prefix of a job of its own}
work=$(mktemp -d)
program_pid=
finish() {
    [ -z "$program_pid" ] || kill "$program_pid" 2>/dev/null || true
    rm -rf "$work"
}
end_with finish

# High Contrast Black, as Windows sets it: white text on black, cyan selection,
# yellow links, green disabled text.
colours=(ActiveBorder=255.255.255 ActiveTitle=0.0.0 AppWorkspace=0.0.0 Background=0.0.0
         ButtonAlternateFace=0.0.0 ButtonDkShadow=255.255.255 ButtonFace=0.0.0
         ButtonHilight=255.255.255 ButtonLight=255.255.255 ButtonShadow=255.255.255
         ButtonText=255.255.255 GradientActiveTitle=0.0.0 GradientInactiveTitle=0.0.0
         GrayText=63.242.63 Hilight=26.235.255 HilightText=0.0.0 HotTrackingColor=255.255.0
         InactiveBorder=255.255.255 InactiveTitle=0.0.0 InactiveTitleText=255.255.255
         InfoText=255.255.255 InfoWindow=0.0.0 Menu=0.0.0 MenuBar=0.0.0 MenuHilight=26.235.255
         MenuText=255.255.255 Scrollbar=0.0.0 TitleText=255.255.255 Window=0.0.0
         WindowFrame=255.255.255 WindowText=255.255.255)
{
    printf 'REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Control Panel\\Colors]\r\n'
    for colour in "${colours[@]}"; do
        value=${colour#*=}
        printf '"%s"="%s"\r\n' "${colour%%=*}" "${value//./ }"
    done
    # Windows turns its visual styles off under a contrast theme, and draws every
    # control in the system colours; wine's own theme would stay on.
    printf '\r\n[HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\ThemeManager]\r\n"ThemeActive"="0"\r\n'
} | import_registry

echo "-- readable and layoutRelations under High Contrast Black"
status=0
window_test "$build" "$build/tests/tst_windows-high-contrast.log" readable layoutRelations ||
    status=1
echo "-- the main window under High Contrast Black, iron shown"
picture_of_iron "$build" "$work" 100 "$root/docs/windows-high-contrast.png"
python3 "$root/tools/contrast.py" "$root/docs/windows-high-contrast.png" \
    --positions "$build/positions.tsv" || status=1
exit "$status"
