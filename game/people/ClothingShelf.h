// What a customer needs of a rack or table: the store's furniture implements it.
#pragma once

#include "framework/graphics/Rect.h"

class ClothingShelf
{
public:
    virtual ~ClothingShelf() = default;

    // Starting at slot start (random when start < 0) and wrapping around, takes the first stocked item. False,
    // changing nothing, when no item is stocked or there are no slots.
    virtual bool TakeItem(int start) = 0;
    // The catalogue id of the garment it offers.
    virtual int HeldClothing() const = 0;
    // Where a customer stands to take an item.
    virtual Zestra::Point CustomerSpot() const = 0;
};
