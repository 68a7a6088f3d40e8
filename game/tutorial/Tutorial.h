// Base of the lessons that teach the game on the board: one text box at a time, blinking arrows at the things the
// player is to click, and the step the lesson has reached. A lesson is a scene component at (0, 0) without picture.
#pragma once

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

class Tutorial : public Component, public BoardLesson
{
public:
    static constexpr int kBlinkPeriod = 80;
    static constexpr int kArrowsFirstShown = 5; // updates after a change of step
    static constexpr int kArrowsLastShown = 44;

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
    void DrawTextBox(Zestra::Graphics& g, int x, int y, const std::string& key, bool clickToContinue);

    // The box is the big one when the text's lines, with the click-to-continue line, are five or more.
    static bool NeedsBigBox(int lineCount, bool clickToContinue);
    // A box that would reach past the board's right edge is moved left until it ends there.
    static int BoxLeft(int x, int boardWidth, int boxWidth);

    Zestra::Board& board;
    Zestra::Image* smallBox = nullptr; // not owned: the store's "TutorialBox"
    Zestra::Image* bigBox = nullptr;   // not owned: the store's "TutorialBoxBig"
    std::vector<TutorialArrow> arrows;
    int blinkCounter = 0;
    int step = 0;

protected:
    // What an arrow at the point targets: a click target in a playing lesson, a shop item in the shopping one.
    virtual Component* FindTargetAt(int x, int y) const = 0;
    // The first arrow whose target holds the point, or arrows.end().
    std::vector<TutorialArrow>::iterator ArrowAt(int x, int y);
};
