// What a customer needs of a changing room: the store's changing room implements it. The occupancy is shared
// state: the room moves it through a visit, the customer marks a wait for the right item.
#pragma once

#include "framework/graphics/Rect.h"

class RoomOccupant;

// Who is in a changing room: nobody, a customer on the way in, a customer trying on, or one waiting inside for the
// right garment.
enum class Occupancy
{
    Free = 0,
    Reserved = 1,
    Occupied = 2,
    Waiting = 3,
};

class ChangingRoomPlace
{
public:
    virtual ~ChangingRoomPlace() = default;

    virtual void Reserve(RoomOccupant* customer) = 0;
    virtual void CustomerEntered() = 0;
    // Hands out the garment hanging in the room (0 when none); notify asks the room's line to move on.
    virtual int TakeShownClothing(bool notify) = 0;
    virtual void Release() = 0;
    // Where a customer stands to step in.
    virtual Zestra::Point Entrance() const = 0;

    Occupancy occupancy = Occupancy::Free;
};
