// The slide-in with one bounce, as a small value: a position moving along one axis at a speed per update. On
// passing its turning point it is set just past its target by the overshoot, and its speed is reversed and halved;
// coming back to the target it stops there for good. Its owner advances it from TickFraction (or Tick) and skips
// that while its animation is paused.
#pragma once

class SlideIn
{
public:
    // Where the bounce turns: as soon as the target is reached, or only once the overshoot is passed too (the
    // main-menu buttons, which therefore travel one update longer whenever they reach the target inside the
    // overshoot).
    enum class Turn
    {
        AtTarget,
        PastOvershoot,
    };

    SlideIn() = default;
    // overshoot: how far past the target (in the direction of travel) the bounce starts.
    SlideIn(double start, double speed, double target, double overshoot, Turn turn = Turn::AtTarget);

    // Moves by speed x step (step 1 is one update); true once it has settled, this time or before.
    bool Advance(double step);
    bool Settled() const { return speed == 0; }

    double position = 0;
    double speed = 0;
    double target = 0;
    double overshoot = 0;
    Turn turn = Turn::AtTarget;
    bool bounced = false;
};
