#include "game/store/DiscardRack.h"

DiscardRack::DiscardRack(int centreX, int y, Zestra::Image* image) : ActiveComponent(centreX, y, image, 28, -4)
{
}

std::unique_ptr<MerchantAction> DiscardRack::CreateMerchantAction(Merchant& merchant)
{
    // The DiscardClothing order arrives with the merchant's orders.
    return nullptr;
}
