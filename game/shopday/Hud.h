// The head-up display under the store floor: money and goal, the jar, drinks, lives, clock and month, and two
// buttons at one place (options while a day plays, done in the upgrade shop). It also shows the goal banner that
// grows, rests and fades over the middle of the board. The board owns it, tells it what to show and hears its
// buttons.
#pragma once

#include "framework/graphics/Rect.h"

#include <memory>
#include <string>

class Button;
class Component;
struct DayLedger;
struct GameState;

namespace Zestra
{
class ButtonListener;
class Graphics;
class Image;
class WidgetManager;
} // namespace Zestra

// "m:ss" of a tick count: minutes = ticks / 6000, seconds = (ticks / 100) mod 60.
std::string ClockText(int ticks);

class Hud
{
public:
    static constexpr int kBannerTicks = 225; // a banner shows this long

    Hud();
    Hud(const Hud&) = delete;
    Hud& operator=(const Hud&) = delete;
    ~Hud();

    // run may be null; shopping shows the run's cash and prices, inLevel the goals of a shop day; the drink station
    // (may be null) is drawn with the run's drinks. moneyCaption, on a tab over the money box, says what it holds.
    void Draw(Zestra::Graphics& g, const DayLedger& day, const GameState* run, bool shopping, bool inLevel,
              Component* drinkStation, const std::string& moneyCaption = std::string()) const;

    void ShowBanner(Zestra::Image* banner);
    void TickBanner();
    bool BannerShowing() const { return bannerTimer >= 0; }
    void DrawBanner(Zestra::Graphics& g) const;

    // The buttons are made once, when the board first joins the widget manager, and follow it in and out.
    void AttachButtons(Zestra::WidgetManager* manager, Zestra::ButtonListener* listener);
    void DetachButtons(Zestra::WidgetManager* manager);
    // The upgrade shop's floor shows done, a day's floor options.
    void ShowButtonsFor(bool shop);
    void SetButtonsState(bool enabled, bool greyed);

    Zestra::Image* image = nullptr; // the store's HUD picture; not owned
    Zestra::Image* monthPicture = nullptr;
    Zestra::Image* bannerImage = nullptr;
    int bannerTimer = -1; // ticks the banner has shown; -1 while none shows
    std::unique_ptr<Button> optionsButton;
    std::unique_ptr<Button> doneButton;
    bool buttonsEnabled = false;
    bool buttonsGreyed = false;
};

// The screen areas of the HUD's corner pieces, for these pictures (null ones take no room): the clock with its
// time and the month picture over it; the lives icon with its count; a HUD button (options or done). The buttons
// sit between the two and must leave both free.
Zestra::Rect HudClockArea(const Zestra::Image* clock, const Zestra::Image* month);
Zestra::Rect HudLivesArea(const Zestra::Image* lives);
Zestra::Rect HudButtonArea(const Zestra::Image* button);
