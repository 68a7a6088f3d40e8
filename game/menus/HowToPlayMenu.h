// How to play: illustrated pages of rules, each rule beside the game's own picture of what it is about, in the order
// a new player meets those things. The arrows turn the pages (each shows only where there is a page to turn to) and
// the back button returns to the main menu.
#pragma once

#include "game/menus/InfoMenu.h"

namespace Zestra
{
class Image;
}

class HowToPlayMenu : public InfoMenu
{
public:
    explicit HowToPlayMenu(Zestra::Board* board);

    void DrawContent(Zestra::Graphics& g) override;
    using InfoMenu::ButtonPressed;
    void ButtonPressed(int id) override;

    static int PageCount();
    static int RulesOnPage(int page);
    // The text key of a rule, and its picture with the cel to show (null: the picture is missing).
    static const char* RuleTextKey(int page, int rule);
    static Zestra::Image* RulePicture(int page, int rule, int& cel);
    // Clamped to the pages there are.
    void ShowPage(int newPage);

    int page = 0;
    Button* previousButton = nullptr;
    Button* nextButton = nullptr;

private:
    enum PageButtonId
    {
        kPreviousButton = 2,
        kNextButton,
    };
};
