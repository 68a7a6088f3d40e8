#include "game/people/Motion.h"

#include "game/people/Person.h"

Motion::Motion(Person* person, float target) : person(person), target(target)
{
}

float Motion::Move(float dt)
{
    float current = Current();
    if (fresh)
    {
        fresh = false;
        direction = target - current > 0 ? 1 : -1;
        velocity = (person != nullptr ? person->speed : 0.0f) * float(direction);
    }
    float step = velocity * dt;
    float reached = current + step;
    int8_t side = target - reached > 0 ? 1 : -1;
    float left = 0.0f;
    if (side != direction)
    {
        // The segment ends here: stop exactly on the target and hand the unused time on.
        step = target - current;
        left = (reached - target) / velocity;
    }
    Step(step);
    if (side != direction)
        Land();
    return left;
}

bool Motion::IsDone() const
{
    return Current() == target;
}

float Horiz::Current() const
{
    return person != nullptr ? person->exactX : target;
}

void Horiz::Step(float d)
{
    if (person == nullptr)
        return;
    if (direction <= 0)
        person->MoveLeft(d);
    else
        person->MoveRight(d);
}

float Vert::Current() const
{
    return person != nullptr ? person->exactY : target;
}

void Vert::Step(float d)
{
    if (person == nullptr)
        return;
    if (direction <= 0)
        person->MoveUp(d);
    else
        person->MoveDown(d);
}

void Horiz::Land()
{
    if (person == nullptr)
        return;
    person->exactX = target;
    person->x = int(target);
}

void Vert::Land()
{
    if (person == nullptr)
        return;
    person->exactY = target;
    person->y = int(target);
}
