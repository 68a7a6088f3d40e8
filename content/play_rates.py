#!/usr/bin/env python3
"""Pass rates of the built-in players on every store's days: the check of the goals on real play.

Plays each regular day of each store with the newcomer (-autoplay=novice) and the strong player (-autoplay),
headless, once per seed, and prints per store: the newcomer's pass rate, the strong player's pass rate and its
expert rate, and the memory game's winnings for both. The newcomer should pass at least 80 % of Pinstripe's days
and 60 % of every later store's; the strong player all of them, with the expert goal still out of reach now and
then.
Usage: play_rates.py [--game PATH] [--seeds 1,2,3] [--stores 1,2,3,4,5] [--jobs N] [--days] [properties folder]
"""
import concurrent.futures
import json
import os
import subprocess
import sys
import xml.etree.ElementTree as ET

HERE = os.path.dirname(os.path.abspath(__file__))


def option(name, default):
    if name in sys.argv:
        return sys.argv[sys.argv.index(name) + 1]
    return default


def days_of(folder):
    """Per store (from 1): the level indices of its shop days and of its memory games."""
    stores = []
    for el in ET.parse(os.path.join(folder, "levels.xml")).getroot().iter():
        if el.tag == "store":
            stores.append({"days": [], "games": []})
        elif el.tag in ("level", "minigame") and stores:
            entry = stores[-1]
            index = len(entry["days"]) + len(entry["games"])
            entry["games" if el.tag == "minigame" else "days"].append(index)
    return stores


def play(game, store, level, seed, novice):
    command = [game, "-headless", "-nodraw", "-quit-after-level", f"-level={store}:{level}", f"-seed={seed}",
               "-autoplay=novice" if novice else "-autoplay"]
    done = subprocess.run(command, capture_output=True, text=True, cwd=os.path.dirname(game), timeout=600)
    for line in done.stdout.splitlines():
        if line.startswith("{"):
            return json.loads(line)
    return {"store": store, "level": level, "result": "none", "money": 0}


def percent(part, whole):
    return f"{100.0 * part / whole:5.1f}%" if whole else "    -"


def main():
    game = os.path.abspath(option("--game", os.path.join(HERE, "..", "build", "game", "velmora")))
    seeds = [int(s) for s in option("--seeds", "1,2,3").split(",")]
    args = [a for i, a in enumerate(sys.argv[1:], 1)
            if not a.startswith("--") and sys.argv[i - 1] not in ("--game", "--seeds", "--stores", "--jobs")]
    folder = args[0] if args else os.path.join(HERE, "properties")
    stores = days_of(folder)
    wanted = [int(s) for s in option("--stores", ",".join(str(i + 1) for i in range(len(stores)))).split(",")]
    jobs = []
    for store in wanted:
        for level in stores[store - 1]["days"] + stores[store - 1]["games"]:
            for seed in seeds:
                for novice in (True, False):
                    jobs.append((store, level, seed, novice))
    with concurrent.futures.ThreadPoolExecutor(int(option("--jobs", "2"))) as pool:
        results = list(pool.map(lambda job: play(game, *job), jobs))

    print("| Store | Novice passes | Strong passes | Strong expert | Memory game novice | Memory game strong |")
    print("|---|---|---|---|---|---|")
    failed_days = []
    for store in wanted:
        row = {True: [0, 0, 0, 0.0, 0], False: [0, 0, 0, 0.0, 0]}  # days, passed, expert, game money, games
        for (s, level, seed, novice), result in zip(jobs, results):
            if s != store:
                continue
            tally = row[novice]
            if level in stores[store - 1]["games"]:
                tally[3] += result.get("money", 0)
                tally[4] += 1
                continue
            tally[0] += 1
            tally[1] += result["result"] in ("passed", "expert")
            tally[2] += result["result"] == "expert"
            if result["result"] not in ("passed", "expert"):
                failed_days.append(f"{'novice' if novice else 'strong'} {store}:{level} seed {seed}: "
                                   f"{result.get('money', 0):.0f} of {result.get('goal', 0):.0f}"
                                   f" ({result.get('lost_customers', 0)} lost)")
        novice, strong = row[True], row[False]
        game_novice = f"${novice[3] / novice[4]:.0f}" if novice[4] else "-"
        game_strong = f"${strong[3] / strong[4]:.0f}" if strong[4] else "-"
        print(f"| {store} | {percent(novice[1], novice[0])} ({novice[1]}/{novice[0]}) |"
              f" {percent(strong[1], strong[0])} ({strong[1]}/{strong[0]}) | {percent(strong[2], strong[0])} |"
              f" {game_novice} | {game_strong} |")
    if "--days" in sys.argv:
        print("\n".join(failed_days))
    return 0


if __name__ == "__main__":
    sys.exit(main())
