#include "game/store/ClosedSign.h"

ClosedSign::ClosedSign(int x, int y, Zestra::Image* image, int targetX) : Component(x, y, image), targetX(targetX)
{
}

void ClosedSign::Update()
{
    if (x < targetX)
        x += 2;
}
