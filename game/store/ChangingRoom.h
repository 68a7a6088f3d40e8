// A changing room: a customer reserves it, steps in (the door closes over seven-tick steps), tries an item on for
// its dressing time while a timer counts down, and the door opens again. The garment being tried hangs in the
// room as an owned Clothing. A room holding a garment is not free even when nobody is inside.
#pragma once

#include "game/people/ChangingRoomPlace.h"
#include "game/people/RoomOccupant.h"
#include "game/store/ActiveComponent.h"

#include <memory>

class Clothing;
class Person;
class WaitingLine;

class ChangingRoom : public ActiveComponent, public ChangingRoomPlace
{
public:
    ChangingRoom(int centreX, int y, Zestra::Image* roomImage, Zestra::Image* shadowImage, Zestra::Image* doorImage,
                 WaitingLine* line);
    ~ChangingRoom() override;

    void Draw(Zestra::Graphics& g) override;
    void Update() override;
    std::unique_ptr<MerchantAction> CreateMerchantAction(Merchant& merchant) override;
    // Called for every room after all rooms are drawn: an occupant standing in the open room, then the numbers.
    void DrawOccupant(Zestra::Graphics& g);

    bool IsFree() const { return occupancy == Occupancy::Free && !shownClothing; }
    void Reserve(RoomOccupant* customer) override;
    void CustomerEntered() override;
    int StartTryOn(int item);
    int TakeShownClothing(bool notify) override;
    void Release() override;
    Zestra::Point Entrance() const override;

    int doorPhase = 2; // 0 closed (timer running), 1 opening, 2 open, 3 closing
    int doorCel = 0;   // 0 open ... 3 closed
    int phaseTicks = 0;
    int timerStep = 1;
    int timerOffset = 0;
    int timerCel = 0;
    std::unique_ptr<Clothing> shownClothing;
    RoomOccupant* occupant = nullptr; // not owned
    WaitingLine* line;                // not owned
    Zestra::Image* shadowImage;       // not owned
    Zestra::Image* doorImage;         // not owned; cels kDoorFrameWidth wide

private:
    void NotifyLine();
};

// The order a click on a changing room makes: the merchant takes the garment left hanging in a free room, or hands
// a waiting customer the garment it wants and takes back what it tried.
class VisitChangingRoom : public MerchantAction
{
public:
    VisitChangingRoom(Merchant& merchant, ChangingRoom& room);
    bool Perform() override;

    Merchant& merchant;
    ChangingRoom& room;
};
