// The panel of the merchant's next level, named after that level.
#pragma once

#include "game/shop/UpgradeMenu.h"

struct MerchantLevelInfo;

class UpgradeMerchantMenu : public UpgradeMenu
{
public:
    // level: the level offered (not owned); null gives a panel without texts.
    UpgradeMerchantMenu(Zestra::Board& board, int price, Component* preview, const MerchantLevelInfo* level);
};
