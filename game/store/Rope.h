// A queue rope between posts, drawn as one store picture. Its depth is where its posts stand: a rope laid across
// the floor has every post on one line, so people are in front of it exactly when their feet are lower than the
// posts' feet. A rope laid along the floor's depth has posts at several depths and keeps the top edge as its key.
#pragma once

#include "game/scene/Component.h"

class Rope : public Component
{
public:
    Rope(int x, int y, Zestra::Image* image) : Component(x, y, image) {}
    // For a rope laid across: its posts' feet, as the top edge of a person whose feet stand on that line.
    int DepthY() const override;
};
