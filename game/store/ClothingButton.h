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

// The order a click on a mannequin's garment makes: the merchant walks into the back room and fetches the garment.
// Fetching one item after another, the merchant stays inside and each further item takes half the time.
class VisitBackRoom : public MerchantAction
{
public:
    VisitBackRoom(Merchant& merchant, ClothingButton* button, BackRoom* backRoom, int item);
    bool Chain(Action* following) override;
    void Withdrawn(Action& previous) override;
    bool Perform() override;

    Merchant& merchant;
    BackRoom* backRoom; // not owned; may be null
    int item;
    int countdown = -1; // -1 not started, -2 walking back out
    bool chained = false;
    int duration;
};
