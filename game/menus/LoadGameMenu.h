// Asked by Play when the player has a run in progress: continue it, start a new game (after a confirmation), or
// go back.
#pragma once

#include "game/menus/DialogMenu.h"

class LoadGameMenu : public DialogMenu
{
public:
    enum ButtonId
    {
        kNewGame = 1,
        kLoadGame,
        kCancel,
    };

    // openerId: dialog id of the menu whose Play asked (it closes when a game starts; -1 none).
    LoadGameMenu(Zestra::Board* board, int openerId);

    using DialogMenu::ButtonPressed;
    void ButtonPressed(int id) override;

    int openerId = -1;
    Button* newGameButton = nullptr;
    Button* loadButton = nullptr;
};
