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
    if ! apt-get "${options[@]}" update; then
        echo "Could not fetch the lists of Debian's source packages (apt-get update, above)." >&2
        return 1
    fi
    check_qt_source_version "$(apt-cache "${options[@]}" showsrc qt6-base 2>/dev/null |
                               sed -n 's/^Version: //p' | sort -u)"
    (cd "$dest" && apt-get "${options[@]}" source "qt6-base=$qt_source_version")
}

# Checks that the source of the installed Qt is among the qt6-base versions the
# archive offers ($1, one a line); says what to do when it is not.
check_qt_source_version() {
    local offered=$1
    grep -qxF -- "$qt_source_version" <<<"$offered" && return 0
    cat >&2 <<MESSAGE
The Windows Qt is built from the same source as this machine's Qt (whose moc,
rcc and uic it uses): qt6-base $qt_source_version, the version of the installed
libqt6core6. Debian's archive no longer offers that source; it offers
qt6-base ${offered//$'\n'/, }.
This machine's Qt came from package lists older than the archive. Run
    sudo apt-get update && sudo apt-get upgrade
to bring its Qt up to date, then run this again.
MESSAGE
    return 1
}

# Runs the build step $1 (configure, build, install) of the Windows Qt, the
# command following, with its output in work/$1.log, showing Ninja's progress
# ("[done/total]" lines): on a terminal one line that keeps changing, elsewhere
# a line a minute. When the step fails, shows the end of that log and where the
# whole of it is. The step runs in a process group of its own, which
# stop_qt_step ends (the caller's traps run while this waits, not while a
# command runs in the foreground).
qt_step() {
    local step=$1 log=$qt_work/$1.log status=0 progress shown=$SECONDS line=
    shift
    echo "-- Qt: $step (log: $log)"
    setsid "$@" </dev/null >"$log" 2>&1 8>&- &
    qt_step_pid=$!
    while kill -0 "$qt_step_pid" 2>/dev/null; do
        sleep 1
        progress=$(tail -c 4096 "$log" | grep -oE '^\[[0-9]+/[0-9]+\]' | tail -n1 | tr -d '[]') || true
        [ -n "$progress" ] || continue
        line=$(printf '   %d of %d steps (%d%%), %d min' "${progress%/*}" "${progress#*/}" \
               $((100 * ${progress%/*} / ${progress#*/})) $(((SECONDS - qt_started) / 60)))
        if [ -t 1 ]; then
            printf '\r%s' "$line"
        elif ((SECONDS - shown >= 60)); then
            echo "$line"
            shown=$SECONDS
        fi
    done
    wait "$qt_step_pid" || status=$?
    qt_step_pid=
    [ ! -t 1 ] || [ -z "$line" ] || printf '\n'
    if [ "$status" != 0 ]; then
        echo "The Qt build failed at its $step step. The end of its log:" >&2
        tail -n 40 "$log" >&2
        echo "The whole log: $log" >&2
        return 1
    fi
}

# Ends the Qt build step under way, if any, with every process it started.
stop_qt_step() {
    [ -z "${qt_step_pid:-}" ] || kill -TERM -- "-$qt_step_pid" 2>/dev/null || true
}

# Builds Qt for Windows into $QT_WINDOWS unless a finished build is there. The
# folder counts as finished only once the marker written after the install
# exists; anything else found there is a build that was cut off, and goes.
ensure_qt_windows() {
    # One build at a time: a second run waits for the first and then takes its
    # Qt. The lock file names the run holding it.
    mkdir -p "$qt_cache"
    local lock=$qt_cache/qt-$qt_hash.lock
    exec 9<>"$lock"  # descriptor 9: see tools/windows/wine.sh
    if ! flock -n 9; then
        echo "== Waiting for another run to finish Qt for Windows in $QT_WINDOWS" \
             "($(cat "$lock" 2>/dev/null || echo "lock $lock")) ..."
        flock 9
    fi
    echo "process $$ of $(hostname), $root, since $(date '+%F %T')" >"$lock"
    build_qt_windows
    tidy_qt_cache
    exec 9>&-
}

build_qt_windows() {
    if [ -f "$QT_WINDOWS/.orbitra-complete" ]; then
        echo "== Qt $qt_version for Windows: $QT_WINDOWS (cached)"
        return 0
    fi
    echo "== Qt $qt_version for Windows: building into $QT_WINDOWS (about 20 minutes on two cores)"
    qt_work=$qt_cache/work-$qt_hash
    rm -rf "$QT_WINDOWS" "$qt_work"
    mkdir -p "$qt_work"
    fetch_qt_source "$qt_work/src"
    local source
    source=$(find "$qt_work/src" -mindepth 1 -maxdepth 1 -type d -name 'qt6-base-*' | head -n1)
    [ -n "$source" ] || { echo "qt6-base source not found in $qt_work/src" >&2; return 1; }
    qt_started=$SECONDS
    qt_step configure cmake -S "$source" -B "$qt_work/build" -G Ninja \
        -DCMAKE_TOOLCHAIN_FILE="$root/tools/windows/mingw-w64.cmake" \
        -DCMAKE_INSTALL_PREFIX="$QT_WINDOWS" "${QT_OPTIONS[@]}"
    qt_step build cmake --build "$qt_work/build" -j"$(nproc)"
    qt_step install cmake --install "$qt_work/build"
    # The licence texts and Debian's copyright file travel with the packages.
    mkdir -p "$QT_WINDOWS/share/doc/qt6-base"
    cp "$source/debian/copyright" "$QT_WINDOWS/share/doc/qt6-base/copyright"
    cp -r "$source/LICENSES" "$QT_WINDOWS/share/doc/qt6-base/"
    echo "$qt_source_version" >"$QT_WINDOWS/.orbitra-complete"
    echo "Qt built in $((SECONDS - qt_started)) s"
}

# Once this run's Qt is in place: the source and work folders, the private apt
# state, and the Qt builds of other versions or options go, each only when no
# other run holds its lock.
tidy_qt_cache() {
    local other hash
    rm -rf "$qt_cache/apt"
    for other in "$qt_cache"/qt-*-mingw64-* "$qt_cache"/work-*; do
        [ -e "$other" ] || continue
        hash=${other##*-}
        if [ "$other" = "$QT_WINDOWS" ]; then
            continue
        elif [ "$hash" = "$qt_hash" ]; then
            rm -rf "$other"  # this run's work folder
        elif [ -e "$qt_cache/qt-$hash.lock" ] &&
             ! flock -n "$qt_cache/qt-$hash.lock" true 2>/dev/null; then
            continue  # in use by another run
        else
            echo "-- removing $other from the cache"
            rm -rf "$other"
            rm -f "$qt_cache/qt-$hash.lock"
        fi
    done
}
