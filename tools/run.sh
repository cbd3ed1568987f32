#!/usr/bin/env bash
# Builds Orbitra Table and starts it through its launcher, as the installed
# package does: in the user's data folder, which receives the shipped data file
# (and its backup) only when it has none of its own.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
source "$root/tools/deps.sh"
install_missing "${RUN_PACKAGES[@]}"

cmake -S "$root" -B "$root/build" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$root/build" -j"$(nproc)" --target orbitra-table orbitra-table-message period_data
exec "$root/build/packaging/orbitra-table"
