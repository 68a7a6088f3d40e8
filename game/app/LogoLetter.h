// One letter of the studio logo: it drops from above the screen, springs past its resting line and settles there.
// The ball can knock it: the letter then tilts, shifts and dips on a softer spring, carrying the ball with it.
#pragma once

#include "game/scene/Component.h"

class LogoBall;

class LogoLetter : public Component
{
public:
    // tilted: the picture shown once the ball has hit the letter (null for letters the ball never hits).
    LogoLetter(int x, Zestra::Image* picture, Zestra::Image* tilted);

    void StartFalling();
    // Motion by step updates; landed is true only for the update that brought the letter to rest.
    void UpdateFraction(double step);
    // The ball lands on this letter: dx, dy move the letter and its resting line.
    void PushedByBall(LogoBall& ball, int dx, int dy);

    bool HasLanded() const { return landed; }
    bool IsMoving() const { return speed != 0; }

    double exactY = -250;
    double speed = 0;
    double targetY = 0;
    double spring = 0;
    bool falling = false;
    bool landed = false;
    LogoBall* carriedBall = nullptr; // not owned: the logo screen owns the ball
    int ballOffset = 0;
    Zestra::Image* tiltedImage; // not owned
};
