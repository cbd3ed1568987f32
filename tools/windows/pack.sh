#!/usr/bin/env bash
# Packs the cross build in $1 (version $2, MAJOR.MINOR.PATCH) into dist/: the
# portable zip and the NSIS installer; then checks the version resources and
# manifests of what it packed, and that a version such as 1.0.1 keeps its third
# part in both kinds of version resource.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=$1
version=$2
source "$root/tools/windows/qt.sh"
source "$root/tools/windows/wine.sh"
strip=x86_64-w64-mingw32-strip

# The folder the zip holds: what the program needs and no more.
stage=$build/stage/orbitra-table-$version
rm -rf "$build/stage"
mkdir -p "$stage/platforms" "$stage/styles" "$stage/licences"
cp "$build/orbitra-table.exe" "$build/periodbio.exe" "$stage/"
cp "$QT_WINDOWS"/bin/Qt6{Core,Gui,Widgets}.dll "${mingw_runtime[@]}" "$stage/"
cp "$QT_WINDOWS/plugins/platforms/qwindows.dll" "$stage/platforms/"
cp "$QT_WINDOWS/plugins/styles/qwindowsvistastyle.dll" "$stage/styles/"
find "$stage" \( -name '*.exe' -o -name '*.dll' \) -exec "$strip" --strip-unneeded {} +
cp "$build/data/period.bio" "$build/data/period.bak" "$stage/"
# Release 1.0's data file, the base of the users it seeded (periodbio upgrade).
mkdir -p "$stage/1.0" && cp "$build/data/1.0/period.bio" "$stage/1.0/"
sed "s/@VERSION@/$version/g" "$root/packaging/windows/README.txt" >"$stage/README.txt"

# Licences: the program's, Qt's (LGPL 3, built from Debian's qt6-base source
# package), the MinGW runtime's, and each data source's.
licences=$stage/licences
cp "$root/LICENSE" "$licences/orbitra-table-LICENSE.txt"
qt_doc=$QT_WINDOWS/share/doc/qt6-base
cp "$qt_doc/LICENSES/LGPL-3.0-only.txt" "$licences/Qt-LGPL-3.0.txt"
cp "$qt_doc/LICENSES/GPL-3.0-only.txt" "$licences/GPL-3.0.txt"
{
    echo "Qt $qt_version (Qt Core, Gui and Widgets, the windows platform plugin and the"
    echo "Windows Vista style plugin) is used under the GNU Lesser General Public License"
    echo "version 3 (Qt-LGPL-3.0.txt, which builds on GPL-3.0.txt). It was built unchanged"
    echo "from Debian's source package qt6-base $qt_source_version:"
    echo "  https://snapshot.debian.org/package/qt6-base/$qt_source_version/"
    echo "  (apt-get source qt6-base=$qt_source_version on Debian 12)"
    echo "with the options in tools/windows/qt.sh of Orbitra Table's source. You may"
    echo "replace the Qt DLLs with your own build of the same version."
    echo
    cat "$qt_doc/copyright"
} >"$licences/Qt.txt"
{
    echo "libstdc++-6.dll and libgcc_s_seh-1.dll: GCC's runtime libraries, GPL 3 with"
    echo "the GCC Runtime Library Exception; libwinpthread-1.dll: MinGW-w64, MIT/X11"
    echo "licence. From Debian's gcc-mingw-w64 and mingw-w64 packages."
    echo
    cat /usr/share/doc/gcc-mingw-w64-base/copyright
    echo
    cat /usr/share/doc/mingw-w64-common/copyright
} >"$licences/MinGW-w64-runtime.txt"
for source in "$root"/data/sources/*/; do
    name=$(basename "$source")
    for file in "$source"/LICENSE* "$source"/copyright; do
        [ -f "$file" ] && cp "$file" "$licences/data-$name-$(basename "$file" .txt).txt"
    done
done
cp "$root/data/SOURCES.md" "$licences/data-SOURCES.md"
# Windows users open text files in Notepad: CR LF line ends.
for file in "$stage/README.txt" "$licences"/*; do
    sed -i 's/\r*$/\r/' "$file"
done

mkdir -p "$root/dist"
zip_file=$root/dist/orbitra-table-$version-windows-x64.zip
rm -f "$zip_file"
(cd "$build/stage" && zip -q -9 -r "$zip_file" "orbitra-table-$version")

# The installer's file lists: every file of the folder but the data, which the
# installer seeds only where missing and the uninstaller leaves.
python3 "$root/tools/windows/nsis-lists.py" "$stage" "$build/install.nsh" "$build/uninstall.nsh"

# Builds the installer of the stage folder as version $1 into $2; more makensis
# options follow. First the uninstall.exe it carries, $build/uninstall-$1.exe:
# the NSIS uninstaller, as a resource of the small program that runs it
# (packaging/windows/uninstall.c).
make_installer() {
    local version=$1 out=$2 options uninstaller=$build/uninstall-$1
    shift 2
    options=(-V2 -DVERSION="$version" -DSTAGE="$stage" -DICON="$build/flask.ico"
             -DINSTALL_FILES="$build/install.nsh" -DUNINSTALL_FILES="$build/uninstall.nsh" "$@")
    rm -f "$out" "$uninstaller".*
    makensis "${options[@]}" -DMAKE_UNINSTALLER="$uninstaller.nsis.exe" \
        -DOUTFILE="$uninstaller.unused.exe" "$root/packaging/windows/installer.nsi"
    cmake -DVERSION="$version" -DNAME=uninstall -DDESCRIPTION="Orbitra Table uninstaller" \
        -DICO="$build/flask.ico" -DOUTPUT="$uninstaller.rc" -P "$root/packaging/windows/version.cmake"
    echo "UNINSTALLER RCDATA \"$uninstaller.nsis.exe\"" >>"$uninstaller.rc"
    x86_64-w64-mingw32-windres "$uninstaller.rc" -o "$uninstaller.rc.o"
    x86_64-w64-mingw32-gcc-posix -std=c11 -O2 -Wall -Wextra -Werror -municode -mwindows -s \
        "$root/packaging/windows/uninstall.c" "$uninstaller.rc.o" -o "$uninstaller.exe"
    makensis "${options[@]}" -DUNINSTALLER="$uninstaller.exe" -DOUTFILE="$out" \
        "$root/packaging/windows/installer.nsi"
}
setup=$root/dist/orbitra-table-$version-setup.exe
make_installer "$version" "$setup"
echo "$(du -h "$zip_file" | cut -f1) $zip_file"
echo "$(du -h "$setup" | cut -f1) $setup"

echo "-- version resources and manifests"
resources=$root/tools/windows/resources.py
python3 "$resources" "$stage/orbitra-table.exe" "$version.0" --manifest
python3 "$resources" "$stage/periodbio.exe" "$version.0" --manifest
python3 "$resources" "$setup" "$version.0" --installer
python3 "$resources" "$build/uninstall-$version.nsis.exe" "$version.0" --installer
python3 "$resources" "$build/uninstall-$version.exe" "$version.0" --manifest
# A version whose third part is not 0 comes through whole, in an executable's
# resources and in the installer's.
check=$build/version-check
rm -rf "$check" && mkdir -p "$check"
cmake -DVERSION=1.0.1 -DNAME=check -DDESCRIPTION="version check" -DICO="$build/flask.ico" \
    -DOUTPUT="$check/check.rc" -P "$root/packaging/windows/version.cmake"
x86_64-w64-mingw32-windres "$check/check.rc" -o "$check/check-rc.o"
echo 'int main(void) { return 0; }' >"$check/check.c"
x86_64-w64-mingw32-gcc-posix "$check/check.c" "$check/check-rc.o" -o "$check/check.exe"
python3 "$resources" "$check/check.exe" 1.0.1.0 --manifest
make_installer 1.0.1 "$check/setup-1.0.1.exe" -DUNCOMPRESSED
python3 "$resources" "$check/setup-1.0.1.exe" 1.0.1.0 --installer
