#include "game/store/ClothingButton.h"

#include "framework/graphics/Image.h"
#include "game/data/ClothingStats.h"

namespace
{
Zestra::Image* MannequinLook(int clothing)
{
    return GetClothing(clothing).GetPicture(LOOK_MANNEQUIN);
}

int HalfWidth(int clothing)
{
    Zestra::Image* picture = MannequinLook(clothing);
    return picture == nullptr ? 0 : picture->GetWidth() / 2;
}
} // namespace

ClothingButton::ClothingButton(int centreX, int y, int clothing, bool top, BackRoom* backRoom)
    : ActiveComponent(centreX - HalfWidth(clothing), y, 2, MannequinLook(clothing)), clothing(clothing), top(top),
      backRoom(backRoom), buttonNumberX(centreX - 10), buttonNumberY(y + (top ? 10 : 15))
{
    numberX = buttonNumberX;
    numberY = buttonNumberY;
}

std::unique_ptr<MerchantAction> ClothingButton::CreateMerchantAction(Merchant& merchant)
{
    // The VisitBackRoom order arrives with the merchant's orders.
    return nullptr;
}

Zestra::Point ClothingButton::GetNumberPosition(int k) const
{
    // Pending numbers stack downwards.
    return Zestra::Point{buttonNumberX, buttonNumberY + 10 * k};
}
