// The "open" sign that starts a shop day: over the whole screen, the board drawn behind it undarkened but
// stopped. The sign turns over, stays, fades, and the menu closes itself 200 updates after it was made; the day
// runs once it is gone. Its counter stops while the application is inactive.
#pragma once

#include "game/ui/Menu.h"

class OpenSignMenu : public Menu
{
public:
    static constexpr int kFirstCount = -50;
    static constexpr int kCloseCount = 150;
    static constexpr int kTurnedCount = 50; // the sign shows its last cel from here

    explicit OpenSignMenu(Zestra::Board* board);

    bool ShowsBoard() const override;
    void Tick() override;
    void Paint(Zestra::Graphics& g) override;
    // A click lets a held sign go on to fade and close.
    void OnMouseDown(int x, int y, int button, int clickCount) override;
    using Menu::OnMouseDown;

    int counter = kFirstCount; // updates, from kFirstCount; closes at kCloseCount
    bool holdTurned = false;   // stops once the sign has turned over (the screen shown by name) until a click
};
