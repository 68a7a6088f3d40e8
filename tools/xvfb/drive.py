#!/usr/bin/env python3
"""Lets the built-in player play the game in a real window through real pointer events.

Starts Xvfb, starts the game windowed with "-autoplay -drive=-" and makes each line it prints ("move X Y",
"down X Y", "up X Y") with xdotool; the game waits for each event to come back before it decides on the next one.
Other lines (the day reports, the run's last line, the digest) are printed here and kept in the log.

    tools/xvfb/drive.py --home /tmp/walk --fresh --shots /tmp/walk/shots --shot-every 20 -- -seed=1
    tools/xvfb/drive.py --home /tmp/walk --stop-after-days 2 -- -record=/tmp/walk/two.dmo -seed=3

Everything after "--" goes to the game. The game's data lives below --home (see xsession.py).
"""

import argparse
import json
import re
import sys
import threading
import time
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent))
import xsession  # noqa: E402


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--home", required=True, help="folder for the game's data, settings and log")
    parser.add_argument("--fresh", action="store_true", help="empty --home first: a first run, a new profile")
    parser.add_argument("--program", default=xsession.default_program())
    parser.add_argument("--shots", help="folder for screenshots")
    parser.add_argument("--shot-every", type=float, default=0, help="a screenshot every N seconds")
    parser.add_argument("--shot-on", default=r'^\{', help="a screenshot when the game prints a line matching this")
    parser.add_argument("--stop-after-days", type=int, default=0,
                        help="close the game (as its window's close button would) once N day lines have come")
    parser.add_argument("--stop-delay", type=float, default=2.0, help="seconds between that line and the close")
    parser.add_argument("--on-day", help="a command run after each day line, with the day's number appended")
    parser.add_argument("--timeout", type=float, default=7200, help="seconds before the game is stopped")
    parser.add_argument("game", nargs="*", help="options for the game (after --)")
    opts = parser.parse_args()

    home = xsession.fresh_home(opts.home) if opts.fresh else Path(opts.home)
    home.mkdir(parents=True, exist_ok=True)
    shots = Path(opts.shots) if opts.shots else None
    xserver = xsession.XServer()
    shot_count = [0]
    days = [0]
    close_at = [None]
    game = None

    def take(tag):
        if shots is not None and game is not None and game.window is not None:
            shot_count[0] += 1
            game.shot(shots / f"{shot_count[0]:03d}-{tag}.png")

    def on_line(line):
        print(line, flush=True)
        if line.startswith("{"):
            try:
                report = json.loads(line)
            except ValueError:
                report = {}
            if "level" in report:
                days[0] += 1
                if opts.on_day:
                    import subprocess
                    subprocess.run(opts.on_day + f" {days[0]}", shell=True, check=False)
                if opts.stop_after_days and days[0] >= opts.stop_after_days:
                    close_at[0] = time.monotonic() + opts.stop_delay
        if re.search(opts.shot_on, line):
            tag = "day%d" % days[0] if line.startswith("{") else "line"
            threading.Timer(0.5, take, args=(tag,)).start()

    game = xsession.Game(xserver, home, opts.game, program=opts.program, drive=True, log=home / "walk.log",
                         on_line=on_line)
    try:
        game.find_window()
        start = time.monotonic()
        next_shot = start + opts.shot_every if opts.shot_every > 0 else None
        while game.proc.poll() is None:
            now = time.monotonic()
            if now - start > opts.timeout:
                print("drive: timeout, closing the game", file=sys.stderr)
                game.close()
                break
            if close_at[0] is not None and now >= close_at[0]:
                close_at[0] = None
                game.close()
            if next_shot is not None and now >= next_shot:
                take("t%04d" % int(now - start))
                next_shot += opts.shot_every
            time.sleep(0.2)
        code = game.wait(30)
        elapsed = time.monotonic() - start
        print(f"drive: exit {code}, {elapsed:.0f} s, {game.events_done} events made, "
              f"{game.event_wait_ms / max(game.events_done, 1):.1f} ms each", file=sys.stderr)
        return 0 if code == 0 else 1
    finally:
        game.stop()
        xserver.stop()


if __name__ == "__main__":
    sys.exit(main())
