#include "game/store/Rope.h"

#include "framework/graphics/Image.h"
#include "game/data/PersonStats.h"

int Rope::DepthY() const
{
    const Zestra::Image* picture = GetImage();
    if (picture == nullptr || picture->GetCelWidth() < picture->GetCelHeight())
        return y;
    return y + picture->GetCelHeight() - kPersonFeetY;
}
