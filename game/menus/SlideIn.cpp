// Advancing the slide-in with one bounce.
#include "game/menus/SlideIn.h"

SlideIn::SlideIn(double start, double speed, double target, double overshoot, Turn turn)
    : position(start), speed(speed), target(target), overshoot(overshoot), turn(turn)
{
}

bool SlideIn::Advance(double step)
{
    if (speed == 0)
        return true;
    position += speed * step;
    const double beyond = target + (speed < 0 ? -overshoot : overshoot);
    const double turnAt = !bounced && turn == Turn::PastOvershoot ? beyond : target;
    bool reached = speed < 0 ? position <= turnAt : position >= turnAt;
    if (!reached)
        return false;
    if (!bounced)
    {
        // Past the turning point: the bounce starts just beyond the target and comes back at half the speed.
        position = beyond;
        speed = -speed / 2;
        bounced = true;
        return false;
    }
    position = target;
    speed = 0;
    return true;
}
