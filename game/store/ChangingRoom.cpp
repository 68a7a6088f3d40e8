#include "game/store/ChangingRoom.h"

#include "framework/graphics/Graphics.h"
#include "framework/graphics/Image.h"
#include "framework/graphics/MemoryImage.h"
#include "game/data/ClothingStats.h"
#include "game/data/LevelStats.h"
#include "game/audio/GameSound.h"
#include "game/people/Merchant.h"
#include "game/people/Person.h"
#include "game/people/WaitingLine.h"
#include "game/res/Res.h"
#include "game/store/Clothing.h"

#include <algorithm>

namespace
{
constexpr int kDoorStepTicks = 7; // the door moves one cel every 7 ticks
constexpr int kClosedCel = 3;
} // namespace

ChangingRoom::ChangingRoom(int centreX, int y, Zestra::Image* roomImage, Zestra::Image* shadowImage,
                           Zestra::Image* doorImage, WaitingLine* line)
    : ActiveComponent(centreX, y, roomImage, 46, 0), line(line), shadowImage(shadowImage), doorImage(doorImage)
{
}

ChangingRoom::~ChangingRoom() = default;

std::unique_ptr<MerchantAction> ChangingRoom::CreateMerchantAction(Merchant& merchant)
{
    return std::make_unique<VisitChangingRoom>(merchant, *this);
}

Zestra::Point ChangingRoom::Entrance() const
{
    return Zestra::Point{x - 6, y + 8};
}

void ChangingRoom::NotifyLine()
{
    if (line != nullptr)
        line->ServeHead();
}

void ChangingRoom::Reserve(RoomOccupant* customer)
{
    if (!IsFree())
        return;
    occupancy = Occupancy::Reserved;
    occupant = customer;
}

void ChangingRoom::CustomerEntered()
{
    if (occupancy != Occupancy::Reserved)
        return;
    if (occupant != nullptr)
        occupant->OccupantBody().visible = false;
    occupancy = Occupancy::Occupied;
    phaseTicks = -1;
    doorPhase = 3;
    PlayGameSound(SOUND_CHANGING_ROOM);
}

int ChangingRoom::StartTryOn(int item)
{
    if (occupant == nullptr)
        return 0;
    int old = occupant->SwapHand(item);
    occupant->ClearThought();
    occupant->QueueTryOn(*this);
    occupant->OccupantBody().visible = true;
    occupancy = Occupancy::Reserved;
    return old;
}

int ChangingRoom::TakeShownClothing(bool notify)
{
    int clothing = shownClothing ? shownClothing->clothing : 0;
    shownClothing.reset();
    if (notify)
        NotifyLine();
    return clothing;
}

void ChangingRoom::Release()
{
    if (occupancy == Occupancy::Free && !shownClothing)
        return;
    occupancy = Occupancy::Free;
    // Nobody is inside any more; the pointer would outlive the customer.
    occupant = nullptr;
    NotifyLine();
    if (doorPhase == 0 || doorPhase == 3)
    {
        phaseTicks = -1;
        doorPhase = 1;
    }
}

void ChangingRoom::Update()
{
    switch (doorPhase)
    {
    case 3:
        phaseTicks += 1;
        if (phaseTicks % kDoorStepTicks == 0)
            doorCel += 1;
        if (doorCel >= kClosedCel)
        {
            int dressing = occupant != nullptr ? std::max(0, occupant->DressingTime()) : 0;
            doorPhase = 0;
            doorCel = kClosedCel;
            phaseTicks = dressing;
            timerOffset = dressing / 9;
            // Short dressing times would make the step 0; the timer then simply advances every tick.
            timerStep = std::max(1, (dressing - dressing / 9) / 5);
            timerCel = 0;
            if (occupancy == Occupancy::Occupied && occupant != nullptr)
            {
                Person& body = occupant->OccupantBody();
                int hand = body.hands[1] != 0 ? 1 : 0;
                int item = body.hands[hand];
                body.hands[hand] = 0;
                body.wrapped[hand] = false;
                if (item != 0)
                {
                    const ClothingInfo& info = GetClothing(item);
                    int pictureWidth = info.hanging != nullptr ? info.hanging->GetWidth() : 0;
                    int celWidth = image != nullptr ? image->GetCelWidth() : 0;
                    shownClothing = std::make_unique<Clothing>(x + celWidth / 2 - pictureWidth / 2, y + 20, item,
                                                               LOOK_HANGING);
                }
            }
        }
        break;
    case 0:
        phaseTicks -= 1;
        if (phaseTicks % timerStep == timerOffset)
            timerCel += 1;
        // Ending at or below 0 (not only at 0) keeps a zero dressing time from holding the door shut forever.
        if (phaseTicks > 0)
            break;
        phaseTicks = -1;
        doorPhase = 1;
        if (occupancy == Occupancy::Occupied && occupant != nullptr)
            occupant->TakeBackFromRoom();
        [[fallthrough]];
    case 1:
        phaseTicks += 1;
        if (phaseTicks % kDoorStepTicks == 0 && doorCel > 0)
            doorCel -= 1;
        if (doorCel <= 0)
        {
            doorCel = 0;
            doorPhase = 2;
            if (occupancy == Occupancy::Occupied && occupant != nullptr)
                occupant->FinishedTryingOn();
            PlayGameSound(SOUND_CHANGING_ROOM);
        }
        break;
    default:
        break;
    }
}

void ChangingRoom::Draw(Zestra::Graphics& g)
{
    Component::Draw(g);
    if (shadowImage != nullptr)
        g.Blit(shadowImage, x - 9, y - 4);
    if (doorPhase != 0)
    {
        if (shownClothing)
            shownClothing->Draw(g);
        // Drawn before the door so that the moving door covers the customer.
        if ((doorPhase == 1 || doorPhase == 3) && occupant != nullptr)
            occupant->OccupantBody().DrawPerson(g);
    }
    if (doorImage != nullptr)
    {
        int frameWidth = std::min(kDoorFrameWidth, doorImage->GetWidth());
        g.Blit(doorImage, x, y, Zestra::Rect(doorCel * frameWidth, 0, frameWidth, doorImage->GetHeight()));
    }
    if (doorPhase == 0 && IMAGE_TIMER)
    {
        Zestra::Image* timer = IMAGE_TIMER.get();
        int celWidth = image != nullptr ? image->GetCelWidth() : 0;
        g.BlitCell(timer, x + celWidth / 2 - timer->GetHeight() / 2, y + 40, timerCel);
    }
}

void ChangingRoom::DrawOccupant(Zestra::Graphics& g)
{
    if (doorPhase == 2 && (occupancy == Occupancy::Occupied || occupancy == Occupancy::Waiting) && occupant != nullptr)
        occupant->OccupantBody().DrawPerson(g);
    DrawNumbers(g);
}

VisitChangingRoom::VisitChangingRoom(Merchant& merchant, ChangingRoom& room)
    : MerchantAction(merchant, &room, room.x - 6, room.y + 30), merchant(merchant), room(room)
{
}

bool VisitChangingRoom::Perform()
{
    if (room.occupancy == Occupancy::Free && room.shownClothing && merchant.HandState() != Hands::Both)
    {
        int item = room.TakeShownClothing(true);
        merchant.PickUp(item, true);
        return true;
    }
    if (room.occupancy == Occupancy::Waiting)
    {
        int wanted = room.occupant != nullptr ? room.occupant->WantedItem() : 0;
        if (wanted != 0 && merchant.IsHolding(wanted))
        {
            merchant.PutDown(wanted, true);
            int old = room.StartTryOn(wanted);
            if (old != 0)
                merchant.PickUp(old, true);
        }
    }
    return true;
}
