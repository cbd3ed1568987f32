#!/usr/bin/env bash
# Builds Orbitra Table in Release with Debian's hardening flags, makes the
# Debian package with CPack into dist/, and checks it: lintian, the desktop
# entry and the AppStream metadata.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
source "$root/tools/deps.sh"
install_missing "${RUN_PACKAGES[@]}" "${PACKAGE_PACKAGES[@]}"
build=$root/build-package

cd "$root"
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr \
    -DBUILD_TESTING=OFF \
    -DCMAKE_CXX_FLAGS="$(dpkg-buildflags --get CPPFLAGS) $(dpkg-buildflags --get CXXFLAGS)" \
    -DCMAKE_EXE_LINKER_FLAGS="$(dpkg-buildflags --get LDFLAGS)" >/dev/null
cmake --build "$build" -j"$(nproc)"
rm -rf "$build/cpack"
(cd "$build" && cpack -G DEB)
mkdir -p "$root/dist"
package=$(ls "$build"/cpack/orbitra-table_*.deb)
cp "$package" "$root/dist/"
package=$root/dist/$(basename "$package")

echo "== Checks"
lintian --fail-on error --info "$package"
unpacked=$(mktemp -d)
trap 'rm -rf "$unpacked"' EXIT
dpkg-deb -x "$package" "$unpacked"
desktop-file-validate "$unpacked"/usr/share/applications/*.desktop
appstreamcli validate --no-net "$unpacked"/usr/share/metainfo/*.metainfo.xml
echo "Package: $package"
