#!/usr/bin/env bash
# Builds Orbitra Table and starts it in the user's data folder, which receives
# the shipped data file (and its backup) only when it has none of its own.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
source "$root/tools/deps.sh"
install_missing "${RUN_PACKAGES[@]}"

cmake -S "$root" -B "$root/build" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$root/build" -j"$(nproc)" --target orbitra-table period_data

data="${XDG_DATA_HOME:-$HOME/.local/share}/orbitra-table"
mkdir -p "$data"
for file in period.bio period.bak; do
    if [ ! -e "$data/$file" ] && [ -f "$root/build/data/$file" ]; then
        cp "$root/build/data/$file" "$data/$file"
    fi
done
cd "$data"
exec "$root/build/app/orbitra-table"
