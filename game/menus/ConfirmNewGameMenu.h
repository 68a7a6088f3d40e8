// Asks before a new game replaces the saved one (from the load-game menu over the main menu).
#pragma once

#include "game/menus/ConfirmMenu.h"

class ConfirmNewGameMenu : public ConfirmMenu
{
public:
    // The two menus below it that close on confirmation (-1: none).
    ConfirmNewGameMenu(Zestra::Board* board, int loadGameMenuId, int mainMenuId);

    void OnConfirm() override;

    int loadGameMenuId = -1;
    int mainMenuId = -1;
};
