// The text box a lesson shows in one of its steps.
#pragma once

#include "game/tutorial/Tutorial.h"

struct StepBox
{
    const char* key = nullptr; // null: the step shows no box
    int x = 0;
    int y = 0;
    bool clickToContinue = false;
};

inline void DrawStepBox(Tutorial& lesson, Zestra::Graphics& g, const StepBox& box)
{
    if (box.key != nullptr)
        lesson.DrawTextBox(g, box.x, box.y, box.key, box.clickToContinue);
}
