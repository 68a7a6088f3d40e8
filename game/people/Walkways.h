// The routes persons walk along. The store floor's walk grid provides them; the newest grid registers itself as
// the one that walking steps route on, so a step needs no path back to the floor that made it.
#pragma once

#include <deque>
#include <memory>

class Motion;
class Person;

using MotionPath = std::deque<std::unique_ptr<Motion>>;

class Walkways
{
public:
    virtual ~Walkways() = default;
    // The straight moves that take walker to (targetX, targetY); empty when there is no way or no need to walk.
    virtual MotionPath Route(Person& walker, int targetX, int targetY) const = 0;
};

// The walkways walking steps use; null when none exist.
const Walkways* ActiveWalkways();
void SetActiveWalkways(const Walkways* walkways);
// Clears the active walkways when they are these (a newer grid may have taken over already).
void ClearActiveWalkways(const Walkways* walkways);
