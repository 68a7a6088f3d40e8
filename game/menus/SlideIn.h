// The slide-in with one bounce, as a small value: a position moving along one axis at a speed per update. On
// passing its target it is set just past it by the overshoot, and its speed is reversed and halved; coming back
// to the target it stops there for good. Its owner advances it from TickFraction (or Tick) and skips that while
// its animation is paused.
#pragma once

class SlideIn
{
public:
    SlideIn() = default;
    // overshoot: how far past the target (in the direction of travel) the bounce starts.
    SlideIn(double start, double speed, double target, double overshoot);

    // Moves by speed x step (step 1 is one update); true once it has settled, this time or before.
    bool Advance(double step);
    bool Settled() const { return speed == 0; }

    double position = 0;
    double speed = 0;
    double target = 0;
    double overshoot = 0;
    bool bounced = false;
};
