#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each for RUNS inputs
# (default 20000) or SECONDS (default: no limit), whichever ends first, starting
# from the committed seed corpus in fuzz/corpus/.
#   bash tools/fuzz.sh [RUNS [SECONDS]]
# The test command runs each target for a few seconds; a long search is
#   bash tools/fuzz.sh 5000000
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
runs=${1:-20000}
seconds=${2:-0}
source "$root/tools/deps.sh"
install_missing cmake make clang
# libFuzzer's runtime comes with the package of the same major version as clang.
install_missing "libclang-rt-$(clang -dumpversion | cut -d. -f1)-dev"

build="$root/build-fuzz"
cmake -S "$root/fuzz" -B "$build" -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=Debug >/dev/null
cmake --build "$build" -j"$(nproc)" >/dev/null
echo "fuzz: each target ${runs} runs${2:+ or $seconds s}, $(nproc) at a time"
fuzz() {  # target
    local scratch
    scratch=$(mktemp -d)
    if "$build/fuzz_$1" -runs="$runs" -max_total_time="$seconds" -max_len=1024 \
        -print_final_stats=0 "$scratch" "$root/fuzz/corpus/$1" 2>"$scratch.log"; then
        echo "fuzz_$1: $(grep -E '^(Done|INFO: Seed)' "$scratch.log" | tail -n 1)"
        rm -rf "$scratch" "$scratch.log"
    else
        tail -n 40 "$scratch.log"
        echo "fuzz_$1 FAILED (the inputs it made: $scratch)"
        return 1
    fi
}
# Each target runs on one core: as many run at once as there are cores.
running=()
failed=0
for target in datafile writes loadnumber savenumber table; do
    fuzz "$target" &
    running+=($!)
    if [ ${#running[@]} -ge "$(nproc)" ]; then
        wait "${running[0]}" || failed=1
        running=("${running[@]:1}")
    fi
done
for pid in "${running[@]}"; do
    wait "$pid" || failed=1
done
[ "$failed" -eq 0 ] || exit 1
echo "fuzz: all targets passed"
