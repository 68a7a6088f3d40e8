#include "game/store/DiscardRack.h"

#include "game/people/Merchant.h"

DiscardRack::DiscardRack(int centreX, int y, Zestra::Image* image) : ActiveComponent(centreX, y, image, 28, -4)
{
}

std::unique_ptr<MerchantAction> DiscardRack::CreateMerchantAction(Merchant& merchant)
{
    return std::make_unique<DiscardClothing>(merchant, this);
}

DiscardClothing::DiscardClothing(Merchant& merchant, DiscardRack* rack)
    : MerchantAction(merchant, rack, -8, 50), merchant(merchant)
{
}

bool DiscardClothing::Perform()
{
    if (countdown < 0)
    {
        if (merchant.HandState() == Hands::Empty)
            return true;
        merchant.SetDiscardPose();
        countdown = merchant.discardTime;
    }
    if (countdown < 1)
    {
        merchant.EmptyHands();
        merchant.StopWalking();
        return true;
    }
    countdown -= 1;
    return false;
}

