// The panel of the goodie rack (its texts are the store's own).
#pragma once

#include "game/shop/UpgradeMenu.h"

class UpgradeGoodieRackMenu : public UpgradeMenu
{
public:
    UpgradeGoodieRackMenu(Zestra::Board& board, int price, Component* preview);
};
