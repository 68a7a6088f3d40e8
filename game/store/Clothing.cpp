#include "game/store/Clothing.h"

#include "game/data/ClothingStats.h"

Clothing::Clothing(int x, int y, int clothing, int look)
    : Component(x, y, GetClothing(clothing).GetPicture(look)), clothing(clothing), look(look)
{
}
