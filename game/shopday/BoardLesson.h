// A lesson that runs on the board in place of the crowd (BoardMode::Tutorial). The board knows lessons only through
// this interface; the lessons themselves live above the shop day and are made by the board's lessonMaker.
#pragma once

#include <vector>

class Person;
class PersonObserver;
class Walkways;

namespace Zestra
{
class Graphics;
}

class BoardLesson
{
public:
    virtual ~BoardLesson() = default;

    // One update, after the merchant's.
    virtual void Update() = 0;
    // The board deletes a finished lesson on the same update and opens the level start of the same level.
    virtual bool IsFinished() const = 0;
    // Fractional movement of the lesson's own people, on the board's walkways.
    virtual void UpdateActions(float, const Walkways&) {}
    // After the scene: the step's text box, then the arrows.
    virtual void Draw(Zestra::Graphics& g) = 0;
    // clicks < 0 is the right button.
    virtual void OnMouseDown(int x, int y, int clicks) = 0;
    virtual bool HasHotSpotAt(int x, int y) const = 0;
    virtual bool AllowsDrinks() const { return false; }
    virtual void OnDrinkGrabbed() {}
    virtual bool HighlightDrinkTarget(int, int) { return false; }
    virtual bool DropDrink(int, int) { return false; }
    // The lesson's own people, drawn in the depth-sorted pass in place of the crowd.
    virtual void AppendPeople(std::vector<Person*>&) const {}
    // Who the merchant reports finished orders to while the lesson runs (null: nobody).
    virtual PersonObserver* MerchantListener() { return nullptr; }
    // The price shown in the HUD for the point (the shop lesson); 0 elsewhere.
    virtual double PriceAt(int, int) const { return 0.0; }
    // Called by the board's button update; the shop lesson keeps the done button off until its step.
    virtual bool AllowsDoneButton() const { return true; }
    virtual void OnDonePressed() {}
    // The shop lesson runs over the upgrade shop's view of the floor and lives through its rebuilds (a purchase
    // builds the view again with the next offers).
    virtual bool InShop() const { return false; }
    // The floor the lesson pointed into was deleted: nothing of it may be reached any more.
    virtual void ForgetTargets() {}
    // An upgrade panel over the lesson has closed, bought or not.
    virtual void OnPanelClosed() {}

    // What a player is asked to do now, for the built-in player: a point inside a thing an arrow points at (false
    // when no arrow can be clicked), and whether the text box waits for a click to continue.
    virtual bool ArrowTargetPoint(int&, int&) const { return false; }
    virtual bool WaitsForClick() const { return false; }
    // The step the lesson has reached, for a watcher outside the game (-1: the lesson has no steps).
    virtual int Step() const { return -1; }
};
