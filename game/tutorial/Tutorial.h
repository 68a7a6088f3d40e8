// Base of the lessons that teach the game on the board: one text box at a time, blinking arrows at the things the
// player is to click, and the step the lesson has reached. A lesson is a scene component at (0, 0) without picture.
#pragma once

#include "framework/graphics/Rect.h"
#include "game/scene/Component.h"
#include "game/shopday/BoardLesson.h"

#include <string>
#include <vector>

namespace Zestra
{
class Board;
class Image;
} // namespace Zestra

struct TutorialArrow
{
    Component* target = nullptr; // not owned; null for an arrow that only points
    int x = 0;                   // top-left of the arrow picture
    int y = 0;
    int direction = 0; // -1 left, 0 down, 1 right, 2 up
    int targetX = 0;   // where the target was looked up: a point inside it
    int targetY = 0;
};

// The text box a lesson shows in one of its steps, at the place its script names; the box moves elsewhere when that
// place would cover an arrow or what it points at.
struct StepBox
{
    const char* key = nullptr; // null: the step shows no box
    int x = 0;
    int y = 0;
    bool clickToContinue = false;
};

class Tutorial : public Component, public BoardLesson
{
public:
    static constexpr int kBlinkPeriod = 80;
    static constexpr int kArrowsFirstShown = 5; // updates after a change of step
    static constexpr int kArrowsLastShown = 44;
    // A click that the step does not take makes the arrows bounce towards their targets for this many updates.
    static constexpr int kPulseTicks = 60;
    static constexpr int kBoardWidth = 800;
    static constexpr int kBoardHeight = 600;

    explicit Tutorial(Zestra::Board& board);

    void Draw(Zestra::Graphics& g) override;
    void Update() override;
    bool HasHotSpotAt(int x, int y) const override;
    bool ArrowTargetPoint(int& x, int& y) const override;
    int Step() const override { return step; }

    // Points an arrow at whatever the board finds at (targetX, targetY); clear empties the list first.
    void AddArrow(int targetX, int targetY, int x, int y, int direction, bool clear);
    void GoTo(int newStep);
    // Whether the arrows are drawn in the current blink phase.
    bool ArrowsShown() const;
    void DrawArrows(Zestra::Graphics& g);
    void DrawTextBox(Zestra::Graphics& g, const StepBox& box);
    // The text box of the step now shown (no key: none).
    virtual StepBox CurrentBox() const { return {}; }
    // Where the box is drawn, with its size from the text's lines; empty when there is no box.
    Zestra::Rect BoxRect(Zestra::Graphics& g, const StepBox& box) const;
    // What the box must not cover: each arrow's picture and the thing it points at.
    std::vector<Zestra::Rect> KeepClearRects() const;
    // The arrows bounce for a while: the player clicked, but not where the step wants.
    void Pulse() { pulseTicks = kPulseTicks; }
    // How far (pixels, towards the tip) the arrows stand out of their place now.
    int PulseOffset() const;

    // The box is the big one when the text's lines, with the click-to-continue line, are five or more.
    static bool NeedsBigBox(int lineCount, bool clickToContinue);
    // A box that would reach past the board's right edge is moved left until it ends there.
    static int BoxLeft(int x, int boardWidth, int boxWidth);
    // The wanted place (moved inside the board) when it covers none of keepClear; otherwise the free place nearest
    // to it among the board's edges, a 10-pixel grid through it and the places flush beside each rectangle; when no
    // place is free, the one that covers the least.
    static Zestra::Rect PlaceBox(Zestra::Rect wanted, const std::vector<Zestra::Rect>& keepClear, int boardWidth,
                                 int boardHeight);

    Zestra::Board& board;
    Zestra::Image* smallBox = nullptr; // not owned: the store's "TutorialBox"
    Zestra::Image* bigBox = nullptr;   // not owned: the store's "TutorialBoxBig"
    std::vector<TutorialArrow> arrows;
    int blinkCounter = 0;
    int step = 0;
    int pulseTicks = 0; // updates of bouncing left; 0: still

protected:
    // What an arrow at the point targets: a click target in a playing lesson, a shop item in the shopping one.
    virtual Component* FindTargetAt(int x, int y) const = 0;
    // The first arrow whose target holds the point, or arrows.end().
    std::vector<TutorialArrow>::iterator ArrowAt(int x, int y);
};
