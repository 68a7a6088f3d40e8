#include "game/store/GiftWrap.h"

#include "framework/graphics/Graphics.h"
#include "framework/graphics/MemoryImage.h"
#include "game/res/Res.h"

GiftWrap::GiftWrap(int centreX, int y, WaitingLine* line)
    : ActiveComponent(centreX, y, IMAGE_GIFT_WRAP.get(), 16, 1), line(line)
{
}

std::unique_ptr<MerchantAction> GiftWrap::CreateMerchantAction(Merchant& merchant)
{
    // The GiftWrapAtCustomerService order arrives with the merchant's orders.
    return nullptr;
}

void GiftWrap::DrawOverlay(Zestra::Graphics& g)
{
    if (wrapping && IMAGE_GIFT_WRAP_PAPER)
        g.Blit(IMAGE_GIFT_WRAP_PAPER.get(), x + 45, y + 20);
}
