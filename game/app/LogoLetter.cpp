#include "game/app/LogoLetter.h"

#include "game/app/LogoBall.h"
#include "game/audio/GameSound.h"
#include "game/res/Res.h"

namespace
{
constexpr double kRestY = 300.0;
constexpr double kStartSpeed = 12.0;
constexpr double kGravity = 0.1;
constexpr double kDropSpring = 0.4;
constexpr double kKnockSpring = 0.04;
} // namespace

LogoLetter::LogoLetter(int x, Zestra::Image* picture, Zestra::Image* tilted)
    : Component(x, -250, picture), tiltedImage(tilted)
{
}

void LogoLetter::StartFalling()
{
    falling = true;
    targetY = kRestY;
    speed = kStartSpeed;
    spring = kDropSpring;
    PlayGameSound(SOUND_LOGO_WHOOSH);
}

void LogoLetter::UpdateFraction(double step)
{
    landed = false;
    if (speed == 0)
        return;
    exactY += speed * step;
    if (falling)
    {
        if (exactY >= targetY)
            falling = false;
        else
            speed += kGravity * step;
    }
    else if (targetY > exactY)
    {
        // Back up at its line after the overshoot: it stops there for good.
        exactY = targetY;
        speed = 0;
        landed = carriedBall == nullptr;
    }
    else
    {
        speed += step * spring * (targetY - exactY);
    }
    y = static_cast<int>(exactY);
    if (carriedBall != nullptr)
        carriedBall->y = y + ballOffset;
}

void LogoLetter::PushedByBall(LogoBall& ball, int dx, int dy)
{
    if (tiltedImage != nullptr)
        image = tiltedImage;
    x += dx;
    targetY += dy;
    carriedBall = &ball;
    ballOffset = ball.y - y;
    falling = true;
    speed = ball.speedY;
    spring = kKnockSpring;
}
