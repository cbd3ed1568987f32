#!/usr/bin/env bash
# What a blind user hears, with the real Orca screen reader: the program on an
# X display of its own (Xvfb), Orca's speech synthesised and thrown away, and
# its words read from Orca's debug file.
#   tests/orca/run.sh PROGRAM DATAFILE OUTDIR
# PROGRAM is the built orbitra-table, DATAFILE a period.bio to copy beside it.
# Writes OUTDIR/transcript.txt (each step's keys and what Orca said) and exits
# 0 when every step was heard as expected, 1 otherwise. Installs Orca and its
# parts with apt when they are missing. Nothing of the user's own settings is
# read or written: HOME and the XDG folders are private to the run.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
program=$(realpath "$1") data=$(realpath "$2") out=$3

packages=(orca at-spi2-core python3-pyatspi gir1.2-atspi-2.0 speech-dispatcher
          speech-dispatcher-espeak-ng espeak-ng python3-speechd dbus-x11 xvfb xdotool
          openbox dconf-gsettings-backend)
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
    # Another install may hold the lock for a while.
    for attempt in $(seq 30); do
        apt-get install -y --no-install-recommends "${missing[@]}" >/dev/null && break
        ((attempt < 30)) || { echo "apt could not install ${missing[*]}" >&2; exit 1; }
        sleep 10
    done
fi

rm -rf "$out" && mkdir -p "$out"
out=$(realpath "$out")
run=$(mktemp -d)
[ -z "${KEEP_RUN:-}" ] || echo "run folder: $run"
trap '[ -n "${KEEP_RUN:-}" ] || rm -rf "$run"' EXIT
mkdir -p "$run/home" "$run/config" "$run/runtime" "$run/work"
chmod 700 "$run/runtime"
cp "$data" "$run/work/period.bio"
printf 'pcm.!default { type null }\nctl.!default { type hw card 0 }\n' >"$run/home/.asoundrc"
# speech-dispatcher with ALSA's null device: no sound server needed.
cp -r /etc/speech-dispatcher "$run/speechd"
sed -i 's/^#* *AudioOutputMethod .*/AudioOutputMethod "alsa"/' "$run/speechd/speechd.conf"
grep -q '^AudioOutputMethod' "$run/speechd/speechd.conf" ||
    echo 'AudioOutputMethod "alsa"' >>"$run/speechd/speechd.conf"

env -i PATH="$PATH" HOME="$run/home" XDG_CONFIG_HOME="$run/config" \
    XDG_RUNTIME_DIR="$run/runtime" XDG_DATA_HOME="$run/home/.local/share" \
    LANG=C.UTF-8 GSETTINGS_BACKEND=dconf \
    /usr/bin/python3 "$here/drive.py" "$program" "$run" "$out"
