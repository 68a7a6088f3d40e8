#!/usr/bin/env python3
"""Checks that every arrow of the lessons lands on the thing its text names, using the generated pictures.

Rebuilds the click targets of the opening floor of stores 1 to 3 the way the level loader places them
(cash register, gift wrap, desk, discard rack, changing rooms, mannequin buttons, then furniture slots
from the last to the first) and asks which one a click at each arrow's point hits first.
Usage: check_tutorial.py <game folder>
"""
import os
import re
import struct
import sys
import xml.etree.ElementTree as ET


def png_size(path):
    with open(path, "rb") as f:
        head = f.read(24)
    return struct.unpack(">II", head[16:24])


class Game:
    def __init__(self, folder):
        self.folder = folder
        self.ids = {}
        text = open(os.path.join(folder, "properties", "resources.xml"), encoding="latin-1").read()
        for m in re.finditer(r"<Image\s+([^>]*)/?>", text):
            attrs = dict(re.findall(r'(\w+)="([^"]*)"', m.group(1)))
            if "id" in attrs:
                self.ids[attrs["id"]] = (attrs.get("path", ""), int(attrs.get("cols", "1") or 1))

    def image(self, relative):
        for ext in ("", ".png", ".jpg"):
            p = os.path.join(self.folder, relative + ext)
            if os.path.isfile(p) and p.endswith(".png"):
                w, h = png_size(p)
                return w, h
        return None

    def resource(self, ident):
        path, cols = self.ids[ident]
        w, h = self.image(path)
        return w // cols, h


def stores_data(path):
    stores, cur, ftype, spot = [], None, None, None
    for el in ET.parse(path).getroot().iter():
        a = el.attrib
        if el.tag == "store":
            cur = {"name": a["name"], "types": {}, "spots": [], "mannequins": [], "rooms": 0, "gift": 0.0}
            stores.append(cur)
        elif el.tag == "def-furniture":
            ftype = cur["types"].setdefault(a["type"], {"folded": a.get("clothing-type") == "folded", "slots": []})
            ftype["slots"] = []
        elif el.tag == "clothing" and ftype is not None:
            ftype["slots"].append((int(a["x"]), int(a["y"])))
        elif el.tag == "layout":
            spot = {"x": int(a["x"]), "y": int(a["y"]), "steps": []}
            cur["spots"].append(spot)
        elif el.tag == "furniture":
            spot["steps"].append((a["type"], int(a["price"]), a.get("clothing", "")))
        elif el.tag == "mannequin":
            cur["mannequins"].append(a)
        elif el.tag == "changing-rooms":
            cur["rooms"] = int(a["init"])
        elif el.tag == "gift-wrap":
            cur["gift"] = float(a["cost"])
    return stores


def targets(game, store):
    """Click targets of the opening floor, in the order the board tests them."""
    sdir = "images/stores/" + store["name"] + "/"
    out = []

    def add(label, x, y, size):
        if size:
            out.append((label, x, y, size[0], size[1]))

    w, h = game.resource("IMAGE_CASH_REGISTER")
    add("cash register", 48 - w // 2, 354, (w, h))
    if store["gift"] > 0:
        w, h = game.resource("IMAGE_GIFT_WRAP")
        add("gift wrap", 722 - w // 2, 195, (w, h))
    desk = game.image(sdir + "CustomerServiceDesk")
    add("service desk", 800 - desk[0], 190, desk)
    rack = game.image(sdir + "DiscardRack")
    add("discard rack", 48 - rack[0] // 2, 10, rack)
    room = game.image(sdir + "ChangingRoom")
    for i in range(store["rooms"]):
        add(f"changing room {i}", 154 + 101 * i - room[0] // 2, 0, room)
    built = {s["steps"][0][2] for s in store["spots"] if s["steps"] and s["steps"][0][1] == 0}
    for m in store["mannequins"]:
        male = m.get("gender") == "male"
        kind = "MALE" if male else "FEMALE"
        mx, my = int(m["x"]) * 25 + 530, int(m["y"]) * 15 + 20
        top = m.get("top", "") if m.get("top", "") in built else ""
        bottom = m.get("bottom", "") if m.get("bottom", "") in built else ""
        if top:
            pic = game.image(sdir + "clothing/" + top + "_Mannequin")
            body = "IMAGE_MANNEQUIN_" + kind + ("" if (bottom or pic[1] > 60) else "_TOP")
            cx = mx + game.resource(body)[0] // 2
            add("mannequin top " + top, cx - pic[0] // 2, my + 8, pic)
        if bottom:
            pic = game.image(sdir + "clothing/" + bottom + "_Mannequin")
            body = "IMAGE_MANNEQUIN_" + kind + ("" if top else "_BOTTOM")
            cx = mx + game.resource(body)[0] // 2 + (2 if male else 0)
            add("mannequin bottom " + bottom, cx - pic[0] // 2, my + 45, pic)
    for s in store["spots"]:
        if not s["steps"] or s["steps"][0][1] != 0:
            continue
        ftype, _, clothing = s["steps"][0]
        info = store["types"][ftype]
        fw = game.image(sdir + ftype)[0]
        fx, fy = s["x"] * 72 + 203 - fw // 2, s["y"] * 55 + 106
        pic = game.image(sdir + "clothing/" + clothing + ("_Folded" if info["folded"] else "_Hanging"))
        for k in reversed(range(len(info["slots"]))):
            sx, sy = info["slots"][k]
            add(f"{clothing} slot {k}", fx + sx - pic[0] // 2, fy + sy, pic)
    return out


# (store, point, what the first target there must be; a trailing "*" accepts any slot of that clothing)
ARROWS = [
    (1, (708, 98), "mannequin bottom girls_croppants"), (1, (580, 220), "girls_croppants slot 1"),
    (1, (542, 230), "girls_croppants slot 0"), (1, (580, 222), "girls_croppants slot 1"),
    (1, (151, 55), "changing room 0"), (1, (50, 90), "discard rack"), (1, (42, 383), "cash register"),
    (1, (290, 220), "mens_tshirt slot 1"), (1, (700, 60), "mannequin top girls_captee"),
    (1, (600, 98), "mannequin bottom mens_jeans"), (1, (260, 458), "mens_jeans slot 0"),
    (1, (578, 444), "girls_captee slot 1"), (1, (750, 223), "service desk"),
    (2, (580, 220), "mens_jeans slot *"), (2, (157, 55), "changing room 0"), (2, (290, 230), "mens_tshirt slot 1"),
    (2, (42, 383), "cash register"), (3, (725, 220), "gift wrap"), (3, (42, 383), "cash register"),
]


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    game = Game(sys.argv[1])
    stores = stores_data(os.path.join(sys.argv[1], "properties", "stores.xml"))
    bad = 0
    for number, (px, py), want in ARROWS:
        hits = [t for t in targets(game, stores[number - 1]) if t[1] <= px < t[1] + t[3] and t[2] <= py < t[2] + t[4]]
        got = hits[0][0] if hits else "nothing"
        ok = got == want or (want.endswith("*") and got.startswith(want[:-1]))
        bad += not ok
        print(f"store {number} ({px}, {py}): {got}{'' if ok else '   <-- wanted ' + want}")
    return 1 if bad else 0


if __name__ == "__main__":
    sys.exit(main())
