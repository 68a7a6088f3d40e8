// A walking, animated character of a store level: the base of customers and the merchant. It owns its queue of
// actions, holds up to two garments, walks with an eight-frame leg cycle and plays the one-shot animations of its
// people definition. x and y are the top-left of its 120 x 120 cel and always the exact position truncated.
#pragma once

#include "game/people/Action.h"
#include "game/scene/Component.h"

#include <deque>
#include <memory>
#include <string>

class PersonObserver;
struct PersonAnimation;
struct PersonDefinition;

// What a person carries: nothing, only hand 0, only hand 1, or both. The values number the rows of the sheets
// that show a person carrying.
enum class Hands
{
    Empty = 0,
    First = 1,
    Second = 2,
    Both = 3,
};

class Person : public Component
{
public:
    enum Pose
    {
        POSE_STANDING = 0,
        POSE_UP = 1,
        POSE_DOWN = 2,
        POSE_LEFT = 3, // the whole body is mirrored
        POSE_RIGHT = 4,
        POSE_DISCARDING = 5,
    };

    // An unknown person name gives the shared empty definition, which draws nothing.
    Person(int x, int y, const std::string& personName, float speed);
    ~Person() override;

    void Draw(Zestra::Graphics& g) override; // DrawPerson while visible
    void Update() override;                  // one-shot and idle animations, once per update
    virtual void DrawPerson(Zestra::Graphics& g);
    virtual bool IsAngry() const;

    bool IsHolding(int item) const;
    void PickUp(int item, bool withSound);
    void PutDown(int item, bool withSound);
    void EmptyHands();
    // One walking step of d pixels (negative for left and up).
    void MoveRight(float d);
    void MoveLeft(float d);
    void MoveDown(float d);
    void MoveUp(float d);
    void StopWalking();
    void SetDiscardPose();
    void SetAnimation(const std::string& name);
    void ClearAnimation();
    // Runs the action queue for dt updates, walking on walkways; any number of steps that need no time finish in
    // one call.
    void UpdateActions(float dt, const Walkways& walkways);
    void DrawCel(Zestra::Graphics& g, Zestra::Image* sheet, int column, int row, int yOffset);

    void AddAction(std::unique_ptr<Action> action);
    void AddActionFront(std::unique_ptr<Action> action);
    Hands HandState() const;
    int WalkFrame() const; // 0..7
    const PersonAnimation* PlayingAnimation() const; // null when none
    const PersonDefinition& Definition() const { return *definition; }

    std::deque<std::unique_ptr<Action>> actions; // front is the current step
    int hands[2] = {0, 0};                       // catalogue ids, 0 = empty
    const PersonDefinition* definition;          // not owned: the people table
    int idleTicks = 0;
    std::string animationName; // empty: none playing
    unsigned animationFrame = 0;
    int frameTicks = 0;
    bool visible = true;
    bool highlighted = false;
    bool wrapped[2] = {false, false};
    bool lastMoveVertical = false;
    float speed;
    float exactX;
    float exactY;
    int pose = POSE_STANDING;
    float walkPhase = 0.0f;
    float framePixels;
    float cyclePixels;
    PersonObserver* listener = nullptr; // not owned

private:
    void Step(float d, bool vertical, int stepPose);
};
