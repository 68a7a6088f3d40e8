// What a customer needs of a changing room: the store's changing room implements it. The occupancy is shared
// state: the room moves it through a visit, the customer marks a wait for the right item.
#pragma once

#include "framework/graphics/Rect.h"

class RoomOccupant;

class FittingRoom
{
public:
    virtual ~FittingRoom() = default;

    virtual void Reserve(RoomOccupant* customer) = 0;
    virtual void CustomerEntered() = 0;
    // Hands out the garment hanging in the room (0 when none); notify asks the room's line to move on.
    virtual int TakeShownClothing(bool notify) = 0;
    virtual void Release() = 0;
    // Where a customer stands to step in.
    virtual Zestra::Point Entrance() const = 0;

    int occupancy = 0; // 0 free, 1 reserved, 2 occupied, 3 occupied and waiting
};
