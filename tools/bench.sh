#!/usr/bin/env bash
# Builds the benchmarks in Release and runs them: start-up, memory, click to
# display, save, file size and idle cost, each printed beside its floor from
# the same run. Progress goes to standard error, the table to standard output.
# Arguments go to orbitra-bench: section names (startup clicks save scale
# idle) to run only those, --quick for far fewer rounds.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
source "$root/tools/deps.sh"
install_missing "${RUN_PACKAGES[@]}"

build="$root/build-bench"
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" -j"$(nproc)" --target orbitra-bench >&2
exec "$build/bench/orbitra-bench" "$@"
