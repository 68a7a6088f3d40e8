#include "game/store/ClothingButton.h"

#include "framework/graphics/Image.h"
#include "game/data/ClothingStats.h"
#include "game/people/Merchant.h"
#include "game/people/Motion.h"
#include "game/store/BackRoom.h"

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

constexpr int kBackRoomDoorX = 699; // where the merchant stands again after a back-room visit
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
    return std::make_unique<VisitBackRoom>(merchant, this, backRoom, clothing);
}

VisitBackRoom::VisitBackRoom(Merchant& merchant, ClothingButton* button, BackRoom* backRoom, int item)
    : MerchantAction(merchant, button, 800, backRoom != nullptr ? backRoom->y : 115), merchant(merchant),
      backRoom(backRoom), item(item), duration(merchant.backRoomTime)
{
    // Fetching one item after another, the merchant stays inside and each further item takes half the time.
    if (!merchant.actions.empty() && merchant.actions.back()->Chain(this))
        duration /= 2;
}

bool VisitBackRoom::Chain(Action* following)
{
    chained = following != nullptr;
    return chained;
}

void VisitBackRoom::Withdrawn(Action& previous)
{
    // The visit before it stays inside for this one; dropped, it has to walk out again after all.
    previous.Chain(nullptr);
}

bool VisitBackRoom::Perform()
{
    if (countdown == -2)
        return true;
    if (countdown == -1)
    {
        if (merchant.HandState() != Hands::Both)
        {
            if (backRoom != nullptr)
                backRoom->StartSmoke();
            countdown = duration;
        }
        else
        {
            countdown = 0;
            item = 0; // full hands: walk in and out again without taking anything
        }
    }
    if (countdown > 0)
    {
        countdown -= 1;
        return false;
    }
    if (item != 0 && merchant.HandState() != Hands::Both)
        merchant.PickUp(item, false);
    if (chained)
        return true;
    if (backRoom != nullptr)
        backRoom->StopSmoke();
    targetX = kBackRoomDoorX;
    countdown = -2;
    RouteToTarget();
    state = STATE_WALKING;
    return false;
}

Zestra::Point ClothingButton::GetNumberPosition(int k) const
{
    // Pending numbers stack downwards.
    return Zestra::Point{buttonNumberX, buttonNumberY + 10 * k};
}
