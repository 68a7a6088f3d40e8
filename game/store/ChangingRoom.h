// A changing room: a customer reserves it, steps in (the door closes over seven-tick steps), tries an item on for
// its dressing time while a timer counts down, and the door opens again. The garment being tried hangs in the
// room as an owned Clothing. A room holding a garment is not free even when nobody is inside.
#pragma once

#include "game/store/ActiveComponent.h"

#include <memory>

class Clothing;
class Person;
class WaitingLine;
class ChangingRoom;

// What a changing room needs of the customer inside it; the customer class implements it.
class RoomOccupant
{
public:
    virtual ~RoomOccupant() = default;
    virtual Person& OccupantBody() = 0;
    virtual int DressingTime() const = 0; // ticks per item tried on
    // The trying-on time is over: the customer takes the room's item back (or leaves it there).
    virtual void TakeBackFromRoom() = 0;
    // The door has opened again: the customer leaves and releases the room, or waits (occupancy 3).
    virtual void FinishedTryingOn() = 0;
    // Puts item into the hand of the current wish and returns what that hand held.
    virtual int SwapHand(int item) = 0;
    virtual void ClearThought() = 0;
    // Appends a TryOnClothing step for the room to the customer's queue.
    virtual void QueueTryOn(ChangingRoom& room) = 0;
};

class ChangingRoom : public ActiveComponent
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

    bool IsFree() const { return occupancy == 0 && !shownClothing; }
    void Reserve(RoomOccupant* customer);
    void CustomerEntered();
    int StartTryOn(int item);
    int TakeShownClothing(bool notify);
    void Release();

    int occupancy = 0; // 0 free, 1 reserved, 2 occupied, 3 occupied and waiting
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
