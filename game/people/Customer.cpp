#include "game/people/Customer.h"

#include "framework/graphics/Graphics.h"
#include "framework/graphics/Image.h"
#include "framework/graphics/MemoryImage.h"
#include "game/data/ClothingStats.h"
#include "game/data/LevelStats.h"
#include "game/data/PersonStats.h"
#include "game/people/ClothingShelf.h"
#include "game/people/CustomerActions.h"
#include "game/people/ChangingRoomPlace.h"
#include "game/audio/GameSound.h"
#include "game/people/PersonObserver.h"
#include "game/people/ShopFloor.h"
#include "game/people/WaitingLines.h"
#include "game/res/Res.h"

#include <algorithm>

namespace
{
constexpr int kStartX = -39; // outside the left edge of the floor
constexpr int kStartY = 445;
} // namespace

Customer::Customer(const std::string& key, float speed, const std::vector<int>& types, ShopFloor* board)
    : Person(kStartX, kStartY, FindCustomer(key).name, speed), profile(FindCustomer(key)), wishTypes(types),
      board(board)
{
    // A scripted customer may come with fewer types than wishes: the missing ones are the cheapest.
    wishTypes.resize(std::max(wishTypes.size(), profile.wishes.size()), 0);
    patienceLeft = profile.patience;
    ChooseWantedItem();
    StartWish();
}

Customer::~Customer() = default;

CustomerWish& Customer::CurrentWish()
{
    if (wishIndex < 0 || wishIndex >= int(profile.wishes.size()))
    {
        // A definition without wishes: the customer simply buys nothing, whatever a step did to the last copy.
        noWish = CustomerWish{};
        noWish.outcome = 1;
        return noWish;
    }
    return profile.wishes[size_t(wishIndex)];
}

bool Customer::IsAngry() const
{
    return profile.hearts < 2;
}

void Customer::Update()
{
    Person::Update();
    if (status != STATUS_IN_STORE || listener != nullptr || profile.hearts == 0)
        return;
    patienceLeft -= 1;
    if (patienceLeft > 0)
        return;
    profile.hearts -= 1;
    if (profile.hearts <= 0)
    {
        profile.hearts = 0;
        Explode();
        return;
    }
    patienceLeft = profile.patience;
    if (profile.hearts == 1)
    {
        PlayGameSound(SOUND_CUSTOMER_ANGRY);
        PlayGameVoice(definition->angryVoice);
        if (pose == POSE_STANDING)
            SetAnimation("angry");
    }
}

bool Customer::CanTakeDrinkAt(int px, int py) const
{
    if (status != STATUS_IN_STORE || doomed)
        return false;
    if (!visible && !(room != nullptr && room->occupancy == Occupancy::Waiting))
        return false;
    return px >= x + 30 && px < x + 90 && py >= y && py < y + 120;
}

void Customer::GiveDrink()
{
    AddActionFront(std::make_unique<Drink>(this));
}

void Customer::MakeAngry()
{
    if (profile.hearts <= 1 && patienceLeft <= kDoomedPatience)
        return;
    if (!IsAngry())
        PlayGameSound(SOUND_CUSTOMER_ANGRY);
    profile.hearts = 1;
    SetAnimation("angry");
    PlayGameVoice(definition->angryVoice);
}

void Customer::ChooseWantedItem()
{
    if (board == nullptr)
    {
        wantedItem = 0;
        return;
    }
    CustomerWish& wish = CurrentWish();
    if (wish.tries > 1 && wish.outcome == 0)
        wantedItem = board->PickClothingForGender(profile.male);
    else
        wantedItem = board->PickClothingByPrice(wish.clothing, wishTypes.empty() ? 0 : wishTypes[size_t(
                                                                                            std::clamp(wishIndex, 0, int(wishTypes.size()) - 1))]);
}

void Customer::StartWish()
{
    ClothingShelf* shelf = nullptr;
    if (CurrentWish().askService == 0 && board != nullptr && wantedItem != 0)
        shelf = board->PickFurnitureWithClothing(wantedItem);
    if (shelf != nullptr)
        AddAction(std::make_unique<PickUpClothing>(this, shelf));
    else
        GoToCustomerService();
}

void Customer::GoToCustomerService()
{
    if (bubble == BUBBLE_NONE)
        bubble = BUBBLE_ITEM_PENDING;
    AddAction(std::make_unique<::GoToCustomerService>(this, board != nullptr ? board->ServiceLine() : nullptr));
}

bool Customer::AfterGotItem(bool atDesk)
{
    bubble = BUBBLE_NONE;
    CustomerWish& wish = CurrentWish();
    if (wish.outcome == 0)
    {
        AddAction(std::make_unique<GetInChangingRoomLine>(this, board != nullptr ? board->RoomLine() : nullptr));
        return true;
    }
    if (wish.outcome == 2 && board != nullptr && board->OffersGiftWrap())
    {
        bubble = BUBBLE_WRAP_PENDING;
        if (atDesk)
        {
            ShowBubble();
            return false;
        }
        GoToCustomerService();
        return true;
    }
    NextWishOrCheckout();
    return true;
}

bool Customer::EnterChangingRoom()
{
    ChangingRoomPlace* free = board != nullptr ? board->PickFreeChangingRoom() : nullptr;
    if (free == nullptr)
        return false;
    room = free;
    room->Reserve(this);
    AddAction(std::make_unique<TryOnClothing>(this, room));
    return true;
}

void Customer::QueueTryOn(ChangingRoomPlace& changingRoom)
{
    room = &changingRoom;
    AddAction(std::make_unique<TryOnClothing>(this, &changingRoom));
}

void Customer::StepIntoRoom()
{
    CurrentWish().tries -= 1;
    if (room != nullptr)
        room->CustomerEntered();
    if (listener != nullptr)
        listener->OnTryOnStarted(*this);
}

void Customer::TakeBackFromRoom()
{
    CustomerWish& wish = CurrentWish();
    if (room == nullptr)
        return;
    if (wish.tries <= 0 || wish.wrongItem != 0)
        PickUp(room->TakeShownClothing(false), false);
}

void Customer::FinishedTryingOn()
{
    ChooseWantedItem();
    if (listener != nullptr)
        listener->OnTryOnFinished(*this);
    CustomerWish& wish = CurrentWish();
    if (wish.tries > 0 && wish.wrongItem == 1)
    {
        if (bubble == BUBBLE_NONE)
            bubble = BUBBLE_ITEM_PENDING;
        ShowBubble();
        if (room != nullptr && room->occupancy == Occupancy::Occupied)
            room->occupancy = Occupancy::Waiting;
        return;
    }
    visible = true;
    if (room != nullptr)
        room->Release();
    room = nullptr;
    if (wish.tries > 0 && wish.wrongItem == 0)
        StartWish();
    else if (wish.tries > 0 && wish.wrongItem == 2)
        GoToCustomerService();
    else
        NextWishOrCheckout();
}

void Customer::ClearThought()
{
    bubble = BUBBLE_NONE;
}

void Customer::NextWishOrCheckout()
{
    if (wishIndex < int(profile.wishes.size()) - 1)
    {
        wishIndex += 1;
        ChooseWantedItem();
        StartWish();
        return;
    }
    AddAction(std::make_unique<CheckOut>(this, board != nullptr ? board->CashLine() : nullptr));
}

int Customer::SwapHand(int item)
{
    int hand = std::clamp(wishIndex, 0, 1);
    int old = hands[hand];
    hands[hand] = item;
    PlayGameSound(SOUND_PICK_UP);
    return old;
}

void Customer::GiftWrapped()
{
    wrapped[std::clamp(wishIndex, 0, 1)] = true;
    bubble = BUBBLE_NONE;
    NextWishOrCheckout();
}

void Customer::ShowBubble()
{
    if (bubble == BUBBLE_ITEM_PENDING)
        bubble = BUBBLE_ITEM_SHOWN;
    else if (bubble == BUBBLE_WRAP_PENDING)
        bubble = BUBBLE_WRAP_SHOWN;
    else
        return;
    PlayGameVoice(definition->helloVoice);
}

void Customer::Pay()
{
    if (profile.hearts > 1)
        PlayGameVoice(definition->happyVoice);
    int total = 0;
    int wrappedCount = 0;
    for (int hand = 0; hand < 2; ++hand)
    {
        if (hands[hand] != 0)
            total += GetClothing(hands[hand]).price;
        if (wrapped[hand])
            wrappedCount += 1;
    }
    if (board == nullptr)
        return;
    double tip = board->TipFactor() * profile.hearts * profile.tips;
    board->AddSale(double(total), tip, wrappedCount);
}

void Customer::Leave()
{
    status = STATUS_LEAVING;
    AddAction(std::make_unique<LeaveStore>(this));
}

void Customer::LineFull()
{
    if (profile.hearts <= 1 && patienceLeft <= kDoomedPatience)
        return;
    if (!IsAngry())
        PlayGameSound(SOUND_CUSTOMER_ANGRY);
    patienceLeft = kDoomedPatience;
    profile.hearts = 1;
    doomed = true;
    profile.patience = 500;
    SetAnimation("angry");
    PlayGameVoice(definition->angryVoice);
}

void Customer::Explode()
{
    status = STATUS_EXPLODING;
    if (room != nullptr)
    {
        visible = true;
        ChangingRoomPlace* left = room;
        room = nullptr;
        left->Release();
    }
    if (board != nullptr)
    {
        if (CustomerLine* line = board->RoomLine())
            line->RemoveCustomer(*this);
        if (CustomerLine* line = board->CashLine())
            line->RemoveCustomer(*this);
        if (CustomerLine* line = board->ServiceLine())
            line->RemoveCustomer(*this);
    }
    // A line may have appended steps while letting the others move up; the explosion replaces them all.
    actions.clear();
    AddAction(std::make_unique<ExplodeCustomer>(this, board));
}

void Customer::DrinkEffect()
{
    profile.hearts = std::min(profile.hearts + 2, kMaxHearts);
    patienceLeft = profile.patience;
}

void Customer::PlayHappyVoice()
{
    PlayGameVoice(definition->happyVoice);
}

void Customer::DrawPerson(Zestra::Graphics& g)
{
    if (status == STATUS_GONE)
        return;
    if (status == STATUS_EXPLODING)
    {
        if (IMAGE_EXPLOSION && explosionCel >= 0)
            g.BlitCell(IMAGE_EXPLOSION.get(), x - 2, y, explosionCel);
        return;
    }
    Person::DrawPerson(g);
    if ((bubble == BUBBLE_ITEM_SHOWN || bubble == BUBBLE_WRAP_SHOWN) && IMAGE_SPEECH_BUBBLE)
    {
        g.Blit(IMAGE_SPEECH_BUBBLE.get(), x + 8, y + 10);
        Zestra::Image* icon = bubble == BUBBLE_ITEM_SHOWN ? (wantedItem != 0 ? GetClothing(wantedItem).icon : nullptr)
                                                          : IMAGE_GIFT_WRAP_ICON.get();
        if (icon != nullptr)
            g.Blit(icon, x + 22 - icon->GetWidth() / 2, y + 24 - icon->GetHeight() / 2);
    }
    int hearts = std::min(profile.hearts, kMaxHearts);
    if (hearts > 0 && IMAGE_HEART_EMPTY && IMAGE_HEART_FULL)
    {
        g.Blit(IMAGE_HEART_EMPTY.get(), x + 80, y + 10);
        Zestra::Image* full = IMAGE_HEART_FULL.get();
        int height = full->GetHeight();
        int e = height * (kMaxHearts - hearts) / kMaxHearts;
        g.Blit(full, x + 80, y + 10 + e, Zestra::Rect(0, e, full->GetWidth(), height - e));
    }
    if (IsAngry() && status == STATUS_IN_STORE && IMAGE_ANGRY_CLOUD)
    {
        int patience = profile.patience;
        int c = ((patienceLeft - 1) / 100 - (patience / 100) % 5 + 5) % 5;
        if (c >= 0 && c <= 2)
        {
            Zestra::Image* cloud = IMAGE_ANGRY_CLOUD.get();
            g.BlitCell(cloud, x + 60 - cloud->GetCelWidth() / 2, y - 20, c);
            if (c == 2 && !thunderPlayed)
            {
                thunderPlayed = true;
                PlayGameSound(SOUND_THUNDER_CLOUD);
            }
        }
    }
}
