#include "game/store/ClosedSign.h"

#include "framework/graphics/Image.h"

ClosedSign::ClosedSign(int x, int y, Zestra::Image* image, int targetX) : Component(x, y, image), targetX(targetX)
{
}

void ClosedSign::Update()
{
    if (x < targetX)
        x += 2;
}

int ClosedSign::DepthY() const
{
    return y + (image != nullptr ? image->GetHeight() : 0);
}
