// The built-in player's hands outside the shop floor: it goes through the start screens, the menus and the panels
// around each day as a person would, with the mouse alone: it skips the logo and splashes, presses Play, takes the
// offered name for a new player, takes the way on in every menu, continues from the map,
// starts the day and goes on from the result panel, never choosing quit. The upgrade shop, the lessons and the
// memory game are left to the floor player (PlayerBot). It reads only
// what is on screen (settled panels, shown and enabled buttons, the map's countdown) and sends events into the
// application's queue, one action at a time.
#pragma once

#include <functional>
#include <optional>

class Menu;

namespace Zestra
{
class GameApp;
struct PlatformEvent;
} // namespace Zestra

struct PanelClick
{
    int x = 0;
    int y = 0;
};

// The point to click on that menu now, or none (nothing to press, or not ready for a click yet): OK on the level
// start and result panels, a click on the map once its countdown is over (the highest unlocked store when
// choosing), the screens around the main menu as ScreenPlayer says, and elsewhere the first enabled button once the
// menu has settled.
std::optional<PanelClick> ChoosePanelClick(const Menu& menu);

class PanelPlayer
{
public:
    using EventSink = std::function<void(const Zestra::PlatformEvent&)>;

    static constexpr int kThinkTicks = 10; // updates between two actions, so each is seen through first

    PanelPlayer(Zestra::GameApp& app, EventSink sink);

    // Once per fixed update: at most one action when a screen waits for one.
    void Update();

    int actions = 0;

private:
    bool Act();
    void Click(int x, int y);

    Zestra::GameApp& mApp;
    EventSink mSink;
    int mWait = 0;
};
