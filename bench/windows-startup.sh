#!/usr/bin/env bash
# Start-up of the Windows build under wine, on the X display of the caller:
# process start to the window mapped, for the program on the shipped data and
# for a bare Qt main window with a menu bar built and run the same way. Prints
# the medians and their ratio. The wine server of the build's prefix runs
# throughout, as Windows' own services do (tools/windows.sh keeps one running).
#   bench/windows-startup.sh BUILD [RUNS]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$1
runs=${2:-7}
source "$root/tools/windows/wine.sh"
export WINEPREFIX=$build/wine
work=$(mktemp -d)
running=
# The program being timed ends with this script, however it ends.
finish() {
    [ -z "$running" ] || kill "$running" 2>/dev/null || true
    rm -rf "$work"
}
end_with finish
cp "$build/data/period.bio" "$work/"

# Sets `elapsed` to the milliseconds from starting `$2` under wine until a
# window titled $1 maps. The program then ends, its window with it, before the
# next is started; the prefix's wine server stays, as Windows' own services do.
# A start that wine fails is made again, five times in all (see helper).
time_start() {
    local title=$1 program=$2 begin end tries
    for tries in 1 2 3 4 5; do
        begin=$(date +%s%N)
        (cd "$work" && ORBITRA_WINE_ONCE=1 exec "$build/wine-run" "$program") \
            >/dev/null 2>"$work/errors" &
        running=$!
        until xdotool search --onlyvisible --name "^$title\$" >/dev/null 2>&1; do
            if ! kill -0 "$running" 2>/dev/null || [ $(($(date +%s%N) - begin)) -gt 60000000000 ]; then
                break
            fi
            sleep 0.01
        done
        end=$(date +%s%N)
        ! kill -0 "$running" 2>/dev/null || break
        wait "$running" 2>/dev/null || true
        running=
        grep -qE "$start_failures" "$work/errors" ||
            { echo "no window \"$title\": $(cat "$work/errors")" >&2; exit 1; }
        sleep "$tries"
    done
    [ -n "$running" ] || helper_failed "$program" "$work/errors"
    if ! helper -q xdotool search --onlyvisible --name "^$title\$" >/dev/null; then
        echo "no window \"$title\" within a minute" >&2
        exit 1
    fi
    kill "$running"
    { wait "$running" || true; } 2>/dev/null
    running=
    elapsed=$(((end - begin) / 1000000))
}
median() {
    sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'
}

time_start "Periodic Table" "$build/orbitra-table.exe"  # warms the prefix and the caches
program=() bare=()
for run in $(seq "$runs"); do
    time_start "Periodic Table" "$build/orbitra-table.exe"
    program+=("$elapsed")
    time_start "Bare window" "$build/bench-start-bare.exe"
    bare+=("$elapsed")
done
p=$(printf '%s\n' "${program[@]}" | median)
b=$(printf '%s\n' "${bare[@]}" | median)
echo "Start-up under wine, median of $runs: Orbitra Table $p ms, bare Qt window $b ms," \
     "ratio $(awk -v p="$p" -v b="$b" 'BEGIN { printf "%.2f", p / b }')"
