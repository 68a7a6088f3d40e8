// The panel of another changing room.
#pragma once

#include "game/shop/UpgradeMenu.h"

class UpgradeChangingRoomMenu : public UpgradeMenu
{
public:
    UpgradeChangingRoomMenu(Zestra::Board& board, int price, Component* preview);
};
