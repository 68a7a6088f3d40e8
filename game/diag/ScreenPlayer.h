// The built-in player's eye for the screens around the game: where a person would click to get from the first
// run's name entry through the main menu into a run, and back from the screens a run ends on. It reads only what
// is on screen (settled menus, shown and live buttons, a comic whose fade has ended); the caller sends the click as
// mouse events. The name entry offers the data's default name, so OK alone makes a player: no typing is needed.
#pragma once

#include <optional>

class Menu;

struct ScreenClick
{
    int x = 0; // screen pixels
    int y = 0;
};

// The point to click on that menu now, or none (not one of these screens, or not ready for a click yet).
// The player continues a saved run, plays as the selected player (or the first named one), and leaves the high
// scores, credits and how-to-play screens at once.
std::optional<ScreenClick> ChooseScreenClick(const Menu& menu);
