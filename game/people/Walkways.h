// The routes persons walk along. The store floor's walk grid provides them; whoever updates a person hands its
// walkways to the person's steps with every update, so a step routes on the floor it walks on.
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
