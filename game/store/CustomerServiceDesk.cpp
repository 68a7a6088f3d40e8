#include "game/store/CustomerServiceDesk.h"

#include "game/store/ChristmasLights.h"

CustomerServiceDesk::CustomerServiceDesk(int x, int y, Zestra::Image* image, WaitingLine* line, bool december)
    : ActiveComponent(x, y, 2, image), line(line)
{
    if (december)
        lights = std::make_unique<ChristmasLights>(x, y - 20, true);
}

CustomerServiceDesk::~CustomerServiceDesk() = default;

void CustomerServiceDesk::Update()
{
    if (lights)
        lights->Update();
}

std::unique_ptr<MerchantAction> CustomerServiceDesk::CreateMerchantAction(Merchant& merchant)
{
    // The VisitCustomerService order arrives with the merchant's orders.
    return nullptr;
}

Zestra::Point CustomerServiceDesk::GetNumberPosition(int k) const
{
    // Two pending numbers stand side by side.
    return Zestra::Point{x + 20 * k + 70, y + 28};
}

void CustomerServiceDesk::DrawOverlay(Zestra::Graphics& g)
{
    if (lights)
        lights->Draw(g);
}
