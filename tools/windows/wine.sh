# Sourced by windows.sh and the scripts it runs: a wine prefix of the build's
# own, the emulator script CMake runs Windows programs with, and an Xvfb display.

mingw_runtime=(/usr/lib/gcc/x86_64-w64-mingw32/*-posix/libstdc++-6.dll
               /usr/lib/gcc/x86_64-w64-mingw32/*-posix/libgcc_s_seh-1.dll
               /usr/x86_64-w64-mingw32/lib/libwinpthread-1.dll)

# Wine without the Mono and Gecko prompts and without menu entries on the host.
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
export WINEDEBUG=${WINEDEBUG:--all}

# Makes `$1/wine` a prefix and `$1/wine-run` the script that runs a Windows
# program there, finding Qt's and MinGW's DLLs.
wine_setup() {
    local build=$1 folder paths=()
    mkdir -p "$build"
    export WINEPREFIX=$build/wine
    for folder in "$QT_WINDOWS/bin" "$(dirname "${mingw_runtime[0]}")" "$(dirname "${mingw_runtime[2]}")"; do
        paths+=("Z:${folder//\//\\}")
    done
    cat >"$build/wine-run" <<RUN
#!/bin/sh
# Runs a Windows program of this build under wine (written by tools/windows.sh).
export WINEPREFIX='$WINEPREFIX' WINEDEBUG='$WINEDEBUG' WINEDLLOVERRIDES='$WINEDLLOVERRIDES'
export WINEPATH='$(IFS=';'; echo "${paths[*]}")'
exec wine "\$@"
RUN
    chmod +x "$build/wine-run"
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
        wineboot -i >/dev/null 2>&1
        wineserver -w
    fi
}

# An X display for the window tests and the check of the packages.
start_xvfb() {
    # Xvfb picks a free display itself and writes its number to the file.
    local numbers tries
    numbers=$(mktemp)
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -noreset -nolisten tcp 3>"$numbers" \
        >/dev/null 2>&1 &
    xvfb_pid=$!
    trap stop_wine EXIT
    for tries in $(seq 100); do
        [ -s "$numbers" ] && break
        kill -0 "$xvfb_pid" 2>/dev/null || break
        sleep 0.1
    done
    [ -s "$numbers" ] || { echo "Xvfb did not start" >&2; rm -f "$numbers"; return 1; }
    export DISPLAY=:$(head -n1 "$numbers")
    rm -f "$numbers"
}

stop_wine() {
    wineserver -k 2>/dev/null || true
    if [ -n "${xvfb_pid:-}" ]; then
        kill "$xvfb_pid" 2>/dev/null || true
        xvfb_pid=
    fi
}
