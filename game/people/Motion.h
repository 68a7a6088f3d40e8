// One straight walking segment of a person, made by the walk grid's Route and owned by the action whose path holds
// it. Direction and velocity are fixed at the first Move; a segment that would overshoot ends exactly on its
// target and hands the rest of the update on.
#pragma once

#include <cstdint>

class Person;

class Motion
{
public:
    Motion(Person* person, float target);
    Motion(const Motion&) = delete;
    Motion& operator=(const Motion&) = delete;
    virtual ~Motion() = default;

    // Walks for dt updates; returns the part of dt left over (0 unless the segment ended in this call).
    virtual float Move(float dt);
    virtual bool IsDone() const;
    virtual bool IsVertical() const = 0;

    Person* person; // not owned
    float target;   // x for Horiz, y for Vert
    float velocity = 0.0f;
    bool fresh = true;
    int8_t direction = 1;

protected:
    virtual float Current() const = 0;
    // One walking step of the person along this segment's axis (negative towards up or left).
    virtual void Step(float d) = 0;
    // Puts the person exactly on the target (float sums may miss it by a rounding step).
    virtual void Land() = 0;
};

class Horiz : public Motion
{
public:
    using Motion::Motion;
    bool IsVertical() const override { return false; }

protected:
    float Current() const override;
    void Step(float d) override;
    void Land() override;
};

class Vert : public Motion
{
public:
    using Motion::Motion;
    bool IsVertical() const override { return true; }

protected:
    float Current() const override;
    void Step(float d) override;
    void Land() override;
};
