// The ball of the studio logo: it flies in from the bottom left, bounces on the letters three times (squashing
// against them each time) and comes to rest at the end of the name. Positions are screen pixels of its top-left
// corner; motion advances in fractional updates, the squash counts whole updates.
#pragma once

#include "game/scene/Component.h"

class LogoBall : public Component
{
public:
    // Floors (top edge of the ball) of the three bounces, by bounce number.
    static constexpr double kFloors[3] = {199, 198, 304};

    explicit LogoBall(Zestra::Image* picture);

    // Motion by step updates (1.0 is one fixed update); nothing once the ball has come to rest.
    void UpdateFraction(double step);
    // One fixed update: advances a running squash and, when it ends, launches the next jump.
    void Update() override;
    void Draw(Zestra::Graphics& g) override;

    bool IsSquashing() const { return squashCounter >= 0; }
    // After the third bounce the ball lies still (its last squash may still be running).
    bool IsResting() const { return bouncesDone >= 3; }
    // True for the fractional update that began a squash (until the next one).
    bool JustSquashed() const { return justSquashed; }
    // The cel drawn now: 0 in flight, 1 and 2 alternating while squashed.
    int CurrentCel() const;
    double CentreX() const;
    double CentreY() const;

    double exactX;
    double speedX;
    double exactY;
    double speedY;
    int bouncesDone = 0;
    int squashCounter = -1; // -1 when not squashing
    int squashLength = 0;
    bool justSquashed = false;
};
