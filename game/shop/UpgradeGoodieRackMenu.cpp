#include "game/shop/UpgradeGoodieRackMenu.h"

#include "game/data/LevelStats.h"
#include "game/shopday/Board.h"

namespace
{
int StoreNumberOf(const Zestra::Board& board)
{
    return board.run.Store() != nullptr ? board.run.Store()->number : 0;
}
} // namespace

UpgradeGoodieRackMenu::UpgradeGoodieRackMenu(Zestra::Board& board, int price, Component* preview)
    : UpgradeMenu(board, price, GoodieRackItemName(StoreNumberOf(board)), preview)
{
    TakeOffer(ShopKind::GoodieRack);
}
