// How to play: the data's text in the popup, with the back button a little lower than on the other information
// screens to leave the text room.
#pragma once

#include "game/menus/InfoMenu.h"

#include <string>

class HowToPlayMenu : public InfoMenu
{
public:
    explicit HowToPlayMenu(Zestra::Board* board);

    void DrawContent(Zestra::Graphics& g) override;

    std::string text;
};
