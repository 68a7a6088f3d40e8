// Advancing the slide-in with one bounce.
#include "game/menus/SlideIn.h"

SlideIn::SlideIn(double start, double speed, double target, double overshoot)
    : position(start), speed(speed), target(target), overshoot(overshoot)
{
}

bool SlideIn::Advance(double step)
{
    if (speed == 0)
        return true;
    position += speed * step;
    bool reached = speed < 0 ? position <= target : position >= target;
    if (!reached)
        return false;
    if (!bounced)
    {
        // Past the target: the bounce starts just beyond it and comes back at half the speed.
        position = target + (speed < 0 ? -overshoot : overshoot);
        speed = -speed / 2;
        bounced = true;
        return false;
    }
    position = target;
    speed = 0;
    return true;
}
