// The result of one card drop: a right card shows the money it earned rising and fading above the mannequin; a
// wrong one leaves the error mark where it was dropped for the rest of the stage.
#pragma once

#include "game/scene/Component.h"

#include <string>

class MinigameBonus : public Component
{
public:
    static constexpr int kFadeEnd = 60; // counter value at which the text is gone

    // (px, py): the point the result belongs to, board pixels; the mark is centred on px with its top at py.
    // right: the card was the preview's piece (counted as a match even when the level's bonus is 0).
    MinigameBonus(int px, int py, double value, bool right);

    void Update() override;
    void Draw(Zestra::Graphics& g) override;

    double value = 0;
    bool right = false;
    std::string text; // the value as money
    int textX = 0;    // centre of the text
    int textY = 0;    // baseline of the text; rises while the bonus is active
    int counter = -100;
    bool active = false;
};
