// A picture the player drags with the mouse (the drink); the owner says on every draw whether it is over a target.
#pragma once

#include "game/scene/Component.h"

class DraggableComponent : public Component
{
public:
    DraggableComponent(int x, int y, Zestra::Image* image, Zestra::Image* dragImage);

    void Draw(Zestra::Graphics& g) override;

    Zestra::Image* dragImage; // not owned; shown while over a valid drop target
    bool overTarget = false;
};
