#!/bin/sh
# test-install.sh BUILD APP-ID: installs BUILD into a scratch prefix, checks what
# arrives there, and runs the installed launcher as a new user would: it seeds
# the data folder and starts the program there (offscreen, ended by this test
# once it has the data file open), keeps an edited period.bio, upgrades a
# release 1.0 user's data keeping their edit and telling of it once, leaves a
# read-only period.bak alone, and refuses with status 1 a data folder it
# cannot create; the installed periodbio writes through links, keeping mode
# and owner, and writes streams in place.
set -u
build=$1 id=$2
scratch=$(mktemp -d) && trap 'rm -rf "$scratch"' EXIT
mkdir -m 700 "$scratch/runtime" && export XDG_RUNTIME_DIR="$scratch/runtime"
problem() { echo "FAIL: $*" >&2; status=1; }
status=0
usr=$scratch/usr
cmake --install "$build" --prefix "$usr" >/dev/null || { echo "FAIL: cmake --install" >&2; exit 1; }

for file in bin/orbitra-table bin/periodbio share/orbitra-table/period.bio \
    share/orbitra-table/period.bak share/applications/$id.desktop \
    share/metainfo/$id.metainfo.xml share/man/man1/orbitra-table.1.gz \
    share/orbitra-table/1.0/period.bio \
    share/man/man1/periodbio.1.gz share/doc/orbitra-table/copyright \
    share/doc/orbitra-table/changelog.Debian.gz; do
    [ -s "$usr/$file" ] || problem "$file not installed"
done
# Each icon is a picture of the size its folder names.
for icon in "$usr"/share/icons/hicolor/*/apps/$id.png; do
    size=${icon%/apps/*} size=${size##*/}
    side=$(od -An -tu1 -j16 -N8 "$icon" | awk '{print $3 * 256 + $4 "x" $7 * 256 + $8}')
    [ "$side" = "$size" ] || problem "$size icon is $side"
done
[ "$(ls "$usr"/share/icons/hicolor | wc -l)" -ge 7 ] || problem "icon sizes missing"
exec_line=$(sed -n 's/^Exec=//p' "$usr/share/applications/$id.desktop")
[ -x "$usr/bin/$exec_line" ] || problem "the menu entry runs $exec_line, which is not installed"

launch() {  # environment...: becomes the launcher, run without a display
    exec env -u DISPLAY -u WAYLAND_DISPLAY -u XDG_DATA_HOME -u XDG_STATE_HOME HOME="$scratch/home" "$@" \
        "$usr/bin/orbitra-table"
}
data=$scratch/home/.local/share/orbitra-table
program=$(readlink -f "$usr"/libexec/orbitra-table/orbitra-table)
runs_in_data_folder() {  # pid: the program itself has the data folder's period.bio open
    for _ in $(seq 200); do
        if [ "$(readlink "/proc/$1/exe")" = "$program" ] &&
            ls -l "/proc/$1/fd" 2>/dev/null | grep -q " $data/period.bio\$"; then
            kill "$1" && wait "$1"
            return 0
        fi
        kill -0 "$1" 2>/dev/null || return 1
        sleep 0.1
    done
    kill "$1"
    return 1
}

launch 2>>"$scratch/log" & runs_in_data_folder $! ||
    problem "the program did not start in a new data folder"
cmp -s "$data/period.bio" "$usr/share/orbitra-table/period.bio" &&
    cmp -s "$data/period.bak" "$usr/share/orbitra-table/period.bak" ||
    problem "the new data folder was not seeded with the shipped files"

printf 'edited' >"$data/period.bio" && rm "$data/period.bak"
launch 2>>"$scratch/log" & runs_in_data_folder $! || problem "the program did not start the second time"
[ "$(cat "$data/period.bio")" = edited ] || problem "an edited period.bio was overwritten"
cmp -s "$data/period.bak" "$usr/share/orbitra-table/period.bak" || problem "period.bak not restored"

# A user seeded by release 1.0, who changed Lithium (which this release
# corrects too) and made period.bak read-only: Lithium stays theirs, every
# other record becomes this release's, period.bak stays as it was, and they
# are told once.
shared=$usr/share/orbitra-table periodbio=$usr/bin/periodbio
base=$scratch/home/.local/state/orbitra-table/base
rm -r "$data" "$base" && mkdir "$data"
"$periodbio" dump "$shared/1.0/period.bio" - | sed 's/^3,"Lithium/3,"Mylithi/' |
    "$periodbio" build - "$data/period.bio" && chmod 600 "$data/period.bio"
cp "$shared/1.0/period.bio" "$data/period.bak" && chmod 444 "$data/period.bak"
for run in first second; do
    launch 2>"$scratch/$run.log" & runs_in_data_folder $! || problem "the $run upgrade did not start"
done
differences=$("$periodbio" diff "$data/period.bio" "$shared/period.bio")
[ "$(echo "$differences" | grep -c '^record')" = 1 ] &&
    echo "$differences" | grep -q '^record 3 (Mylithi):' ||
    problem "the upgrade merged to a file differing from the shipped one in: $differences"
[ "$(stat -c %a "$data/period.bio")" = 600 ] || problem "the upgrade changed period.bio's mode"
cmp -s "$data/period.bak" "$shared/1.0/period.bio" || problem "a read-only period.bak was changed"
cmp -s "$base/period.bio" "$shared/period.bio" || problem "the base is not the shipped period.bio"
grep -q "records that you had changed in $data/period.bio, which keeps your version: 3 Lithium" \
    "$scratch/first.log" || problem "the first upgrade did not name Lithium: $(cat "$scratch/first.log")"
! grep -q "corrects" "$scratch/second.log" || problem "the second start told of the upgrade again"

# periodbio writes a file as its user had it: through a link to its target,
# keeping its mode (and, built by root, its owner), and a named pipe and a
# link to standard output in place; it leaves no temporary file.
files=$scratch/files && mkdir "$files" && cd "$files" || exit 1
cp "$shared/period.bio" target.bio && chmod 640 target.bio && ln -s target.bio link.bio
[ "$(id -u)" != 0 ] || chown 65534:65534 target.bio
"$periodbio" dump link.bio - | sed 's/^1,"Hydrogen/1,"Hydrogex/' | "$periodbio" build - link.bio
[ -L link.bio ] && "$periodbio" dump target.bio - | grep -q '^1,"Hydrogex' ||
    problem "a build through a link did not write the link's target"
[ "$(stat -c %a target.bio)" = 640 ] || problem "a build changed the file's mode"
[ "$(id -u)" != 0 ] || [ "$(stat -c %u:%g target.bio)" = 65534:65534 ] ||
    problem "a build by root took the file from its owner"
mkfifo pipe && { cat pipe >piped.csv & } && "$periodbio" dump target.bio pipe && wait $! &&
    [ -p pipe ] && grep -q Hydrogex piped.csv || problem "a dump replaced a named pipe"
ln -s /proc/self/fd/1 out && "$periodbio" dump target.bio out | grep -q Hydrogex && [ -L out ] ||
    problem "a dump replaced a link to standard output"
[ "$(ls -A | tr '\n' ' ')" = "link.bio out pipe piped.csv target.bio " ] ||
    problem "periodbio left files behind: $(ls -A)"
cd / || exit 1

message=$(launch XDG_DATA_HOME="$usr/bin/periodbio/data" 2>&1)
[ $? -eq 1 ] && echo "$message" | grep -q "cannot create its data folder $usr/bin/periodbio/data" ||
    problem "a data folder that cannot be made gave: $message"
[ $status -eq 0 ] || cat "$scratch/log" >&2
exit $status
