#!/usr/bin/env python3
"""Walk: a whole store played from the map in a real window, the profile file checked after every day.

A fresh home (a first run), the built-in player driving the real pointer (drive.py's way), from the logo through
the name entry, the main menu and the map into store 1: every day's level start, the day, its result panel, back to
the map, until the store is done and store 2 stands unlocked; once the map shows store 2 being built the game is
closed (the player would go on into the next stores). One day is left alone on purpose (-idle-day) so it
fails and costs a life. Every time profiles.xml changes it is copied and compared with the copy before: the level
states, the saved run (level, cash, score, lives), the unlocked stores and the high scores. At the end a report
(report.md below --home) lists the days, the profile changes and the checks.

    tools/xvfb/walk_store.py --home /tmp/walk-store -- -seed=1
"""

import argparse
import json
import shutil
import sys
import threading
import time
import xml.etree.ElementTree as ET
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent))
import xsession  # noqa: E402


def read_profile(path):
    """The selected player's part of profiles.xml as plain values."""
    root = ET.fromstring(Path(path).read_bytes())
    selected = int(root.get("selected", "-1"))
    players = root.findall("profile")
    me = players[selected] if 0 <= selected < len(players) else None
    out = {"selected": selected, "players": [p.get("name") for p in players if p.get("name")]}
    if me is not None:
        out["name"] = me.get("name")
        out["unlocked_stores"] = int(me.get("unlocked_stores"))
        out["levels"] = {(int(s.get("number")), int(l.get("number"))): int(l.get("state"))
                         for s in me.findall("store") for l in s.findall("level")}
        state = me.find("state")
        out["saved"] = None if state is None else {k: state.get(k) for k in
                                                   ("store", "level", "cash", "score", "lives")}
        if state is not None:
            out["saved"]["furniture"] = [f.get("level") for f in state.findall("furniture")]
    out["highscores"] = [[(h.get("name"), int(h.get("score"))) for h in t.findall("highscore")]
                         for t in root.findall("highscore-store")]
    return out


def describe_change(before, after):
    changes = []
    for key in ("selected", "players", "name", "unlocked_stores"):
        if before.get(key) != after.get(key):
            changes.append(f"{key}: {before.get(key)} -> {after.get(key)}")
    old_levels, new_levels = before.get("levels", {}), after.get("levels", {})
    for key in sorted(set(old_levels) | set(new_levels)):
        if old_levels.get(key) != new_levels.get(key):
            changes.append(f"level state {key[0]}:{key[1]}: {old_levels.get(key)} -> {new_levels.get(key)}")
    old_saved, new_saved = before.get("saved") or {}, after.get("saved") or {}
    if (before.get("saved") is None) != (after.get("saved") is None):
        changes.append("saved run: " + ("made" if after.get("saved") else "erased"))
    for key in ("store", "level", "cash", "score", "lives", "furniture"):
        if old_saved.get(key) != new_saved.get(key) and after.get("saved") is not None:
            changes.append(f"saved {key}: {old_saved.get(key)} -> {new_saved.get(key)}")
    old_scores, new_scores = before.get("highscores", []), after.get("highscores", [])
    if new_scores and not old_scores:
        changes.append(f"high scores: {len(new_scores)} tables of {len(new_scores[0])} entries")
        return changes
    for i, table in enumerate(new_scores):
        if i >= len(old_scores) or old_scores[i] != table:
            added = [e for e in table if i >= len(old_scores) or e not in old_scores[i]]
            if added:
                changes.append(f"high scores store {i + 1}: new {added}")
    return changes


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--home", required=True)
    parser.add_argument("--program", default=xsession.default_program())
    parser.add_argument("--idle-day", default="1:3", help="STORE:LEVEL the player leaves alone the first time")
    parser.add_argument("--timeout", type=float, default=5400)
    parser.add_argument("game", nargs="*", help="more options for the game (after --)")
    opts = parser.parse_args()

    home = xsession.fresh_home(opts.home)
    copies = home / "profiles"
    shots = home / "shots"
    copies.mkdir()
    profile = xsession.profile_path(home)
    days = []
    run_line = [None]
    lock = threading.Lock()

    def on_line(line):
        if not line.startswith("{"):
            return
        report = json.loads(line)
        with lock:
            if "level" in report:
                days.append(report)
            elif "run" in report:
                run_line[0] = report
        print(line, flush=True)

    xserver = xsession.XServer()
    game = xsession.Game(xserver, home, ["-idle-day=" + opts.idle_day] + opts.game, program=opts.program,
                         drive=True, log=home / "walk.log", on_line=on_line)
    writes = []  # (seconds, days seen, changes, copy name)
    last_bytes = b""
    last = {}
    shot_days = 0
    try:
        game.find_window()
        start = time.monotonic()
        game.shot(shots / "000-start.png")
        closing_at = None
        while game.proc.poll() is None and time.monotonic() - start < opts.timeout:
            time.sleep(0.25)
            if closing_at is None and last.get("unlocked_stores", 0) >= 2:
                closing_at = time.monotonic() + 20  # the comic, the high scores, the map with store 2 being built
            if closing_at is not None and time.monotonic() >= closing_at:
                game.shot(shots / "999-end.png")
                game.close()
                closing_at = float("inf")
            with lock:
                seen = len(days)
            if seen > shot_days:
                shot_days = seen
                time.sleep(1.5)  # the result panel slides in
                game.shot(shots / f"{seen:03d}-result.png")
            if not profile.exists():
                continue
            data = profile.read_bytes()
            if data == last_bytes:
                continue
            try:
                now = read_profile(profile)
            except ET.ParseError:
                continue  # caught between the write and the rename: read it next time
            last_bytes = data
            name = f"{len(writes):03d}-after-{seen}-days.xml"
            (copies / name).write_bytes(data)
            changes = describe_change(last, now)
            writes.append((time.monotonic() - start, seen, changes, name))
            print(f"profile write {len(writes)} after {seen} days: " + "; ".join(changes), flush=True)
            last = now
        code = game.wait(60)
        elapsed = time.monotonic() - start
    finally:
        game.stop()
        xserver.stop()

    # The checks.
    checks = []

    def check(ok, text):
        checks.append(("ok  " if ok else "FAIL") + " " + text)

    failed = [d for d in days if d["result"] == "failed"]
    store1 = [d for d in days if d["store"] == 1]
    last_day = store1[-1] if store1 else None
    check(last_day is not None and last_day["level"] == 12 and last_day["result"] != "failed",
          f"store 1's last day passed: {last_day and (last_day['level'], last_day['result'])}")
    check(len(failed) >= 1, f"{len(failed)} failed day(s): " + ", ".join(f"{d['store']}:{d['level']}" for d in failed))
    for d in failed:
        before = [x for x in days if days.index(x) < days.index(d)]
        lives_before = before[-1]["lives"] if before else 3
        check(d["lives"] == lives_before - 1, f"the failed day {d['store']}:{d['level']} cost a life "
                                              f"({lives_before} -> {d['lives']})")
    check(last.get("unlocked_stores", 0) >= 2, f"store 2 unlocked: unlocked_stores = {last.get('unlocked_stores')}")
    total = last_day["run_total"] if last_day else None
    table1 = last.get("highscores", [[]])[0] if last.get("highscores") else []
    check(total is not None and any(abs(score - total) <= 1 for _, score in table1),
          f"the run total {total} is in store 1's high scores {table1}")
    passed_levels = sorted({d["level"] for d in days if d["result"] != "failed" and d["store"] == 1})
    states = last.get("levels", {})
    check(all(states.get((1, lv), 0) >= 2 for lv in passed_levels),
          "every passed day has state 2 or 3 in the file: " +
          ", ".join(f"{lv}={states.get((1, lv))}" for lv in passed_levels))

    with open(home / "report.md", "w") as out:
        out.write(f"# Store walk\n\nexit {code}, {elapsed:.0f} s real time, {game.events_done} pointer events made "
                  f"({game.event_wait_ms / max(game.events_done, 1):.1f} ms each)\n\n## Days\n\n")
        out.write("| # | store:level | result | money | goal | lives | run total |\n|---|---|---|---|---|---|---|\n")
        for i, d in enumerate(days, 1):
            out.write(f"| {i} | {d['store']}:{d['level']} | {d['result']} | {d['money']:.2f} | {d['goal']:.0f} | "
                      f"{d['lives']} | {d['run_total']} |\n")
        out.write(f"\nrun line: {run_line[0]}\n\n## Profile writes\n\n")
        for seconds, seen, changes, name in writes:
            out.write(f"- {seconds:6.0f} s, after {seen} day(s), {name}: " + "; ".join(changes) + "\n")
        out.write("\n## Checks\n\n" + "\n".join("- " + c for c in checks) + "\n")
    print("\n".join(checks))
    print("report:", home / "report.md")
    return 0 if all(c.startswith("ok") for c in checks) else 1


if __name__ == "__main__":
    sys.exit(main())
