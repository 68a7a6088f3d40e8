// Asks before the game is closed.
#pragma once

#include "game/menus/ConfirmMenu.h"

class ConfirmQuitMenu : public ConfirmMenu
{
public:
    explicit ConfirmQuitMenu(Zestra::Board* board);

    void OnConfirm() override;
};
