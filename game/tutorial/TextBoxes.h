// Drawing the text box a lesson shows in one of its steps.
#pragma once

#include "game/tutorial/Tutorial.h"

inline void DrawStepBox(Tutorial& lesson, Zestra::Graphics& g, const StepBox& box)
{
    if (box.key != nullptr)
        lesson.DrawTextBox(g, box);
}
