// Base of the full-screen information menus (high scores, how to play, credits): a picture over the whole
// screen, the subclass's content on it, and a back button that returns to the main menu.
#pragma once

#include "game/ui/Menu.h"

#include <string>

namespace Zestra
{
class HyperlinkWidget;
}

class InfoMenu : public Menu
{
public:
    InfoMenu(Zestra::Board* board, Zestra::Image* image);

    // What the subclass shows over the picture.
    virtual void DrawContent(Zestra::Graphics& g) {}
    // The back button: closes the menu and shows the main menu.
    virtual void OnBack();

    using Menu::ButtonPressed;
    void ButtonPressed(int id) override;
    void Paint(Zestra::Graphics& g) override;

    Button* backButton = nullptr;

protected:
    enum ButtonId
    {
        kBackButton = 1, // subclasses number their own buttons from 2
    };
    // A light link whose right edge stands at right: the trophy and statistics screens lead to each other by one.
    Zestra::HyperlinkWidget* AddCornerLink(int id, const std::string& caption, int right, int top);
};
