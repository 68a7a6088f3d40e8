#include "game/store/MerchantOrders.h"

#include "framework/graphics/Image.h"
#include "game/people/Customer.h"
#include "game/people/GameSound.h"
#include "game/people/Merchant.h"
#include "game/people/Motion.h"
#include "game/people/WaitingLines.h"
#include "game/people/Walkways.h"
#include "game/res/Res.h"
#include "game/store/BackRoom.h"
#include "game/store/CashRegister.h"
#include "game/store/ChangingRoom.h"
#include "game/store/ClothingButton.h"
#include "game/store/ClothingForSale.h"
#include "game/store/CustomerServiceDesk.h"
#include "game/store/DiscardRack.h"
#include "game/store/Furniture.h"
#include "game/store/GiftWrap.h"

namespace
{
constexpr int kBackRoomDoorX = 699; // where the merchant stands again after a back-room visit

OrderTarget* AsTarget(ActiveComponent& component)
{
    return &component;
}

int CelWidth(const Zestra::Image* image)
{
    return image == nullptr ? 0 : image->GetCelWidth();
}

CustomerLine* AsLine(WaitingLine* line)
{
    return dynamic_cast<CustomerLine*>(line);
}
} // namespace

std::unique_ptr<MerchantAction> CreateOrderFor(ActiveComponent& component, Merchant& merchant)
{
    if (auto* item = dynamic_cast<ClothingForSale*>(&component))
        return item->furniture != nullptr ? std::make_unique<GoToFurniture>(merchant, *item) : nullptr;
    if (auto* button = dynamic_cast<ClothingButton*>(&component))
        return std::make_unique<VisitBackRoom>(merchant, AsTarget(*button), button->backRoom, button->clothing);
    if (auto* room = dynamic_cast<ChangingRoom*>(&component))
        return std::make_unique<VisitChangingRoom>(merchant, *room);
    if (auto* rack = dynamic_cast<DiscardRack*>(&component))
        return std::make_unique<DiscardClothing>(merchant, AsTarget(*rack));
    if (auto* cashRegister = dynamic_cast<CashRegister*>(&component))
        return std::make_unique<VisitCashRegister>(merchant, *cashRegister, AsLine(cashRegister->line));
    if (auto* desk = dynamic_cast<CustomerServiceDesk*>(&component))
        return std::make_unique<VisitCustomerService>(merchant, AsTarget(*desk), AsLine(desk->line));
    if (auto* station = dynamic_cast<GiftWrap*>(&component))
        return std::make_unique<GiftWrapAtCustomerService>(merchant, *station, AsLine(station->line));
    return nullptr;
}

GoToFurniture::GoToFurniture(Merchant& merchant, ClothingForSale& item)
    : MerchantAction(merchant, AsTarget(item),
                     item.furniture->x + CelWidth(item.furniture->image) / 2 - 131, item.furniture->y + 9),
      merchant(merchant), item(item), wasPresent(item.inStock), furniture(item.furniture)
{
}

bool GoToFurniture::Perform()
{
    if (wasPresent)
    {
        if (merchant.HandState() == 3)
            return true;
        if (item.inStock)
            item.inStock = false;
        else if (!furniture->TakeItem(-1))
            return true;
        merchant.PickUp(item.clothing, true);
        return true;
    }
    // The player clicked an empty place: restock it when the merchant carries its garment.
    if (!item.inStock && merchant.IsHolding(item.clothing))
    {
        merchant.PutDown(item.clothing, true);
        item.inStock = true;
    }
    return true;
}

VisitBackRoom::VisitBackRoom(Merchant& merchant, OrderTarget* button, BackRoom* backRoom, int item)
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
        if (merchant.HandState() != 3)
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
    if (item != 0 && merchant.HandState() != 3)
        merchant.PickUp(item, false);
    if (chained)
        return true;
    if (backRoom != nullptr)
        backRoom->StopSmoke();
    targetX = kBackRoomDoorX;
    countdown = -2;
    if (const Walkways* grid = ActiveWalkways())
    {
        path = grid->Route(merchant, targetX, targetY);
        state = STATE_WALKING;
    }
    return false;
}

VisitChangingRoom::VisitChangingRoom(Merchant& merchant, ChangingRoom& room)
    : MerchantAction(merchant, AsTarget(room), room.x - 6, room.y + 30), merchant(merchant), room(room)
{
}

bool VisitChangingRoom::Perform()
{
    if (room.occupancy == 0 && room.shownClothing && merchant.HandState() != 3)
    {
        int item = room.TakeShownClothing(true);
        merchant.PickUp(item, true);
        return true;
    }
    if (room.occupancy == 3)
    {
        auto* customer = dynamic_cast<Customer*>(room.occupant);
        if (customer != nullptr && customer->wantedItem != 0 && merchant.IsHolding(customer->wantedItem))
        {
            merchant.PutDown(customer->wantedItem, true);
            int old = room.StartTryOn(customer->wantedItem);
            if (old != 0)
                merchant.PickUp(old, true);
        }
    }
    return true;
}

DiscardClothing::DiscardClothing(Merchant& merchant, OrderTarget* rack)
    : MerchantAction(merchant, rack, -8, 50), merchant(merchant)
{
}

bool DiscardClothing::Perform()
{
    if (countdown < 0)
    {
        if (merchant.HandState() == 0)
            return true;
        merchant.SetDiscardPose();
        countdown = merchant.discardTime;
    }
    if (countdown < 1)
    {
        merchant.EmptyHands();
        merchant.StopWalking();
        return true;
    }
    countdown -= 1;
    return false;
}

VisitLine::VisitLine(Merchant& merchant, OrderTarget* station, int x, int y, CustomerLine* line)
    : MerchantAction(merchant, station, x, y), merchant(merchant), line(line)
{
}

bool VisitLine::Perform()
{
    if (line == nullptr)
        return true;
    if (servedCustomer == nullptr)
    {
        const LineEntry* head = line->Head();
        if (head == nullptr || !head->arrived)
            return true;
        servedCustomer = head->customer;
    }
    if (!headSeen)
    {
        const LineEntry* head = line->Head();
        headSeen = head != nullptr && head->atHead;
        if (!headSeen)
            return cancelled;
    }
    return ServeLine();
}

VisitCashRegister::VisitCashRegister(Merchant& merchant, CashRegister& cashRegister, CustomerLine* line)
    : VisitLine(merchant, AsTarget(cashRegister), -8, 290, line), cashRegister(cashRegister)
{
}

bool VisitCashRegister::ServeLine()
{
    if (!busy)
    {
        if (line->Empty())
            return true;
        if (cashRegister.showing)
            return false;
        merchant.SetAnimation("hands");
        line->ServeHead();
        busy = true;
        return false;
    }
    if (merchant.animationName == "hands")
        return false;
    servedCustomer = nullptr;
    headSeen = false;
    busy = false;
    return cancelled;
}

VisitCustomerService::VisitCustomerService(Merchant& merchant, OrderTarget* desk, CustomerLine* line)
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

GiftWrapAtCustomerService::GiftWrapAtCustomerService(Merchant& merchant, GiftWrap& station, CustomerLine* line)
    : VisitLine(merchant, AsTarget(station), 699, 125, line), station(station)
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
