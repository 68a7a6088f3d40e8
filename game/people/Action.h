// One behaviour step of a person: walk along the walk grid to (targetX, targetY), then Perform until it reports
// that it is finished. The action owns the motions of its remaining walk. Time left over at the end of one segment
// carries into the next, so a walk that ends in an update performs in the same update.
#pragma once

#include "game/people/Walkways.h"

class OrderTarget;
class Person;

class Action
{
public:
    enum State
    {
        STATE_NEW = 0,
        STATE_WALKING = 1,
        STATE_ARRIVED = 2,
        STATE_FINISHED = 3,
    };

    // targetX = targetY = -1: the step needs no walk and starts as arrived.
    Action(Person* person, int targetX, int targetY);
    Action(const Action&) = delete;
    Action& operator=(const Action&) = delete;
    virtual ~Action();

    // A following step of the same kind may be merged into this one; false by default.
    virtual bool Chain(Action* following);
    // The step was dropped from the queue before it started; previous is the step queued before it, which may
    // have to undo a merge with it. Nothing by default.
    virtual void Withdrawn(Action& previous);
    // True when the step is finished.
    virtual bool Perform() = 0;
    // The store object the player aimed this step at; null for every step that is not an order.
    virtual OrderTarget* OrderedAt() const { return nullptr; }

    // dt in updates (1.0 per update at normal speed); a walk routes on walkways.
    void Update(float dt, const Walkways& walkways);

    Person* person; // not owned
    int targetX;
    int targetY;
    bool cancelled = false;
    int state;
    MotionPath path;

protected:
    // From inside Perform: a new walk to (targetX, targetY) on the walkways of the running update.
    void RouteToTarget();

private:
    const Walkways* mWalkways = nullptr; // of the latest update; not owned (the floor outlives its people's steps)
};
