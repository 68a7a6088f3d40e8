#!/usr/bin/env python3
"""Walk: a new player is taught store 1's first day, step by step, in a real window.

A fresh home (a first run), the built-in player driving the real pointer from the logo to the first lesson; the
game tells each new step of the lesson ("lesson step N") and a screenshot is taken shortly after each one (while
the arrows of the step show), then one of the level start panel the lesson hands over to. The game is then closed.
The pointer waits while a screenshot is taken (the game waits for it, as for a person reading the box), so every
picture shows its own step.

    tools/xvfb/walk_lesson.py --home /tmp/walk-lesson -- -seed=1
"""

import argparse
import sys
import threading
import time
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent))
import xsession  # noqa: E402


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--home", required=True)
    parser.add_argument("--program", default=xsession.default_program())
    parser.add_argument("--shot-delay", type=float, default=0.3, help="seconds after a step change")
    parser.add_argument("--timeout", type=float, default=900)
    parser.add_argument("game", nargs="*", help="more options for the game (after --)")
    opts = parser.parse_args()

    home = xsession.fresh_home(opts.home)
    shots = home / "shots"
    steps = []  # (seconds, step)
    ended = threading.Event()
    game = None
    start = time.monotonic()

    # Called on the thread that makes the pointer events: while it takes a picture, no event is made.
    def on_line(line):
        print(f"{time.monotonic() - start:7.1f} s  {line}", flush=True)
        if line.startswith("lesson step "):
            step = int(line.split()[2])
            steps.append((time.monotonic() - start, step))
            time.sleep(opts.shot_delay)
            game.shot(shots / f"step{step:02d}.png")
        elif line == "lesson end":
            time.sleep(2.5)  # the level start panel slides in
            game.shot(shots / "after-lesson.png")
            ended.set()

    xserver = xsession.XServer()
    game = xsession.Game(xserver, home, opts.game, program=opts.program, drive=True, log=home / "walk.log",
                         on_line=on_line)
    try:
        game.find_window()
        ok = ended.wait(opts.timeout)
        game.close()
        code = game.wait(30)
    finally:
        game.stop()
        xserver.stop()
    print(f"lesson {'ended' if ok else 'did not end'}; steps seen: {[s for _, s in steps]}; exit {code}")
    for seconds, step in steps:
        print(f"  step {step:2d} at {seconds:6.1f} s")
    return 0 if ok else 1


if __name__ == "__main__":
    sys.exit(main())
