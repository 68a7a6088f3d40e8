#!/usr/bin/env python3
"""Walk: a demo recorded from real pointer input over two days, then replayed headless to the same digest.

A fresh home, the built-in player driving the real pointer in a window with "-record=FILE", from the logo through
the first two days; after the second day's line the window is closed (as its close button would), which ends the
demo. Then the same program replays the demo headless without drawing ("-play=FILE -nodraw") and both digests are
compared. The report gives both digests, the updates the demo spans, its size and its events.

    tools/xvfb/walk_demo.py --home /tmp/walk-demo -- -seed=3
"""

import argparse
import re
import subprocess
import sys
import time
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent))
import xsession  # noqa: E402


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--home", required=True)
    parser.add_argument("--program", default=xsession.default_program())
    parser.add_argument("--days", type=int, default=2)
    parser.add_argument("--timeout", type=float, default=1800)
    parser.add_argument("game", nargs="*", help="more options for the game (after --)")
    opts = parser.parse_args()

    home = xsession.fresh_home(opts.home)
    demo = home / "two-days.dmo"
    xserver = xsession.XServer()
    game = xsession.Game(xserver, home, ["-record=" + str(demo)] + opts.game, program=opts.program, drive=True,
                         log=home / "walk.log", on_line=lambda line: print(line, flush=True))
    start = time.monotonic()
    try:
        game.find_window()
        while (sum(1 for line in list(game.lines) if line.startswith('{"store"')) < opts.days
               and game.proc.poll() is None and time.monotonic() - start < opts.timeout):
            time.sleep(0.5)
        time.sleep(2)
        game.shot(home / "last.png")
        game.close()
        code = game.wait(60)
    finally:
        game.stop()
        xserver.stop()
    recorded = time.monotonic() - start
    digest_rx = re.compile(r"digest ([0-9a-f]{16})")
    rec_digest = next((m.group(1) for m in map(digest_rx.search, game.lines) if m), None)
    days = [line for line in game.lines if line.startswith('{"store"')]

    t0 = time.monotonic()
    replay = subprocess.run([opts.program, "-headless", "-nodraw", "-play=" + str(demo)], capture_output=True,
                            text=True, env=game.env)
    replayed = time.monotonic() - t0
    play_digest = next((m.group(1) for m in map(digest_rx.search, replay.stdout.splitlines()) if m), None)

    text = demo.read_text() if demo.exists() else ""
    events = re.findall(r"^ev (\d+) (\S+)", text, re.M)
    kinds = {}
    for _, kind in events:
        kinds[kind] = kinds.get(kind, 0) + 1
    end = re.search(r"^end (\d+)", text, re.M)
    lines = [
        f"recording: exit {code}, {recorded:.0f} s real time, {len(days)} day line(s), {game.events_done} pointer "
        f"events made by xdotool",
        *["  " + d for d in days],
        f"demo: {demo.stat().st_size if demo.exists() else 0} bytes, {len(text.splitlines())} lines, "
        f"{len(events)} events {kinds}, end after {end.group(1) if end else '?'} updates",
        f"recorded digest: {rec_digest}",
        f"replayed digest: {play_digest} (exit {replay.returncode}, {replayed:.1f} s headless)",
        "same digest" if rec_digest and rec_digest == play_digest else "DIGESTS DIFFER",
    ]
    if replay.returncode != 0:
        lines.append("replay said: " + replay.stderr.strip()[-500:])
    (home / "report.txt").write_text("\n".join(lines) + "\n")
    print("\n".join(lines))
    return 0 if rec_digest and rec_digest == play_digest else 1


if __name__ == "__main__":
    sys.exit(main())
