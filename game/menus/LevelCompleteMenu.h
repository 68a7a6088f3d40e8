// The result panel at the end of a shop day: it drops from above over a darkened picture of the shop, shows the
// day's sales and tips adding up to its takings, the lost customers and the cash left for the shop, with the day's
// closing words, fades its title in once it has settled, and
// leaves through the board's AfterResult. Its form (retry, next day, continue, game over, the rival's panel) comes
// from MakeResultForm.
#pragma once

#include "game/menus/LevelPanels.h"
#include "game/ui/Menu.h"
#include "game/menus/SlideIn.h"

#include <memory>

namespace Zestra
{
class MemoryImage;
}

class LevelCompleteMenu : public Menu
{
public:
    // kind 0 failed, 1 passed, 2 expert; more: lives left after a failure, further days after a pass.
    LevelCompleteMenu(Zestra::Board* board, int resultKind, bool more, int storeNumber, int levelIndex,
                      const ResultFigures& figures);
    ~LevelCompleteMenu() override;

    bool IsSettled() const override { return slide.Settled(); }
    // Moves the slide by one update (step 1) or a fraction of one; enables the buttons once settled.
    void AdvanceSlide(double step);

    // Darkens the shop and keeps a picture of it (and of whatever else is on screen) to draw behind the panel.
    void OnAttachedToManager(Zestra::WidgetManager* manager) override;
    void Paint(Zestra::Graphics& g) override;
    void Tick() override;
    void TickFraction(double step) override;
    void ButtonPressed(int id) override;
    using Menu::ButtonPressed;

    ResultForm form;
    Button* okButton = nullptr;   // continue or OK; owned as a child
    Button* quitButton = nullptr; // none on the one-button form
    std::string title;
    int titleAlpha = -100;
    SlideIn slide;
    std::unique_ptr<Zestra::MemoryImage> panel;

private:
    LevelCompleteMenu(Zestra::Board* board, ResultForm resultForm, int storeNumber, int levelIndex);
};
