// Offers the lesson again on a tutorial day that was started before: confirm runs the lesson, cancel goes
// straight to the day's start panel.
#pragma once

#include "game/menus/ConfirmMenu.h"

class ConfirmTutorialMenu : public ConfirmMenu
{
public:
    explicit ConfirmTutorialMenu(Zestra::Board* board);

    void OnConfirm() override;
    void OnCancel() override;
};
