// What a changing room needs of the customer inside it; the customer class implements it.
#pragma once

class ChangingRoomPlace;
class Person;

class RoomOccupant
{
public:
    virtual ~RoomOccupant() = default;
    virtual Person& OccupantBody() = 0;
    virtual int DressingTime() const = 0; // ticks per item tried on
    // The garment the customer waits for (0 for none), which the merchant may bring into the room.
    virtual int WantedItem() const = 0;
    // The trying-on time is over: the customer takes the room's item back (or leaves it there).
    virtual void TakeBackFromRoom() = 0;
    // The door has opened again: the customer leaves and releases the room, or waits inside (Occupancy::Waiting).
    virtual void FinishedTryingOn() = 0;
    // Puts item into the hand of the current wish and returns what that hand held.
    virtual int SwapHand(int item) = 0;
    virtual void ClearThought() = 0;
    // Appends a TryOnClothing step for the room to the customer's queue.
    virtual void QueueTryOn(ChangingRoomPlace& room) = 0;
};
