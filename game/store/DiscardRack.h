// The rack where the merchant gets rid of unwanted items.
#pragma once

#include "game/store/ActiveComponent.h"

class DiscardRack : public ActiveComponent
{
public:
    DiscardRack(int centreX, int y, Zestra::Image* image);

    std::unique_ptr<MerchantAction> CreateMerchantAction(Merchant& merchant) override;
};
