#include "game/shop/UpgradeChangingRoomMenu.h"

UpgradeChangingRoomMenu::UpgradeChangingRoomMenu(Zestra::Board& board, int price, Component* preview)
    : UpgradeMenu(board, price, ChangingRoomItemName(), preview)
{
    TakeOffer(ShopKind::ChangingRoom);
}
