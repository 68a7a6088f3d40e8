#!/usr/bin/env python3
"""Walk: the menus a person meets, clicked through with the real pointer and keyboard in a window.

First run (fresh home): skip the logo and splashes, Play, type a name (a thirteenth letter is refused), reach the
main menu; open and close the high scores, how to play and credits; move the music slider in the options; Play into
the first comic and the map; close. Second run: the built-in player drives the pointer through the first lesson
(the lesson needs no walk of its own here), then the walk takes the pointer over: the level start panel and its
customer handbook, the day, the in-game options, back to the main menu through its question; the music slider is
where the first run left it; the player slots: a second player, switching between the two; full screen off and on.
Third run: the saved run taken over from --saved-run (if given) opens the continue question; a player is deleted.
A screenshot after every step (shots/ below --home); the checks at the end.

Coordinates are the game's own 800x600 layout; the walk maps them onto the window as it finds it.

    tools/xvfb/walk_menus.py --home /tmp/walk-menus
"""

import argparse
import re
import sys
import threading
import time
import xml.etree.ElementTree as ET
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent))
import xsession  # noqa: E402

# Where things are on the 800x600 screen.
TITLE_PLAY = (400, 492)
MAIN = {"play": (425, 233), "highscores": (425, 288), "options": (425, 343), "howto": (425, 398),
        "credits": (425, 453), "quit": (425, 508), "not_you": (135, 117)}
INFO_BACK = {"highscores": (400, 525), "howto": (400, 555)}
OPTIONS_MUSIC = (474, 197)  # the music slider's thumb at 85%
OPTIONS_MUSIC_TO = (330, 197)
OPTIONS_FULLSCREEN = (370, 350)
OPTIONS_CLOSE = (400, 438)
HUD_OPTIONS = (705, 575)
OPTIONS_INGAME_MAIN_MENU = (400, 417)
LEVEL_START_HANDBOOK = (578, 148)
LEVEL_START_OK = (435, 454)
SLOT = [(547, 136 + 42 * i) for i in range(8)]
SLOT_OK = [(727, 136 + 42 * i) for i in range(8)]
PLAYERS_CANCEL, PLAYERS_DELETE, PLAYERS_PLAY = (150, 521), (400, 521), (650, 521)


class Walk:
    def __init__(self, opts, home):
        self.opts = opts
        self.home = home
        self.shots = home / "shots"
        self.count = 0
        self.xserver = xsession.XServer()
        self.game = None
        self.notes = []

    def start(self, args):
        self.game = xsession.Game(self.xserver, self.home, args, program=self.opts.program, log=self.home / "walk.log",
                                  windowed=False)
        self.game.find_window()

    def to_window(self, x, y):
        # The picture is scaled to the window keeping its shape, centred (a full-screen window letterboxes it).
        _, _, width, height = self.game.window_geometry()
        scale = min(width / 800, height / 600)
        return int((width - 800 * scale) / 2 + x * scale), int((height - 600 * scale) / 2 + y * scale)

    def click(self, point, wait=1.0):
        self.game.click(*self.to_window(*point))
        time.sleep(wait)

    def drag(self, start, end, wait=1.0):
        x0, y0 = self.to_window(*start)
        x1, y1 = self.to_window(*end)
        self.game.perform("move", x0, y0)
        time.sleep(0.1)
        self.game.perform("down", x0, y0)
        for i in range(1, 7):
            time.sleep(0.05)
            self.game.perform("move", x0 + (x1 - x0) * i // 6, y0 + (y1 - y0) * i // 6)
        time.sleep(0.1)
        self.game.perform("up", x1, y1)
        time.sleep(wait)

    def shot(self, name, what=""):
        self.count += 1
        path = self.game.shot(self.shots / f"{self.count:02d}-{name}.png")
        self.notes.append(f"{path.name}: {what}")
        print(f"shot {path.name}: {what}", flush=True)

    def stop(self):
        if self.game:
            self.game.stop()
        self.xserver.stop()


def read_settings(home):
    values = {}
    path = xsession.settings_path(home)
    if path.exists():
        for line in path.read_text().splitlines():
            m = re.match(r"(\w+) = \w+ (.*)", line)
            if m:
                values[m.group(1)] = m.group(2)
    return values


def read_players(home):
    path = xsession.profile_path(home)
    if not path.exists():
        return -1, []
    root = ET.fromstring(path.read_bytes())
    return int(root.get("selected")), [p.get("name") for p in root.findall("profile")]


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--home", required=True)
    parser.add_argument("--program", default=xsession.default_program())
    parser.add_argument("--saved-run", help="a profiles.xml whose selected player has a saved run to take over")
    opts = parser.parse_args()
    home = xsession.fresh_home(opts.home)
    walk = Walk(opts, home)
    checks = []

    def check(ok, text):
        checks.append(("ok  " if ok else "FAIL") + " " + text)
        print(checks[-1], flush=True)

    try:
        # --- first run: a new player, the main menu's screens, the music volume -------------------------------
        walk.start([])
        g = walk.game
        time.sleep(1)
        walk.shot("logo", "the studio logo")
        for _ in range(3):  # the logo and the two splash pictures
            walk.click((1, 1), wait=0.6)
        time.sleep(4)  # loading ends, the bar becomes Play
        walk.shot("title", "the title screen with Play")
        walk.click(TITLE_PLAY, wait=1.5)
        walk.shot("enter-name", "the name entry over the title, the offered name selected")
        g.type_text("Wilhelmina Wx")  # thirteen characters: the last one is refused
        time.sleep(0.5)
        walk.shot("enter-name-typed", "the name typed; the thirteenth letter refused")
        g.key("Return")
        time.sleep(4)
        walk.shot("main-menu", "the main menu greeting the new player")
        selected, names = read_players(home)
        check(selected == 0 and names[0] == "Wilhelmina W", f"the player made: selected {selected}, {names[:2]}")

        for name, what in (("highscores", "the high scores of store 1"), ("howto", "how to play"),
                           ("credits", "the credits, scrolling")):
            walk.click(MAIN[name], wait=2.0)
            walk.shot(name, what)
            if name == "highscores":
                walk.click((650, 525), wait=0.8)  # next: store 2
                walk.shot("highscores-next", "the high scores of the next store")
            if name == "credits":
                time.sleep(6)
                walk.shot("credits-later", "the credits six seconds later")
                g.key("Escape")  # Escape backs out as the back button would
            else:
                walk.click(INFO_BACK[name], wait=0.5)
            time.sleep(4)  # the main menu's buttons slide in again
        walk.shot("main-menu-again", "back on the main menu")

        walk.click(MAIN["options"], wait=1.5)
        walk.shot("options", "the options dialog from the main menu")
        walk.drag(OPTIONS_MUSIC, OPTIONS_MUSIC_TO)
        walk.shot("options-music", "the music slider moved left")
        walk.click(OPTIONS_CLOSE, wait=1.5)
        music = read_settings(home).get("MusicVolume")
        check(music is not None and int(music) < 50, f"music volume stored when the options were left: {music}")

        # Play: the first comic and the map.
        walk.click(MAIN["play"], wait=3.0)
        walk.shot("comic1", "the first comic")
        walk.click((400, 300), wait=2.5)
        walk.shot("map", "the map with store 1")
        g.close()
        g.wait(30)

        # --- second run: the music volume kept; the built-in player through the lesson, then the person -----
        music = read_settings(home).get("MusicVolume")
        lesson_over = threading.Event()

        def on_line(line):
            if line == "lesson end":
                g2.perform_lines = False  # from here on the pointer is the walk's
                lesson_over.set()

        walk.game = g2 = g = xsession.Game(walk.xserver, home, [], program=opts.program, drive=True,
                                           log=home / "walk.log", on_line=on_line, windowed=False)
        g.find_window()
        check(lesson_over.wait(600), "the built-in player went through the first lesson")
        time.sleep(2.5)
        walk.shot("level-start", "the level start panel of January after the lesson")
        walk.click(LEVEL_START_HANDBOOK, wait=2.0)
        walk.shot("handbook", "the customer handbook from the level start panel")
        g.key("Escape")
        time.sleep(1.5)
        walk.shot("handbook-closed", "Escape: back on the level start panel")
        walk.click(LEVEL_START_OK, wait=4.0)
        walk.shot("day", "the day running")
        walk.click(HUD_OPTIONS, wait=1.5)
        walk.shot("options-ingame", "the options from the game: return to game and main menu")
        g.key("Escape")
        time.sleep(1.5)
        walk.shot("options-ingame-closed", "Escape closed them: the day goes on")
        walk.click(HUD_OPTIONS, wait=1.5)
        walk.click(OPTIONS_INGAME_MAIN_MENU, wait=1.5)
        walk.shot("confirm-main-menu", "the question before leaving the day for the main menu")
        g.key("Return")
        time.sleep(4)
        walk.shot("main-menu-from-game", "the main menu again")
        walk.click(MAIN["options"], wait=1.5)
        walk.shot("options-after-restart", f"after the restart the music slider is where it was left ({music}%)")
        walk.click(OPTIONS_CLOSE, wait=1.5)

        # A second player, and switching between the two.
        walk.click(MAIN["not_you"], wait=2.0)
        walk.shot("players", "the player slots, the first player chosen")
        walk.click(SLOT[1], wait=1.0)
        g.type_text("Bo")
        time.sleep(0.3)
        walk.shot("players-typing", "a new name typed into the second slot")
        walk.click(SLOT_OK[1], wait=1.0)
        walk.shot("players-two", "two players, the second chosen")
        selected, names = read_players(home)
        check(selected == 1 and names[1] == "Bo", f"second player made and chosen: selected {selected}, {names[:2]}")
        walk.click(SLOT[0], wait=1.0)
        selected, _ = read_players(home)
        check(selected == 0, f"switched back to the first player: selected {selected}")
        walk.click(SLOT[1], wait=1.0)
        selected, _ = read_players(home)
        check(selected == 1, f"switched to the second player: selected {selected}")
        walk.click(PLAYERS_CANCEL, wait=4.0)  # back to the main menu (Play would start the chosen player's run)
        walk.shot("main-menu-second", "the main menu greeting the second player")
        walk.click(MAIN["not_you"], wait=2.0)
        walk.click(SLOT[0], wait=1.0)
        walk.click(PLAYERS_CANCEL, wait=4.0)
        walk.shot("main-menu-first", "the main menu greeting the first player again")

        # Full screen off and on.
        for want, label in ((False, "off"), (True, "on")):
            walk.click(MAIN["options"], wait=1.5)
            walk.click(OPTIONS_FULLSCREEN, wait=0.5)
            walk.shot(f"options-fullscreen-{label}", f"full screen ticked {label}")
            walk.click(OPTIONS_CLOSE, wait=2.5)
            g.lost_window()  # the switch may have made a new window
            mode = read_settings(home).get("ScreenMode")  # the dialog stores the settings when it is left
            check(mode == ("1" if want else "0"), f"full screen {label}: ScreenMode {mode}, window at "
                                                  f"{g.window_geometry()}")
            walk.shot(f"fullscreen-{label}", f"the main menu with full screen {label}")
        g.close()
        g.wait(30)

        # --- third run: a saved run to continue, and a player deleted ---------------------------------------
        if opts.saved_run:
            # Take over a saved run (days played elsewhere) for the first player, as if this player had played it.
            source = ET.fromstring(Path(opts.saved_run).read_bytes())
            state = source.findall("profile")[int(source.get("selected"))].find("state")
            path = xsession.profile_path(home)
            mine = ET.fromstring(path.read_bytes())
            if state is not None:
                mine.findall("profile")[0].append(state)
                path.write_bytes(ET.tostring(mine))
        walk.start([])
        g = walk.game
        for _ in range(3):
            walk.click((1, 1), wait=0.6)
        time.sleep(4)
        walk.click(TITLE_PLAY, wait=4.0)
        walk.shot("third-run-main", "third run: the main menu at once, the first player greeted")
        if opts.saved_run:
            walk.click(MAIN["play"], wait=2.0)
            walk.shot("load-game", "the continue question for the saved run")
            g.key("Escape")
            time.sleep(4.0)
            walk.shot("load-game-closed", "Escape: back on the main menu")
        walk.click(MAIN["not_you"], wait=2.0)
        walk.click(SLOT[1], wait=1.0)
        walk.click(PLAYERS_DELETE, wait=1.5)
        walk.shot("confirm-delete", "the question before deleting Bo")
        g.key("Return")
        time.sleep(1.5)
        walk.shot("players-deleted", "Bo's slot free again, nobody chosen")
        selected, names = read_players(home)
        check(names[1] == "" and names[0] == "Wilhelmina W" and selected == -1,
              f"second player deleted: selected {selected}, {names[:2]}")
        walk.click(SLOT[0], wait=1.0)
        walk.click(PLAYERS_PLAY, wait=3.0)
        walk.shot("end", "Play with the first player chosen")
        g.close()
        g.wait(30)
    finally:
        walk.stop()

    report = home / "report.md"
    report.write_text("# Menus walk\n\n## Screenshots\n\n" + "\n".join("- " + n for n in walk.notes) +
                      "\n\n## Checks\n\n" + "\n".join("- " + c for c in checks) + "\n")
    print("report:", report)
    return 0 if all(c.startswith("ok") for c in checks) else 1


if __name__ == "__main__":
    sys.exit(main())
