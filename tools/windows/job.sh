#!/usr/bin/env bash
# Runs one part of the Windows check on an X display and in a wine prefix of
# its own, so that it can run beside the others:
#   tools/windows/job.sh BUILD NAME COMMAND...
# The prefix is BUILD/wine-NAME, made afresh; BUILD/wine-run runs programs
# there (ORBITRA_WINEPREFIX). The display, the wine server and every program
# of the prefix end with this script, however it ends.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=$1
name=$2
shift 2
source "$root/tools/windows/wine.sh"
export WINEPREFIX=$build/wine-$name ORBITRA_WINEPREFIX=$build/wine-$name
end_with stop_wine
fresh_prefix "$WINEPREFIX"
start_xvfb
start_wine
"$@"
