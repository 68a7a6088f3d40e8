// The gift-wrap station beside the service desk; the paper shows while the merchant wraps.
#pragma once

#include "game/people/VisitLine.h"
#include "game/store/ActiveComponent.h"

class CustomerLine;

class GiftWrap : public ActiveComponent
{
public:
    GiftWrap(int centreX, int y, CustomerLine* line);

    std::unique_ptr<MerchantAction> CreateMerchantAction(Merchant& merchant) override;
    void DrawOverlay(Zestra::Graphics& g) override;

    CustomerLine* line; // not owned: the service line
    bool wrapping = false;
};

// The order a click on the gift-wrap station makes: the merchant wraps the garments of the head of the service
// line when it asks for wrapping, in two "hands" animations, and serves it.
class GiftWrapAtCustomerService : public VisitLine
{
public:
    GiftWrapAtCustomerService(Merchant& merchant, GiftWrap& station, CustomerLine* line);
    bool ServeLine() override;

    GiftWrap& station;
    bool busy = false;
    bool secondRound = false;
};
