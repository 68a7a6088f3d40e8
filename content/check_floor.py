#!/usr/bin/env python3
"""Checks that every standing point of every store can reach every other one on the walk grid.

Builds the grid exactly as the game does (grid.txt, then the furniture rings of the built floor
spots, with a ring node on an existing node only narrowing it, for good), for the opening floor and
the fully bought floor of each store, after every store's rings have narrowed the shared nodes.
Exits non-zero and names the unreachable pairs when something is cut off.
Usage: check_floor.py [properties folder]
"""
import os
import sys
import xml.etree.ElementTree as ET

INF = 1073741823
DIRS = {"+": "udlr", "-": "lr", "|": "ud", "l": "l", "r": "r", "u": "u", "d": "d"}


def letters_to_flags(letters):
    flags = set()
    for ch in letters:
        flags |= set(DIRS.get(ch, ""))
    return flags


class Grid:
    def __init__(self):
        self.nodes = {}

    def add(self, x, y, letters):
        flags = letters_to_flags(letters)
        if (x, y) in self.nodes:
            self.nodes[(x, y)] &= flags
            return False
        self.nodes[(x, y)] = flags
        return True

    def copy(self):
        g = Grid()
        g.nodes = {k: set(v) for k, v in self.nodes.items()}
        return g

    def distances(self):
        keys = [k for k in self.nodes if k[0] != 0 and k[1] != 0]
        index = {k: i for i, k in enumerate(keys)}
        n = len(keys)
        dist = [[INF] * n for _ in range(n)]
        for i in range(n):
            dist[i][i] = 0
        cols, rows = {}, {}
        for (x, y) in self.nodes:
            cols.setdefault(x, []).append(y)
            rows.setdefault(y, []).append(x)
        for v in cols.values():
            v.sort()
        for v in rows.values():
            v.sort()
        for b in keys:
            bx, by = b
            for d in self.nodes[b]:
                if d in "ud":
                    line, pos, step = cols[bx], cols[bx].index(by), (-1 if d == "u" else 1)
                else:
                    line, pos, step = rows[by], rows[by].index(bx), (-1 if d == "l" else 1)
                pos += step
                while 0 <= pos < len(line):
                    v = (bx, line[pos]) if d in "ud" else (line[pos], by)
                    if v in index:
                        dist[index[b]][index[v]] = abs(bx - v[0]) + abs(by - v[1])
                    if d not in self.nodes[v]:
                        break
                    pos += step
        for k in range(n):
            dk = dist[k]
            for i in range(n):
                dik = dist[i][k]
                if dik >= INF:
                    continue
                di = dist[i]
                for j in range(n):
                    s = dik + dk[j] + 1
                    if s < di[j]:
                        di[j] = s
        return index, dist


def read_grid(path):
    g = Grid()
    px = py = None
    with open(path, encoding="latin-1") as f:
        for lineno, line in enumerate(f, 1):
            line = line.rstrip("\n")[:79]
            if "\t" not in line:
                continue
            fields = line.split("\t")
            if len(fields) < 3:
                sys.exit(f"{path}:{lineno}: needs letters, x and y")
            vals = []
            for field, prev in ((fields[1], px), (fields[2], py)):
                if field.startswith("."):
                    if prev is None:
                        sys.exit(f"{path}:{lineno}: '.' without a previous value")
                    vals.append(prev)
                else:
                    vals.append(int(field))
            px, py = vals
            g.add(px, py, fields[0])
    return g


def ring(sx, sy):
    c, y = 72 * sx + 203, 55 * sy + 106
    left, right = c - 131, c + 13
    mid, top, middle, bottom = (left + right) // 2, y - 46, (2 * y + 18) // 2, y + 64
    return [(left, top, "+"), (left, middle, "|l"), (left, bottom, "+"), (right, top, "+"),
            (right, middle, "|r"), (right, bottom, "+"), (mid, top, "-u"), (mid, bottom, "-d")]


def read_stores(path):
    stores, cur = [], None
    for el in ET.parse(path).getroot().iter():
        if el.tag == "store":
            cur = {"name": el.get("name"), "spots": [], "rooms": 0}
            stores.append(cur)
        elif el.tag == "changing-rooms":
            cur["rooms"] += int(el.get("init"))
        elif el.tag == "changing-room":
            cur["rooms"] += 1
        elif el.tag == "layout":
            cur["spots"].append({"x": int(el.get("x")), "y": int(el.get("y")), "free": None})
        elif el.tag == "furniture" and cur["spots"][-1]["free"] is None:
            cur["spots"][-1]["free"] = int(el.get("price")) == 0
    return stores


FIXED = [(-39, 445), (-39, 420), (576, 445), (576, 75), (40, 115), (80, 340), (80, 280), (40, 230),
         (40, 180), (40, 130), (126, 75), (216, 75), (306, 75), (396, 75), (486, 75), (694, 225),
         (694, 280), (694, 335), (694, 390), (694, 445), (605, 225), (800, 115), (699, 115), (-8, 50),
         (-8, 290), (699, 125)]


def main():
    folder = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "properties")
    base = read_grid(os.path.join(folder, "grid.txt"))
    stores = read_stores(os.path.join(folder, "stores.xml"))
    # Narrowing of the file's own nodes outlives the furniture, so apply every store's rings first.
    for s in stores:
        for spot in s["spots"]:
            for x, y, letters in ring(spot["x"], spot["y"]):
                if (x, y) in base.nodes:
                    base.add(x, y, letters)
    failures = 0
    for s in stores:
        for label, spots in (("opening", [p for p in s["spots"] if p["free"]]), ("complete", s["spots"])):
            g = base.copy()
            points = list(FIXED)
            for r in range(s["rooms"]):
                x = 154 + 101 * r - 51
                points += [(x - 6, 8), (x - 6, 30)]
            for spot in spots:
                for x, y, letters in ring(spot["x"], spot["y"]):
                    g.add(x, y, letters)
                points += [(72 * spot["x"] + 216, 55 * spot["y"] + 115), (72 * spot["x"] + 72, 55 * spot["y"] + 115)]
            index, dist = g.distances()
            missing = [p for p in points if p not in index]
            for p in missing:
                print(f"{s['name']} ({label}): standing point {p} is not a grid node")
            bad = [(a, b) for a in points for b in points
                   if a in index and b in index and dist[index[a]][index[b]] >= INF]
            for a, b in bad[:10]:
                print(f"{s['name']} ({label}): no way from {a} to {b}")
            failures += len(missing) + len(bad)
            print(f"{s['name']} ({label}): {len(points)} standing points, {len(index)} nodes,"
                  f" {'ok' if not missing and not bad else 'CUT OFF'}")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
