// The panel that opens a shop day: it slides in from the left with the month, the day's story and its two goals
// (or the bonus game's name and rules), and offers OK, quit and the customer handbook once it has settled. The
// slide stops while the application is inactive.
#pragma once

#include "game/ui/Menu.h"
#include "game/menus/SlideIn.h"

#include <memory>

class Minigame;

namespace Zestra
{
class MemoryImage;
}

class LevelStartMenu : public Menu
{
public:
    // minigame: the memory game opened for this day, or null; not owned.
    // practiceMoney: what the lesson just played took in (0: no lesson); the body says it was only practice.
    LevelStartMenu(Zestra::Board* board, int storeNumber, int levelIndex, Minigame* minigame,
                   double practiceMoney = 0.0);
    ~LevelStartMenu() override;

    bool IsSettled() const override { return slide.Settled(); }
    // Moves the slide by one update (step 1) or a fraction of one; enables the buttons once settled.
    void AdvanceSlide(double step);

    void Paint(Zestra::Graphics& g) override;
    void Tick() override;
    void TickFraction(double step) override;
    void ButtonPressed(int id) override;
    using Menu::ButtonPressed;

    int storeNumber = 0;
    int levelIndex = 0;
    Minigame* minigame = nullptr;
    Button* okButton = nullptr;
    Button* quitButton = nullptr;
    Button* handbookButton = nullptr; // none on a bonus day
    SlideIn slide;
    std::unique_ptr<Zestra::MemoryImage> panel;
};
