#include "game/store/GiftWrap.h"

#include "framework/graphics/Graphics.h"
#include "framework/graphics/MemoryImage.h"
#include "game/people/Customer.h"
#include "game/audio/GameSound.h"
#include "game/people/Merchant.h"
#include "game/people/WaitingLines.h"
#include "game/res/Res.h"

GiftWrap::GiftWrap(int centreX, int y, CustomerLine* line)
    : ActiveComponent(centreX, y, IMAGE_GIFT_WRAP.get(), 16, 1), line(line)
{
}

std::unique_ptr<MerchantAction> GiftWrap::CreateMerchantAction(Merchant& merchant)
{
    return std::make_unique<GiftWrapAtCustomerService>(merchant, *this, line);
}

void GiftWrap::DrawOverlay(Zestra::Graphics& g)
{
    if (wrapping && IMAGE_GIFT_WRAP_PAPER)
        g.Blit(IMAGE_GIFT_WRAP_PAPER.get(), x + 45, y + 20);
}

GiftWrapAtCustomerService::GiftWrapAtCustomerService(Merchant& merchant, GiftWrap& station, CustomerLine* line)
    : VisitLine(merchant, &station, 699, 125, line), station(station)
{
}

bool GiftWrapAtCustomerService::ServeLine()
{
    if (!busy)
    {
        const LineEntry* head = line->Head();
        if (head == nullptr || head->customer->bubble != Customer::BUBBLE_WRAP_SHOWN)
            return true;
        PlayGameSound(SOUND_GIFT_WRAP);
        merchant.SetAnimation("hands");
        station.wrapping = true;
        busy = true;
        return false;
    }
    if (merchant.animationName == "hands")
        return false;
    if (!secondRound)
    {
        secondRound = true;
        merchant.SetAnimation("hands");
        return false;
    }
    station.wrapping = false;
    line->ServeHead();
    return true;
}
