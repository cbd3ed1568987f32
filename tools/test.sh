#!/usr/bin/env bash
# Builds Orbitra Table and runs every test headless (offscreen Qt platform; the
# dark-desktop run on Xvfb):
# each fuzz target for a few seconds, the whole test suite, and
# the whole test suite again built with AddressSanitizer and UBSan.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
source "$root/tools/deps.sh"
# python3: the element-gathering self-test; Xvfb, qt6ct and ImageMagick: the windows on a
# dark desktop with a font of its own
install_missing "${RUN_PACKAGES[@]}" ninja-build python3 xvfb xauth qt6ct imagemagick
jobs=$(nproc)

bash "$root/tools/fuzz.sh" 20000 5

run_suite() {  # build folder, extra CMake arguments...
    local build=$1
    shift
    # A folder configured earlier with another generator starts afresh.
    grep -qs '^CMAKE_GENERATOR:INTERNAL=Ninja$' "$build/CMakeCache.txt" || rm -rf "$build"
    cmake -S "$root" -B "$build" -G Ninja "$@" >/dev/null
    cmake --build "$build" -j"$jobs" >/dev/null
    (cd "$build" && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j"$jobs")
}

echo "== Test suite"
run_suite "$root/build-test" -DCMAKE_BUILD_TYPE=Release

echo "== Test suite with AddressSanitizer, LeakSanitizer and UBSan"
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=0:detect_stack_use_after_return=1
export LSAN_OPTIONS=suppressions=$root/tests/lsan.supp:print_suppressions=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
# Line tables are all a sanitizer's report needs, and a third cheaper to build.
run_suite "$root/build-asan" -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG=-g1 -DORBITRA_SANITIZE=ON
