"""A game session on a private X server: Xvfb, the game in a window, real pointer events made with xdotool and
screenshots made with xwd and ImageMagick. The walks in this folder are built on it; none of them runs in CI.

The game's data goes to a folder of its own (XDG_DATA_HOME, XDG_CONFIG_HOME and XDG_RUNTIME_DIR below `home`), so a
walk starts from a fresh profile unless it is given an existing home, and never meets another running copy.
"""

import os
import re
import shutil
import signal
import subprocess
import sys
import threading
import time
from pathlib import Path

# A walk stopped with SIGTERM still stops its game and its X server (the scripts do that in their finally blocks).
signal.signal(signal.SIGTERM, lambda *_: sys.exit(143))

ROOT = Path(__file__).resolve().parents[2]
WINDOW_NAME = "^Velmora Row$"


def default_program():
    return str(ROOT / "build" / "game" / "velmora")


def free_display(first=60):
    for n in range(first, first + 100):
        if not os.path.exists(f"/tmp/.X{n}-lock") and not os.path.exists(f"/tmp/.X11-unix/X{n}"):
            return n
    raise RuntimeError("no free X display number")


class XServer:
    """Xvfb on a free display, stopped with the session. The screen is the game's own size by default: with no
    window manager to resize it, a full-screen window would keep its windowed size while the game draws for the
    whole screen."""

    def __init__(self, size="800x600x24"):
        self.number = free_display()
        self.display = f":{self.number}"
        self.proc = subprocess.Popen(["Xvfb", self.display, "-screen", "0", size, "-nolisten", "tcp"],
                                     stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        for _ in range(100):
            if os.path.exists(f"/tmp/.X11-unix/X{self.number}"):
                break
            time.sleep(0.05)
        else:
            raise RuntimeError("Xvfb did not start on " + self.display)

    def stop(self):
        if self.proc.poll() is None:
            self.proc.terminate()
            self.proc.wait(10)


class Game:
    """The game in a window on `xserver`. Every line of its standard output goes to `on_line` (from a reader
    thread) and to the log; with `drive` the built-in player's event lines are made with the real pointer. Without
    `windowed` the game starts as its settings say (full screen on a first run)."""

    def __init__(self, xserver, home, args, program=None, drive=False, log=None, on_line=None, windowed=True):
        self.x = xserver
        self.home = Path(home)
        for sub in ("data", "config", "runtime"):
            (self.home / sub).mkdir(parents=True, exist_ok=True)
        os.chmod(self.home / "runtime", 0o700)
        self.env = dict(os.environ, DISPLAY=xserver.display, SDL_AUDIODRIVER="dummy",
                        XDG_DATA_HOME=str(self.home / "data"), XDG_CONFIG_HOME=str(self.home / "config"),
                        XDG_RUNTIME_DIR=str(self.home / "runtime"))
        self.on_line = on_line
        self.log = open(log, "a") if log else None
        self.lines = []  # everything the game printed that was not an event line
        self.events_done = 0
        self.event_wait_ms = 0.0  # time spent making the events, xdotool included
        self.window = None
        self.pointer = None
        # False: the driver's lines are no longer made (a person has taken over the pointer); the game's player
        # then waits for ever on its last line and decides nothing more.
        self.perform_lines = True
        self.finding = threading.Lock()  # the reader thread and the walk may look for the window at once
        self.cond = threading.Condition()
        cmd = [program or default_program()] + (["-windowed"] if windowed else []) + list(args)
        if drive:
            cmd += ["-autoplay", "-drive=-"]
        self.started = time.monotonic()
        self.note("start: " + " ".join(cmd))
        self.proc = subprocess.Popen(cmd, env=self.env, stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True,
                                     bufsize=1)
        self.reader = threading.Thread(target=self._read, daemon=True)
        self.reader.start()

    # --- output ----------------------------------------------------------------------------------------------
    def note(self, text):
        stamp = f"[{time.monotonic() - getattr(self, 'started', time.monotonic()):8.2f}] "
        if self.log:
            self.log.write(stamp + text + "\n")
            self.log.flush()

    def _read(self):
        for raw in self.proc.stdout:
            line = raw.rstrip("\n")
            parts = line.split()
            if len(parts) == 3 and parts[0] in ("move", "down", "up") and all(p.lstrip("-").isdigit() for p in parts[1:]):
                if not self.perform_lines:
                    self.note("left undone: " + line)
                    continue
                t0 = time.monotonic()
                self.perform(parts[0], int(parts[1]), int(parts[2]))
                self.event_wait_ms += (time.monotonic() - t0) * 1000
                self.events_done += 1
                continue
            m = re.match(r'drive: still waiting for "move (-?\d+) (-?\d+)"', line)
            if m:
                # The move was lost on the way (the pointer is there, but the window did not hear of it): move off
                # and back, which the display reports. A lost press is not made again: that could click twice.
                x, y = int(m.group(1)), int(m.group(2))
                self.xdo("mousemove", "--window", self.window, x + 1, y)
                self.xdo("mousemove", "--window", self.window, x, y)
            self.note("game: " + line)
            with self.cond:
                self.lines.append(line)
                self.cond.notify_all()
            if self.on_line:
                self.on_line(line)
        with self.cond:
            self.cond.notify_all()

    def wait_line(self, pattern, timeout=600, start=0):
        """Waits for a printed line matching `pattern` (searched from line number `start`); returns it or None."""
        rx = re.compile(pattern)
        deadline = time.monotonic() + timeout
        with self.cond:
            while True:
                for line in self.lines[start:]:
                    if rx.search(line):
                        return line
                if self.proc.poll() is not None and not self.reader.is_alive():
                    return None
                left = deadline - time.monotonic()
                if left <= 0:
                    return None
                self.cond.wait(min(left, 1.0))

    # --- X -----------------------------------------------------------------------------------------------------
    def xdo(self, *args):
        subprocess.run(["xdotool"] + [str(a) for a in args], env=self.env, check=False,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)

    def find_window(self, timeout=60):
        with self.finding:
            return self._find_window(timeout)

    def _find_window(self, timeout):
        deadline = time.monotonic() + timeout
        while self.window is None and time.monotonic() < deadline:
            out = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", WINDOW_NAME], env=self.env,
                                 capture_output=True, text=True).stdout.split()
            if out:
                self.window = out[-1]
                self.note("window " + self.window)
                # No window manager: give the window the keyboard focus ourselves, as a desktop would.
                self.xdo("windowfocus", "--sync", self.window)
                # A window just mapped may not take pointer events yet: an early move would be lost.
                time.sleep(1.0)
                break
            time.sleep(0.1)
        if self.window is None:
            raise RuntimeError("the game window did not appear")
        return self.window

    def perform(self, verb, x, y):
        self.find_window()
        if verb == "move" or self.pointer != (x, y):
            self.xdo("mousemove", "--window", self.window, x, y)
            self.pointer = (x, y)
        if verb == "down":
            self.xdo("mousedown", 1)
        elif verb == "up":
            self.xdo("mouseup", 1)
        self.note(f"did {verb} {x} {y}")

    def move(self, x, y):
        self.perform("move", x, y)

    def click(self, x, y, pause=0.15):
        """A person's click at window pixel (x, y): move, press, release. The pointer comes from a pixel beside,
        so the window always hears of it (a window made under a still pointer would not)."""
        self.perform("move", x + 1, y)
        self.perform("move", x, y)
        time.sleep(0.05)
        self.perform("down", x, y)
        time.sleep(0.05)
        self.perform("up", x, y)
        time.sleep(pause)

    # Keys go through the X test extension to the focused window: events sent to a window directly are marked as
    # sent, and SDL ignores those.
    def key(self, *keys):
        self.find_window()
        self.xdo("windowfocus", "--sync", self.window)
        self.xdo("key", "--delay", 80, *keys)
        self.note("key " + " ".join(keys))

    def type_text(self, text):
        self.find_window()
        self.xdo("windowfocus", "--sync", self.window)
        self.xdo("type", "--delay", 80, text)
        self.note("typed " + text)

    def window_geometry(self):
        """(x, y, width, height) of the game window on the screen."""
        for _ in range(2):
            self.find_window()
            out = subprocess.run(["xdotool", "getwindowgeometry", "--shell", self.window], env=self.env,
                                 capture_output=True, text=True).stdout
            values = dict(line.split("=", 1) for line in out.split() if "=" in line)
            if "WIDTH" in values:
                return int(values["X"]), int(values["Y"]), int(values["WIDTH"]), int(values["HEIGHT"])
            self.lost_window()
        raise RuntimeError("the game window cannot be measured")

    def lost_window(self):
        """The game made a new window (switching full screen may): look it up again."""
        self.note("window lost")
        with self.finding:
            self.window = None

    def shot(self, path, whole_screen=False):
        """The window (or the whole screen) as a PNG."""
        path = Path(path)
        path.parent.mkdir(parents=True, exist_ok=True)
        source = ["-root"] if whole_screen or self.window is None else ["-id", self.window]
        xwd = subprocess.run(["xwd", "-silent", "-display", self.x.display] + source, capture_output=True)
        subprocess.run(["convert", "xwd:-", str(path)], input=xwd.stdout, check=False)
        self.note("shot " + str(path))
        return path

    # --- end ---------------------------------------------------------------------------------------------------
    def close(self):
        """Asks the game to close as the window's close button would (SDL turns SIGTERM into a quit request)."""
        if self.proc.poll() is None:
            self.proc.terminate()

    def wait(self, timeout=None):
        try:
            code = self.proc.wait(timeout)
        except subprocess.TimeoutExpired:
            return None
        self.reader.join(5)
        self.note(f"exit {code}")
        return code

    def stop(self):
        if self.proc.poll() is None:
            self.close()
            if self.wait(20) is None:
                self.proc.kill()
                self.wait(10)


def profile_path(home):
    return Path(home) / "data" / "Kestrin" / "Velmora Row" / "profiles.xml"


def settings_path(home):
    return Path(home) / "config" / "Kestrin" / "Velmora Row" / "settings.ini"


def fresh_home(path):
    path = Path(path)
    if path.exists():
        shutil.rmtree(path)
    path.mkdir(parents=True)
    return path
