// A picture that loops through the cels of a single-row strip, ticksPerCel ticks per cel.
#pragma once

#include "game/scene/Component.h"

class AnimatedComponent : public Component
{
public:
    // startPhase is taken modulo the loop length so that copies built with random phases do not move in step.
    AnimatedComponent(int x, int y, Zestra::Image* image, int ticksPerCel, int startPhase);

    void Update() override;
    void Draw(Zestra::Graphics& g) override;

    int CurrentCel() const;
    int LoopLength() const;

    int frameCounter = 0; // ticks since the loop started, modulo the loop length
    int ticksPerCel = 1;  // > 0
};
