#include "game/diag/NovicePlayer.h"

#include "framework/graphics/Image.h"
#include "framework/platform/Platform.h"
#include "game/people/Customer.h"
#include "game/people/Merchant.h"
#include "game/people/WaitingLines.h"
#include "game/profile/GameState.h"
#include "game/shopday/Board.h"
#include "game/store/CashRegister.h"
#include "game/store/ChangingRoom.h"
#include "game/store/ClothingButton.h"
#include "game/store/ClothingForSale.h"
#include "game/store/CustomerServiceDesk.h"
#include "game/store/DiscardRack.h"
#include "game/store/Furniture.h"
#include "game/store/GiftWrap.h"

#include <algorithm>
#include <cmath>

namespace
{
enum Why
{
    WHY_PAY = 1,
    WHY_WRAP,
    WHY_DELIVER,
    WHY_FETCH,
    WHY_COLLECT,
    WHY_PUT_DOWN,
    WHY_RESTOCK,
    WHY_DISCARD,
    WHY_DRINK,
};

template <typename T>
T* FindClickable(const Zestra::Board& board)
{
    for (ActiveComponent* clickable : board.clickables)
        if (auto* found = dynamic_cast<T*>(clickable))
            return found;
    return nullptr;
}

bool Ordered(const Merchant& merchant, const OrderTarget* target)
{
    return merchant.CountOrdersFor(target) > 0;
}

// The merchant is already sent for the item: a numbered slot or back-room button showing it. A newcomer sees the
// numbers, so it does not send the merchant twice.
bool FetchUnderWay(const Zestra::Board& board, const Merchant& merchant, int item)
{
    for (Furniture* furniture : board.FurnitureOnFloor())
        for (auto& slot : furniture->items)
            if (slot->clothing == item && slot->inStock && Ordered(merchant, slot.get()))
                return true;
    for (ActiveComponent* clickable : board.clickables)
        if (auto* button = dynamic_cast<ClothingButton*>(clickable);
            button != nullptr && button->clothing == item && Ordered(merchant, button))
            return true;
    return false;
}

// Where the item can be fetched: the first place it is seen, a rack or table before the back room.
ActiveComponent* SourceOf(const Zestra::Board& board, int item)
{
    for (Furniture* furniture : board.FurnitureOnFloor())
        for (auto& slot : furniture->items)
            if (slot->clothing == item && slot->inStock)
                return slot.get();
    for (ActiveComponent* clickable : board.clickables)
        if (auto* button = dynamic_cast<ClothingButton*>(clickable); button != nullptr && button->clothing == item)
            return button;
    return nullptr;
}
} // namespace

NovicePlayer::NovicePlayer(Zestra::Board& board, EventSink sink, unsigned seed)
    : mBoard(board), mSink(std::move(sink)), mRandom(seed * 2654435761u + 17u)
{
    mWait = kDecisionMin + Chance(kDecisionSpread);
}

int NovicePlayer::Chance(int below)
{
    return below <= 1 ? 0 : int(mRandom() % unsigned(below));
}

std::vector<NovicePlayer::Sight> NovicePlayer::LookAround(bool drinksKnown) const
{
    std::vector<Sight> sights;
    Merchant* merchant = mBoard.PlayMerchant();
    if (merchant == nullptr)
        return sights;
    auto see = [&sights](const void* thing, int why, ActiveComponent* target) {
        if (target != nullptr)
            sights.push_back(Sight{thing, why, target, nullptr, 0});
    };
    // What a waiting customer asked for: bring it when it is in hand, else send for it.
    auto wants = [&](const void* thing, int item, ActiveComponent* destination) {
        if (item == 0)
            return;
        if (merchant->IsHolding(item))
        {
            if (!Ordered(*merchant, destination))
                see(thing, WHY_DELIVER, destination);
        }
        else if (!FetchUnderWay(mBoard, *merchant, item))
            see(thing, WHY_FETCH, SourceOf(mBoard, item));
    };

    const CashRegisterLine* cashLine = mBoard.CashLine();
    auto* cashRegister = FindClickable<CashRegister>(mBoard);
    if (cashLine != nullptr && cashRegister != nullptr && cashLine->Head() != nullptr &&
        cashLine->Head()->arrived && !Ordered(*merchant, cashRegister))
        see(cashLine->Head()->customer, WHY_PAY, cashRegister);

    const CustomerServiceLine* serviceLine = mBoard.ServiceLine();
    const LineEntry* serviceHead = serviceLine != nullptr ? serviceLine->Head() : nullptr;
    if (serviceHead != nullptr && serviceHead->atHead)
    {
        Customer* customer = serviceHead->customer;
        auto* wrap = FindClickable<GiftWrap>(mBoard);
        if (customer->bubble == Customer::BUBBLE_WRAP_SHOWN && wrap != nullptr && !Ordered(*merchant, wrap))
            see(customer, WHY_WRAP, wrap);
        else if (customer->bubble == Customer::BUBBLE_ITEM_SHOWN)
            wants(customer, customer->wantedItem, FindClickable<CustomerServiceDesk>(mBoard));
    }

    for (const auto& room : mBoard.ChangingRooms())
    {
        if (room->occupancy == Occupancy::Waiting && room->occupant != nullptr)
            wants(room.get(), room->occupant->WantedItem(), room.get());
        else if (room->occupancy == Occupancy::Free && room->shownClothing && !Ordered(*merchant, room.get()))
            see(room.get(), WHY_COLLECT, room.get());
    }

    // Empty places: put down what is in hand, else fetch it from the back room.
    for (Furniture* furniture : mBoard.FurnitureOnFloor())
        for (auto& slot : furniture->items)
        {
            if (slot->inStock || Ordered(*merchant, slot.get()))
                continue;
            if (merchant->IsHolding(slot->clothing))
                see(slot.get(), WHY_PUT_DOWN, slot.get());
            else if (!FetchUnderWay(mBoard, *merchant, slot->clothing))
                for (ActiveComponent* clickable : mBoard.clickables)
                    if (auto* button = dynamic_cast<ClothingButton*>(clickable);
                        button != nullptr && button->clothing == slot->clothing)
                    {
                        see(slot.get(), WHY_RESTOCK, button);
                        break;
                    }
        }

    // Both hands full and the merchant idle: the newcomer finally finds the discard rack.
    auto* discard = FindClickable<DiscardRack>(mBoard);
    if (discard != nullptr && merchant->hands[0] != 0 && merchant->hands[1] != 0 && merchant->actions.empty())
        see(discard, WHY_DISCARD, discard);

    if (drinksKnown && mBoard.DrinkStation() && mBoard.run.Progress() != nullptr && mBoard.run.Progress()->drinks > 0)
        for (auto& customer : mBoard.crowd.customers)
            if (customer->IsAngry() && customer->CanTakeDrinkAt(customer->x + 60, customer->y + 60))
                sights.push_back(Sight{customer.get(), WHY_DRINK, nullptr, customer.get(), 0});
    return sights;
}

void NovicePlayer::Remember(std::vector<Sight>& sights)
{
    std::map<std::pair<const void*, int>, int> seen;
    for (Sight& sight : sights)
    {
        auto key = std::make_pair(sight.thing, sight.why);
        auto known = mSeen.find(key);
        sight.firstSeen = known != mSeen.end() ? known->second : mTick;
        seen[key] = sight.firstSeen;
    }
    // What is gone is forgotten: seen again later, it is new again.
    mSeen = std::move(seen);
}

void NovicePlayer::Update(bool drinksKnown)
{
    ++mTick;
    if (mTick % kLookTicks == 0 || mWait <= 0)
    {
        std::vector<Sight> sights = LookAround(drinksKnown);
        Remember(sights);
        if (mWait > 0)
        {
            --mWait;
            return;
        }
        std::vector<const Sight*> ready;
        for (const Sight& sight : sights)
            if (mTick - sight.firstSeen >= kNoticeTicks)
                ready.push_back(&sight);
        if (ready.empty())
        {
            mWait = kLookTicks;
            return;
        }
        std::stable_sort(ready.begin(), ready.end(),
                         [](const Sight* a, const Sight* b) { return a->firstSeen < b->firstSeen; });
        const Sight* chosen = ready.front();
        if (ready.size() > 1 && Chance(100) < kWanderPercent)
            chosen = ready[size_t(Chance(int(ready.size())))];
        Act(*chosen);
        mWait = kDecisionMin + Chance(kDecisionSpread);
        return;
    }
    --mWait;
}

bool NovicePlayer::Act(const Sight& sight)
{
    if (sight.drinker != nullptr)
        return DragDrinkTo(*sight.drinker);
    return sight.target != nullptr && ClickOn(*sight.target);
}

bool NovicePlayer::ClickOn(ActiveComponent& component)
{
    Zestra::Image* image = component.GetImage();
    if (image == nullptr)
        return false;
    const int width = image->GetCelWidth();
    const int height = image->GetCelHeight();
    // Aimed at a visible part of the target, as the eye finds it; a grid widening from the middle.
    for (int step = 0; step <= 8; ++step)
        for (int dy = -step; dy <= step; ++dy)
            for (int dx = -step; dx <= step; ++dx)
            {
                if (std::max(std::abs(dx), std::abs(dy)) != step)
                    continue;
                int px = component.x + width / 2 + dx * width / 18;
                int py = component.y + height / 2 + dy * height / 18;
                if (mBoard.FindClickableAt(px, py) != &component)
                    continue;
                if (Chance(100) < kMissPercent)
                {
                    // The hand slips: 20 to 40 pixels off in one of eight directions, onto whatever is there.
                    static constexpr int kDirections[8][2] = {{1, 0}, {1, 1}, {0, 1}, {-1, 1},
                                                              {-1, 0}, {-1, -1}, {0, -1}, {1, -1}};
                    const int* direction = kDirections[Chance(8)];
                    const int distance = 20 + Chance(21);
                    px = std::clamp(px + direction[0] * distance, 0, 799);
                    py = std::clamp(py + direction[1] * distance, 0, 599);
                    ++misses;
                }
                using Type = Zestra::PlatformEvent::Type;
                Send(int(Type::MouseMove), px, py, 0);
                Send(int(Type::MouseDown), px, py, 1);
                Send(int(Type::MouseUp), px, py, 1);
                ++clicks;
                return true;
            }
    return false;
}

bool NovicePlayer::DragDrinkTo(Customer& customer)
{
    const Component* station = mBoard.DrinkStation();
    Zestra::Image* picture = station != nullptr ? station->GetImage() : nullptr;
    if (picture == nullptr)
        return false;
    const int grabX = station->x + picture->GetCelWidth() / 2;
    const int grabY = station->y + picture->GetCelHeight() / 2;
    const int dropX = customer.x + 60;
    const int dropY = customer.y + 60;
    using Type = Zestra::PlatformEvent::Type;
    Send(int(Type::MouseMove), grabX, grabY, 0);
    Send(int(Type::MouseDown), grabX, grabY, 1);
    Send(int(Type::MouseMove), (grabX + dropX) / 2, (grabY + dropY) / 2, 0);
    Send(int(Type::MouseMove), dropX, dropY, 0);
    Send(int(Type::MouseUp), dropX, dropY, 1);
    ++drinksGiven;
    return true;
}

void NovicePlayer::Send(int type, int x, int y, int code)
{
    Zestra::PlatformEvent event;
    event.mType = Zestra::PlatformEvent::Type(type);
    event.mX = x;
    event.mY = y;
    event.mClickCode = code;
    mSink(event);
}
