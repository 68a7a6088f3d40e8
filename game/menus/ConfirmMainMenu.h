// Asks before the day in play is given up for the main menu (from the options dialog in a day).
#pragma once

#include "game/menus/ConfirmMenu.h"

class ConfirmMainMenu : public ConfirmMenu
{
public:
    // openerId: dialog id of the options dialog that asked; it closes too on confirmation (-1: none).
    ConfirmMainMenu(Zestra::Board* board, int openerId);

    void OnConfirm() override;

    int openerId = -1;
};
