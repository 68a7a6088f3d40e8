// The top or bottom a mannequin wears; clicking it sends the merchant to the back room for that garment. Up to two
// orders may target it, their numbers stacked 10 pixels apart.
#pragma once

#include "game/store/ActiveComponent.h"

class BackRoom;

class ClothingButton : public ActiveComponent
{
public:
    ClothingButton(int centreX, int y, int clothing, bool top, BackRoom* backRoom);

    std::unique_ptr<MerchantAction> CreateMerchantAction(Merchant& merchant) override;
    Zestra::Point GetNumberPosition(int k) const override;

    int clothing;
    bool top;
    BackRoom* backRoom; // not owned: the level's back room
    int buttonNumberX;
    int buttonNumberY;
};
