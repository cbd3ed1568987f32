# Sourced by windows.sh and the scripts it runs: wine prefixes of the build's
# own, the emulator script CMake runs Windows programs with, the system DPI of
# a prefix, an Xvfb display, ending what a script started, and running the
# helpers that look at the program (wine's own programs, the X tools) so that
# their hiccups are not taken for the program's faults.
#
# File descriptors 8 and 9 are the lock files of the Windows scripts: windows.sh
# holds 8, on build-windows/.lock, for its whole run (one run at a time on a
# checkout); qt.sh holds 9, on the Qt cache's lock, while it builds Qt for
# Windows (one build at a time for the cache). A lock stays held while any
# process keeps its descriptor open, and a child inherits the descriptors, so
# whatever may outlive the step that starts it (wine's server and services,
# Xvfb, a job in a process group of its own) is started with "8>&- 9>&-":
# otherwise the lock would outlast the run, and the next run would wait on it
# or refuse to start. Keep 8 and 9 for these locks and nothing else.

mingw_runtime=(/usr/lib/gcc/x86_64-w64-mingw32/*-posix/libstdc++-6.dll
               /usr/lib/gcc/x86_64-w64-mingw32/*-posix/libgcc_s_seh-1.dll
               /usr/x86_64-w64-mingw32/lib/libwinpthread-1.dll)

# Wine without the Mono and Gecko prompts and without menu entries on the host.
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
export WINEDEBUG=${WINEDEBUG:--all}

# Runs $1 when the script ends, however it ends: an interrupt or a termination
# ends the script with the usual status, and the EXIT trap runs then too; so
# does a helper that could not be started (status 69, see helper).
end_with() {
    trap "$1" EXIT
    trap 'exit 130' INT
    trap 'exit 143' TERM
    trap 'exit 69' USR1
}

# Wine and the X tools now and then fail to start a program, or to reach their
# server, for reasons of their own: wine's "Application could not be started,
# or no application associated with the specified file. ShellExecuteEx failed:
# Internal error", a wine that cannot load its own libraries or reach its
# server, an X client that cannot open the display. What they say then:
start_failures='Application could not be started|ShellExecuteEx failed: Internal error|wine: could not (load|exec|connect)|wine client error|wine: failed to start|Can.t open display|[Uu]nable to open X server|cannot open display'

# Runs the helper "$@" (wine and the Windows programs a check asks, winepath,
# the X tools, the test programs) and returns its exit status, its output
# passing through (with -q first, its error output goes nowhere). A helper that
# failed to start is run again, five times in all, a few seconds apart; then
# the script ends with status 69, saying that the helper failed, not the
# program. A helper that ran gives its answer, a refusal too (reg saying that a
# key is absent, a test that failed): only a failure to start is retried.
helper() {
    local quiet=false errors status
    [ "$1" != -q ] || { quiet=true; shift; }
    errors=$(mktemp)
    until_started helper_attempt "$@" || helper_failed "$*" "$errors"
    $quiet || cat "$errors" >&2
    rm -f "$errors"
    return "$status"
}
# One run of helper's "$@", its error output into $errors and its status into
# $status; fails when it failed to start.
helper_attempt() {
    status=0
    "$@" 2>"$errors" || status=$?
    ! grep -qE "$start_failures" "$errors"
}
# The retry of every start here: runs the attempt "$@" up to five times, 1, 2,
# 3 and 4 seconds apart, until it succeeds. An attempt succeeds when what it
# started ran, whatever its answer (which it leaves for its caller), and fails
# only when it could not start it. Fails when no attempt succeeded.
until_started() {
    local tries
    for tries in 1 2 3 4 5; do
        "$@" && return 0
        [ "$tries" = 5 ] || sleep "$tries"
    done
    return 1
}
# Ends the script (and the script that sourced this, from a subshell too):
# the helper "$1" could not be started, for the reason in the file $2.
helper_failed() {
    echo "Could not start \"$1\" five times, a failure of wine or of the X tools," \
         "not of Orbitra Table: $(tr -s '\r\n' '  ' <"$2")" >&2
    rm -f "$2"
    kill -USR1 $$ 2>/dev/null
    exit 69
}

# Makes $1 a new wine prefix, as a copy of a pristine one kept beside it: wineboot
# takes a quarter of a minute or more, a copy about a second. The copy shares
# the pristine prefix's DLLs and programs, which wine only reads (700 MB of its
# 730), and has its own registry and everything else. The pristine prefix is
# made again when wine's version changes.
fresh_prefix() {
    local prefix=$1 pristine wine_version
    pristine=$(dirname "$prefix")/wine-pristine
    wine_version="$(wine --version 2>/dev/null), unmanaged windows"
    if [ "$(cat "$pristine/.wine-version" 2>/dev/null)" != "$wine_version" ]; then
        rm -rf "$pristine" "$pristine.new"
        # The wine server of the new prefix ends when wineboot is done.
        WINEPREFIX=$pristine.new helper -q wineboot -i >/dev/null 8>&- 9>&-
        # Xvfb has no window manager: wine would wait a second for one at every
        # window it hides or destroys (the window tests took ten times as long).
        WINEPREFIX=$pristine.new helper -q wine reg add 'HKCU\Software\Wine\X11 Driver' \
            /v Managed /d N /f >/dev/null 8>&- 9>&-
        WINEPREFIX=$pristine.new wineserver -w
        echo "$wine_version" >"$pristine.new/.wine-version"
        mv "$pristine.new" "$pristine"
    fi
    rm -rf "$prefix"
    cp -al "$pristine" "$prefix"
    local file
    find "$prefix" -type f ! \( -iname '*.dll' -o -iname '*.exe' -o -iname '*.drv' -o \
        -iname '*.sys' -o -iname '*.ocx' -o -iname '*.acm' -o -iname '*.cpl' -o -iname '*.tlb' \) \
        -print0 | while IFS= read -r -d '' file; do
            cp -p "$file" "$file.copy" && mv -f "$file.copy" "$file"
        done
}

# Makes `$1/wine` a fresh prefix (nothing a run before left there counts) and
# `$1/wine-run` the script that runs a Windows program there, finding Qt's and
# MinGW's DLLs.
wine_setup() {
    local build=$1 folder paths=()
    mkdir -p "$build"
    export WINEPREFIX=$build/wine
    for folder in "$QT_WINDOWS/bin" "$(dirname "${mingw_runtime[0]}")" "$(dirname "${mingw_runtime[2]}")"; do
        paths+=("Z:${folder//\//\\}")
    done
    cat >"$build/wine-run" <<RUN
#!/bin/bash
# Runs a Windows program of this build under wine (written by tools/windows.sh),
# in the build's prefix or the one ORBITRA_WINEPREFIX names. Where wine fails
# to start it, it is started again, five times in all; then this says so.
# With ORBITRA_WINE_ONCE set, it becomes wine, started once: its caller may
# then end it and tries again itself (start_window).
export WINEPREFIX="\${ORBITRA_WINEPREFIX:-$WINEPREFIX}"
export WINEDEBUG='$WINEDEBUG' WINEDLLOVERRIDES='$WINEDLLOVERRIDES'
export WINEPATH='$(IFS=';'; echo "${paths[*]}")'
[ -z "\${ORBITRA_WINE_ONCE:-}" ] || exec wine "\$@"
source '$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)/wine.sh'
errors=\$(mktemp)
trap 'rm -f "\$errors"' EXIT
# Wine's output passes through; its error output is kept to be looked at too.
attempt() {
    status=0
    (wine "\$@" 2>&1 1>&3 3>&- | tee "\$errors" >&2; exit "\${PIPESTATUS[0]}") 3>&1 || status=\$?
    ! grep -qE "\$start_failures" "\$errors"
}
until_started attempt "\$@" ||
    { echo "wine could not start \$1 five times, a failure of wine, not of the program" >&2; exit 69; }
exit "\$status"
RUN
    chmod +x "$build/wine-run"
    fresh_prefix "$WINEPREFIX"
}

# Sets the system DPI of the prefix $WINEPREFIX to $1 (96 is 100 %), where
# wine reads it: the user's desktop settings and the current hardware profile.
# Programs started afterwards see it.
set_dpi() {
    printf 'REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Control Panel\\Desktop]\r\n"LogPixels"=dword:%08x\r\n\r\n[HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\Hardware Profiles\\Current\\Software\\Fonts]\r\n"LogPixels"=dword:%08x\r\n' \
        "$1" "$1" | import_registry
}

# Imports the registry file read from standard input (REGEDIT4, CR LF line
# ends) into the prefix $WINEPREFIX; programs started afterwards see it.
import_registry() {
    local file
    file=$(mktemp --suffix=.reg)
    cat >"$file"
    helper -q wine regedit /S "$(helper -q winepath -w "$file")" >/dev/null
    rm -f "$file"
}

# Starts the wine server of $WINEPREFIX, to stay until stop_wine, with wine's
# own services and desktop on $DISPLAY, their output going nowhere. Otherwise
# the first program of a session starts them with its own output, and whoever
# reads that (CTest, Ninja making the data file with periodbio, a pipe) waits
# for them to end too: a few seconds after the last program, or never while
# the server stays. Neither keeps the caller's lock files (8, 9) open.
start_wine() {
    # The server opens every file for the programs; run by root it keeps to the
    # files' modes all the same, as Windows keeps to a read-only file.
    local as_user=()
    [ "$(id -u)" -ne 0 ] || as_user=(setpriv --bounding-set=-dac_override,-dac_read_search)
    "${as_user[@]}" wineserver -p </dev/null >/dev/null 2>&1 8>&- 9>&-
    helper -q wine rundll32.exe user32.dll,GetDesktopWindow </dev/null >/dev/null 8>&- 9>&-
}

# An X display for the window tests and the check of the packages, large
# enough for the main window at 200 % (1428 by 852 pixels); stop_wine ends it.
start_xvfb() {
    # Xvfb picks a free display itself and writes its number to the file. It
    # keeps none of the caller's lock files open (8, 9). One that does not
    # start is started again, five times in all.
    local numbers errors
    numbers=$(mktemp)
    errors=$(mktemp)
    until_started xvfb_attempt || { rm -f "$numbers"; helper_failed Xvfb "$errors"; }
    export DISPLAY=:$(head -n1 "$numbers")
    rm -f "$numbers" "$errors"
}

# One start of Xvfb for start_xvfb, which gives it the files $numbers and
# $errors: waits up to ten seconds for the display's number; fails when none
# came.
xvfb_attempt() {
    local tries
    Xvfb -displayfd 3 -screen 0 2048x1536x24 -noreset -nolisten tcp 3>"$numbers" \
        >/dev/null 2>"$errors" 8>&- 9>&- &
    xvfb_pid=$!
    for tries in $(seq 100); do
        [ ! -s "$numbers" ] || return 0
        kill -0 "$xvfb_pid" 2>/dev/null || break
        sleep 0.1
    done
    kill "$xvfb_pid" 2>/dev/null || true
    wait "$xvfb_pid" 2>/dev/null || true
    xvfb_pid=
    return 1
}

# Ends the wine server of $WINEPREFIX, and every program of that prefix with
# it, and the Xvfb that start_xvfb started.
stop_wine() {
    [ -z "${WINEPREFIX:-}" ] || wineserver -k 2>/dev/null || true
    if [ -n "${xvfb_pid:-}" ]; then
        kill "$xvfb_pid" 2>/dev/null || true
        wait "$xvfb_pid" 2>/dev/null || true
        xvfb_pid=
    fi
}

# Waits up to half a minute for a visible window titled exactly $1; prints its
# id. Gives up sooner when the process $2 (if given) ends.
window_named() {
    local id tries
    for tries in $(seq 300); do
        id=$(helper -q xdotool search --onlyvisible --name "^$1\$" | head -n1) || true
        [ -n "$id" ] && { echo "$id"; return 0; }
        [ -z "${2:-}" ] || kill -0 "$2" 2>/dev/null || break
        sleep 0.1
    done
    echo "no window \"$1\" appeared" >&2
    return 1
}

# Starts "$@" (a Windows program under wine) in the background in the folder
# $1, as Explorer does, and waits for its window titled $2: sets program_pid and
# window. Its error output goes to the file $program_errors (if set). Where wine
# fails to start it, it is started again as helper does; a program that
# started and showed no window in half a minute fails.
start_window() {
    local folder=$1 title=$2 errors no_window=false
    shift 2
    errors=$(mktemp)
    window=
    until_started start_window_attempt "$@" || helper_failed "$*" "$errors"
    if $no_window; then
        cat "$errors" >>"${program_errors:-/dev/stderr}"
        rm -f "$errors"
        return 1
    fi
    cat "$errors" >>"${program_errors:-/dev/null}"
    rm -f "$errors"
}
# One start of "$@" for start_window, with its folder, title and files: fails
# only when wine failed to start the program; sets no_window when the program
# started and showed no window.
start_window_attempt() {
    (cd "$folder" && export ORBITRA_WINE_ONCE=1 && exec "$@") </dev/null >/dev/null 2>"$errors" &
    program_pid=$!
    window=$(window_named "$title" "$program_pid") && return 0
    if kill -0 "$program_pid" 2>/dev/null || ! grep -qE "$start_failures" "$errors"; then
        no_window=true
        return 0
    fi
    wait "$program_pid" 2>/dev/null || true
    return 1
}

# Clicks the point (x, y), in pixels of the client area, of window $1 whose
# client area (below the menu bar) is $2 pixels high.
click_in() {
    local id=$1 client_height=$2 x=$3 y=$4 X Y WIDTH HEIGHT SCREEN WINDOW
    eval "$(helper xdotool getwindowgeometry --shell "$id")"
    helper xdotool mousemove $((X + x)) $((Y + HEIGHT - client_height + y)) click 1
}

# Where window $2 ("main", "Edit") puts control $3, named or by what it shows
# ("Fe", "Save"), or with "client" its client area, from the positions file
# that the build $1 writes from the layout tables (tools/positions): prints
# the control's centre and its client area's height, "X Y CLIENT_HEIGHT", in
# pixels at the display scale $4 per cent (100 when not given).
place_of() {
    awk -F'\t' -v window="$2" -v control="$3" -v percent="${4:-100}" '
        function scaled(n) { return int(n * percent / 100) }
        $1 == window && $2 == "client" { client = $7 }
        $1 == window && ($2 == control || $3 == control) {
            x = $4 + int($6 / 2); y = $5 + int($7 / 2); found = 1
        }
        END {
            if (!found || !client) exit 1
            print scaled(x), scaled(y), scaled(client)
        }' "$1/positions.tsv" ||
        { echo "$1/positions.tsv places no $3 in the window $2" >&2; return 1; }
}

# Clicks the point (x, y) of the client area of window $1, $2 pixels high, and
# waits up to five seconds for the part $5 (WIDTHxHEIGHT+X+Y) of the window to
# change by more than 100 pixels; fails when it does not. Leaves the pictures
# before and after in $6-before.png and $6-after.png.
click_shows() {
    local id=$1 client_height=$2 x=$3 y=$4 part=$5 pictures=$6 changed=0 tries
    helper import -window "$id" -crop "$part" "$pictures-before.png"
    click_in "$id" "$client_height" "$x" "$y"
    for tries in $(seq 50); do
        helper import -window "$id" -crop "$part" "$pictures-after.png"
        changed=$(compare -metric AE "$pictures-before.png" "$pictures-after.png" null: 2>&1 || true)
        [ "${changed%% *}" -le 100 ] || return 0
        sleep 0.1
    done
    return 1
}

# Runs the window test's functions $3... under wine in the prefix $WINEPREFIX,
# as CTest runs it (its program, folder and environment), writing its log to
# $2; $1 is the build. Shows the totals, or the log when it fails.
window_test() {
    local build=$1 log=$2 test
    shift 2
    test=$(cd "$build" && ctest --show-only=json-v1 -R '^tst_windows$' | python3 -c '
import json, sys
test = json.load(sys.stdin)["tests"][0]
properties = {p["name"]: p["value"] for p in test.get("properties", [])}
print("\t".join([test["command"][1], properties.get("WORKING_DIRECTORY", ".")]
                + properties.get("ENVIRONMENT", [])))')
    IFS=$'\t' read -r -a test <<<"$test"
    rm -f "$log"
    if (cd "${test[1]}" && env "${test[@]:2}" timeout 300 "$build/wine-run" "${test[0]}" "$@" \
            -o "$(helper -q winepath -w "$log"),txt" </dev/null >/dev/null 2>&1); then
        grep -E '^Totals' "$log"
    else
        cat "$log" 2>/dev/null || echo "tst_windows did not run"
        return 1
    fi
}

# Starts the program of build $1 in the folder $2 on the shipped data, clicks
# Fe and saves the window's inside, without the frame wine draws round it, as
# the picture $4; $3 is the display scale in per cent (the prefix's DPI must
# be set to it). Sets program_pid; the caller ends the program.
picture_of_iron() {
    local build=$1 work=$2 percent=$3 picture=$4 main client X Y WIDTH HEIGHT SCREEN WINDOW
    cp "$build/data/period.bio" "$work/"
    start_window "$work" "Periodic Table" "$build/wine-run" "$build/orbitra-table.exe" ||
        { echo "the program showed no main window at $percent %" >&2; return 1; }
    main=$window
    eval "$(helper xdotool getwindowgeometry --shell "$main")"
    local iron x y
    iron=$(place_of "$build" main Fe "$percent") || return 1
    read -r x y client <<<"$iron"
    # Scaled, the window must have grown with its client area, or the scale
    # never reached the program.
    [ "$HEIGHT" -ge "$client" ] ||
        { echo "the main window is $HEIGHT pixels high at $percent %, as if unscaled" >&2; return 1; }
    # The detail panel fills in once the click on Fe has been handled.
    click_shows "$main" "$client" "$x" "$y" \
        $((700 * percent / 100))x$((120 * percent / 100))+0+0 "$work/click" ||
        { echo "a click on Fe at $percent % showed nothing" >&2; return 1; }
    # The inside is 714 by 426 pixels at 100 %; without the time stamps
    # ImageMagick adds, the same picture makes the same file.
    local width=$((714 * percent / 100)) height=$((426 * percent / 100)) border
    border=$(((WIDTH - width) / 2))
    helper import -window "$main" -crop "${width}x$height+$border+$((HEIGHT - height - border))" \
        -strip -define png:exclude-chunks=date,time "$picture"
    echo "$picture: the inside of a ${WIDTH}x$HEIGHT window"
}
