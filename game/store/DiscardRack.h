// The rack where the merchant gets rid of unwanted items.
#pragma once

#include "game/store/ActiveComponent.h"

class DiscardRack : public ActiveComponent
{
public:
    DiscardRack(int centreX, int y, Zestra::Image* image);

    std::unique_ptr<MerchantAction> CreateMerchantAction(Merchant& merchant) override;
};

// The order a click on the discard rack makes: the merchant throws away whatever it carries.
class DiscardClothing : public MerchantAction
{
public:
    DiscardClothing(Merchant& merchant, DiscardRack* rack);
    bool Perform() override;

    Merchant& merchant;
    int countdown = -1;
};
