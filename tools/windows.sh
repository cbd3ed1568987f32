#!/usr/bin/env bash
# The Windows build of Orbitra Table, made on this Debian machine: builds Qt for
# Windows once (cached), cross-builds the program, periodbio and the tests with
# MinGW-w64, runs the tests under wine on Xvfb (the code-page test again under
# other system code pages, the layout test again at each display scale), packs
#   dist/orbitra-table-<version>-windows-x64.zip   (portable: unzip, double-click)
#   dist/orbitra-table-<version>-setup.exe         (NSIS installer, per user)
# then installs, starts, uses and uninstalls both under wine as a user would,
# and times start-up. <version> is MAJOR.MINOR.PATCH.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
source "$root/tools/deps.sh"
WINDOWS_PACKAGES=(g++-mingw-w64-x86-64-posix wine wine64 nsis ninja-build python3 zip unzip
                  xvfb xauth xdotool imagemagick dpkg-dev binutils-mingw-w64-x86-64 ccache)
install_missing "${RUN_PACKAGES[@]}" "${WINDOWS_PACKAGES[@]}"
source "$root/tools/windows/qt.sh"
source "$root/tools/windows/wine.sh"
build=$root/build-windows
export WINEPREFIX=$build/wine

# One run at a time on a checkout: a second would clobber the first's build
# folder, packages and wine prefixes. The lock file names the run holding it.
mkdir -p "$build"
lock=$build/.lock
exec 8<>"$lock"  # descriptor 8: see tools/windows/wine.sh
if ! flock -n 8; then
    echo "Another run of tools/windows.sh is using $build and $root/dist:" \
         "$(cat "$lock" 2>/dev/null). Wait for it to end, or end it, and run this again." >&2
    exit 1
fi
echo "process $$ of $(hostname), since $(date '+%F %T')" >"$lock"

# Each step's time, shown at the end.
steps=() step_started=$SECONDS started=$SECONDS
rm -rf "$build/jobs"

# Parts that run beside the rest, each on a display and in a wine prefix of
# its own (tools/windows/job.sh), in a process group of its own.
declare -A job_pid=()
start_job() {  # NAME COMMAND...
    local name=$1
    shift
    mkdir -p "$build/jobs"
    rm -f "$build/jobs/$name".*
    setsid bash "$root/tools/windows/job.sh" "$build" "$name" \
        bash -c 'started=$SECONDS status=0; "$@" || status=$?
                 echo $((SECONDS - started)) >"$0"; exit $status' \
        "$build/jobs/$name.seconds" "$@" </dev/null >"$build/jobs/$name.log" 2>&1 8>&- &
    job_pid[$name]=$!
}
# Waits for the job $1, shows what it printed and fails when it failed.
finish_job() {
    local name=$1 status=0
    wait "${job_pid[$name]}" || status=$?
    unset "job_pid[$name]"
    echo "-- $name ($(cat "$build/jobs/$name.seconds" 2>/dev/null || echo "?") s, beside the rest)"
    cat "$build/jobs/$name.log"
    [ "$status" = 0 ] || { echo "$name failed" >&2; return 1; }
}

# Runs a command in a process group of its own and waits for it, so that a
# signal to this script ends it at once: bash holds its traps while a command
# runs in the foreground, not while it waits.
run_pid=
run() {
    local status=0
    setsid "$@" 8>&- &
    run_pid=$!
    wait "$run_pid" || status=$?
    run_pid=
    return "$status"
}

# Whatever happens, the command under way, the jobs, the wine server of the
# build's prefix (and every program it runs) and the Xvfb this run started end
# with it.
finish() {
    local status=$? pid line
    stop_qt_step
    [ -z "$run_pid" ] || kill -TERM -- "-$run_pid" 2>/dev/null || true
    for pid in "${job_pid[@]}"; do
        kill -TERM -- "-$pid" 2>/dev/null || true
    done
    for pid in "${job_pid[@]}"; do
        wait "$pid" 2>/dev/null || true
    done
    stop_wine
    # Where the time went, however the run ended.
    if [ ${#steps[@]} -gt 0 ]; then
        steps[-1]+=" $((SECONDS - step_started))"
        echo "Windows build, tests and packages: $((SECONDS - started)) s" \
             "($([ "$status" = 0 ] && echo passed || echo failed))"
        for line in "${steps[@]}"; do
            printf '  %5s s  %s\n' "${line##* }" "${line% *}"
        done
        for line in "$build"/jobs/*.seconds; do
            [ ! -f "$line" ] || printf '  %5s s  %s, beside the rest\n' "$(cat "$line")" \
                "$(basename "$line" .seconds)"
        done
    fi
}
end_with finish

step() {
    [ ${#steps[@]} -eq 0 ] || steps[-1]+=" $((SECONDS - step_started))"
    steps+=("$1")
    step_started=$SECONDS
    echo "== $1"
}

step "Qt for Windows"
ensure_qt_windows

step "Cross-building"
wine_setup "$build"
# One wine session for the whole run (the build runs periodbio under wine too).
start_xvfb
start_wine
# Objects compiled before, in this checkout or another (paths taken relative
# to the checkout), come from ccache's cache (~/.cache/ccache).
export CCACHE_BASEDIR=$root
run cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache \
    -DCMAKE_TOOLCHAIN_FILE="$QT_WINDOWS/lib/cmake/Qt6/qt.toolchain.cmake" \
    -DQT_CHAINLOAD_TOOLCHAIN_FILE="$root/tools/windows/mingw-w64.cmake" \
    -DCMAKE_CROSSCOMPILING_EMULATOR="$build/wine-run" >/dev/null
run cmake --build "$build" -j"$(nproc)"
version=$(cat "$build/windows-version.txt")
echo "Orbitra Table $version"

step "Tests under wine (windows platform, Xvfb)"
# QtTest's output does not reach CTest under wine: the logs of the failed
# tests named (of all but the window tests when none are) follow.
show_failures() {
    local log
    for log in "${@/#/$build/tests/}"; do
        grep -qE '^(FAIL!|QFATAL)' "$log.log" 2>/dev/null && cat "$log.log"
    done
    if [ $# -eq 0 ]; then
        for log in "$build"/tests/*.log; do
            [[ $log == */tst_editor.log || $log == */tst_windows.log ]] ||
                ! grep -qE '^(FAIL!|QFATAL)' "$log" || cat "$log"
        done
    fi
    return 1
}
tests=(env LANG=C.UTF-8 LC_ALL=C.UTF-8 ctest --test-dir "$build" --output-on-failure --timeout 600)
set_dpi 96
# The window test first, alone: its clock check wants the processor on time.
run "${tests[@]}" -R '^tst_windows$' || show_failures tst_windows
# Then the editor's test, which spends much of its time waiting for windows,
# the layout test at each display scale and the windows under High Contrast
# Black run beside the rest; the rest
# yields the processor to them (nice).
start_job editor "${tests[@]}" -R '^tst_editor$'
start_job scales nice bash "$root/tools/windows/scales.sh" "$build"
start_job contrast nice bash "$root/tools/windows/contrast.sh" "$build"
run nice "${tests[@]}" -E '^tst_(editor|windows)$' || show_failures

step "Code pages"
# The data file in the system's single-byte code page, whichever it is: here
# Windows-1251 (Russian) and Windows-1258 (Vietnamese); a double-byte system
# (Japanese, 932) falls back to Windows-1252. periodbio reads a plain table in
# the system's code page: Cyrillic in 1251, Shift-JIS in 932.
for locale in ru_RU.UTF-8 ja_JP.UTF-8 vi_VN.UTF-8; do
    echo "-- code page round trip, LANG=$locale"
    suites=(tst_datafile)
    [ "$locale" = vi_VN.UTF-8 ] || suites+=(tst_periodbio_tables)
    LANG=$locale LC_ALL=$locale run nice ctest --test-dir "$build" --output-on-failure \
        -R "^($(IFS='|'; echo "${suites[*]}"))\$" ||
        show_failures "${suites[@]}"
done

step "Packing"
run nice bash "$root/tools/windows/pack.sh" "$build" "$version"

step "The editor's test, display scales and high contrast"
finish_job editor || show_failures tst_editor
finish_job scales
finish_job contrast

# Alone, as it types and clicks into the program.
step "The packages installed and used under wine"
run bash "$root/tools/windows/blackbox.sh" "$build" "$version"

step "Start-up under wine"
run bash "$root/bench/windows-startup.sh" "$build" 5

ls -l "$root/dist/orbitra-table-$version-windows-x64.zip" "$root/dist/orbitra-table-$version-setup.exe"
