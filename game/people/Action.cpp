#include "game/people/Action.h"

#include "game/people/Motion.h"
#include "game/people/Person.h"

namespace
{
// Right of this line lies the back-room side of the floor, where a cancelled walk still goes on.
constexpr int kCancelLimitX = 700;
} // namespace

Action::Action(Person* person, int targetX, int targetY)
    : person(person), targetX(targetX), targetY(targetY),
      state(targetX == -1 && targetY == -1 ? STATE_ARRIVED : STATE_NEW)
{
}

Action::~Action() = default;

bool Action::Chain(Action* following)
{
    return false;
}

void Action::Withdrawn(Action& previous)
{
}

void Action::RouteToTarget()
{
    if (mWalkways != nullptr && person != nullptr)
        path = mWalkways->Route(*person, targetX, targetY);
}

void Action::Update(float dt, const Walkways& walkways)
{
    mWalkways = &walkways;
    if (state == STATE_NEW)
    {
        if (person != nullptr)
            path = walkways.Route(*person, targetX, targetY);
        state = STATE_WALKING;
    }
    if (state == STATE_WALKING)
    {
        if (cancelled && person != nullptr && person->x < kCancelLimitX)
        {
            if (!path.empty() && !path.front()->IsDone())
                person->lastMoveVertical = path.front()->IsVertical();
            path.clear();
            person->StopWalking();
            state = STATE_FINISHED;
            return;
        }
        for (;;)
        {
            while (!path.empty() && path.front()->IsDone())
                path.pop_front();
            if (path.empty())
                break;
            if (dt == 0.0f)
                return;
            dt = path.front()->Move(dt);
        }
        state = STATE_ARRIVED;
    }
    if (state == STATE_ARRIVED && Perform())
        state = STATE_FINISHED;
}
