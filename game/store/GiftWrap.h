// The gift-wrap station beside the service desk; the paper shows while the merchant wraps.
#pragma once

#include "game/store/ActiveComponent.h"

class WaitingLine;

class GiftWrap : public ActiveComponent
{
public:
    GiftWrap(int centreX, int y, WaitingLine* line);

    std::unique_ptr<MerchantAction> CreateMerchantAction(Merchant& merchant) override;
    void DrawOverlay(Zestra::Graphics& g) override;

    WaitingLine* line; // not owned: the service line
    bool wrapping = false;
};
