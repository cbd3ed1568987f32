#!/usr/bin/env bash
# The Windows build of Orbitra Table, made on this Debian machine: builds Qt for
# Windows once (cached), cross-builds the program, periodbio and the tests with
# MinGW-w64, runs the tests under wine on Xvfb, and packs
#   dist/orbitra-table-<version>-windows-x64.zip   (portable: unzip, double-click)
#   dist/orbitra-table-<version>-setup.exe         (NSIS installer, per user)
# then installs, starts, uses and uninstalls both under wine as a user would.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
source "$root/tools/deps.sh"
WINDOWS_PACKAGES=(g++-mingw-w64-x86-64-posix wine wine64 nsis ninja-build python3 zip unzip
                  xvfb xauth xdotool imagemagick dpkg-dev binutils-mingw-w64-x86-64)
install_missing "${RUN_PACKAGES[@]}" "${WINDOWS_PACKAGES[@]}"
source "$root/tools/windows/qt.sh"
source "$root/tools/windows/wine.sh"

started=$SECONDS
ensure_qt_windows

version=$(sed -nE 's/^project\(OrbitraTable VERSION ([0-9.]+).*/\1/p' "$root/CMakeLists.txt")
build=$root/build-windows

echo "== Cross-building Orbitra Table $version for Windows"
wine_setup "$build"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$QT_WINDOWS/lib/cmake/Qt6/qt.toolchain.cmake" \
    -DQT_CHAINLOAD_TOOLCHAIN_FILE="$root/tools/windows/mingw-w64.cmake" \
    -DCMAKE_CROSSCOMPILING_EMULATOR="$build/wine-run" >/dev/null
cmake --build "$build" -j"$(nproc)"

echo "== Tests under wine (windows platform, Xvfb)"
start_xvfb
# QtTest's output does not reach CTest under wine: the logs of failed tests follow.
show_failures() {
    grep -lZ -E '^(FAIL!|QFATAL)' "$build"/tests/*.log 2>/dev/null | xargs -0 -r cat
    return 1
}
(cd "$build" && LANG=C.UTF-8 LC_ALL=C.UTF-8 ctest --output-on-failure --timeout 600) ||
    show_failures
# The data file in the system's single-byte code page, whichever it is; a
# double-byte system falls back to Windows-1252.
for locale in ru_RU.UTF-8 ja_JP.UTF-8; do
    echo "-- code page round trip, LANG=$locale"
    (cd "$build" && LANG=$locale LC_ALL=$locale ctest --output-on-failure -R '^tst_datafile$') ||
        show_failures
done

echo "== Packing"
bash "$root/tools/windows/pack.sh" "$build" "$version"

echo "== The packages installed and used under wine"
bash "$root/tools/windows/blackbox.sh" "$build" "$version"

echo "== Start-up under wine"
bash "$root/bench/windows-startup.sh" "$build" 5

stop_wine
echo "Windows build, tests and packages in $((SECONDS - started)) s:"
ls -l "$root/dist/orbitra-table-$version-windows-x64.zip" "$root/dist/orbitra-table-$version-setup.exe"
