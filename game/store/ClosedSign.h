// The closed sign that slides in from the left at the end of the day, 2 pixels a tick, until it reaches targetX.
#pragma once

#include "game/scene/Component.h"

class ClosedSign : public Component
{
public:
    ClosedSign(int x, int y, Zestra::Image* image, int targetX);

    void Update() override;
    // It hangs in front of what stands along the wall above its lower edge.
    int DepthY() const override;

    int targetX;
};
