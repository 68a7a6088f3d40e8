#include "game/shop/UpgradeMerchantMenu.h"

#include "game/data/LevelStats.h"

UpgradeMerchantMenu::UpgradeMerchantMenu(Zestra::Board& board, int price, Component* preview,
                                         const MerchantLevelInfo* level)
    : UpgradeMenu(board, price, level != nullptr ? level->name : std::string(), preview)
{
    TakeOffer(ShopKind::Merchant);
}
