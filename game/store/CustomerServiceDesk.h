// The customer-service desk on the right wall; two orders may target it, their numbers side by side. In December
// it owns a mirrored string of lights above it.
#pragma once

#include "game/people/VisitLine.h"
#include "game/store/ActiveComponent.h"

class ChristmasLights;
class CustomerLine;

class CustomerServiceDesk : public ActiveComponent
{
public:
    CustomerServiceDesk(int x, int y, Zestra::Image* image, CustomerLine* line, bool december);
    ~CustomerServiceDesk() override;

    void Update() override;
    std::unique_ptr<MerchantAction> CreateMerchantAction(Merchant& merchant) override;
    Zestra::Point GetNumberPosition(int k) const override;
    void DrawOverlay(Zestra::Graphics& g) override;

    CustomerLine* line; // not owned
    std::unique_ptr<ChristmasLights> lights;
};

// The order a click on the desk makes: the merchant serves the head of the service line, unless it waits for gift
// wrapping (the gift-wrap station serves those).
class VisitCustomerService : public VisitLine
{
public:
    VisitCustomerService(Merchant& merchant, CustomerServiceDesk* desk, CustomerLine* line);
    bool ServeLine() override;
};
