// December decoration: two cels blinking every 0.75 s, optionally mirrored.
#pragma once

#include "game/scene/Component.h"

class ChristmasLights : public Component
{
public:
    ChristmasLights(int x, int y, bool mirrored);

    void Update() override;
    void Draw(Zestra::Graphics& g) override;
    int Cycle() const; // cel count x 75 ticks

    bool mirrored;
    int counter = 0;
};
