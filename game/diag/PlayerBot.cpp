#include "game/diag/PlayerBot.h"

#include "framework/graphics/Image.h"
#include "framework/platform/Platform.h"
#include "framework/widgets/ControlSupport.h"
#include "game/app/GameApp.h"
#include "game/diag/MinigamePlayer.h"
#include "game/diag/NovicePlayer.h"
#include "game/diag/ShoppingRule.h"
#include "game/ui/Button.h"
#include "game/minigame/Minigame.h"
#include "game/shop/ShopItems.h"
#include "game/shop/UpgradeMenu.h"
#include "game/people/Customer.h"
#include "game/people/Merchant.h"
#include "game/people/WaitingLines.h"
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
#include <vector>

namespace
{
template <typename T>
T* FindClickable(const Zestra::Board& board)
{
    for (ActiveComponent* clickable : board.clickables)
        if (auto* found = dynamic_cast<T*>(clickable))
            return found;
    return nullptr;
}

bool HasOrderOn(const Merchant& merchant, const OrderTarget* target)
{
    return merchant.CountOrdersFor(target) > 0;
}

// Items the merchant holds or has been sent to fetch.
std::vector<int> ComingItems(const Merchant& merchant)
{
    std::vector<int> items;
    for (int hand : merchant.hands)
        if (hand != 0)
            items.push_back(hand);
    for (const auto& order : merchant.actions)
    {
        if (auto* fetch = dynamic_cast<const GoToFurniture*>(order.get()); fetch != nullptr && fetch->wasPresent)
            items.push_back(fetch->item.clothing);
        else if (auto* backRoom = dynamic_cast<const VisitBackRoom*>(order.get()))
            items.push_back(backRoom->item);
    }
    return items;
}

bool Contains(const std::vector<int>& items, int item)
{
    return std::find(items.begin(), items.end(), item) != items.end();
}
} // namespace

PlayerBot::PlayerBot(Zestra::Board& board, EventSink sink, Style style, unsigned seed)
    : mBoard(board), mSink(std::move(sink)), mSeed(seed)
{
    if (style == Style::Novice)
        mNovice = std::make_unique<NovicePlayer>(mBoard, mSink, seed);
}

PlayerBot::~PlayerBot() = default;

void PlayerBot::PlayMinigame(const Minigame& minigame)
{
    if (!mMinigamePlayer)
    {
        // A newcomer keeps about two pieces in three of what it saw.
        mMinigamePlayer = mNovice ? std::make_unique<MinigamePlayer>(mSink, 65, mSeed)
                                  : std::make_unique<MinigamePlayer>(mSink);
    }
    const Button* done = minigame.doneButton;
    Zestra::Rect doneArea;
    bool doneShown = done != nullptr && done->mShown && !done->mInactive;
    if (doneShown)
        doneArea = Zestra::Rect(done->mX, done->mY, done->mWidth, done->mHeight);
    if (minigame.play)
        mMinigamePlayer->Update(*minigame.play, doneShown ? &doneArea : nullptr);
    else if (doneShown && mWait-- <= 0)
    {
        // A day without a game to play: only done is left.
        Send(int(Zestra::PlatformEvent::Type::MouseDown), doneArea.mX + 1, doneArea.mY + 1, 1);
        Send(int(Zestra::PlatformEvent::Type::MouseUp), doneArea.mX + 1, doneArea.mY + 1, 1);
        mWait = kThinkTicks;
    }
}

void PlayerBot::Update()
{
    if (mBoard.DayMinigame() != nullptr)
    {
        PlayMinigame(*mBoard.DayMinigame());
        return;
    }
    if (mBoard.Mode() != BoardMode::UpgradeShop)
        mRefused.clear();
    if (mBoard.Mode() == BoardMode::UpgradeShop && mBoard.run.Progress() != nullptr)
    {
        if (mWait > 0)
        {
            --mWait;
            return;
        }
        mWait = kThinkTicks;
        Shop();
        return;
    }
    bool inLesson = mBoard.Mode() == BoardMode::Tutorial && mBoard.lesson != nullptr;
    if (inLesson && mBoard.State() != BoardState::Playing && mBoard.PauseCount() == 0)
    {
        // A menu over the lesson: the upgrade panel the shop lesson opened is answered, others are not ours.
        if (mWait > 0)
            --mWait;
        else if (AnswerLessonPanel())
            mWait = kThinkTicks;
        return;
    }
    if (mBoard.State() != BoardState::Playing || (mBoard.Mode() != BoardMode::Level && !inLesson) ||
        mBoard.lastDay.levelResult != DayResult::None || mBoard.run.Progress() == nullptr)
        return;
    if (mNovice && !inLesson && mBoard.PauseCount() == 0)
    {
        // The newcomer keeps its own pace.
        mNovice->Update(mDrinksShown);
        return;
    }
    if (mWait > 0)
    {
        --mWait;
        return;
    }
    mWait = kThinkTicks;
    if (mBoard.PauseCount() > 0)
    {
        // A click anywhere resumes the day.
        Send(int(Zestra::PlatformEvent::Type::MouseDown), 400, 300, 1);
        Send(int(Zestra::PlatformEvent::Type::MouseUp), 400, 300, 1);
        return;
    }
    if (inLesson)
        FollowLesson();
    else
        Think();
}

bool PlayerBot::FollowLesson()
{
    BoardLesson& lesson = *mBoard.lesson;
    using Type = Zestra::PlatformEvent::Type;
    if (lesson.AllowsDrinks() && GiveLessonDrink())
    {
        mDrinksShown = true;
        return true;
    }
    int x = 0;
    int y = 0;
    if (!lesson.ArrowTargetPoint(x, y))
    {
        const Button* done = mBoard.hud.doneButton.get();
        if (lesson.WaitsForClick())
        {
            // Anywhere continues; the middle of the floor is what a person would click.
            x = 400;
            y = 300;
        }
        else if (done != nullptr && done->mShown && !done->mInactive)
        {
            // The shop lesson's last arrow points at the done button, which is on only then.
            x = done->mX + done->mWidth / 2;
            y = done->mY + done->mHeight / 2;
        }
        else
        {
            return false;
        }
    }
    Send(int(Type::MouseMove), x, y, 0);
    Send(int(Type::MouseDown), x, y, 1);
    Send(int(Type::MouseUp), x, y, 1);
    ++clicks;
    return true;
}

bool PlayerBot::AnswerLessonPanel()
{
    // Buy what the lesson pointed at; a panel that cannot sell is left, and the lesson says what comes next.
    auto* app = dynamic_cast<Zestra::GameApp*>(Zestra::AppOf(mBoard));
    const Menu* top = app != nullptr && !app->OpenMenus().empty() ? app->OpenMenus().back() : nullptr;
    const auto* panel = dynamic_cast<const UpgradeMenu*>(top);
    if (panel == nullptr)
        return false;
    const Zestra::Widget* button = panel->buyButton;
    if (button == nullptr || !button->mShown || button->mInactive)
        button = panel->cancelButton;
    if (button == nullptr || !button->mShown || button->mInactive)
        return false;
    ClickAt(button->mX + button->mWidth / 2, button->mY + button->mHeight / 2);
    return true;
}

bool PlayerBot::GiveLessonDrink()
{
    const Component* station = mBoard.DrinkStation();
    if (station == nullptr || station->GetImage() == nullptr || mBoard.run.Progress()->drinks <= 0)
        return false;
    std::vector<Person*> people;
    mBoard.lesson->AppendPeople(people);
    Customer* taker = nullptr;
    for (Person* person : people)
    {
        auto* customer = dynamic_cast<Customer*>(person);
        if (customer != nullptr && customer->CanTakeDrinkAt(customer->x + 60, customer->y + 60))
        {
            taker = customer;
            break;
        }
    }
    if (taker == nullptr)
        return false;
    Zestra::Image* picture = station->GetImage();
    int grabX = station->x + picture->GetCelWidth() / 2;
    int grabY = station->y + picture->GetCelHeight() / 2;
    int dropX = taker->x + 60;
    int dropY = taker->y + 60;
    using Type = Zestra::PlatformEvent::Type;
    Send(int(Type::MouseMove), grabX, grabY, 0);
    Send(int(Type::MouseDown), grabX, grabY, 1);
    Send(int(Type::MouseMove), (grabX + dropX) / 2, (grabY + dropY) / 2, 0);
    Send(int(Type::MouseMove), dropX, dropY, 0);
    Send(int(Type::MouseUp), dropX, dropY, 1);
    ++drinksGiven;
    return true;
}

void PlayerBot::Send(int type, int x, int y, int code)
{
    Zestra::PlatformEvent event;
    event.mType = Zestra::PlatformEvent::Type(type);
    event.mX = x;
    event.mY = y;
    event.mClickCode = code;
    mSink(event);
}

void PlayerBot::ClickAt(int x, int y)
{
    using Type = Zestra::PlatformEvent::Type;
    Send(int(Type::MouseMove), x, y, 0);
    Send(int(Type::MouseDown), x, y, 1);
    Send(int(Type::MouseUp), x, y, 1);
    ++clicks;
}

bool PlayerBot::Shop()
{
    // A panel open over the shop: buy what it offers, or leave it when it cannot sell.
    auto* app = dynamic_cast<Zestra::GameApp*>(Zestra::AppOf(mBoard));
    const Menu* top = app != nullptr && !app->OpenMenus().empty() ? app->OpenMenus().back() : nullptr;
    if (auto* panel = dynamic_cast<const UpgradeMenu*>(top))
    {
        const Zestra::Widget* button = panel->buyButton;
        if (button == nullptr || !button->mShown || button->mInactive)
        {
            mRefused.insert(mChosen);
            button = panel->cancelButton;
        }
        if (button == nullptr || !button->mShown || button->mInactive)
            return false;
        ClickAt(button->mX + button->mWidth / 2, button->mY + button->mHeight / 2);
        return true;
    }
    if (top != nullptr || mBoard.State() != BoardState::Playing)
        return false;

    // On the floor: the badge of the offer the rule wants, else done.
    std::vector<ShopOffer> offers = ListShopOffers(*mBoard.run.Progress());
    offers.erase(std::remove_if(offers.begin(), offers.end(),
                                [this](const ShopOffer& offer) {
                                    return mRefused.count({int(offer.kind), offer.spot}) != 0;
                                }),
                 offers.end());
    const int choice = ChooseShopOffer(*mBoard.run.Progress(), offers);
    if (choice >= 0)
    {
        const ShopOffer& offer = offers[size_t(choice)];
        for (const auto& item : mBoard.shopItems)
        {
            bool match = false;
            switch (offer.kind)
            {
            case ShopKind::ChangingRoom:
                match = dynamic_cast<const ShopChangingRoom*>(item.get()) != nullptr;
                break;
            case ShopKind::Merchant:
                match = dynamic_cast<const ShopMerchant*>(item.get()) != nullptr;
                break;
            case ShopKind::GoodieRack:
                match = dynamic_cast<const ShopGoodieRack*>(item.get()) != nullptr;
                break;
            case ShopKind::Furniture:
                auto* furniture = dynamic_cast<const ShopFurniture*>(item.get());
                match = furniture != nullptr && furniture->spot == offer.spot;
                break;
            }
            const Component& badge = *item->badge;
            if (!match || badge.image == nullptr)
                continue;
            // The first badge under the point gets the click: aim where this one is not covered by another.
            for (int dy : {0, -8, 8, -14, 14})
                for (int dx : {0, -20, 20, -35, 35})
                {
                    const int px = badge.x + badge.image->GetWidth() / 2 + dx;
                    const int py = badge.y + badge.image->GetHeight() / 2 + dy;
                    if (mBoard.FindShopItemAt(px, py) != item.get())
                        continue;
                    mChosen = {int(offer.kind), offer.spot};
                    ClickAt(px, py);
                    return true;
                }
        }
        mRefused.insert({int(offer.kind), offer.spot}); // no badge to click: not on this floor
        return false;
    }
    const Button* done = mBoard.hud.doneButton.get();
    if (done == nullptr || !done->mShown || done->mInactive)
        return false;
    ClickAt(done->mX + done->mWidth / 2, done->mY + done->mHeight / 2);
    return true;
}

bool PlayerBot::ClickOn(ActiveComponent& component)
{
    Zestra::Image* image = component.GetImage();
    if (image == nullptr)
        return false;
    int width = image->GetCelWidth();
    int height = image->GetCelHeight();
    // The middle first, then a widening grid: the point must reach this component and not one tested before it.
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
                using Type = Zestra::PlatformEvent::Type;
                Send(int(Type::MouseMove), px, py, 0);
                Send(int(Type::MouseDown), px, py, 1);
                Send(int(Type::MouseUp), px, py, 1);
                ++clicks;
                return true;
            }
    return false;
}

bool PlayerBot::GiveDrink()
{
    const Component* station = mBoard.DrinkStation();
    if (station == nullptr || station->GetImage() == nullptr || mBoard.run.Progress()->drinks <= 0)
        return false;
    Customer* angriest = nullptr;
    for (auto& customer : mBoard.crowd.customers)
    {
        if (customer->profile.hearts > 1 || !customer->CanTakeDrinkAt(customer->x + 60, customer->y + 60))
            continue;
        if (angriest == nullptr || customer->profile.hearts < angriest->profile.hearts ||
            (customer->profile.hearts == angriest->profile.hearts && customer->patienceLeft < angriest->patienceLeft))
            angriest = customer.get();
    }
    if (angriest == nullptr)
        return false;
    Zestra::Image* picture = station->GetImage();
    int grabX = station->x + picture->GetCelWidth() / 2;
    int grabY = station->y + picture->GetCelHeight() / 2;
    if (!station->Contains(grabX, grabY))
        return false;
    // Grabbed at its middle, the drink's centre follows the pointer exactly.
    int dropX = angriest->x + 60;
    int dropY = angriest->y + 60;
    using Type = Zestra::PlatformEvent::Type;
    Send(int(Type::MouseMove), grabX, grabY, 0);
    Send(int(Type::MouseDown), grabX, grabY, 1);
    Send(int(Type::MouseMove), (grabX + dropX) / 2, (grabY + dropY) / 2, 0);
    Send(int(Type::MouseMove), dropX, dropY, 0);
    Send(int(Type::MouseUp), dropX, dropY, 1);
    ++drinksGiven;
    return true;
}

bool PlayerBot::Think()
{
    Merchant* merchant = mBoard.PlayMerchant();
    if (merchant == nullptr)
        return false;
    if (GiveDrink())
        return true;

    CustomerLine* cashLine = mBoard.CashLine();
    CustomerLine* serviceLine = mBoard.ServiceLine();
    auto* cashRegister = FindClickable<CashRegister>(mBoard);
    auto* desk = FindClickable<CustomerServiceDesk>(mBoard);
    auto* wrap = FindClickable<GiftWrap>(mBoard);
    auto* discard = FindClickable<DiscardRack>(mBoard);

    // Paying customers first, even behind a longer plan: they are money already earned.
    if (cashRegister != nullptr && cashLine != nullptr && cashLine->Head() != nullptr && cashLine->Head()->arrived &&
        merchant->actions.size() < 5 && !HasOrderOn(*merchant, cashRegister) && ClickOn(*cashRegister))
        return true;
    if (merchant->actions.size() >= kPlanAhead)
        return false;
    const LineEntry* serviceHead = serviceLine != nullptr ? serviceLine->Head() : nullptr;
    if (wrap != nullptr && serviceHead != nullptr && serviceHead->atHead &&
        serviceHead->customer->bubble == Customer::BUBBLE_WRAP_SHOWN && !HasOrderOn(*merchant, wrap) &&
        ClickOn(*wrap))
        return true;

    // Bring what waiting customers asked for, when it is at hand.
    for (const auto& room : mBoard.ChangingRooms())
    {
        auto* customer = dynamic_cast<Customer*>(room->occupant);
        if (room->occupancy == Occupancy::Waiting && customer != nullptr && customer->wantedItem != 0 &&
            merchant->IsHolding(customer->wantedItem) && !HasOrderOn(*merchant, room.get()) && ClickOn(*room))
            return true;
    }
    if (desk != nullptr && serviceHead != nullptr && serviceHead->atHead &&
        serviceHead->customer->bubble == Customer::BUBBLE_ITEM_SHOWN && serviceHead->customer->wantedItem != 0 &&
        merchant->IsHolding(serviceHead->customer->wantedItem) && !HasOrderOn(*merchant, desk) && ClickOn(*desk))
        return true;

    // Fetch wanted items: for the rooms, then the desk line in order.
    std::vector<int> wanted;
    for (const auto& room : mBoard.ChangingRooms())
        if (room->occupancy == Occupancy::Waiting && room->occupant != nullptr)
            wanted.push_back(room->occupant->WantedItem());
    if (serviceLine != nullptr)
        for (const LineEntry& entry : serviceLine->entries)
            if (entry.customer->bubble != Customer::BUBBLE_WRAP_PENDING &&
                entry.customer->bubble != Customer::BUBBLE_WRAP_SHOWN)
                wanted.push_back(entry.customer->wantedItem);
    std::vector<int> coming = ComingItems(*merchant);
    for (int item : wanted)
    {
        if (item == 0 || coming.size() >= 2)
            continue;
        if (Contains(coming, item))
        {
            // Counted once: a second customer wanting the same item needs a second copy.
            coming.erase(std::find(coming.begin(), coming.end(), item));
            continue;
        }
        for (Furniture* furniture : mBoard.FurnitureOnFloor())
            for (auto& slot : furniture->items)
                if (slot->clothing == item && slot->inStock && !HasOrderOn(*merchant, slot.get()) &&
                    ClickOn(*slot))
                    return true;
        for (ActiveComponent* clickable : mBoard.clickables)
            if (auto* button = dynamic_cast<ClothingButton*>(clickable);
                button != nullptr && button->clothing == item && merchant->CountOrdersFor(button) < button->maxOrders &&
                ClickOn(*button))
                return true;
    }

    // Free the rooms blocked by items left behind.
    coming = ComingItems(*merchant);
    for (const auto& room : mBoard.ChangingRooms())
        if (room->occupancy == Occupancy::Free && room->shownClothing && coming.size() < 2 &&
            !HasOrderOn(*merchant, room.get()) && ClickOn(*room))
            return true;

    // Restock empty places with what the merchant carries and nobody is waiting for.
    for (Furniture* furniture : mBoard.FurnitureOnFloor())
        for (auto& slot : furniture->items)
            if (!slot->inStock && merchant->IsHolding(slot->clothing) && !Contains(wanted, slot->clothing) &&
                !HasOrderOn(*merchant, slot.get()) && ClickOn(*slot))
                return true;

    // Get rid of what nobody wants, once nothing else is queued.
    if (discard != nullptr && merchant->actions.empty() && merchant->HandState() != Hands::Empty)
    {
        bool useful = false;
        for (int hand : merchant->hands)
        {
            if (hand == 0)
                continue;
            useful = useful || Contains(wanted, hand);
            for (Furniture* furniture : mBoard.FurnitureOnFloor())
                for (auto& slot : furniture->items)
                    useful = useful || (!slot->inStock && slot->clothing == hand);
        }
        if (!useful && ClickOn(*discard))
            return true;
    }

    // Refill empty places from the back room when the clothing hangs on a mannequin; not while anyone waits to pay,
    // since the trip keeps the merchant away from the register.
    coming = ComingItems(*merchant);
    if (coming.size() < 2 && (cashLine == nullptr || cashLine->Empty()))
        for (Furniture* furniture : mBoard.FurnitureOnFloor())
            for (auto& slot : furniture->items)
            {
                if (slot->inStock || Contains(coming, slot->clothing))
                    continue;
                for (ActiveComponent* clickable : mBoard.clickables)
                    if (auto* button = dynamic_cast<ClothingButton*>(clickable);
                        button != nullptr && button->clothing == slot->clothing &&
                        merchant->CountOrdersFor(button) < button->maxOrders && ClickOn(*button))
                        return true;
            }
    return false;
}
