#include "game/store/CustomerServiceDesk.h"

#include "game/people/Customer.h"
#include "game/people/WaitingLines.h"
#include "game/store/ChristmasLights.h"

CustomerServiceDesk::CustomerServiceDesk(int x, int y, Zestra::Image* image, CustomerLine* line, bool december)
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
    return std::make_unique<VisitCustomerService>(merchant, this, line);
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

VisitCustomerService::VisitCustomerService(Merchant& merchant, CustomerServiceDesk* desk, CustomerLine* line)
    : VisitLine(merchant, desk, 699, 125, line)
{
}

bool VisitCustomerService::ServeLine()
{
    const LineEntry* head = line->Head();
    if (head == nullptr)
        return true;
    if (head->customer->bubble != Customer::BUBBLE_WRAP_SHOWN)
        line->ServeHead();
    return true;
}
