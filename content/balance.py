#!/usr/bin/env python3
"""The day model of balance.md, evaluated on the shipped data files.

Reads properties/stores.xml, levels.xml and customers.xml, computes for every shop day the modelled
takings E and the goals the model suggests, and prints them beside the goals the data files hold.
Days whose goal rises above the model's expert takings, or whose goals fall within a store's year,
are flagged, so an expert pass can change levels.xml and check it again.
Usage: balance.py [--markdown] [properties folder]
"""
import os
import sys
import xml.etree.ElementTree as ET

MONTHS = ["Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"]
SECONDS_PER_WISH = 4.0      # restock, clear a room or fetch a piece, per wish on average
SECONDS_PER_CUSTOMER = 3.0  # serving the register


def served_chance(load):
    return 0.95 if load <= 0.55 else max(0.55, 0.95 - (load - 0.55) * 0.8)


def read(folder):
    stores = []
    for el in ET.parse(os.path.join(folder, "stores.xml")).getroot().iter():
        a = el.attrib
        if el.tag == "store":
            stores.append({"name": a["name"], "gift": 0.0, "lines": [], "levels": [], "customers": {}})
        elif el.tag == "gift-wrap":
            stores[-1]["gift"] = float(a.get("cost", 0))
        elif el.tag == "layout":
            stores[-1]["lines"].append(None)
        elif el.tag == "furniture" and stores[-1]["lines"][-1] is None:
            stores[-1]["lines"][-1] = (int(a.get("price", 0)) == 0, float(a.get("cost", 0)))
    current = -1
    for el in ET.parse(os.path.join(folder, "levels.xml")).getroot().iter():
        a = el.attrib
        if el.tag == "store":
            current += 1
        elif el.tag == "level":
            stores[current]["levels"].append({"goal": int(a["min_goal"]), "expert": int(a["expert_goal"]),
                                              "duration": float(a["duration"]), "arrivals": []})
        elif el.tag == "minigame":
            stores[current]["levels"].append(None)
        elif el.tag == "customer" and stores[current]["levels"][-1] is not None:
            stores[current]["levels"][-1]["arrivals"].append(a["name"])
    key = None
    for el in ET.parse(os.path.join(folder, "customers.xml")).getroot().iter():
        a = el.attrib
        if el.tag == "customer":
            key = (int(a["store"]) - 1, a["name"])
            stores[key[0]]["customers"][key[1]] = {"tips": float(a.get("tips", 0)), "wishes": 0, "wraps": 0}
        elif el.tag == "clothing" and key:
            c = stores[key[0]]["customers"][key[1]]
            c["wishes"] += 1
            c["wraps"] += a.get("got_clothing") == "gift_wrap"
    return stores


def evaluate(stores):
    rows = []
    for s in stores:
        opening = [cost for free, cost in s["lines"] if free]
        every = [cost for free, cost in s["lines"]]
        p = sum(opening) / len(opening)
        mean = sum(every) / len(every)
        days = [d for d in s["levels"] if d is not None]
        for li, d in enumerate(days):
            t = li / 11.0
            kinds = [s["customers"].get(n, {"tips": 0, "wishes": 0, "wraps": 0}) for n in d["arrivals"]]
            wishes = sum(k["wishes"] for k in kinds)
            tips = sum(k["tips"] * 2.0 for k in kinds)
            gift = s["gift"] * sum(k["wraps"] for k in kinds)
            speed = 1.0 + 0.25 * min(1.0, li / 8.0)
            load = (wishes * SECONDS_PER_WISH + len(kinds) * SECONDS_PER_CUSTOMER) / (d["duration"] * 0.85 * speed)
            sc = served_chance(load)
            takings = sc * (wishes * p + tips + gift)
            rich = sc * (wishes * (p + (mean - p) * 0.4 + mean * 0.25 * t) + tips * 1.25 + gift)
            rows.append({"store": s["name"], "month": MONTHS[li] if li < 12 else str(li), "arrivals": len(kinds),
                         "wishes": wishes, "p": p, "tips": tips, "load": load, "s": sc, "E": takings,
                         "model_goal": takings * (0.62 + 0.12 * t), "rich": rich,
                         "goal": d["goal"], "expert": d["expert"]})
    return rows


def main():
    args = [a for a in sys.argv[1:] if not a.startswith("--")]
    folder = args[0] if args else os.path.join(os.path.dirname(os.path.abspath(__file__)), "properties")
    rows = evaluate(read(folder))
    if "--markdown" in sys.argv:
        print("| Store | Month | Arrivals | Wishes | p | T | L | s | E | Goal | Expert |")
        print("|---|---|---|---|---|---|---|---|---|---|---|")
        for r in rows:
            print(f"| {r['store']} | {r['month']} | {r['arrivals']} | {r['wishes']} | {r['p']:.1f} | {r['tips']:.1f} |"
                  f" {r['load']:.2f} | {r['s']:.2f} | {r['E']:.0f} | {r['goal']} | {r['expert']} |")
        return 0
    flagged = 0
    previous = None
    for r in rows:
        notes = []
        if r["goal"] > r["rich"]:
            notes.append("goal above the expert takings")
        if r["expert"] < r["goal"]:
            notes.append("expert goal below the goal")
        if previous and previous["store"] == r["store"] and r["goal"] < previous["goal"]:
            notes.append("goal falls")
        flagged += bool(notes)
        print(f"{r['store']:10} {r['month']} E {r['E']:7.0f} model goal {r['model_goal']:7.0f} goal {r['goal']:5}"
              f" expert {r['expert']:5} {'; '.join(notes)}")
        previous = r
    return 1 if flagged else 0


if __name__ == "__main__":
    sys.exit(main())
