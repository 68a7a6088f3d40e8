// The customer-service desk on the right wall; two orders may target it, their numbers side by side. In December
// it owns a mirrored string of lights above it.
#pragma once

#include "game/store/ActiveComponent.h"

class ChristmasLights;
class WaitingLine;

class CustomerServiceDesk : public ActiveComponent
{
public:
    CustomerServiceDesk(int x, int y, Zestra::Image* image, WaitingLine* line, bool december);
    ~CustomerServiceDesk() override;

    void Update() override;
    std::unique_ptr<MerchantAction> CreateMerchantAction(Merchant& merchant) override;
    Zestra::Point GetNumberPosition(int k) const override;
    void DrawOverlay(Zestra::Graphics& g) override;

    WaitingLine* line; // not owned
    std::unique_ptr<ChristmasLights> lights;
};
