// One garment shown outside furniture (hanging in a changing room): the catalogue picture of one look.
#pragma once

#include "game/scene/Component.h"

class Clothing : public Component
{
public:
    // look: ClothingLook of the catalogue (0 icon ... 4 on a mannequin).
    Clothing(int x, int y, int clothing, int look);

    int clothing; // catalogue id
    int look;
};
