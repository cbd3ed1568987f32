# Sourced by windows.sh: fetches Debian's qt6-base source and builds Qt for
# Windows once into the cache, reused on every later run. Sets QT_WINDOWS to
# the installed folder.

# The host Qt's version: its moc, rcc and uic build the Windows Qt, so both
# come from the same source package.
qt_source_version=$(dpkg-query -W -f='${source:Version}' libqt6core6)
qt_version=${qt_source_version%%+*}

QT_OPTIONS=(
    -DCMAKE_BUILD_TYPE=Release -DBUILD_SHARED_LIBS=ON
    -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF
    -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake
    -DFEATURE_network=OFF -DFEATURE_sql=OFF -DFEATURE_dbus=OFF -DFEATURE_opengl=OFF
    -DFEATURE_printsupport=OFF -DFEATURE_concurrent=OFF -DFEATURE_xml=OFF
    -DFEATURE_vulkan=OFF -DFEATURE_icu=OFF -DFEATURE_zstd=OFF -DFEATURE_jpeg=OFF
    # Debian's source lacks src/3rdparty/wintab; and with OpenGL off, dynamic GL
    # must be turned off by name.
    -DFEATURE_tabletevent=OFF -DFEATURE_dynamicgl=OFF
    -DFEATURE_system_zlib=OFF -DFEATURE_system_pcre2=OFF -DFEATURE_system_png=OFF
    -DFEATURE_system_freetype=OFF -DFEATURE_system_harfbuzz=OFF
    -DFEATURE_system_doubleconversion=OFF -DFEATURE_system_libb2=OFF
    -DFEATURE_system_jpeg=OFF -DFEATURE_system_sqlite=OFF
    -DFEATURE_system_textmarkdownreader=OFF
)

qt_cache=${XDG_CACHE_HOME:-$HOME/.cache}/orbitra-table
qt_hash=$({ printf '%s\n' "$qt_source_version" "${QT_OPTIONS[@]}"
            cat "$root/tools/windows/mingw-w64.cmake"; } | sha256sum | cut -c1-12)
QT_WINDOWS=$qt_cache/qt-$qt_version-mingw64-$qt_hash

# Debian's qt6-base source, fetched with a private sources list and private
# apt state, so the machine's apt configuration stays as it is.
fetch_qt_source() {  # destination folder
    local apt=$qt_cache/apt dest=$1
    rm -rf "$apt" && mkdir -p "$apt/sources.list.d" "$apt/lists/partial" \
        "$apt/archives/partial" "$dest"
    : >"$apt/sources.list"
    # Every enabled Debian or Ubuntu source of binary packages, for sources.
    local list
    for list in /etc/apt/sources.list /etc/apt/sources.list.d/*.list; do
        [ -f "$list" ] || continue
        grep -E '^deb[[:space:]].*(debian|ubuntu)' "$list" |
            sed -E 's/^deb([[:space:]])/deb-src\1/' >>"$apt/sources.list" || true
    done
    for list in /etc/apt/sources.list.d/*.sources; do
        [ -f "$list" ] || continue
        grep -qE '^URIs:.*(debian|ubuntu)' "$list" || continue
        sed -E 's/^Types:.*/Types: deb-src/' "$list" >"$apt/sources.list.d/$(basename "$list")"
    done
    local options=(-o "Dir::Etc::SourceList=$apt/sources.list"
                   -o "Dir::Etc::SourceParts=$apt/sources.list.d"
                   -o "Dir::State::Lists=$apt/lists"
                   -o "Dir::Cache::Archives=$apt/archives"
                   -o "Dir::Cache=$apt" -o APT::Sandbox::User=root -qq)
    apt-get "${options[@]}" update
    (cd "$dest" && apt-get "${options[@]}" source "qt6-base=$qt_source_version")
}

# Builds Qt for Windows into $QT_WINDOWS unless a finished build is there. The
# folder counts as finished only once the marker written after the install
# exists; anything else found there is a build that was cut off, and goes.
ensure_qt_windows() {
    # One build at a time: a second run waits for the first and then takes its Qt.
    mkdir -p "$qt_cache"
    exec 9>"$qt_cache/qt-$qt_hash.lock"
    flock 9
    build_qt_windows
    exec 9>&-
}

build_qt_windows() {
    if [ -f "$QT_WINDOWS/.orbitra-complete" ]; then
        echo "== Qt $qt_version for Windows: $QT_WINDOWS (cached)"
        return 0
    fi
    echo "== Qt $qt_version for Windows: building into $QT_WINDOWS"
    local work=$qt_cache/work-$qt_hash
    rm -rf "$QT_WINDOWS" "$work"
    mkdir -p "$work"
    fetch_qt_source "$work/src"
    local source
    source=$(find "$work/src" -mindepth 1 -maxdepth 1 -type d -name 'qt6-base-*' | head -n1)
    [ -n "$source" ] || { echo "qt6-base source not found" >&2; return 1; }
    local started=$SECONDS
    cmake -S "$source" -B "$work/build" -G Ninja \
        -DCMAKE_TOOLCHAIN_FILE="$root/tools/windows/mingw-w64.cmake" \
        -DCMAKE_INSTALL_PREFIX="$QT_WINDOWS" "${QT_OPTIONS[@]}" >"$work/configure.log"
    cmake --build "$work/build" -j"$(nproc)" >"$work/build.log"
    cmake --install "$work/build" >"$work/install.log"
    # The licence texts and Debian's copyright file travel with the packages.
    mkdir -p "$QT_WINDOWS/share/doc/qt6-base"
    cp "$source/debian/copyright" "$QT_WINDOWS/share/doc/qt6-base/copyright"
    cp -r "$source/LICENSES" "$QT_WINDOWS/share/doc/qt6-base/"
    echo "$qt_source_version" >"$QT_WINDOWS/.orbitra-complete"
    echo "Qt built in $((SECONDS - started)) s"
    rm -rf "$work"
}
