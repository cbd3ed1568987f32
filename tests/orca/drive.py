#!/usr/bin/env python3
"""Drives Orbitra Table under the real Orca and writes what Orca said.

Called by run.sh with a private HOME and XDG folders: drive.py PROGRAM RUNDIR OUTDIR.
Starts Xvfb, then itself again inside a D-Bus session bus, where it starts the
accessibility bus, a window manager, speech-dispatcher and Orca, and then the
program. Each step presses keys and waits until Orca's debug file holds the
words expected, with a time limit; a step that times out is recorded as
missed and the run goes on, so one transcript shows every step.
"""
import os
import re
import shutil
import signal
import subprocess
import sys
import time

PROGRAM, RUN, OUT = sys.argv[1:4]
INSIDE = len(sys.argv) > 4
LOG = os.path.join(RUN, "orca-debug.txt")
SPEECH = re.compile(r"SPEECH OUTPUT: '(.*?)' ?(?:\{[^{}]*\})?$")


def start_xvfb():
    """Xvfb on the first free display from :70, tried again where it does not last."""
    for attempt in range(3):
        number = next(n for n in range(70, 200) if not os.path.exists("/tmp/.X%d-lock" % n))
        display = ":%d" % number
        xvfb = subprocess.Popen(["Xvfb", display, "-noreset", "-nolisten", "tcp",
                                 "-screen", "0", "1280x1024x24"], stderr=subprocess.DEVNULL)
        env = dict(os.environ, DISPLAY=display)
        usable = lambda: subprocess.call(["xdotool", "getdisplaygeometry"], env=env,
                                         stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL) == 0
        if wait_for(lambda: xvfb.poll() is None and usable(), 10):
            return xvfb, display
        end(xvfb)
        time.sleep(1)
    sys.exit("Xvfb failed to start three times; nothing was checked.")


def outside():
    xvfb, display = start_xvfb()
    try:
        env = dict(os.environ, DISPLAY=display)
        return subprocess.call(["dbus-run-session", "--", sys.executable, __file__,
                                PROGRAM, RUN, OUT, "inside"], env=env)
    finally:
        xvfb.terminate()
        xvfb.wait()


STARTED = []  # every process started inside the session, ended in reverse order


def started(process):
    STARTED.append(process)
    return process


def end(process):
    process.terminate()
    try:
        process.wait(10)
    except subprocess.TimeoutExpired:  # Orca at times ignores SIGTERM
        process.kill()
        process.wait()


def end_all():
    for p in reversed(STARTED):
        end(p)


def spoken():
    """Every utterance in Orca's debug file so far."""
    try:
        with open(LOG, errors="replace") as f:
            return [m.group(1) for m in map(SPEECH.search, f) if m]
    except FileNotFoundError:
        return []


def wait_for(condition, seconds):
    end = time.monotonic() + seconds
    while time.monotonic() < end:
        if condition():
            return True
        time.sleep(0.05)
    return False


def start_orca():
    """Orca, its debug file line-buffered so that it can be waited on."""
    prefs = os.path.join(RUN, "orca-prefs")
    os.makedirs(prefs, exist_ok=True)
    # Orca refuses to start beside another Orca of the same user, and with
    # --replace kills it: here it has a display and buses of its own, so another
    # user session's Orca (or another run's) is no concern of it, and is left alone.
    launcher = (
        "import builtins, faulthandler, runpy, sys\n"
        "faulthandler.dump_traceback_later(50)  # where a start that hangs is stuck\n"
        "plain = builtins.open\n"
        "def line_buffered(file, mode='r', *args, **kwargs):\n"
        "    if file == sys.argv[2] and 'w' in mode:\n"
        "        return plain(file, mode, 1)\n"
        "    return plain(file, mode, *args, **kwargs)\n"
        "builtins.open = line_buffered\n"
        "orca = runpy.run_path('/usr/bin/orca', run_name='orca_launcher')\n"
        "orca['main'].__globals__['otherOrcas'] = lambda: []\n"
        "sys.exit(orca['main']())\n")
    for attempt in range(3):
        orca = started(subprocess.Popen(
            [sys.executable, "-c", launcher, "--debug-file", LOG, "-u", prefs],
            stdout=open(os.path.join(RUN, "orca-output.txt"), "w"), stderr=subprocess.STDOUT))
        ready = lambda: os.path.exists(LOG) and "Screen reader on" in open(LOG, errors="replace").read()
        if wait_for(lambda: ready() or orca.poll() is not None, 60) and ready():
            return orca
        end(orca)
        shutil.copy(os.path.join(RUN, "orca-output.txt"), os.path.join(OUT, "orca-output-%d.txt" % attempt))
    sys.exit("Orca did not start three times; nothing was checked.")


def start_speech():
    """speech-dispatcher in the foreground, ready once its socket is there."""
    config = os.path.join(RUN, "speechd")
    socket = os.path.join(os.environ["XDG_RUNTIME_DIR"], "speech-dispatcher", "speechd.sock")
    for attempt in range(3):
        speechd = started(subprocess.Popen(["speech-dispatcher", "-s", "-t", "0", "-C", config],
                                           stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL))
        if wait_for(lambda: os.path.exists(socket), 15):
            return speechd
        end(speechd)
    sys.exit("speech-dispatcher did not start three times; nothing was checked.")


def xdo(*args):
    subprocess.call(["xdotool", *args])


def key(name):
    xdo("key", "--clearmodifiers", name)


def with_alt(letter):
    # A synthetic Alt pressed and released at once opens Qt's menu and closes it.
    xdo("keydown", "Alt_L")
    time.sleep(0.4)
    xdo("key", letter)
    time.sleep(0.4)
    xdo("keyup", "Alt_L")


class Steps:
    def __init__(self):
        self.lines = []
        self.missed = []

    def step(self, title, action, expected, seconds=5):
        """Runs `action`, then waits until Orca has said every text of `expected`."""
        before = len(spoken())
        action()
        said = lambda: " ".join(spoken()[before:])
        heard = wait_for(lambda: all(e in said() for e in expected), seconds)
        time.sleep(0.3)  # the rest of what the same key brings
        words = spoken()[before:]
        self.lines.append("## " + title + ("" if heard else "   MISSED: " + " / ".join(expected)))
        self.lines.extend("    " + w for w in words)
        if not heard:
            self.missed.append(title)
        return heard


def window_of(title):
    found = lambda: subprocess.run(["xdotool", "search", "--onlyvisible", "--name", "^" + title + "$"],
                                   capture_output=True, text=True).stdout.split()
    wait_for(found, 15)
    return (found() or [""])[0]


def inside():
    env = os.environ
    started(subprocess.Popen(["/usr/libexec/at-spi-bus-launcher", "--launch-immediately"]))
    subprocess.call(["gsettings", "set", "org.gnome.desktop.interface", "toolkit-accessibility", "true"])
    started(subprocess.Popen(["openbox"], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL))
    start_speech()
    start_orca()
    app_env = dict(env, QT_QPA_PLATFORM="xcb", QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1")
    started(subprocess.Popen([PROGRAM], cwd=os.path.join(RUN, "work"), env=app_env,
                             stderr=open(os.path.join(OUT, "program-stderr.txt"), "w")))
    s = Steps()
    begun = time.monotonic()
    try:
        s.step("start: the main window, the focus on Na", lambda: window_of("Periodic Table"),
               ["Periodic Table", "Na, 11"], 20)
        for k, tile in [("Down", "K, 19"), ("Right", "Ca, 20"), ("Right", "Sc, 21"), ("Right", "Ti, 22"),
                        ("Right", "V, 23"), ("Right", "Cr, 24"), ("Right", "Mn, 25")]:
            s.step(k + " to " + tile, lambda k=k: key(k), [tile])
        s.step("Right onto Fe", lambda: key("Right"), ["Fe, 26", "push button", "Transition Metals"])
        s.step("Enter on Fe", lambda: key("Return"), ["Iron"])
        s.step("F6 into the panel", lambda: key("F6"), ["Chemical Name", "Iron"])
        for caption in ["Atomic Number", "Atomic weight", "Melting Point", "Boiling Point", "Density",
                        "Electron Configuration", "Valence Electron", "Crystal Structure",
                        "Specific Heat", "Thermal conductivity", "Electical Conductivity",
                        "Heat of Vaporization", "Heat of Fusion"]:
            unit = {"Melting Point": "C", "Boiling Point": "C", "Density": "g/ml",
                    "Specific Heat": "J/g-K", "Thermal conductivity": "W/cm-K",
                    "Electical Conductivity": "10^6/cm-ohm"}.get(caption, "")
            s.step("Down to " + caption, lambda: key("Down"), [caption] + ([unit] if unit else []))
        s.step("F6 back to the tile", lambda: key("F6"), ["Fe, 26"])
        s.step("Alt+E opens the editor", lambda: with_alt("e"), ["Edit data", "Heat of Fusion"], 15)
        for caption in ["Thermal conductivity", "Electical Conductivity", "Heat of Vaporization",
                        "Electron Configuration", "Valence Electron", "Crystal Structure",
                        "Specific Heat", "Atomic weight", "Melting Point", "Boiling Point",
                        "Density", "Atomic Number", "Chemical Name", "Save", "Record number"]:
            s.step("Tab to " + caption, lambda: key("Tab"), [caption])
        s.step("type 2", lambda: key("2"), ["Helium"])
        s.step("type 6", lambda: key("6"), ["Iron"])
        s.step("Tab to Cancel", lambda: key("Tab"), ["Cancel"])
        s.step("Tab to Heat of Fusion, with its value and unit", lambda: key("Tab"),
               ["Heat of Fusion", "kJ/mol"])
        main_window = window_of("Periodic Table")
        s.step("back to the main window", lambda: xdo("windowactivate", main_window),
               ["Periodic Table"], 10)
        # The title is read once the focus is inside the new window.
        s.step("Alt+A opens About", lambda: with_alt("a"), ["About frame", "OK push button"], 15)
        s.step("Insert+KP_Enter reads the title", lambda: key("Insert+KP_Enter"), ["About"])
    finally:
        elapsed = time.monotonic() - begun
    s.lines.append("# %d steps, %d missed, %.0f s of keys" % (
        sum(1 for l in s.lines if l.startswith("## ")), len(s.missed), elapsed))
    shutil.copy(LOG, os.path.join(OUT, "orca-debug.txt"))
    with open(os.path.join(OUT, "transcript.txt"), "w") as f:
        f.write("\n".join(s.lines) + "\n")
    print("\n".join(s.lines))
    return 1 if s.missed else 0


# A run that is stopped still ends what it started.
signal.signal(signal.SIGTERM, lambda *_: sys.exit(1))
if INSIDE:
    try:
        sys.exit(inside())
    finally:
        end_all()
sys.exit(outside())
